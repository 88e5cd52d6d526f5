// The switch, the value display and the about box, drawn into the test
// window's image and driven through the frame and a recording effect.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

#include "gui/x11/cairo_canvas.h"
#include "gui_test_support.h"

namespace {

constexpr GuiRect kSwitchRect{230, 80, 250, 90};   // under the about image
constexpr GuiRect kOutsideSwitch{20, 260, 40, 270};  // outside it
constexpr GuiRect kTrigger{353, 14, 460, 68};
constexpr GuiRect kImage{96, 58, 385, 237};
constexpr uint32_t kPanel = 0x202020;
constexpr uint32_t kAbout = 0xE0C040;

class Panel : public ::testing::Test {
protected:
    void SetUp() override {
        hostCalls().clear();
        editor = new TestEditor(&effect);
        editor->build = [this](GuiFrame& frame, TestEditor& owner) {
            GuiBitmap* background = solidBitmap(484, 286, kPanel);
            frame.setBackground(background);
            background->release();

            cairo_surface_t* two = stripSurface(20, 10, 2);
            GuiBitmap* states = bitmapFrom(two);
            cairo_surface_destroy(two);
            solo = new GuiOnOffButton(kSwitchRect, &owner, 3, states);
            other = new GuiOnOffButton(kOutsideSwitch, &owner, 4, states);
            states->release();
            frame.addView(solo);
            frame.addView(other);

            GuiBitmap* image = solidBitmap(289, 179, kAbout);
            about = new GuiSplashScreen(kTrigger, &owner, 20, image, kImage, GuiPoint{});
            image->release();
            frame.addView(about);
        };
        editor->open(reinterpret_cast<void*>(1));
        window = platform.lastWindow;
        window->queueExpose(GuiRect{0, 0, 484, 286});
        editor->idle();
    }
    void press(GuiPoint where, int32_t buttons = kGuiLButton) {
        window->queuePress(where, {{buttons, where}, {buttons, where}});
        editor->idle();
    }
    uint32_t at(int x, int y) { return pixelAt(window->image(), x, y); }

