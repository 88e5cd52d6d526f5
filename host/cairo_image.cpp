#include "host/cairo_image.h"

#include <cstring>

WindowImage imageOfSurface(cairo_surface_t* surface) {
    WindowImage image;
    image.width = cairo_image_surface_get_width(surface);
    image.height = cairo_image_surface_get_height(surface);
    image.pixels.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < image.height; ++y)
        std::memcpy(image.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(image.width),
                    data + static_cast<size_t>(y) * static_cast<size_t>(stride),
                    static_cast<size_t>(image.width) * sizeof(uint32_t));
    return image;
}
