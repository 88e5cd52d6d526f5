// Decoding .bmp bytes into pixels, and loading the plug-in's own bitmaps.
#include <gtest/gtest.h>

#include <vector>

#include "gui/x11/bmp_decoder.h"
#include "gui/x11/cairo_bitmap_image.h"
#include "gui/x11/x11_platform.h"
#include "gui_test_support.h"

namespace {

const std::vector<uint32_t> kRgb = {0xFF0000, 0x00FF00, 0x0000FF,   // top row
                                    0x123456, 0xABCDEF, 0x000000};  // bottom row

TEST(BmpDecoder, TwentyFourBitBothRowOrders) {
    for (bool topDown : {false, true}) {
        const auto bytes = makeBmp24(3, 2, kRgb, topDown);  // 3 px: rows are padded
        const DecodedBitmap bitmap = decodeBmp(bytes.data(), bytes.size());
        ASSERT_EQ(bitmap.width, 3);
        ASSERT_EQ(bitmap.height, 2);
        EXPECT_EQ(bitmap.pixels, kRgb) << "topDown " << topDown;
    }
}

TEST(BmpDecoder, EightBitPaletteBothRowOrders) {
    const std::vector<uint32_t> palette = {0x000000, 0xFFFFFF, 0x804020};
    const std::vector<uint8_t> indices = {2, 1, 0, 0, 1, 9};  // 9 is past the palette: black
    for (bool topDown : {false, true}) {
        const auto bytes = makeBmp8(3, 2, palette, indices, topDown);
        const DecodedBitmap bitmap = decodeBmp(bytes.data(), bytes.size());
        ASSERT_EQ(bitmap.width, 3);
        EXPECT_EQ(bitmap.pixels,
                  (std::vector<uint32_t>{0x804020, 0xFFFFFF, 0, 0, 0xFFFFFF, 0}));
    }
}

TEST(BmpDecoder, RejectsWhatItCannotReadSafely) {
    const auto good = makeBmp24(3, 2, kRgb, false);
    auto broken = good;
    broken[0] = 'X';
    EXPECT_TRUE(decodeBmp(broken.data(), broken.size()).empty());

    EXPECT_TRUE(decodeBmp(good.data(), good.size() - 4).empty());  // truncated pixels
    EXPECT_TRUE(decodeBmp(good.data(), 20).empty());               // truncated header
    EXPECT_TRUE(decodeBmp(nullptr, 0).empty());

    broken = good;
    broken[30] = 1;  // run-length compressed
    EXPECT_TRUE(decodeBmp(broken.data(), broken.size()).empty());
    broken = good;
    broken[28] = 32;  // 32 bits per pixel
    EXPECT_TRUE(decodeBmp(broken.data(), broken.size()).empty());
    broken = good;
    broken[18] = 0xFF;  // absurd width
    broken[19] = 0xFF;
    broken[20] = 0xFF;
    broken[21] = 0x7F;
    EXPECT_TRUE(decodeBmp(broken.data(), broken.size()).empty());
    broken = good;
    broken[10] = 0xF0;  // pixel data past the end
    broken[11] = 0xFF;
    EXPECT_TRUE(decodeBmp(broken.data(), broken.size()).empty());
    broken = good;
    broken[22] = 0;  // height INT_MIN
    broken[23] = 0;
    broken[24] = 0;
    broken[25] = 0x80;
    EXPECT_TRUE(decodeBmp(broken.data(), broken.size()).empty());
}

TEST(BmpDecoder, DecodedImageBlitsItsPixels) {
    const auto bytes = makeBmp24(3, 2, kRgb, false);
    auto image = CairoBitmapImage::fromBmp(bytes.data(), bytes.size());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width(), 3);
    EXPECT_EQ(pixelAt(image->surface(), 0, 0), 0xFF0000u);
    EXPECT_EQ(pixelAt(image->surface(), 1, 1), 0xABCDEFu);
    EXPECT_EQ(CairoBitmapImage::fromBmp(bytes.data(), 10), nullptr);
}

// Every bitmap at every step, drawn for it or reduced from a larger step,
// has the device size of its logical size at that step.
TEST(PluginBitmaps, LoadByResourceIdAndStepFromTheLinkedBytes) {
    X11Platform platform;  // loading needs no display
    auto background = platform.loadBitmap(1001, 100);
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->width(), 484);
    EXPECT_EQ(background->height(), 286);
    for (int32_t id = 1001; id <= 1011; ++id) {
        const auto logical = platform.loadBitmap(id, 100);
        ASSERT_NE(logical, nullptr) << id;
        for (int32_t step : kGuiScaleSteps) {
            const auto image = platform.loadBitmap(id, step);
            ASSERT_NE(image, nullptr) << id << " at " << step;
            EXPECT_EQ(image->width(), GuiScale{step}.toDevice(logical->width())) << id << " at " << step;
            EXPECT_EQ(image->height(), GuiScale{step}.toDevice(logical->height())) << id << " at " << step;
        }
    }
    EXPECT_EQ(platform.loadBitmap(999, 100), nullptr);
    EXPECT_EQ(platform.loadBitmap(999, 200), nullptr);
}

}  // namespace
