#include "gdi_bitmap_image.h"

#include "gdi_objects.h"

std::unique_ptr<GdiBitmapImage> GdiBitmapImage::load(HINSTANCE module, int32_t resourceId) {
    HBITMAP bitmap = countGdiObject(
        LoadBitmapA(module, MAKEINTRESOURCEA(static_cast<WORD>(resourceId))));
    if (!bitmap) return nullptr;
    return own(bitmap);
}

std::unique_ptr<GdiBitmapImage> GdiBitmapImage::adopt(HBITMAP bitmap) {
    if (!countGdiObject(bitmap)) return nullptr;
    return own(bitmap);
}

std::unique_ptr<GdiBitmapImage> GdiBitmapImage::own(HBITMAP bitmap) {
    try {
        return std::unique_ptr<GdiBitmapImage>(new GdiBitmapImage(bitmap));
    } catch (...) {
        deleteGdiObject(bitmap);  // the handle goes with the failed object
        throw;
    }
}

GdiBitmapImage::GdiBitmapImage(HBITMAP handle) : bitmap(handle) {
    BITMAP info{};
    if (GetObjectA(bitmap, sizeof info, &info)) {
        pixelsWide = info.bmWidth;
        pixelsHigh = info.bmHeight;
    }
}

GdiBitmapImage::~GdiBitmapImage() { deleteGdiObject(bitmap); }
