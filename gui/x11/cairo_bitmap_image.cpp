#include "cairo_bitmap_image.h"

#include <cstring>

#include "bmp_decoder.h"

namespace {
uint32_t rgbOf(const GuiColor& c) {
    return (static_cast<uint32_t>(c.red) << 16) | (static_cast<uint32_t>(c.green) << 8) | c.blue;
}
}  // namespace

CairoBitmapImage::CairoBitmapImage(cairo_surface_t* rgb24)
    : opaque(rgb24),
      w(cairo_image_surface_get_width(rgb24)),
      h(cairo_image_surface_get_height(rgb24)) {}

std::unique_ptr<CairoBitmapImage> CairoBitmapImage::own(cairo_surface_t* rgb24) {
    try {
        return std::unique_ptr<CairoBitmapImage>(new CairoBitmapImage(rgb24));
    } catch (...) {
        cairo_surface_destroy(rgb24);
        throw;
    }
}

CairoBitmapImage::~CairoBitmapImage() {
    if (keyed) cairo_surface_destroy(keyed);
    cairo_surface_destroy(opaque);
}

std::unique_ptr<CairoBitmapImage> CairoBitmapImage::fromSurface(cairo_surface_t* source) {
    if (!source || cairo_surface_status(source) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_get_type(source) != CAIRO_SURFACE_TYPE_IMAGE) {
        return nullptr;
    }
    const int width = cairo_image_surface_get_width(source);
    const int height = cairo_image_surface_get_height(source);
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(copy) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(copy);
        return nullptr;
    }
    cairo_t* cr = cairo_create(copy);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(copy);
    return own(copy);
}

std::unique_ptr<CairoBitmapImage> CairoBitmapImage::fromDecoded(const DecodedBitmap& bitmap) {
    if (bitmap.empty()) return nullptr;
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, bitmap.width, bitmap.height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_flush(surface);
    unsigned char* base = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int32_t y = 0; y < bitmap.height; ++y) {
        std::memcpy(base + static_cast<std::ptrdiff_t>(y) * stride,
                    bitmap.pixels.data() + static_cast<std::size_t>(y) * bitmap.width,
                    static_cast<std::size_t>(bitmap.width) * sizeof(uint32_t));
    }
    cairo_surface_mark_dirty(surface);
    return own(surface);
}

std::unique_ptr<CairoBitmapImage> CairoBitmapImage::fromBmp(const unsigned char* data,
                                                            std::size_t size) {
    return fromDecoded(decodeBmp(data, size));
}

cairo_surface_t* CairoBitmapImage::keyedSurface(const GuiColor& key) const {
    if (keyed && keyedColour.sameRgb(key)) return keyed;
    if (keyed) cairo_surface_destroy(keyed);
    keyed = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    keyedColour = key;
    if (cairo_surface_status(keyed) != CAIRO_STATUS_SUCCESS) return keyed;  // draws nothing

    cairo_surface_flush(opaque);
    cairo_surface_flush(keyed);
    const unsigned char* from = cairo_image_surface_get_data(opaque);
    unsigned char* to = cairo_image_surface_get_data(keyed);
    const int fromStride = cairo_image_surface_get_stride(opaque);
    const int toStride = cairo_image_surface_get_stride(keyed);
    const uint32_t keyRgb = rgbOf(key);
    for (int32_t y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const uint32_t*>(from + static_cast<std::ptrdiff_t>(y) * fromStride);
        auto* dst = reinterpret_cast<uint32_t*>(to + static_cast<std::ptrdiff_t>(y) * toStride);
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t rgb = src[x] & 0x00FFFFFFu;
            dst[x] = rgb == keyRgb ? 0u : (0xFF000000u | rgb);  // premultiplied: clear is all zero
        }
    }
    cairo_surface_mark_dirty(keyed);
    return keyed;
}
