// The Linux window under a real X server (Xvfb): a frame opened as the child
// of a window the test creates, painted on Expose, clicked and dragged with
// xdotool, and torn down after its parent is gone. Skips without a display.
#include <gtest/gtest.h>
// After gtest: Xlib's macros (None, Bool) would clash with its names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "gui_test_support.h"

namespace {

constexpr uint32_t kBackground = 0x30A050;
constexpr GuiRect kSwitchRect{20, 20, 60, 40};
constexpr GuiRect kKnobRect{100, 100, 148, 148};

int foreignErrors = 0;
int countingHandler(Display*, XErrorEvent*) {
    ++foreignErrors;
    return 0;
}

bool haveXdotool() { return std::system("xdotool version >/dev/null 2>&1") == 0; }

class X11Editor : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "DISPLAY is not set";
        display = XOpenDisplay(nullptr);
        if (!display) GTEST_SKIP() << "cannot open the X display";
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 484, 286, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);

        hostCalls().clear();
        editor = new TestEditor(&effect);
        editor->build = [this](GuiFrame& frame, TestEditor& owner) {
            GuiBitmap* background = solidBitmap(484, 286, kBackground);
            frame.setBackground(background);
            background->release();
            cairo_surface_t* two = stripSurface(40, 20, 2);
            GuiBitmap* states = bitmapFrom(two);
            cairo_surface_destroy(two);
            solo = new GuiOnOffButton(kSwitchRect, &owner, 3, states);
            states->release();
            frame.addView(solo);
            cairo_surface_t* strip = stripSurface(48, 48, 128);
            GuiBitmap* knobStrip = bitmapFrom(strip);
            cairo_surface_destroy(strip);
            knob = new GuiAnimKnob(kKnobRect, &owner, 9, 126, 48, knobStrip, GuiPoint{});
            knobStrip->release();
            frame.addView(knob);
        };
    }

    void TearDown() override {
        if (editor) editor->close();
        if (display) {
            if (!parentGone) XDestroyWindow(display, parent);
            XCloseDisplay(display);
        }
    }

    void* parentHandle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(parent)); }
    Window child() const {
        return static_cast<Window>(
            reinterpret_cast<uintptr_t>(editor->getFrame()->getWindow()->nativeHandle()));
    }

    // Idles the editor like a host does until the condition holds (or gives up).
    bool idleUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 500; ++i) {
            editor->idle();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    uint32_t pixel(Window w, int x, int y) {
        XImage* image = XGetImage(display, w, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return 0xFFFFFFFFu;
        const auto value = static_cast<uint32_t>(XGetPixel(image, 0, 0)) & 0xFFFFFFu;
        XDestroyImage(image);
        return value;
    }

    std::vector<Window> childrenOfParent() {
        Window root = 0;
        Window up = 0;
        Window* kids = nullptr;
        unsigned int count = 0;
        std::vector<Window> out;
        if (XQueryTree(display, parent, &root, &up, &kids, &count)) {
            out.assign(kids, kids + count);
            if (kids) XFree(kids);
        }
        return out;
    }

    void openAndPaint() {
        editor->open(parentHandle());
        ASSERT_NE(editor->getFrame()->getWindow(), nullptr);
        ASSERT_TRUE(idleUntil([this] { return editor->getFrame()->hasPainted(); }));
    }

    TestEffect effect;
    TestEditor* editor = nullptr;
    GuiOnOffButton* solo = nullptr;
    GuiAnimKnob* knob = nullptr;
    Display* display = nullptr;
    Window parent = 0;
    bool parentGone = false;
};

TEST_F(X11Editor, ChildWindowPaintsOnExpose) {
    openAndPaint();
    const std::vector<Window> kids = childrenOfParent();
    ASSERT_EQ(kids.size(), 1u);
    EXPECT_EQ(kids[0], child());
    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(display, child(), &attributes));
    EXPECT_EQ(attributes.width, 484);
    EXPECT_EQ(attributes.height, 286);
    EXPECT_EQ(attributes.map_state, IsViewable);

    EXPECT_EQ(pixel(child(), 5, 5), kBackground);
    EXPECT_EQ(pixel(child(), 30, 30), stripColour(0));
    EXPECT_EQ(pixel(child(), 124, 124), stripColour(0));

    // Scribble over it from another client, then expose: it is painted again.
    GC gc = XCreateGC(display, child(), 0, nullptr);
    XSetForeground(display, gc, 0xFF0000);
    XFillRectangle(display, child(), gc, 0, 0, 484, 286);
    XFreeGC(display, gc);
    XSync(display, False);
    ASSERT_EQ(pixel(child(), 5, 5), 0xFF0000u);
    XClearArea(display, child(), 0, 0, 0, 0, True);
    XSync(display, False);
    EXPECT_TRUE(idleUntil([this] { return pixel(child(), 5, 5) == kBackground; }));
    EXPECT_EQ(pixel(child(), 30, 30), stripColour(0));

    // A changed value is painted at the next idle.
    knob->setValue(1.0f);
    EXPECT_TRUE(idleUntil([this] { return pixel(child(), 124, 124) == stripColour(125); }));
}