    FakePlatform platform;
    TestEffect effect;
    TestEditor* editor = nullptr;
    GuiOnOffButton* solo = nullptr;
    GuiOnOffButton* other = nullptr;
    GuiSplashScreen* about = nullptr;
    FakeWindow* window = nullptr;
};

TEST_F(Panel, SwitchTogglesOnEveryLeftPress) {
    EXPECT_EQ(at(235, 85), stripColour(0));
    press(GuiPoint{235, 85});
    EXPECT_FLOAT_EQ(solo->getValue(), 1.0f);
    EXPECT_FLOAT_EQ(effect.values[3], 1.0f);
    EXPECT_EQ(at(235, 85), stripColour(1));  // repainted at once by the listener
    EXPECT_TRUE(callsOf(audioMasterBeginEdit).empty());

    press(GuiPoint{235, 85}, kGuiRButton);
    EXPECT_FLOAT_EQ(solo->getValue(), 1.0f);
    press(GuiPoint{235, 85});
    EXPECT_FLOAT_EQ(solo->getValue(), 0.0f);
    EXPECT_EQ(at(235, 85), stripColour(0));

    // Any non-zero value shows on; a click on 0.7 turns it to 1, not off.
    solo->setValue(0.7f);
    editor->idle();
    EXPECT_EQ(at(235, 85), stripColour(1));
    press(GuiPoint{235, 85});
    EXPECT_FLOAT_EQ(solo->getValue(), 1.0f);
}

TEST_F(Panel, AboutBoxOpensModalAndClosesWithARepaintOfEverything) {
    press(GuiPoint{400, 40});
    ASSERT_TRUE(about->isOpen());
    EXPECT_EQ(editor->getFrame()->getModalView(), about);
    EXPECT_EQ(at(100, 60), kAbout);
    EXPECT_EQ(at(235, 85), kAbout);  // covers the switch
    EXPECT_EQ(editor->changed.back(), about);
    EXPECT_TRUE(callsOf(audioMasterAutomate).empty());  // tag 20 is no parameter

    press(GuiPoint{30, 265});  // outside the image: dropped
    EXPECT_FLOAT_EQ(other->getValue(), 0.0f);
    press(GuiPoint{200, 150}, kGuiRButton);  // right press on the image: stays
    EXPECT_TRUE(about->isOpen());

    // Automation while it is open is not drawn over the image...
    solo->setValue(1.0f);
    editor->idle();
    EXPECT_EQ(at(235, 85), kAbout);

    // ...but shows when a left press on the image closes it.
    press(GuiPoint{200, 150});
    EXPECT_FALSE(about->isOpen());
    EXPECT_EQ(editor->getFrame()->getModalView(), nullptr);
    EXPECT_EQ(at(235, 85), stripColour(1));
    EXPECT_EQ(at(100, 60), kPanel);
    EXPECT_EQ(at(200, 150), kPanel);

    // The click area is back to the logo.
    press(GuiPoint{200, 150});
    EXPECT_FALSE(about->isOpen());
    press(GuiPoint{400, 40});
    EXPECT_TRUE(about->isOpen());
    about->closeSplash();
    EXPECT_FALSE(about->isOpen());
    EXPECT_EQ(at(200, 150), kPanel);
}

TEST_F(Panel, AboutBoxStaysClosedWhileAnotherModalViewIsOpen) {
    GuiView* blocker = new GuiView(GuiRect{0, 0, 484, 286});
    editor->getFrame()->addView(blocker);
    editor->getFrame()->setModalView(blocker);
    GuiPoint where{400, 40};
    GuiDrawContext context(editor->getFrame(), nullptr, &window->script());
    window->script().script({{kGuiLButton, where}});
    about->mouse(&context, where);
    EXPECT_FALSE(about->isOpen());
    EXPECT_EQ(editor->getFrame()->getModalView(), blocker);
}

// ---- value display --------------------------------------------------------------

class Display : public ::testing::Test {
protected:
    void SetUp() override { image = solidSurface(64, 24, kPanel); }
    void TearDown() override { cairo_surface_destroy(image); }
    void draw(GuiParamDisplay& display) {
        fillSurface(image, kPanel);
        CairoCanvas canvas(image);
        GuiDrawContext context(nullptr, &canvas, nullptr);
        display.draw(&context);
    }
    // Pixels of this colour; text is anti-aliased, so for text (near) any
    // pixel within a small distance of it counts.
    int count(uint32_t rgb, const GuiRect& r, int near = 0) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                const uint32_t p = pixelAt(image, x, y);
                bool match = true;
                for (int shift : {0, 8, 16}) {
                    const int d = static_cast<int>((p >> shift) & 0xFF) -
                                  static_cast<int>((rgb >> shift) & 0xFF);
                    match = match && d <= near && d >= -near;
                }
                n += match ? 1 : 0;
            }
        }
        return n;
    }
    static constexpr int kInk = 64;
    static std::string text(const GuiParamDisplay& display) {
        char buffer[kGuiDisplayTextSize];
        display.makeText(buffer);
        return buffer;
    }

    cairo_surface_t* image = nullptr;
    static constexpr GuiRect kBox{2, 2, 60, 20};
};

void hertz(float value, char* out) { std::snprintf(out, 32, "%.0f Hz", value * 1000.0f); }
void tagged(float value, char* out, void* data) {
    std::snprintf(out, 32, "%s%.1f", static_cast<const char*>(data), value);
}

TEST_F(Display, TextComesFromTheConverterOrTwoDecimals) {
    GuiParamDisplay display(kBox);
    EXPECT_EQ(text(display), "0.00");
    display.setValue(0.5f);
    EXPECT_EQ(text(display), "0.50");
    display.setTextConverter(hertz);
    EXPECT_EQ(text(display), "500 Hz");
    char prefix[] = "v=";
    display.setTextConverterWithData(tagged, prefix);
    EXPECT_EQ(text(display), "v=0.5");  // the converter with data wins
}

TEST_F(Display, DefaultFormatIsTwoDecimalsWithAPoint) {
    char ours[64];
    char theirs[64];
    for (float v : {0.0f, 0.5f, -1.25f, 12.345f, 0.005f, 1.0e7f, -0.0f}) {
        formatFixed2(v, ours, sizeof ours);
        std::snprintf(theirs, sizeof theirs, "%2.2f", static_cast<double>(v));
        EXPECT_STREQ(ours, theirs);
    }
    char tiny[3];
    formatFixed2(0.5f, tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "0.");
}

TEST_F(Display, DefaultFormatIgnoresADecimalCommaLocale) {
    char ours[64];
    // Under a decimal-comma locale the display still writes a point.
    const char* comma = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    if (!comma) GTEST_SKIP() << "no decimal-comma locale installed";
    formatFixed2(0.5f, ours, sizeof ours);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_STREQ(ours, "0.50");
}

