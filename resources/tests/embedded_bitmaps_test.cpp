#include "resources/embedded_bitmaps.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

std::uint32_t le32(const unsigned char* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

struct Rgb {
    int r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Just enough of a BMP reader to check what the toolkit's loaders rely on.
struct BmpView {
    explicit BmpView(const EmbeddedBitmap& bitmap) : data(bitmap.data), size(bitmap.size) {}

    std::uint32_t fileSize() const { return le32(data + 2); }
    std::uint32_t pixelOffset() const { return le32(data + 10); }
    std::uint32_t headerSize() const { return le32(data + 14); }
    int width() const { return static_cast<std::int32_t>(le32(data + 18)); }
    int height() const { return static_cast<std::int32_t>(le32(data + 22)); }
    int bitCount() const { return data[28] | data[29] << 8; }
    std::uint32_t compression() const { return le32(data + 30); }
    std::uint32_t coloursUsed() const { return le32(data + 46); }
    std::size_t rowBytes() const { return (static_cast<std::size_t>(width()) * bitCount() + 31) / 32 * 4; }

    // (x, y) from the top-left; rows are stored bottom-up.
    Rgb pixel(int x, int y) const {
        const unsigned char* row = data + pixelOffset() + rowBytes() * static_cast<std::size_t>(height() - 1 - y);
        const unsigned char* p = bitCount() == 8 ? data + 54 + 4 * row[x] : row + 3 * x;
        return {p[2], p[1], p[0]};
    }

    const unsigned char* data;
    std::size_t size;
};

struct Expected {
    int id, width, height, bitCount;
};

constexpr Expected kBitmaps[] = {
    {1001, 484, 286, 8}, {1002, 60, 22, 24},  {1003, 48, 6144, 24}, {1004, 48, 336, 24},
    {1005, 30, 3840, 24}, {1006, 36, 28, 24}, {1007, 289, 179, 24}, {1008, 132, 15, 24},
    {1009, 484, 40, 24},  {1010, 160, 56, 24}, {1011, 60, 28, 24},  {1012, 484, 120, 24},
};

const EmbeddedBitmap& get(int id) {
    const EmbeddedBitmap* bitmap = findEmbeddedBitmap(id);
    if (bitmap == nullptr) throw std::runtime_error("bitmap " + std::to_string(id) + " missing");
    return *bitmap;
}

TEST(EmbeddedBitmaps, EveryIdHasAWellFormedBitmapOfItsLayoutSize) {
    for (const Expected& e : kBitmaps) {
        SCOPED_TRACE(e.id);
        const EmbeddedBitmap* bitmap = findEmbeddedBitmap(e.id);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(bitmap->id, e.id);
        ASSERT_GE(bitmap->size, 54u);
        const BmpView bmp(*bitmap);
        EXPECT_EQ(bitmap->data[0], 'B');
        EXPECT_EQ(bitmap->data[1], 'M');
        EXPECT_EQ(bmp.fileSize(), bitmap->size);
        EXPECT_EQ(bmp.headerSize(), 40u);
        EXPECT_EQ(bmp.width(), e.width);
        EXPECT_EQ(bmp.height(), e.height);  // positive: bottom-up rows
        EXPECT_EQ(bmp.bitCount(), e.bitCount);
        EXPECT_EQ(bmp.compression(), 0u);
        EXPECT_EQ(bmp.coloursUsed(), e.bitCount == 8 ? 256u : 0u);
        EXPECT_EQ(bmp.pixelOffset() + bmp.rowBytes() * static_cast<std::size_t>(bmp.height()), bitmap->size);
    }
}

TEST(EmbeddedBitmaps, IdsOutsideTheSetAreAbsent) {
    for (int id : {0, -1, 1000, 1013, 2001}) EXPECT_EQ(findEmbeddedBitmap(id), nullptr) << id;
}

// A stale build would ship old artwork: the bytes must be the committed files.
TEST(EmbeddedBitmaps, BytesMatchTheCommittedFiles) {
    for (const Expected& e : kBitmaps) {
        SCOPED_TRACE(e.id);
        std::ifstream file(std::string(VELMORA_BITMAP_DIR) + "/" + std::to_string(e.id) + ".bmp", std::ios::binary);
        ASSERT_TRUE(file);
        const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
        const EmbeddedBitmap& bitmap = get(e.id);
        EXPECT_TRUE(bytes == std::vector<unsigned char>(bitmap.data, bitmap.data + bitmap.size));
    }
}

// White is the transparent key: a white pixel in a bitmap that may be drawn
// keyed would show the panel through it.
TEST(EmbeddedBitmaps, NoPixelIsTheTransparentKey) {
    for (const Expected& e : kBitmaps) {
        SCOPED_TRACE(e.id);
        const BmpView bmp(get(e.id));
        int white = 0;
        for (int y = 0; y < bmp.height(); ++y)
            for (int x = 0; x < bmp.width(); ++x) white += bmp.pixel(x, y) == Rgb{255, 255, 255};
        EXPECT_EQ(white, 0);
    }
}

// Knobs are blitted opaquely, so each knob image's square must be painted in
// the very colour the background has around every place it is drawn.
TEST(EmbeddedBitmaps, KnobSquaresMatchThePanelAtEveryKnobPlace) {
    struct Place {
        int strip, x, y;
    };
    std::vector<Place> places = {{1003, 48, 27}, {1005, 158, 85}, {1005, 298, 85}};
    for (int band = 0; band < 3; ++band) {
        const int dx = 140 * band;
        places.push_back({1004, 48 + dx, 139});
        places.push_back({1003, 108 + dx, 139});
        places.push_back({1003, 48 + dx, 210});
        places.push_back({1003, 108 + dx, 210});
    }
    const BmpView background(get(1001));
    for (const Place& place : places) {
        SCOPED_TRACE(testing::Message() << place.strip << " at " << place.x << "," << place.y);
        const BmpView strip(get(place.strip));
        const int s = strip.width();
        for (int image : {0, strip.height() / s - 1}) {
            for (auto [cx, cy] : {std::pair{0, 0}, {s - 1, 0}, {0, s - 1}, {s - 1, s - 1}}) {
                EXPECT_EQ(strip.pixel(cx, image * s + cy), background.pixel(place.x + cx, place.y + cy));
                // and the panel just outside the square is the same colour
                EXPECT_EQ(background.pixel(place.x + cx + (cx == 0 ? -1 : 1), place.y + cy),
                          background.pixel(place.x + cx, place.y + cy));
            }
        }
    }
}

}  // namespace
