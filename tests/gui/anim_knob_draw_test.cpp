// Which image of its strip a filmstrip knob shows, read back from the pixels
// it draws: each strip image has its own colour.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gui/x11/cairo_canvas.h"
#include "gui_test_support.h"

namespace {

// The image a knob of `count` images shows for value, read from its pixels.
class StripKnob {
public:
    StripKnob(int count, int strip, bool inverse = false) {
        cairo_surface_t* source = stripSurface(8, 6, strip);
        GuiBitmap* bitmap = bitmapFrom(source);
        cairo_surface_destroy(source);
        knob = new GuiAnimKnob(GuiRect{2, 3, 10, 9}, nullptr, 0, count, 6, bitmap, GuiPoint{});
        knob->setInverseBitmap(inverse);
        bitmap->release();
        target = solidSurface(16, 16, 0x000000);
    }
    ~StripKnob() {
        knob->release();
        cairo_surface_destroy(target);
    }
    int imageFor(float value) {
        fillSurface(target, 0x000000);
        knob->setValue(value);
        {
            CairoCanvas canvas(target);
            GuiDrawContext context(nullptr, &canvas, nullptr);
            knob->draw(&context);
        }
        if (!std::isnan(value)) {  // NaN never equals the value drawn
            EXPECT_FALSE(knob->isDirty());
        }
        const uint32_t top = pixelAt(target, 2, 3);
        EXPECT_EQ(top, pixelAt(target, 9, 8)) << "one whole image per draw";
        return static_cast<int>(top >> 16);
    }

    GuiAnimKnob* knob;
    cairo_surface_t* target;
};

TEST(AnimKnobImage, OneHundredTwentySixImages) {
    StripKnob k(126, 128);  // the strip holds two images more than are used
    EXPECT_EQ(k.imageFor(0.0f), 0);
    EXPECT_EQ(k.imageFor(0.5f), 62);
    EXPECT_EQ(k.imageFor(0.9999f), 124);
    EXPECT_EQ(k.imageFor(1.0f), 125);
    EXPECT_EQ(k.imageFor(1.0f / 125.0f), 1);
}

TEST(AnimKnobImage, SevenImagesNeedExactlyOneForTheLast) {
    StripKnob k(7, 7);
    EXPECT_EQ(k.imageFor(0.1666f), 0);
    EXPECT_EQ(k.imageFor(0.5f), 3);
    EXPECT_EQ(k.imageFor(0.9999f), 5);
    EXPECT_EQ(k.imageFor(1.0f), 6);
}

TEST(AnimKnobImage, OutOfRangeValuesStayOnTheStrip) {
    StripKnob k(126, 128);
    EXPECT_EQ(k.imageFor(-0.3f), 0);
    EXPECT_EQ(k.imageFor(1.7f), 125);
    EXPECT_EQ(k.imageFor(1.0e30f), 125);
    EXPECT_EQ(k.imageFor(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(k.imageFor(std::numeric_limits<float>::infinity()), 125);
    EXPECT_FLOAT_EQ(k.knob->getValue(), std::numeric_limits<float>::infinity());  // not clamped
}

TEST(AnimKnobImage, InverseReadsTheStripFromTheOtherEnd) {
    StripKnob k(7, 7, true);
    EXPECT_EQ(k.imageFor(0.0f), 6);
    EXPECT_EQ(k.imageFor(1.0f), 0);
    EXPECT_EQ(k.imageFor(-1.0f), 0);  // negative values show image 0 either way
}

TEST(AnimKnobImage, EmptyBitmapDrawsNothing) {
    FakePlatform platform;
    GuiBitmap* missing = new GuiBitmap(1003);
    GuiAnimKnob knob(GuiRect{0, 0, 48, 48}, nullptr, 0, 126, missing->getHeight() / 126, missing,
                     GuiPoint{});
    missing->release();
    knob.setValue(0.7f);
    EXPECT_EQ(knob.imageOffset(), 0);
    GuiDrawContext context(nullptr, nullptr, nullptr);
    knob.draw(&context);
    EXPECT_FALSE(knob.isDirty());
}

TEST(AnimKnobImage, PlainKnobDrawsItsHandleLine) {
    cairo_surface_t* target = solidSurface(40, 40, 0x000000);
    GuiKnob knob(GuiRect{0, 0, 40, 40}, nullptr, 0, nullptr, nullptr, GuiPoint{});
    knob.setValue(0.5f);  // straight up
    {
        CairoCanvas canvas(target);
        GuiDrawContext context(nullptr, &canvas, nullptr);
        knob.draw(&context);
    }
    // Grey from the tip (19, 3) down towards the centre (19, 20), the white
    // highlight one pixel right and up.
    EXPECT_EQ(pixelAt(target, 19, 10), 0x7F7F7Fu);
    EXPECT_EQ(pixelAt(target, 20, 9), 0xFFFFFFu);
    EXPECT_EQ(pixelAt(target, 25, 10), 0x000000u);
    cairo_surface_destroy(target);
}

}  // namespace
