// The analyser in LV2, with the plug-in (lilv) and its UI (suil) in one
// real host: the samples reach the UI through the atom ports only after the
// UI asked, and a real drag on the Cross1 handle writes the crossover ports
// inside one touch while the knob follows.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

#include "lilv_test_host.h"
#include "lv2_ui_test_host.h"

namespace {

bool haveDisplay() { return std::getenv("DISPLAY") != nullptr; }

// The analyser's screen and the Cross1 knob, at 100 %.
std::vector<uint32_t> analyserScreen(const Lv2UiTestHost& ui) { return ui.capture(24, 294, 436, 104); }
std::vector<uint32_t> cross1Knob(const Lv2UiTestHost& ui) { return ui.capture(158, 85, 30, 30); }

// Runs a block of a 1 kHz sine and hands what the plug-in sent to the UI;
// how many atoms that was.
size_t runAndDeliver(LilvTestHost& plugin, Lv2UiTestHost& ui, uint32_t& phase) {
    constexpr uint32_t kBlock = 512;
    std::vector<float> in(kBlock), out(kBlock), outRight(kBlock);
    for (float& sample : in) sample = 0.5f * static_cast<float>(std::sin(2.0 * M_PI * 1000.0 * phase++ / 48000.0));
    plugin.run(in.data(), in.data(), out.data(), outRight.data(), kBlock);
    const auto atoms = plugin.atomsOut("analyser_samples");
    for (const auto& atom : atoms) ui.atomEvent("analyser_samples", atom.data(), static_cast<uint32_t>(atom.size()));
    ui.idle();
    return atoms.size();
}

TEST(Lv2Analyser, SamplesReachTheUiThroughTheAtomPortsOnlyAfterItAsks) {
    if (!haveDisplay()) GTEST_SKIP() << "no X display";
    Lv2UiTestHost ui;
    LilvTestHost plugin(48000.0, ui.uridMap());
    const std::vector<uint32_t> still = analyserScreen(ui);
    uint32_t phase = 0;

    // The request has not reached the plug-in yet: nothing is sent.
    for (int block = 0; block < 10; ++block) EXPECT_EQ(runAndDeliver(plugin, ui, phase), 0u);
    EXPECT_EQ(analyserScreen(ui), still);

    const auto requests = ui.takeAtomWrites("analyser_requests");
    ASSERT_EQ(requests.size(), 1u) << "the UI asks once, when it opens";
    plugin.sendAtom("analyser_requests", requests[0].data(), static_cast<uint32_t>(requests[0].size()));
    size_t sent = 0;
    for (int block = 0; block < 40; ++block) sent += runAndDeliver(plugin, ui, phase);
    EXPECT_EQ(sent, 40u) << "one atom of samples per block";
    ui.idleFor(0.1);
    EXPECT_NE(analyserScreen(ui), still) << "the spectrum is drawn";
}

TEST(Lv2Analyser, ARealDragOnTheCross1HandleWritesItsPortInOneTouchAndTheKnobFollows) {
    if (!haveDisplay() || std::system("command -v xdotool >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no X display or no xdotool";
    Lv2UiTestHost ui;
    const std::vector<uint32_t> knobBefore = cross1Knob(ui);
    const std::string window = std::to_string(ui.hostWindow());
    // The handle of 0.5 at x 242; 0.8 lies 130 pixels right of it.
    std::atomic<bool> done{false};
    int status = -1;
    std::thread mouse([&] {
        status = std::system(("xdotool mousemove --sync --window " + window + " 242 340 mousedown 1 sleep 0.1 " +
                              "mousemove --sync --window " + window + " 300 340 sleep 0.05 " +
                              "mousemove --sync --window " + window + " 372 340 sleep 0.1 mouseup 1")
                                 .c_str());
        done = true;
    });
    while (!done) ui.idleFor(0.02);
    mouse.join();
    ui.idleFor(0.2);
    ASSERT_EQ(status, 0);

    EXPECT_NEAR(ui.control("cross1"), 20.0 * std::pow(1000.0, 0.8), 1.0);  // Hz
    EXPECT_NEAR(ui.control("cross2"), ui.control("cross1"), 1.0) << "pushed along";
    const auto& events = ui.events();
    EXPECT_EQ(std::count(events.begin(), events.end(), "touch cross1 on"), 1);
    const auto on = std::find(events.begin(), events.end(), "touch cross1 on");
    const auto off = std::find(events.begin(), events.end(), "touch cross1 off");
    ASSERT_LT(on, off);
    EXPECT_NE(cross1Knob(ui), knobBefore);
}

}  // namespace
