#include "png_decoder.h"

#include <cairo.h>

#include <cstring>

namespace {

struct Reader {
    const unsigned char* data;
    std::size_t left;
};

cairo_status_t readBytes(void* closure, unsigned char* out, unsigned int length) {
    auto* reader = static_cast<Reader*>(closure);
    if (length > reader->left) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, reader->data, length);
    reader->data += length;
    reader->left -= length;
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

DecodedBitmap decodePng(const unsigned char* data, std::size_t size) {
    Reader reader{data, size};
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(readBytes, &reader);
    DecodedBitmap bitmap;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(surface);
        bitmap.width = cairo_image_surface_get_width(surface);
        bitmap.height = cairo_image_surface_get_height(surface);
        const unsigned char* base = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        bitmap.pixels.resize(static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height));
        // Our PNGs are opaque RGB, which cairo reads as RGB24: no alpha to undo.
        for (int32_t y = 0; y < bitmap.height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(base + static_cast<std::ptrdiff_t>(y) * stride);
            for (int32_t x = 0; x < bitmap.width; ++x)
                bitmap.pixels[static_cast<std::size_t>(y) * bitmap.width + x] = row[x] & 0x00FFFFFFu;
        }
    }
    cairo_surface_destroy(surface);
    return bitmap;
}
