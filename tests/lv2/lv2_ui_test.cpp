// The X11 UI in a real LV2 host (lilv + suil) under X: the user's mouse,
// moved by xdotool, reaches the control ports; the host's port changes reach
// the knobs and the value display at the next idle.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "gui/x11/bmp_decoder.h"
#include "lv2_ui_test_host.h"

namespace {

bool haveXdotool() { return std::system("command -v xdotool >/dev/null 2>&1") == 0; }
bool haveDisplay() { return std::getenv("DISPLAY") != nullptr; }

// Runs xdotool on its own thread while the UI keeps idling: a knob tracks the
// mouse inside the UI's idle call, so the host must not block.
int driveWhileIdling(Lv2UiTestHost& host, const std::string& actions) {
    std::atomic<bool> done{false};
    int status = -1;
    std::thread mouse([&] {
        status = std::system(("xdotool " + actions).c_str());
        done = true;
    });
    while (!done) host.idleFor(0.02);
    mouse.join();
    host.idleFor(0.2);
    return status;
}

DecodedBitmap committedBitmap(int id) {
    std::ifstream file(std::string(VELMORA_SOURCE_DIR) + "/resources/bitmaps/" + std::to_string(id) + ".bmp",
                       std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return decodeBmp(bytes.data(), bytes.size());
}

std::vector<uint32_t> typeKnobImage(int image) {
    const DecodedBitmap strip = committedBitmap(1004);
    std::vector<uint32_t> pixels;
    for (int row = 0; row < 48; ++row)
        for (int column = 0; column < 48; ++column)
            pixels.push_back(strip.pixels[static_cast<size_t>((image * 48 + row) * strip.width + column)] & 0xFFFFFF);
    return pixels;
}

size_t differingPixels(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    size_t differing = 0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) differing += a[i] != b[i] ? 1 : 0;
    return differing;
}

class Lv2Ui : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveDisplay()) GTEST_SKIP() << "no X display";
    }
};

// The Type2 knob (48 x 48 at 188, 139) and the value display (132 x 15 at 176, 29).
std::vector<uint32_t> type2Knob(const Lv2UiTestHost& host) { return host.capture(188, 139, 48, 48); }
std::vector<uint32_t> valueDisplay(const Lv2UiTestHost& host) { return host.capture(176, 29, 132, 15); }

}  // namespace

TEST_F(Lv2Ui, RealDragOnGain1WritesAboutHalfToItsPortInsideOneTouch) {
    if (!haveXdotool()) GTEST_SKIP() << "xdotool is not installed";
    Lv2UiTestHost host;
    ASSERT_NE(host.uiWindow(), 0u);
    // Gain1 is the 48 x 48 knob at (108, 210); a linear drag covers the range in 200 px.
    const std::string window = std::to_string(host.hostWindow());
    EXPECT_EQ(driveWhileIdling(host, "mousemove --sync --window " + window +
                                         " 132 234 mousedown 1 sleep 0.1 "
                                         "mousemove_relative --sync 25 0 sleep 0.05 mousemove_relative --sync 25 0 "
                                         "sleep 0.05 mousemove_relative --sync 25 0 sleep 0.05 "
                                         "mousemove_relative --sync 25 0 sleep 0.1 mouseup 1 sleep 0.1"),
              0);
    EXPECT_NEAR(host.control("gain1"), 20.0f, 1.6f);  // dB: half the knob's travel

    const auto& events = host.events();
    const auto on = std::find(events.begin(), events.end(), "touch gain1 on");
    const auto off = std::find(events.begin(), events.end(), "touch gain1 off");
    ASSERT_NE(on, events.end());
    ASSERT_NE(off, events.end());
    ASSERT_LT(on, off);
    EXPECT_GT(off - on, 1);
    for (auto event = on + 1; event != off; ++event) EXPECT_EQ(event->rfind("write gain1 ", 0), 0u) << *event;
    EXPECT_EQ(std::count(events.begin(), events.end(), "touch gain1 on"), 1);
}

