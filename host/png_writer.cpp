#include "host/png_writer.h"

#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "host/errors.h"

void writePng(const WindowImage& image, const std::string& path) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width, image.height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        throw HostError("Cannot make an image of " + std::to_string(image.width) + " x " +
                        std::to_string(image.height) + " pixels.");
    }
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(data + static_cast<size_t>(y) * static_cast<size_t>(stride),
                    image.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(image.width),
                    static_cast<size_t>(image.width) * sizeof(uint32_t));
    }
    cairo_surface_mark_dirty(surface);

    const std::string partial = path + ".partial";
    const cairo_status_t status = cairo_surface_write_to_png(surface, partial.c_str());
    cairo_surface_destroy(surface);
    std::error_code error;
    if (status != CAIRO_STATUS_SUCCESS) {
        std::filesystem::remove(partial, error);
        throw HostError("Cannot write " + path + " (" + cairo_status_to_string(status) + ").");
    }
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::filesystem::remove(partial, error);
        throw HostError("Cannot move the finished image into place at " + path + ".");
    }
}
