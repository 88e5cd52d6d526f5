// Decodes the bytes of a .bmp file (8-bit palette or 24-bit, uncompressed,
// bottom-up or top-down rows) into 0x00RRGGBB pixels, top row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct DecodedBitmap {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // width * height, row-major from the top

    bool empty() const { return pixels.empty(); }
};

// An empty result for anything malformed, truncated or of another format.
DecodedBitmap decodeBmp(const unsigned char* data, std::size_t size);