TEST_F(Lv2Ui, HostChangeOfType2ShowsOnTheKnobAndInTheDisplayAtTheNextIdle) {
    Lv2UiTestHost host;
    ASSERT_EQ(type2Knob(host), typeKnobImage(0));
    const std::vector<uint32_t> emptyDisplay = valueDisplay(host);

    host.portEvent("type2", 5.0f);
    // Nothing is drawn from the port event itself.
    EXPECT_EQ(type2Knob(host), typeKnobImage(0));
    EXPECT_EQ(valueDisplay(host), emptyDisplay);

    EXPECT_EQ(host.idle(), 0);
    EXPECT_EQ(type2Knob(host), typeKnobImage(5));
    const std::vector<uint32_t> sinus = valueDisplay(host);
    EXPECT_GT(differingPixels(sinus, emptyDisplay), 20u);

    // Another value of the same curve reads the same; a different curve does not.
    host.portEvent("type2", 5.2f);
    host.idle();
    EXPECT_EQ(valueDisplay(host), sinus);
    host.portEvent("type2", 6.0f);
    host.idle();
    EXPECT_EQ(type2Knob(host), typeKnobImage(6));
    EXPECT_NE(valueDisplay(host), sinus);
    // The editor shows no latency: that port's events change nothing on it.
    const std::vector<uint32_t> crackler = valueDisplay(host);
    host.portEvent("latency", 75.0f);
    host.idle();
    EXPECT_EQ(type2Knob(host), typeKnobImage(6));
    EXPECT_EQ(valueDisplay(host), crackler);
    // The host's changes are never written back.
    EXPECT_TRUE(host.events().empty());
}

// The footer below the panel: a click on the Quality selector's "4x", a
// drag of the Mix knob and a click on Bypass each reach their port inside
// one touch, and the host's Quality change shows on the selector.
TEST_F(Lv2Ui, RealInputOnTheFooterWritesQualityMixAndEnabled) {
    if (!haveXdotool()) GTEST_SKIP() << "xdotool is not installed";
    Lv2UiTestHost host;
    const std::string window = std::to_string(host.hostWindow());
    // Below the panel and the analyser: selector 160 x 14 at (80, 419), four
    // segments; Mix 30 x 30 at (306, 411); Bypass 60 x 14 at (396, 419).
    const std::vector<uint32_t> normal = host.capture(80, 419, 160, 14);
    EXPECT_EQ(driveWhileIdling(host, "mousemove --sync --window " + window +
                                         " 180 426 click 1 sleep 0.1 mousemove --sync --window " + window +
                                         " 321 426 mousedown 1 sleep 0.1 "
                                         "mousemove_relative --sync -- -50 0 sleep 0.05 "
                                         "mousemove_relative --sync -- -50 0 sleep 0.1 mouseup 1 sleep 0.1 "
                                         "mousemove --sync --window " + window + " 426 426 click 1 sleep 0.1"),
              0);
    EXPECT_EQ(host.control("quality"), 2.0f);
    EXPECT_NEAR(host.control("mix"), 50.0f, 2.0f);  // %
    EXPECT_EQ(host.control("enabled"), 0.0f);
    const auto& events = host.events();
    for (const char* port : {"quality", "mix", "enabled"}) {
        const auto on = std::find(events.begin(), events.end(), std::string("touch ") + port + " on");
        const auto off = std::find(events.begin(), events.end(), std::string("touch ") + port + " off");
        ASSERT_LT(on, off) << port;
        EXPECT_EQ((on + 1)->rfind(std::string("write ") + port + " ", 0), 0u) << port;
    }

    const std::vector<uint32_t> fourTimes = host.capture(80, 419, 160, 14);
    EXPECT_NE(fourTimes, normal);
    host.portEvent("quality", 0.0f);
    host.idle();
    EXPECT_EQ(host.capture(80, 419, 160, 14), normal);
}

// At the host's scale of 2: the UI asks for twice the size, and a drag of
// 200 device pixels on Gain1 (at twice its place) moves it as 100 do at 100 %.
TEST_F(Lv2Ui, AtTheHostsScaleOfTwoTheWindowAndTheDragsAreTwiceAsLarge) {
    if (!haveXdotool()) GTEST_SKIP() << "xdotool is not installed";
    Lv2UiTestHost host(2.0f);
    EXPECT_EQ(host.resizes(), (std::vector<std::pair<int, int>>{{968, 892}}));
    const std::string window = std::to_string(host.hostWindow());
    EXPECT_EQ(driveWhileIdling(host, "mousemove --sync --window " + window +
                                         " 264 468 mousedown 1 sleep 0.1 "
                                         "mousemove_relative --sync 50 0 sleep 0.05 mousemove_relative --sync 50 0 "
                                         "sleep 0.05 mousemove_relative --sync 50 0 sleep 0.05 "
                                         "mousemove_relative --sync 50 0 sleep 0.1 mouseup 1 sleep 0.1 "
                                         "mousemove --sync --window " + window + " 484 234 click 1 sleep 0.1"),
              0);
    EXPECT_NEAR(host.control("gain1"), 20.0f, 1.6f);  // dB: half the knob's travel
    // The Solo2 switch (60 x 11 at 212, 112) at twice its place.
    EXPECT_EQ(host.control("solo2"), 1.0f);
}
