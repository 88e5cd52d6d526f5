#include "png_reader.h"

#include <cairo.h>

#include <cstring>

Png readPng(const std::filesystem::path& path) {
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    Png png;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        png.width = cairo_image_surface_get_width(surface);
        png.height = cairo_image_surface_get_height(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        for (int y = 0; y < png.height; ++y) {
            for (int x = 0; x < png.width; ++x) {
                uint32_t pixel;
                std::memcpy(&pixel, data + y * stride + x * 4, 4);
                png.pixels.push_back(pixel);
            }
        }
    }
    cairo_surface_destroy(surface);
    return png;
}
