// velmora-host with velmora.vst3: the bundle folder and the module inside it
// as plug-ins, the program list as presets, sound equal to velmora.clap's
// (values and a preset set before the start, a latency restart among them),
// and the editor in the host's run loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/vst3_parameter_changes.h"
#include "host_runner.h"
#include "png_reader.h"
// Last: Xlib's macros (None, Bool, Status) would rename names above.
#include "x11_windows.h"

namespace {

namespace fs = std::filesystem;

const std::string kBundle = VELMORA_VST3_BUNDLE;
const std::string kModule = VELMORA_VST3_MODULE;

std::vector<std::string> linesOf(const fs::path& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

long countOf(const std::vector<std::string>& lines, const std::string& line) {
    return std::count(lines.begin(), lines.end(), line);
}

TEST(HostVst3, InfoListsTheProgramListAsPresetsAndRenderSoundsAsClap) {
    const HostRun info = runHost({"info", kBundle + "/"});
    ASSERT_EQ(info.status, 0) << info.err;
    for (const char* line : {"Format:          VST 3 (VST 3.8.1)", "Controller:      the processor itself",
                             "Audio inputs:    1 bus: Stereo In (2 ch, main)", "Parameters:      23",
                             "Presets:         16"})
        EXPECT_TRUE(hasLine(info.out, line)) << line << "\n" << info.out;
    EXPECT_NE(info.out.find("\n  Broken Radio"), std::string::npos) << info.out;

    // Preset and values reach the processor before the first block; 4x
    // Quality raises the latency and so asks for a restart on the way.
    ScratchDir dir;
    std::vector<float> input;
    for (int i = 0; i < 20000; ++i) input.insert(input.end(), {0.5f * std::sin(i * 0.05f), 0.3f * std::sin(i * 0.13f)});
    writeSound(dir / "in.wav", 2, 44100, input);
    const std::vector<std::string> settings = {"--preset", "Guitar Crunch", "--set", "Quality=0.667",
                                               "--set",    "Mix=0.5",       "--block", "300"};
    std::vector<std::string> vst3 = {"render", kModule, dir / "in.wav", dir / "vst3.wav"};
    std::vector<std::string> clap = {"render", velmoraClapPath(), dir / "in.wav", dir / "clap.wav"};
    vst3.insert(vst3.end(), settings.begin(), settings.end());
    clap.insert(clap.end(), settings.begin(), settings.end());
    const HostRun viaVst3 = runHost(vst3), viaClap = runHost(clap);
    ASSERT_EQ(viaVst3.status, 0) << viaVst3.err;
    ASSERT_EQ(viaClap.status, 0) << viaClap.err;
    const Sound a = readSound(dir / "vst3.wav"), b = readSound(dir / "clap.wav");
    ASSERT_EQ(a.frames(), 20000u);
    EXPECT_TRUE(a.samples == b.samples);
}

// What a process call carries must stay in frame order and inside the room
// reserved before audio starts.
TEST(HostVst3, ParameterChangesKeepFrameOrderAndTheirRoom) {
    Vst3ParameterChanges changes(2);
    EXPECT_TRUE(changes.add(5, 0, 0.1));
    EXPECT_TRUE(changes.add(5, 10, 0.2));
    EXPECT_TRUE(changes.add(5, 10, 0.3));   // same frame: replaces
    EXPECT_FALSE(changes.add(5, 3, 0.4));   // before the last point
    EXPECT_TRUE(changes.add(7, 3, 0.5));
    EXPECT_FALSE(changes.add(9, 0, 0.6));   // a third id: no room
    ASSERT_EQ(changes.getParameterCount(), 2);
    vvst3::IParamValueQueue* five = changes.getParameterData(0);
    ASSERT_EQ(five->getPointCount(), 2);
    int32_t offset = -1;
    double value = -1.0;
    ASSERT_EQ(five->getPoint(1, offset, value), vvst3::kResultOk);
    EXPECT_EQ(offset, 10);
    EXPECT_EQ(value, 0.3);
    EXPECT_EQ(changes.getParameterData(2), nullptr);

    // A full queue keeps its last point current instead of growing.
    for (int32_t frame = 11; frame < 200; ++frame) changes.add(7, frame, frame / 1000.0);
    vvst3::IParamValueQueue* seven = changes.getParameterData(1);
    ASSERT_EQ(seven->getPointCount(), Vst3ParamValueQueue::kMaxPoints);
    ASSERT_EQ(seven->getPoint(Vst3ParamValueQueue::kMaxPoints - 1, offset, value), vvst3::kResultOk);
    EXPECT_EQ(offset, 199);
    changes.clear();
    EXPECT_EQ(changes.getParameterCount(), 0);
}

// Clicks on "2x" and Bypass: each one gesture; the new Quality's latency
// restart happens from the window's loop, and every handler and timer the
// view registered is gone after it closes.
TEST(HostVst3Editor, FooterClicksReachTheHostAndTheRunLoopEmptiesOnClose) {
    if (!haveDisplay() || std::system("command -v xdotool >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no X display or no xdotool";
    ScratchDir dir;
    const pid_t host = startHost({"gui", kBundle, "--trace"}, dir / "trace.txt");
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    const Window window = waitForWindow(display, "velmora-host: Velmora");
    if (window != 0) {
        const std::string id = std::to_string(window);
        const std::string command = "xdotool mousemove --sync --window " + id + " 140 426 click 1 sleep 0.2 " +
                                    "mousemove --sync --window " + id + " 426 426 click 1 sleep 0.3";
        EXPECT_EQ(std::system(command.c_str()), 0);
        sendDeleteWindow(display, window);
    }
    XCloseDisplay(display);
    EXPECT_EQ(waitHost(host, 30.0), 0);
    ASSERT_NE(window, 0u);

    const std::vector<std::string> lines = linesOf(dir / "trace.txt");
    std::string trace;
    for (const auto& line : lines) trace += line + "\n";
    for (const char* line : {"beginEdit 19", "automate 19 0.333", "endEdit 19", "beginEdit 21", "automate 21 1.000",
                             "endEdit 21", "restartComponent 8"})
        EXPECT_EQ(countOf(lines, line), 1) << line << "\n" << trace;
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("restarted with latency ") && l.back() != '0'; }))
        << trace;
    const auto registered = [&](const char* prefix) {
        return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(prefix); });
    };
    EXPECT_GT(registered("registerEventHandler"), 0) << trace;
    EXPECT_EQ(registered("registerEventHandler"), countOf(lines, "unregisterEventHandler")) << trace;
    EXPECT_EQ(registered("registerTimer"), countOf(lines, "unregisterTimer")) << trace;
    EXPECT_EQ(registered("dropped"), 0) << trace;
}

TEST(HostVst3Editor, ScreenshotAtTwiceTheScaleIsTwiceTheSize) {
    if (!haveDisplay()) GTEST_SKIP() << "no X display";
    ScratchDir dir;
    const HostRun plain = runHost({"screenshot", kBundle, dir / "plain.png"});
    const HostRun twice = runHost({"screenshot", kBundle, dir / "twice.png", "--scale", "2"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    ASSERT_EQ(twice.status, 0) << twice.err;
    const Png small = readPng(dir / "plain.png"), large = readPng(dir / "twice.png");
    EXPECT_EQ(large.width, 2 * small.width);
    EXPECT_EQ(large.height, 2 * small.height);
}

}  // namespace
