// Integration tests of screenshot and gui: real top-level X11 windows (under
// Xvfb in CI) holding a fixture editor, the built plug-in's and the peers'.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <regex>
#include <thread>

#include "gui/x11/bmp_decoder.h"

#include "crossover_handle_drag.h"
#include "host_runner.h"
#include "png_reader.h"

// Last: Xlib's macros (None, Bool, ...) collide with names inside GoogleTest.
#include "x11_windows.h"

namespace {

namespace fs = std::filesystem;

size_t distinctColours(const Png& png) {
    std::vector<uint32_t> colours;
    for (uint32_t p : png.pixels) colours.push_back(p & 0xFFFFFF);
    std::sort(colours.begin(), colours.end());
    return static_cast<size_t>(std::unique(colours.begin(), colours.end()) - colours.begin());
}

std::string readText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class EditorHost : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveDisplay()) GTEST_SKIP() << "no X display";
    }
};

TEST_F(EditorHost, ScreenshotCapturesChildWindowsAndFallsBackTo640x480) {
    ScratchDir dir;
    const HostRun run = runHost({"screenshot", fixturePath("editor"), dir / "shot.png"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Png png = readPng(dir / "shot.png");
    ASSERT_EQ(png.width, 640);
    ASSERT_EQ(png.height, 480);
    // The fixture's red child window sits at (10, 20), 100 x 50, on the host's black window.
    EXPECT_EQ(png.at(10, 20), 0xFF0000u);
    EXPECT_EQ(png.at(109, 69), 0xFF0000u);
    EXPECT_EQ(png.at(110, 20), 0x000000u);
    EXPECT_EQ(png.at(5, 5), 0x000000u);
    EXPECT_EQ(png.at(600, 400), 0x000000u);
}

TEST_F(EditorHost, EditorlessPluginsAndMissingDisplayAreClearErrors) {
    ScratchDir dir;
    const HostRun none = runHost({"screenshot", fixturePath("mono"), dir / "shot.png"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(lineCount(none.err), 1u);
    EXPECT_NE(none.err.find("has no editor"), std::string::npos) << none.err;

    const HostRun noDisplay = runHost({"screenshot", fixturePath("editor"), dir / "shot.png"}, kWithoutDisplay);
    EXPECT_EQ(noDisplay.status, 1);
    EXPECT_EQ(lineCount(noDisplay.err), 1u);
    EXPECT_NE(noDisplay.err.find("DISPLAY"), std::string::npos) << noDisplay.err;

    const HostRun guiNoDisplay = runHost({"gui", fixturePath("editor"), "--quit-after", "0"}, kWithoutDisplay);
    EXPECT_EQ(guiNoDisplay.status, 1);
    EXPECT_TRUE(dir.empty());
}

TEST_F(EditorHost, GuiTracePrintsTheEditorsCallsOneLineEach) {
    const HostRun run = runHost({"gui", fixturePath("editor"), "--trace", "--quit-after", "0.3"});
    ASSERT_EQ(run.status, 0) << run.err;
    // The entry's version query comes first; the gesture follows in order;
    // back-to-back idles collapse into one line.
    EXPECT_EQ(run.out.rfind("version 0 0 0\n", 0), 0u) << run.out;
    const auto begin = run.out.find("\nbeginEdit 3\nautomate 3 0.250\nendEdit 3\nidle\n");
    EXPECT_NE(begin, std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("idle\nidle\n"), std::string::npos) << run.out;

    const HostRun quiet = runHost({"gui", fixturePath("editor"), "--quit-after", "0.1"});
    EXPECT_EQ(quiet.status, 0);
    EXPECT_TRUE(quiet.out.empty()) << quiet.out;
}

// The CLAP fixture embeds a green 200 x 100 child, registers a timer and its
// X connection's descriptor, and on its second timer tick plays a gesture
// through request_flush, which the window loop must answer with a flush.
TEST_F(EditorHost, ClapEditorIsEmbeddedAndServicedFromTheWindowLoop) {
    ScratchDir dir;
    const HostRun shot = runHost({"screenshot", clapFixturePath("gain"), dir / "shot.png"});
    ASSERT_EQ(shot.status, 0) << shot.err;
    EXPECT_TRUE(shot.err.empty()) << shot.err;
    const Png png = readPng(dir / "shot.png");
    ASSERT_EQ(png.width, 200);
    ASSERT_EQ(png.height, 100);
    EXPECT_EQ(png.at(0, 0), 0x00FF00u);
    EXPECT_EQ(png.at(199, 99), 0x00FF00u);

    const HostRun run = runHost({"gui", clapFixturePath("gain"), "--trace", "--quit-after", "0.5"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    EXPECT_TRUE(hasLine(run.out, "register_timer 30")) << run.out;
    EXPECT_TRUE(hasLine(run.out, "register_fd 1")) << run.out;
    EXPECT_NE(run.out.find("request_flush\nbeginEdit 0\nautomate 0 0.250\nendEdit 0\n"), std::string::npos) << run.out;
    EXPECT_TRUE(hasLine(run.out, "unregister_fd")) << run.out;
}

TEST_F(EditorHost, GuiEndsWhenTheWindowManagerClosesTheWindow) {
    ScratchDir dir;
    const pid_t host = startHost({"gui", fixturePath("editor"), "--trace"}, dir / "trace.txt");
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    const Window window = waitForWindow(display, "velmora-host: Fixture");
    // The editor has idled once it sent its gesture.
    for (int tries = 0; tries < 500 && readText(dir / "trace.txt").find("endEdit 3") == std::string::npos; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (window != 0) sendDeleteWindow(display, window);
    XCloseDisplay(display);
    EXPECT_NE(window, 0u) << readText(dir / "trace.txt");
    EXPECT_EQ(waitHost(host, 30.0), 0);
}

// A real mouse drag on Velmora's Master knob, made with xdotool, must reach
// the host as beginEdit, automation with falling values, endEdit.
TEST_F(EditorHost, VelmoraKnobDragIsTracedAsOneGesture) {
    if (velmoraPath().empty() || !fs::exists(velmoraPath())) GTEST_SKIP() << "velmora.so is not built";
    if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is not installed";
    ScratchDir dir;
    const pid_t host = startHost({"gui", velmoraPath(), "--trace"}, dir / "trace.txt");
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    const Window window = waitForWindow(display, "velmora-host: Velmora");
    if (window != 0) {
        // The Master knob is the 48 x 48 one at (48, 27); drag it down.
        const std::string drag = "xdotool mousemove --sync --window " + std::to_string(window) +
                                 " 72 51 mousedown 1 sleep 0.1 mousemove_relative --sync 0 10 sleep 0.1 "
                                 "mousemove_relative --sync 0 30 sleep 0.1 mouseup 1 sleep 0.2";
        EXPECT_EQ(std::system(drag.c_str()), 0);
        sendDeleteWindow(display, window);
    }
    XCloseDisplay(display);
    const int status = waitHost(host, 30.0);
    ASSERT_NE(window, 0u) << readText(dir / "trace.txt.err");
    EXPECT_EQ(status, 0);

    std::istringstream trace(readText(dir / "trace.txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(trace, line);) {
        if (line != "idle") lines.push_back(line);
    }
    const auto begin = std::find(lines.begin(), lines.end(), "beginEdit 18");
    const auto end = std::find(lines.begin(), lines.end(), "endEdit 18");
    ASSERT_NE(begin, lines.end()) << readText(dir / "trace.txt");
    ASSERT_NE(end, lines.end()) << readText(dir / "trace.txt");
    ASSERT_LT(begin, end);
    std::vector<float> values;
    for (auto line = begin + 1; line != end; ++line) {
        float value = 0.0f;
        ASSERT_EQ(std::sscanf(line->c_str(), "automate 18 %f", &value), 1) << *line;
        values.push_back(value);
    }
    ASSERT_FALSE(values.empty());
    EXPECT_TRUE(std::is_sorted(values.rbegin(), values.rend()));
    EXPECT_LT(values.back(), 1.0f);
}

TEST_F(EditorHost, VelmoraEditorScreenshotIsItsPanel) {
    if (velmoraPath().empty() || !fs::exists(velmoraPath())) GTEST_SKIP() << "velmora.so is not built";
    ScratchDir dir;
    const HostRun run = runHost({"screenshot", velmoraPath(), dir / "panel.png", "--set", "Master=0.2"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Png png = readPng(dir / "panel.png");
    EXPECT_EQ(png.width, 484);
    EXPECT_EQ(png.height, 286);
    EXPECT_GT(distinctColours(png), 16u);  // a drawn panel, not an empty window
}

// With no scale from anywhere, the panel is the picture the editor showed
// before it could scale, pixel for pixel (tests/host/data/editor-100.png);
// the LV2 and CLAP editors show it above their footer.
TEST_F(EditorHost, EveryEditorAt100PercentShowsTheUnscaledPanelPixelForPixel) {
    if (velmoraPath().empty() || velmoraClapPath().empty()) GTEST_SKIP() << "a plug-in is not built";
    const Png reference = readPng(std::string(VELMORA_SOURCE_DIR) + "/tests/host/data/editor-100.png");
    ASSERT_EQ(reference.width, 484);
    for (const std::string& plugin : {velmoraPath(), velmoraClapPath()}) {
        ScratchDir dir;
        const HostRun run = runHost({"screenshot", plugin, dir / "shot.png"});
        ASSERT_EQ(run.status, 0) << run.err;
        const Png shot = readPng(dir / "shot.png");
        ASSERT_EQ(shot.width, reference.width) << plugin;
        ASSERT_GE(shot.height, reference.height) << plugin;
        const auto panel = shot.pixels.begin() + static_cast<ptrdiff_t>(reference.pixels.size());
        EXPECT_TRUE(std::equal(shot.pixels.begin(), panel, reference.pixels.begin())) << plugin;
    }
}

// Runs `velmora-host gui` on Velmora with tracing, performs `actions`
// (xdotool commands relative to the editor window) and returns the trace
// without idle lines.
std::vector<std::string> traceVelmoraGesture(const std::string& actions, const std::string& plugin = velmoraPath()) {
    ScratchDir dir;
    const pid_t host = startHost({"gui", plugin, "--trace"}, dir / "trace.txt");
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return {};
    const Window window = waitForWindow(display, "velmora-host: Velmora");
    if (window != 0) {
        const std::string command =
            "xdotool " + std::regex_replace(actions, std::regex("WINDOW"), std::to_string(window)) + " sleep 0.3";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        sendDeleteWindow(display, window);
    }
    XCloseDisplay(display);
    EXPECT_EQ(waitHost(host, 30.0), 0);
    EXPECT_NE(window, 0u) << readText(dir / "trace.txt.err");
    std::istringstream trace(readText(dir / "trace.txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(trace, line);) {
        if (line != "idle") lines.push_back(line);
    }
    return lines;
}

bool canDriveVelmora() { return !velmoraPath().empty() && fs::exists(velmoraPath()) && std::system("command -v xdotool >/dev/null 2>&1") == 0; }

// The committed bitmap with this id, decoded.
DecodedBitmap committedBitmap(int id) {
    std::ifstream file(std::string(VELMORA_SOURCE_DIR) + "/resources/bitmaps/" + std::to_string(id) + ".bmp",
                       std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return decodeBmp(bytes.data(), bytes.size());
}

// Counts pixels of the w x h region at (x, y) of the screenshot that differ
// from the bitmap's region at (sourceX, sourceY).
int differingPixels(const Png& shot, int x, int y, const DecodedBitmap& bitmap, int sourceX, int sourceY, int w, int h) {
    int differing = 0;
    for (int row = 0; row < h; ++row) {
        for (int column = 0; column < w; ++column) {
            const uint32_t expected = bitmap.pixels[static_cast<size_t>((sourceY + row) * bitmap.width + sourceX + column)];
            if (shot.at(x + column, y + row) != (expected & 0xFFFFFF)) ++differing;
        }
    }
    return differing;
}

TEST_F(EditorHost, VelmoraGain1DragOf100PixelsRightAutomatesToHalf) {
    if (!canDriveVelmora()) GTEST_SKIP() << "velmora.so or xdotool is missing";
    // Gain1 is the 48 x 48 knob at (108, 210); linear drags cover the range in 200 px.
    const std::vector<std::string> lines = traceVelmoraGesture(
        "mousemove --sync --window WINDOW 132 234 mousedown 1 sleep 0.1 "
        "mousemove_relative --sync 25 0 sleep 0.05 mousemove_relative --sync 25 0 sleep 0.05 "
        "mousemove_relative --sync 25 0 sleep 0.05 mousemove_relative --sync 25 0 sleep 0.1 mouseup 1");
    expectOneDragEndingNear(lines, 9, 0.5f);
}

// The same drag on velmora.clap: the editor, idled from the host's timer and
// descriptor watch, queues its edits, asks for a flush and hands them over
// there; the trace reads as VST 2's.
TEST_F(EditorHost, VelmoraClapGain1DragOf100PixelsRightAutomatesToHalf) {
    if (!canDriveVelmora() || velmoraClapPath().empty()) GTEST_SKIP() << "a plug-in or xdotool is missing";
    const std::vector<std::string> lines = traceVelmoraGesture(
        "mousemove --sync --window WINDOW 132 234 mousedown 1 sleep 0.1 "
        "mousemove_relative --sync 25 0 sleep 0.05 mousemove_relative --sync 25 0 sleep 0.05 "
        "mousemove_relative --sync 25 0 sleep 0.05 mousemove_relative --sync 25 0 sleep 0.1 mouseup 1",
        velmoraClapPath());
    std::vector<std::string> gesture;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(gesture), [](const std::string& line) {
        return line.starts_with("beginEdit") || line.starts_with("automate") || line.starts_with("endEdit");
    });
    expectOneDragEndingNear(gesture, 9, 0.5f);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "register_fd 1"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "unregister_fd"), lines.end());
}

// A drag on the analyser's Cross1 handle is one gesture that ends at the
// value under the pointer, pushes Cross2 along as the knob would, and the
// Cross1 knob shows where it ended.
TEST_F(EditorHost, VelmoraClapCrossoverHandleDragIsOneGestureAndTheKnobFollows) {
    if (!canDriveVelmora() || velmoraClapPath().empty()) GTEST_SKIP() << "a plug-in or xdotool is missing";
    const HandleDrag drag = dragCross1Handle(velmoraClapPath());
    expectOneDragEndingNear(parameterLines(drag.trace, 0), 0, 0.8f);
    const std::vector<std::string> pushed = parameterLines(drag.trace, 1);
    EXPECT_NE(std::find(pushed.begin(), pushed.end(), "automate 1 0.800"), pushed.end());
    EXPECT_EQ(drag.knobAfterDrag, drag.knobAtEndValue);
}

// The same in VST 3: beginEdit, performEdit and endEdit for Cross1 (VST 3
// brackets the pushed Cross2 in a gesture of its own).
TEST_F(EditorHost, VelmoraVst3CrossoverHandleDragIsOneGestureAndTheKnobFollows) {
    if (!canDriveVelmora() || std::string(VELMORA_VST3_BUNDLE).empty()) GTEST_SKIP() << "a plug-in or xdotool is missing";
    const HandleDrag drag = dragCross1Handle(VELMORA_VST3_BUNDLE);
    expectOneDragEndingNear(parameterLines(drag.trace, 0), 0, 0.8f);
    const std::vector<std::string> pushed = parameterLines(drag.trace, 1);
    EXPECT_NE(std::find(pushed.begin(), pushed.end(), "automate 1 0.800"), pushed.end());
    EXPECT_EQ(drag.knobAfterDrag, drag.knobAtEndValue);
}

// The CLAP editor's footer (Quality traced normalised: "4x" is 2 of 0..3): a click on "4x", a drag of
// Mix 100 px left from 100 % and a click on Bypass, each one gesture.
TEST_F(EditorHost, VelmoraClapFooterClicksAndDragReachTheHost) {
    if (!canDriveVelmora() || velmoraClapPath().empty()) GTEST_SKIP() << "a plug-in or xdotool is missing";
    // Below the panel and the analyser: selector 160 x 14 at (80, 419) in four
    // segments; Mix 30 x 30 at (306, 411); Bypass 60 x 14 at (396, 419).
    const std::vector<std::string> lines = traceVelmoraGesture(
        "mousemove --sync --window WINDOW 180 426 click 1 sleep 0.2 "
        "mousemove --sync --window WINDOW 321 426 mousedown 1 sleep 0.1 "
        "mousemove_relative --sync -- -50 0 sleep 0.05 mousemove_relative --sync -- -50 0 sleep 0.1 mouseup 1 "
        "sleep 0.2 mousemove --sync --window WINDOW 426 426 click 1",
        velmoraClapPath());
    const auto gestureOf = [&](int index) {
        std::vector<std::string> gesture;
        for (const std::string& line : lines) {
            for (const char* kind : {"beginEdit ", "automate ", "endEdit "})
                if (line.starts_with(kind + std::to_string(index))) gesture.push_back(line);
        }
        return gesture;
    };
    EXPECT_EQ(gestureOf(19), (std::vector<std::string>{"beginEdit 19", "automate 19 0.667", "endEdit 19"}));
    expectOneDragEndingNear(gestureOf(20), 20, 0.5f);
    EXPECT_EQ(gestureOf(21), (std::vector<std::string>{"beginEdit 21", "automate 21 1.000", "endEdit 21"}));
}

TEST_F(EditorHost, VelmoraSoloClicksToggleTheSwitch) {
    if (!canDriveVelmora()) GTEST_SKIP() << "velmora.so or xdotool is missing";
    // Solo2 is the 60 x 11 switch at (212, 112).
    const std::vector<std::string> lines = traceVelmoraGesture(
        "mousemove --sync --window WINDOW 242 117 click 1 sleep 0.2 click 1 sleep 0.2 click 3");
    std::vector<std::string> solo;
    for (const std::string& line : lines) {
        if (line.rfind("automate 4 ", 0) == 0) solo.push_back(line);
    }
    EXPECT_EQ(solo, (std::vector<std::string>{"automate 4 1.000", "automate 4 0.000"}));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("beginEdit", 0) == 0; }), 0);
}

TEST_F(EditorHost, VelmoraScreenshotShowsTheCommittedArtwork) {
    if (velmoraPath().empty() || !fs::exists(velmoraPath())) GTEST_SKIP() << "velmora.so is not built";
    ScratchDir dir;
    const HostRun run = runHost({"screenshot", velmoraPath(), dir / "panel.png", "--set", "Level2=1", "--set", "Gain2=0"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Png shot = readPng(dir / "panel.png");
    ASSERT_EQ(shot.width, 484);
    ASSERT_EQ(shot.height, 286);
    const DecodedBitmap background = committedBitmap(1001);
    const DecodedBitmap knob = committedBitmap(1003);
    const DecodedBitmap typeKnob = committedBitmap(1004);
    ASSERT_FALSE(background.empty() || knob.empty() || typeKnob.empty());
    // Panel areas without controls: the left edge and the band frames' floor.
    EXPECT_EQ(differingPixels(shot, 0, 120, background, 0, 120, 40, 160), 0);
    EXPECT_EQ(differingPixels(shot, 160, 190, background, 160, 190, 20, 20), 0);
    // Gain2 at 0 shows the strip's first image, Level2 at 1 its image 125.
    EXPECT_EQ(differingPixels(shot, 248, 210, knob, 0, 0, 48, 48), 0);
    EXPECT_EQ(differingPixels(shot, 248, 139, knob, 0, 125 * 48, 48, 48), 0);
    // Type1 at 0 shows the type strip's first image.
    EXPECT_EQ(differingPixels(shot, 48, 139, typeKnob, 0, 0, 48, 48), 0);
}

class PeerEditor : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (!fs::exists(GetParam())) GTEST_SKIP() << GetParam() << " is not installed";
        if (!haveDisplay()) GTEST_SKIP() << "no X display";
    }
};

TEST_P(PeerEditor, ScreenshotShowsTheEditorOrSaysItHasNone) {
    ScratchDir dir;
    const HostRun info = runHost({"info", GetParam()}, kForeignPlugin);
    ASSERT_EQ(info.status, 0) << info.err;
    const bool hasEditor = info.out.find("(editor") != std::string::npos;
    const HostRun run = runHost({"screenshot", GetParam(), dir / "shot.png"}, kForeignPlugin);
    if (!hasEditor) {
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(dir.empty());
        return;
    }
    ASSERT_EQ(run.status, 0) << run.err;
    const Png png = readPng(dir / "shot.png");
    EXPECT_GT(png.width, 0);
    EXPECT_GT(distinctColours(png), 2u);
}

INSTANTIATE_TEST_SUITE_P(Debian, PeerEditor, ::testing::ValuesIn(kPeers), peerTestName);

}  // namespace

// ---- scale steps -------------------------------------------------------------

namespace {

Png velmoraScreenshot(const std::string& plugin, const std::vector<std::string>& extra = {}) {
    ScratchDir dir;
    std::vector<std::string> args{"screenshot", plugin, (dir / "shot.png").string()};
    args.insert(args.end(), extra.begin(), extra.end());
    const HostRun run = runHost(args);
    EXPECT_EQ(run.status, 0) << run.err;
    return readPng(dir / "shot.png");
}

double channelOf(uint32_t pixel, int c) { return static_cast<double>((pixel >> (16 - 8 * c)) & 0xFF); }

// The mean, over pixels and channels, of the absolute difference between
// horizontally and vertically neighbouring pixels: how much edge there is.
double edgeEnergy(const std::vector<double>& rgb, int width, int height) {
    double sum = 0;
    for (int y = 0; y + 1 < height; ++y)
        for (int x = 0; x + 1 < width; ++x)
            for (int c = 0; c < 3; ++c) {
                const double here = rgb[(static_cast<size_t>(y) * width + x) * 3 + c];
                sum += std::abs(rgb[(static_cast<size_t>(y) * width + x + 1) * 3 + c] - here) +
                       std::abs(rgb[(static_cast<size_t>(y + 1) * width + x) * 3 + c] - here);
            }
    return sum / (static_cast<double>(width - 1) * (height - 1) * 3);
}

std::vector<double> asRgb(const Png& png) {
    std::vector<double> rgb;
    for (uint32_t p : png.pixels)
        for (int c = 0; c < 3; ++c) rgb.push_back(channelOf(p, c));
    return rgb;
}

// The picture twice as large by bilinear interpolation (pixel centres kept).
std::vector<double> enlargedTwice(const Png& png) {
    const int w = png.width * 2, h = png.height * 2;
    std::vector<double> out(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double sx = std::clamp((x + 0.5) / 2 - 0.5, 0.0, png.width - 1.0);
            const double sy = std::clamp((y + 0.5) / 2 - 0.5, 0.0, png.height - 1.0);
            const int x0 = static_cast<int>(sx), y0 = static_cast<int>(sy);
            const int x1 = std::min(x0 + 1, png.width - 1), y1 = std::min(y0 + 1, png.height - 1);
            const double fx = sx - x0, fy = sy - y0;
            for (int c = 0; c < 3; ++c) {
                const double top = channelOf(png.at(x0, y0), c) * (1 - fx) + channelOf(png.at(x1, y0), c) * fx;
                const double bottom = channelOf(png.at(x0, y1), c) * (1 - fx) + channelOf(png.at(x1, y1), c) * fx;
                out[(static_cast<size_t>(y) * w + x) * 3 + c] = top * (1 - fy) + bottom * fy;
            }
        }
    return out;
}

}  // namespace

// Each step's window size, rounded to whole pixels; VST 2 through the
// variable the host sets for it, CLAP through set_scale (its footer scales
// alike). Without any scale the editor is the 100 % one.
TEST_F(EditorHost, VelmoraEditorOpensAtEachScaleStepsSize) {
    if (velmoraPath().empty() || velmoraClapPath().empty()) GTEST_SKIP() << "a plug-in is not built";
    const struct {
        const char* scale;
        int width, height;
    } steps[] = {{"1", 484, 286},    {"1.25", 605, 358}, {"1.5", 726, 429}, {"1.75", 847, 501},
                 {"2", 968, 572},    {"2.5", 1210, 715}, {"3", 1452, 858},  {"0.5", 484, 286},
                 {"2.2", 968, 572}};
    for (const auto& step : steps) {
        const Png shot = velmoraScreenshot(velmoraPath(), {"--scale", step.scale});
        EXPECT_EQ(shot.width, step.width) << step.scale;
        EXPECT_EQ(shot.height, step.height) << step.scale;
    }
    const Png clap = velmoraScreenshot(velmoraClapPath(), {"--scale", "1.5"});
    EXPECT_EQ(clap.width, 726);
    EXPECT_EQ(clap.height, 669);  // the panel, the analyser and the footer
}

// The 200 % picture is the 100 % one drawn sharper: reduced by a 2 x 2 box
// it matches closely, and it has more edge than the 100 % picture enlarged.
TEST_F(EditorHost, VelmoraTwiceAsLargeIsTheSamePanelDrawnSharper) {
    if (velmoraPath().empty()) GTEST_SKIP() << "velmora.so is not built";
    const Png once = velmoraScreenshot(velmoraPath());
    const Png twice = velmoraScreenshot(velmoraPath(), {"--scale", "2"});
    ASSERT_EQ(twice.width, 2 * once.width);
    ASSERT_EQ(twice.height, 2 * once.height);
    double difference = 0;
    for (int y = 0; y < once.height; ++y)
        for (int x = 0; x < once.width; ++x)
            for (int c = 0; c < 3; ++c) {
                const double box = (channelOf(twice.at(2 * x, 2 * y), c) + channelOf(twice.at(2 * x + 1, 2 * y), c) +
                                    channelOf(twice.at(2 * x, 2 * y + 1), c) +
                                    channelOf(twice.at(2 * x + 1, 2 * y + 1), c)) / 4;
                difference += std::abs(box - channelOf(once.at(x, y), c));
            }
    EXPECT_LT(difference / (once.width * once.height * 3.0), 4.0);
    EXPECT_GT(edgeEnergy(asRgb(twice), twice.width, twice.height),
              1.2 * edgeEnergy(enlargedTwice(once), twice.width, twice.height));
}

// The desktop's scale, as GNOME and KDE set it at 200 %: the VST 2 editor
// opens at 968 x 572 with nothing else telling it a scale.
TEST_F(EditorHost, VelmoraEditorFollowsTheDesktopsXftDpi) {
    if (velmoraPath().empty()) GTEST_SKIP() << "velmora.so is not built";
    if (std::system("command -v xrdb >/dev/null 2>&1") != 0) GTEST_SKIP() << "xrdb is not installed";
    // Held open so the server keeps the resource while the host runs.
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    ASSERT_EQ(std::system("echo 'Xft.dpi: 192' | xrdb -merge"), 0);
    const Png shot = velmoraScreenshot(velmoraPath());
    std::system("xrdb -remove");
    XCloseDisplay(display);
    EXPECT_EQ(shot.width, 968);
    EXPECT_EQ(shot.height, 572);
}
