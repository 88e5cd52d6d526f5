// Writes uncompressed Windows bitmaps (BITMAPINFOHEADER, bottom-up rows), the
// only kind the editor's resource loaders have to read on both platforms.
#pragma once

#include "resources/artwork/image.h"

#include <string>
#include <vector>

namespace artwork {

// 24 bits per pixel. Returns false (with a message on stderr) on I/O failure.
bool writeBmp24(const std::string& path, const Image& image);

// 8 bits per pixel with a 256-entry colour table; `indices` holds one palette
// index per pixel in the image's top-down order.
bool writeBmp8(const std::string& path, int width, int height, const std::vector<Rgb>& palette,
               const std::vector<std::uint8_t>& indices);

}  // namespace artwork