TEST_F(Display, ConvertersAloneDoNotDirtyButChangedLooksDo) {
    GuiParamDisplay display(kBox);
    draw(display);
    EXPECT_FALSE(display.isDirty());
    display.setTextConverter(hertz);
    display.setTextTransparency(false);
    EXPECT_FALSE(display.isDirty());
    display.setFontColor(GuiColor{255, 255, 255, 9});  // only the ignored byte differs
    EXPECT_FALSE(display.isDirty());
    display.setFontColor(kGuiRed);
    EXPECT_TRUE(display.isDirty());
    draw(display);
    display.setHoriAlign(kGuiCenterText);
    display.setFont(3);
    display.setStyle(0);
    display.setTextFace(kGuiNormalFace);
    EXPECT_FALSE(display.isDirty());
    display.setHoriAlign(kGuiRightText);
    EXPECT_TRUE(display.isDirty());
}

TEST_F(Display, BoxBevelShadowAndAlignment) {
    GuiParamDisplay display(kBox);
    display.setBackColor(kGuiBlue);
    display.setFrameColor(kGuiGreen);
    draw(display);
    EXPECT_EQ(pixelAt(image, 2, 2), 0x00FF00u);  // outline
    EXPECT_EQ(pixelAt(image, 60, 20), 0x00FF00u);
    EXPECT_EQ(pixelAt(image, 4, 4), 0x0000FFu);  // fill
    EXPECT_GT(count(0xFFFFFFu, kBox, kInk), 0);  // white text

    display.setStyle(kGui3DIn);  // back colour top and left, frame colour bottom and right
    draw(display);
    EXPECT_EQ(pixelAt(image, 2, 10), 0x0000FFu);
    EXPECT_EQ(pixelAt(image, 30, 2), 0x0000FFu);
    EXPECT_EQ(pixelAt(image, 60, 2), 0x0000FFu);
    EXPECT_EQ(pixelAt(image, 60, 10), 0x00FF00u);
    EXPECT_EQ(pixelAt(image, 30, 20), 0x00FF00u);
    EXPECT_EQ(pixelAt(image, 2, 20), 0x0000FFu);
    display.setStyle(kGui3DOut);  // swapped
    draw(display);
    EXPECT_EQ(pixelAt(image, 2, 10), 0x00FF00u);
    EXPECT_EQ(pixelAt(image, 60, 10), 0x0000FFu);

    display.setStyle(kGuiShadowText);
    draw(display);
    EXPECT_GT(count(0xFF0000u, kBox, kInk), 0);  // red shadow under the white text

    display.setStyle(kGuiNoTextStyle);
    draw(display);
    EXPECT_EQ(count(0xFFFFFFu, kBox, kInk), 0);
    EXPECT_GT(count(0x0000FFu, kBox), 0);

    display.setStyle(0);
    display.setTransparency(true);  // no bitmap, transparent: no box
    display.setHoriAlign(kGuiLeftText);
    draw(display);
    EXPECT_EQ(count(0x0000FFu, kBox), 0);
    EXPECT_GT(count(0xFFFFFFu, GuiRect{2, 2, 31, 20}, kInk), 0);
    EXPECT_EQ(count(0xFFFFFFu, GuiRect{31, 2, 60, 20}, kInk), 0);
    display.setHoriAlign(kGuiRightText);
    draw(display);
    EXPECT_EQ(count(0xFFFFFFu, GuiRect{2, 2, 31, 20}, kInk), 0);
    EXPECT_GT(count(0xFFFFFFu, GuiRect{31, 2, 61, 20}, kInk), 0);
}

TEST_F(Display, BackgroundBitmapAndNoDrawStyle) {
    GuiBitmap* field = solidBitmap(58, 18, 0xC8C8C8);
    GuiParamDisplay display(kBox, field, kGuiNoDrawStyle);
    field->release();
    EXPECT_FALSE(display.isDirty());  // starts clean
    display.setValue(0.3f);
    draw(display);
    EXPECT_EQ(count(kPanel, kBox), (kBox.width()) * (kBox.height()));
    EXPECT_FALSE(display.isDirty());

    display.setStyle(0);
    display.setFontColor(kGuiBlack);
    draw(display);
    EXPECT_EQ(pixelAt(image, 3, 3), 0xC8C8C8u);
    EXPECT_GT(count(0x000000u, kBox, kInk), 0);
}

}  // namespace