TEST_F(X11Editor, ClicksAndDragsArriveAsPresses) {
    if (!haveXdotool()) GTEST_SKIP() << "xdotool is not installed";
    openAndPaint();

    // A quick click, over before the editor idles, still toggles the switch.
    ASSERT_EQ(std::system("xdotool mousemove 30 30 click 1"), 0);
    ASSERT_TRUE(idleUntil([this] { return solo->getValue() == 1.0f; }));
    EXPECT_FLOAT_EQ(effect.values[3], 1.0f);
    EXPECT_TRUE(idleUntil([this] { return pixel(child(), 30, 30) == stripColour(1); }));

    // Right clicks and wheel turns do nothing.
    ASSERT_EQ(std::system("xdotool mousemove 30 30 click 3 click 4 click 5"), 0);
    for (int i = 0; i < 20; ++i) editor->idle();
    EXPECT_FLOAT_EQ(solo->getValue(), 1.0f);

    // A drag of 100 pixels to the right moves the knob half way.
    hostCalls().clear();
    ASSERT_EQ(std::system("xdotool mousemove 124 124 mousedown 1 mousemove 174 124 "
                          "mousemove 224 124 mouseup 1"),
              0);
    ASSERT_TRUE(idleUntil([this] { return !callsOf(audioMasterEndEdit).empty(); }));
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-5f);
    EXPECT_EQ(callsOf(audioMasterBeginEdit).size(), 1u);
    EXPECT_EQ(callsOf(audioMasterEndEdit).size(), 1u);
    EXPECT_NEAR(effect.values[9], 0.5f, 1e-5f);

    // Ctrl+click resets it, also when the click is over before the idle.
    knob->setValue(0.2f);
    editor->idle();
    hostCalls().clear();
    ASSERT_EQ(std::system("xdotool mousemove 124 124 keydown ctrl click 1 keyup ctrl"), 0);
    ASSERT_TRUE(idleUntil([] { return !callsOf(audioMasterAutomate).empty(); }));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
    EXPECT_TRUE(callsOf(audioMasterBeginEdit).empty());
}

TEST_F(X11Editor, HostDestroyingItsWindowFirstDoesNotCrash) {
    foreignErrors = 0;
    XErrorHandler hostHandler = countingHandler;
    XErrorHandler before = XSetErrorHandler(hostHandler);
    openAndPaint();

    XDestroyWindow(display, parent);
    parentGone = true;
    XSync(display, False);
    editor->close();  // destroys a window the server no longer has
    EXPECT_EQ(editor->getFrame(), nullptr);

    // The host's handler is in place again and saw none of our errors.
    EXPECT_EQ(XSetErrorHandler(before), hostHandler);
    EXPECT_EQ(foreignErrors, 0);
}

TEST_F(X11Editor, DrawingOnAVanishedWindowIsSwallowedAndStops) {
    foreignErrors = 0;
    XErrorHandler before = XSetErrorHandler(countingHandler);
    openAndPaint();
    XDestroyWindow(display, parent);
    parentGone = true;
    XSync(display, False);
    // Drawn before the destruction was seen: the errors are ours to swallow,
    // and they tell the frame its window is gone.
    editor->redrawAll();
    editor->redrawAll();
    EXPECT_FALSE(editor->getFrame()->isOpen());
    editor->close();
    EXPECT_EQ(XSetErrorHandler(before), countingHandler);
    EXPECT_EQ(foreignErrors, 0);
}

TEST_F(X11Editor, DestroyNotifyClosesTheFrameBeforeTheEditorDoes) {
    openAndPaint();
    XDestroyWindow(display, parent);
    parentGone = true;
    XSync(display, False);
    ASSERT_TRUE(idleUntil([this] { return !editor->getFrame()->isOpen(); }));
    EXPECT_EQ(editor->getFrame()->getParentWindow(), nullptr);
    knob->setValue(0.3f);
    editor->idle();  // nothing to draw on any more
    editor->close();
}

TEST_F(X11Editor, SecondOpenReplacesTheFirstWindow) {
    openAndPaint();
    // Window ids can repeat across connections; a name marks the first one.
    XStoreName(display, child(), "first");
    XSync(display, False);
    openAndPaint();
    EXPECT_EQ(editor->closes, 1);
    const std::vector<Window> kids = childrenOfParent();
    ASSERT_EQ(kids.size(), 1u);
    EXPECT_EQ(kids[0], child());
    char* name = nullptr;
    XFetchName(display, kids[0], &name);
    EXPECT_EQ(name, nullptr);
    if (name) XFree(name);
    EXPECT_EQ(pixel(child(), 5, 5), kBackground);
}

TEST_F(X11Editor, AParentThatIsNoWindowGivesAFrameWithoutWindow) {
    editor->open(reinterpret_cast<void*>(uintptr_t{0x3FFFFFF}));
    ASSERT_NE(editor->getFrame(), nullptr);
    EXPECT_EQ(editor->getFrame()->getWindow(), nullptr);
    editor->idle();
}

}  // namespace
