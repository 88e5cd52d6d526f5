#include "bmp_decoder.h"

namespace {
constexpr std::size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;  // the smallest header with these fields
constexpr int64_t kMaxSide = 65535;
constexpr int64_t kMaxPixels = int64_t{1} << 26;

uint16_t readU16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t readU32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint32_t rgbFromBgr(const unsigned char* p) {
    return (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
}
}  // namespace

DecodedBitmap decodeBmp(const unsigned char* data, std::size_t size) {
    DecodedBitmap out;
    if (!data || size < kFileHeaderSize + kInfoHeaderSize) return out;
    if (data[0] != 'B' || data[1] != 'M') return out;

    const uint32_t pixelOffset = readU32(data + 10);
    const uint32_t headerSize = readU32(data + 14);
    if (headerSize < kInfoHeaderSize || headerSize > size - kFileHeaderSize) return out;
    const int64_t width = static_cast<int32_t>(readU32(data + 18));
    const int64_t rawHeight = static_cast<int32_t>(readU32(data + 22));
    const uint16_t planes = readU16(data + 26);
    const uint16_t bitCount = readU16(data + 28);
    const uint32_t compression = readU32(data + 30);
    const uint32_t coloursUsed = readU32(data + 46);

    if (planes != 1 || compression != 0 || (bitCount != 8 && bitCount != 24)) return out;
    const bool topDown = rawHeight < 0;
    const int64_t height = topDown ? -rawHeight : rawHeight;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        width * height > kMaxPixels) {
        return out;
    }

    // The palette follows the info header: four bytes (blue, green, red, 0) each.
    uint32_t palette[256] = {};
    if (bitCount == 8) {
        const uint32_t count = coloursUsed == 0 ? 256 : coloursUsed;
        if (count > 256) return out;
        const std::size_t paletteStart = kFileHeaderSize + headerSize;
        if (paletteStart + std::size_t{count} * 4 > size) return out;
        for (uint32_t i = 0; i < count; ++i) palette[i] = rgbFromBgr(data + paletteStart + i * 4);
        // Indices past the palette stay black.
    }

    const int64_t rowBytes = (width * bitCount + 7) / 8;
    const int64_t stride = ((width * bitCount + 31) / 32) * 4;
    // The last row may come without its padding.
    if (pixelOffset > size ||
        static_cast<int64_t>(size - pixelOffset) < stride * (height - 1) + rowBytes) {
        return out;
    }

    out.width = static_cast<int32_t>(width);
    out.height = static_cast<int32_t>(height);
    out.pixels.resize(static_cast<std::size_t>(width * height));
    for (int64_t y = 0; y < height; ++y) {
        const int64_t fileRow = topDown ? y : height - 1 - y;
        const unsigned char* row = data + pixelOffset + fileRow * stride;
        uint32_t* target = out.pixels.data() + y * width;
        if (bitCount == 24) {
            for (int64_t x = 0; x < width; ++x) target[x] = rgbFromBgr(row + x * 3);
        } else {
            for (int64_t x = 0; x < width; ++x) target[x] = palette[row[x]];
        }
    }
    return out;
}
