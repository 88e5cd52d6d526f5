// Bitmap pixels held as an opaque cairo image surface, with a keyed copy
// (key-coloured pixels fully transparent) made once when first needed.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "gui/gui_platform.h"
#include "gui/gui_types.h"

struct DecodedBitmap;

class CairoBitmapImage : public GuiBitmapImage {
public:
    // Copies the surface's pixels (alpha is dropped over black).
    static std::unique_ptr<CairoBitmapImage> fromSurface(cairo_surface_t* surface);
    static std::unique_ptr<CairoBitmapImage> fromDecoded(const DecodedBitmap& bitmap);
    // The bytes of a .bmp file; null if they do not decode.
    static std::unique_ptr<CairoBitmapImage> fromBmp(const unsigned char* data, std::size_t size);

    ~CairoBitmapImage() override;
    CairoBitmapImage(const CairoBitmapImage&) = delete;
    CairoBitmapImage& operator=(const CairoBitmapImage&) = delete;

    int32_t width() const override { return w; }
    int32_t height() const override { return h; }

    cairo_surface_t* surface() const { return opaque; }
    // The same pixels with every pixel of the key colour transparent.
    cairo_surface_t* keyedSurface(const GuiColor& key) const;

private:
    explicit CairoBitmapImage(cairo_surface_t* rgb24);
    // The object for a surface; the surface is destroyed if it cannot be made.
    static std::unique_ptr<CairoBitmapImage> own(cairo_surface_t* rgb24);

    cairo_surface_t* opaque;
    int32_t w;
    int32_t h;
    mutable cairo_surface_t* keyed = nullptr;
    mutable GuiColor keyedColour{};
};
