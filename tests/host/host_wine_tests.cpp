// The Windows builds under Wine: velmora.dll and velmora64.dll must sound
// exactly like velmora.so, survive the call orders of real Windows hosts
// without leaking, and show and drive their editor in velmora-host.exe with
// real X input. The Windows programs are cross-built in their own build
// folders; this Linux test runs them through wine on the shared display.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <chrono>
#include <thread>
#include <memory>
#include <regex>
#include <sstream>

#include "gui/x11/bmp_decoder.h"
#include "host_runner.h"
#include "png_reader.h"

// Last: Xlib's macros (None, Bool, ...) collide with names inside GoogleTest.
#include "x11_windows.h"

namespace {

namespace fs = std::filesystem;

struct WindowsBuild {
    const char* name;
    fs::path folder;
    const char* plugin;
};

const WindowsBuild kBuilds[] = {{"Win32", VELMORA_WIN32_BUILD, "velmora.dll"},
                                {"Win64", VELMORA_WIN64_BUILD, "velmora64.dll"}};

void PrintTo(const WindowsBuild& build, std::ostream* out) { *out << build.name; }

std::string buildName(const ::testing::TestParamInfo<WindowsBuild>& info) { return info.param.name; }

const WindowsBuild& win32Build() { return kBuilds[0]; }

fs::path pluginOf(const WindowsBuild& build) { return build.folder / build.plugin; }
fs::path programOf(const WindowsBuild& build, const std::string& name) { return build.folder / (name + ".exe"); }

std::vector<std::string> wine(const fs::path& program, std::vector<std::string> args) {
    args.insert(args.begin(), {"wine", program.string()});
    return args;
}

// Windows programs end their text lines with CR LF.
std::string unixLines(std::string text) {
    std::erase(text, '\r');
    return text;
}

HostRun runWine(const fs::path& program, const std::vector<std::string>& args) {
    HostRun run = runProgram(wine(program, args));
    run.out = unixLines(run.out);
    run.err = unixLines(run.err);
    return run;
}

std::string readText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<float> readFloats(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> samples(bytes.size() / sizeof(float));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
    return samples;
}

// ---------------------------------------------------------------- sound

class WineSoundParity : public ::testing::TestWithParam<WindowsBuild> {
protected:
    // The Linux reference is rendered once for both Windows builds.
    static void SetUpTestSuite() {
        linux_ = std::make_unique<ScratchDir>();
        linuxRun_ = runProgram({PARITY_RENDER_EXE, velmoraPath(), linux_->path().string()});
    }
    static void TearDownTestSuite() { linux_.reset(); }

    static std::unique_ptr<ScratchDir> linux_;
    static HostRun linuxRun_;
};

std::unique_ptr<ScratchDir> WineSoundParity::linux_;
HostRun WineSoundParity::linuxRun_;

TEST_P(WineSoundParity, EveryCaseMatchesLinuxWithin1e6) {
    ASSERT_EQ(linuxRun_.status, 0) << linuxRun_.err;
    const WindowsBuild& build = GetParam();
    ScratchDir windows;
    const HostRun run = runWine(programOf(build, "parity_render"), {pluginOf(build).string(), windows.path().string()});
    ASSERT_EQ(run.status, 0) << run.err;
    // Both sides name the cases they rendered, in the same order.
    ASSERT_EQ(run.out, linuxRun_.out);
    std::istringstream names(linuxRun_.out);
    int cases = 0;
    for (std::string name; std::getline(names, name); ++cases) {
        const std::vector<float> expected = readFloats(*linux_ / (name + ".f32"));
        const std::vector<float> actual = readFloats(windows / (name + ".f32"));
        ASSERT_EQ(actual.size(), expected.size()) << name;
        ASSERT_FALSE(expected.empty()) << name;
        double worst = 0.0;
        size_t worstAt = 0;
        bool sounds = false;
        for (size_t i = 0; i < expected.size(); ++i) {
            const double difference = std::fabs(static_cast<double>(actual[i]) - static_cast<double>(expected[i]));
            if (!(difference <= worst)) {
                worst = difference;
                worstAt = i;
            }
            sounds = sounds || expected[i] != 0.0f;
        }
        EXPECT_TRUE(sounds) << name << " is silent, so it compares nothing";
        EXPECT_LE(worst, 1e-6) << name << ": sample " << worstAt / 2 << " channel " << worstAt % 2 << " is "
                               << actual[worstAt] << " on Windows and " << expected[worstAt] << " on Linux";
    }
    // Routings, curves, ramps, programs, block sizes and the accumulating call.
    EXPECT_GE(cases, 40);
}

INSTANTIATE_TEST_SUITE_P(Builds, WineSoundParity, ::testing::ValuesIn(kBuilds), buildName);

// ---------------------------------------------------------------- the host

class WineHost : public ::testing::Test {
protected:
    void SetUp() override {
        if (velmoraPath().empty()) GTEST_SKIP() << "velmora.so is not built";
    }
    HostRun windowsHost(const std::vector<std::string>& args) { return runWine(programOf(win32Build(), "velmora-host"), args); }
};

// Writes a test signal with libsndfile in the given format.
void writeSignal(const fs::path& path, int channels, int format, int frames) {
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = 48000;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << path;
    std::vector<double> samples(static_cast<size_t>(frames * channels));
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = 0.7 * std::sin(0.013 * static_cast<double>(i)) + 0.2 * std::sin(0.31 * static_cast<double>(i));
    }
    sf_writef_double(file, samples.data(), frames);
    sf_close(file);
}

TEST_F(WineHost, InfoTellsTheSameAsOnLinux) {
    const HostRun linuxInfo = runHost({"info", velmoraPath()});
    const HostRun windowsInfo = windowsHost({"info", pluginOf(win32Build()).string()});
    ASSERT_EQ(linuxInfo.status, 0) << linuxInfo.err;
    ASSERT_EQ(windowsInfo.status, 0) << windowsInfo.err;
    // Everything after the first line (the file's path): identity, flags,
    // every parameter's name, display text and label, the programs.
    const auto rest = [](const std::string& text) { return text.substr(text.find('\n')); };
    EXPECT_EQ(rest(windowsInfo.out), rest(linuxInfo.out));
}

TEST_F(WineHost, RenderReadsWavFormatsAndWritesTheSameFloatsAsLinux) {
    ScratchDir dir;
    struct Input {
        const char* name;
        int channels;
        int format;
    };
    const Input inputs[] = {{"pcm16.wav", 2, SF_FORMAT_WAV | SF_FORMAT_PCM_16},
                            {"pcm24-mono.wav", 1, SF_FORMAT_WAV | SF_FORMAT_PCM_24},
                            {"pcm32.wav", 2, SF_FORMAT_WAV | SF_FORMAT_PCM_32},
                            {"double.wav", 2, SF_FORMAT_WAV | SF_FORMAT_DOUBLE},
                            {"extensible.wav", 2, SF_FORMAT_WAVEX | SF_FORMAT_FLOAT}};
    for (const Input& input : inputs) {
        writeSignal(dir / input.name, input.channels, input.format, 20000);
        const std::vector<std::string> settings = {"--set", "Gain1=0.6", "--set", "Type2=0.7", "--block", "333"};
        std::vector<std::string> linuxArgs = {"render", velmoraPath(), (dir / input.name).string(), (dir / "linux.wav").string()};
        std::vector<std::string> windowsArgs = {"render", pluginOf(win32Build()).string(), (dir / input.name).string(),
                                                (dir / "windows.wav").string()};
        linuxArgs.insert(linuxArgs.end(), settings.begin(), settings.end());
        windowsArgs.insert(windowsArgs.end(), settings.begin(), settings.end());
        const HostRun linuxRun = runHost(linuxArgs);
        const HostRun windowsRun = windowsHost(windowsArgs);
        ASSERT_EQ(linuxRun.status, 0) << linuxRun.err;
        ASSERT_EQ(windowsRun.status, 0) << input.name << ": " << windowsRun.err;
        const Sound expected = readSound(dir / "linux.wav");
        const Sound actual = readSound(dir / "windows.wav");
        EXPECT_EQ(actual.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT) << input.name;
        EXPECT_EQ(actual.sampleRate, 48000) << input.name;
        EXPECT_EQ(actual.channels, 2) << input.name;
        ASSERT_EQ(actual.samples.size(), expected.samples.size()) << input.name;
        float worst = 0.0f;
        for (size_t i = 0; i < expected.samples.size(); ++i) {
            worst = std::max(worst, std::fabs(actual.samples[i] - expected.samples[i]));
        }
        EXPECT_LE(worst, 1e-6f) << input.name;
        EXPECT_GT(expected.peak(), 0.01f) << input.name;
    }
}

// Each Windows host loads a CLAP library of its own width, and tells and
// renders the fixture exactly as the Linux host does.
class WineClap : public ::testing::TestWithParam<WindowsBuild> {};

TEST_P(WineClap, HostTellsAndRendersTheClapFixtureAsOnLinux) {
    const WindowsBuild& build = GetParam();
    const std::string windowsFixture = (build.folder / "host_fixture_clap_gain.clap").string();
    const HostRun linuxInfo = runHost({"info", clapFixturePath("gain")});
    const HostRun windowsInfo = runWine(programOf(build, "velmora-host"), {"info", windowsFixture});
    ASSERT_EQ(linuxInfo.status, 0) << linuxInfo.err;
    ASSERT_EQ(windowsInfo.status, 0) << windowsInfo.err;
    const auto rest = [](const std::string& text) { return text.substr(text.find('\n')); };
    EXPECT_EQ(rest(windowsInfo.out), rest(linuxInfo.out));

    ScratchDir dir;
    writeSignal(dir / "in.wav", 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 20000);
    const auto render = [&](const std::string& fixture, const fs::path& out) {
        return std::vector<std::string>{"render", fixture, (dir / "in.wav").string(), out.string(), "--set",
                                        "Gain=0.3", "--set", "Invert=1", "--block", "100"};
    };
    ASSERT_EQ(runHost(render(clapFixturePath("gain"), dir / "linux.wav")).status, 0);
    const HostRun windowsRun = runWine(programOf(build, "velmora-host"), render(windowsFixture, dir / "windows.wav"));
    ASSERT_EQ(windowsRun.status, 0) << windowsRun.err;
    const Sound expected = readSound(dir / "linux.wav");
    EXPECT_GT(expected.peak(), 0.01f);
    EXPECT_EQ(readSound(dir / "windows.wav").samples, expected.samples);
}

// Velmora's own CLAP build of each width, rendered by the Windows host of
// that width, sounds exactly as the DLL of the same build and as the Linux
// velmora.clap.
TEST_P(WineClap, VelmoraClapSoundsAsTheDllOfItsBuildAndAsLinux) {
    if (velmoraClapPath().empty()) GTEST_SKIP() << "velmora.clap is not built";
    const WindowsBuild& build = GetParam();
    ScratchDir dir;
    const auto render = [&](const std::string& plugin, const fs::path& out) {
        return std::vector<std::string>{"render", plugin, out.string(), "--set", "Gain1=0.6", "--set", "Type1=0.5",
                                        "--set", "Gain3=0.8", "--set", "Cross2=0.7", "--block", "100"};
    };
    const HostRun linuxRun = runHost(render(velmoraClapPath(), dir / "linux.wav"));
    ASSERT_EQ(linuxRun.status, 0) << linuxRun.err;
    for (const fs::path& plugin : {build.folder / "velmora.clap", pluginOf(build)}) {
        const fs::path out = dir / (plugin.filename().string() + ".wav");
        const HostRun run = runWine(programOf(build, "velmora-host"), render(plugin.string(), out));
        ASSERT_EQ(run.status, 0) << run.err;
    }
    const Sound linuxSound = readSound(dir / "linux.wav");
    const Sound clapSound = readSound(dir / "velmora.clap.wav");
    EXPECT_GT(linuxSound.peak(), 0.01f);
    EXPECT_TRUE(clapSound.samples == readSound(dir / (pluginOf(build).filename().string() + ".wav")).samples);
    EXPECT_TRUE(clapSound.samples == linuxSound.samples);
}

INSTANTIATE_TEST_SUITE_P(Builds, WineClap, ::testing::ValuesIn(kBuilds), buildName);

// The 64-bit build's velmora.vst3 bundle, rendered by the 64-bit Windows
// host, sounds as that build's velmora.clap and as the Linux bundle, at
// Normal and 4x, with values given as the plug-in's texts, and shows the
// same editor.
TEST(WineVst3, VelmoraVst3SoundsAsTheClapOfItsBuildAndAsLinux) {
    if (std::string(VELMORA_VST3_BUNDLE).empty()) GTEST_SKIP() << "velmora.vst3 is not built";
    const WindowsBuild& build = kBuilds[1];
    ScratchDir dir;
    for (const char* quality : {"Normal", "4x"}) {
        SCOPED_TRACE(quality);
        const auto render = [&](const fs::path& plugin, const fs::path& out) {
            return std::vector<std::string>{"render", plugin.string(), out.string(), "--set",
                                            std::string("Quality=") + quality, "--set", "Gain1=20 dB", "--set",
                                            "Type1=HardClip", "--set", "Cross2=3.5 kHz", "--set", "Mix=60 %",
                                            "--block", "100"};
        };
        const HostRun linuxRun = runHost(render(VELMORA_VST3_BUNDLE, dir / "linux.wav"));
        ASSERT_EQ(linuxRun.status, 0) << linuxRun.err;
        for (const char* plugin : {"velmora.vst3", "velmora.clap"}) {
            const HostRun run = runWine(programOf(build, "velmora-host"),
                                        render(build.folder / plugin, dir / (std::string(plugin) + ".wav")));
            ASSERT_EQ(run.status, 0) << run.err;
        }
        const Sound linuxSound = readSound(dir / "linux.wav");
        const Sound vst3Sound = readSound(dir / "velmora.vst3.wav");
        EXPECT_GT(linuxSound.peak(), 0.01f);
        EXPECT_TRUE(vst3Sound.samples == readSound(dir / "velmora.clap.wav").samples);
        EXPECT_TRUE(vst3Sound.samples == linuxSound.samples);
    }
    // Its Win32 editor, panel and footer, is the CLAP one's pixel for pixel.
    for (const char* plugin : {"velmora.vst3", "velmora.clap"}) {
        const HostRun shot = runWine(programOf(build, "velmora-host"),
                                     {"screenshot", (build.folder / plugin).string(), (dir / plugin).string() + ".png"});
        ASSERT_EQ(shot.status, 0) << shot.err;
    }
    const Png vst3Shot = readPng(dir / "velmora.vst3.png");
    EXPECT_EQ(vst3Shot.width, 484);
    EXPECT_TRUE(vst3Shot.pixels == readPng(dir / "velmora.clap.png").pixels);
}

TEST_F(WineHost, BadSoundFilesAreOneSentenceAndLeaveNothingBehind) {
    ScratchDir dir;
    writeSignal(dir / "three.wav", 3, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1000);
    std::ofstream(dir / "text.wav") << "not a sound file";
    writeSignal(dir / "alaw.wav", 1, SF_FORMAT_WAV | SF_FORMAT_ALAW, 1000);
    const struct {
        const char* input;
        const char* says;
    } cases[] = {{"three.wav", "3 channels"},
                 {"text.wav", "not a RIFF WAVE file"},
                 {"alaw.wav", "not supported"},
                 {"missing.wav", "does not exist"}};
    for (const auto& c : cases) {
        const HostRun run = windowsHost({"render", pluginOf(win32Build()).string(), (dir / c.input).string(),
                                         (dir / "out.wav").string()});
        EXPECT_EQ(run.status, 1) << c.input;
        EXPECT_EQ(lineCount(run.err), 1u) << c.input << ": " << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.input << ": " << run.err;
        EXPECT_FALSE(fs::exists(dir / "out.wav")) << c.input;
        EXPECT_FALSE(fs::exists(dir / "out.wav.partial")) << c.input;
    }
}

// ---------------------------------------------------------------- host orders

class WineHostOrders : public ::testing::TestWithParam<WindowsBuild> {};

// Each round: the editor opened right after loading and kept hidden in the
// host's window, effEditGetRect before any open, effClose with the editor
// still open, effEditClose after the parent window is gone, and processing
// on another thread while the editor opens and closes.
TEST_P(WineHostOrders, NoneCrashesOrLeaksOver20Rounds) {
    const WindowsBuild& build = GetParam();
    const HostRun run = runWine(programOf(build, "host_orders"), {pluginOf(build).string(), "20"});
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    ASSERT_TRUE(hasLine(run.out, "round-trips ok")) << run.out;
    std::map<std::string, std::pair<unsigned long long, unsigned long long>> usage;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        char what[16];
        unsigned long long before = 0, after = 0;
        if (std::sscanf(line.c_str(), "%15s %llu %llu", what, &before, &after) == 3) usage[what] = {before, after};
    }
    ASSERT_EQ(usage.size(), 4u) << run.out;
    // A leak in any order leaves at least one handle per round (20 here),
    // while Wine's own service threads may open one at any moment, more
    // often on a loaded machine: two are noise.
    EXPECT_LE(usage["handles"].second, usage["handles"].first + 2) << "kernel handles left open";
    EXPECT_LE(usage["gdi"].second, usage["gdi"].first) << "GDI objects left behind";
    EXPECT_LE(usage["user"].second, usage["user"].first) << "windows or other USER objects left behind";
    // 20 rounds make 100 instances and 140 editors; a leak of even a small
    // object per editor shows here, while the system's own caches settle
    // well inside the margin.
    EXPECT_LE(usage["commit"].second, usage["commit"].first + 256 * 1024) << "memory grew";
}

INSTANTIATE_TEST_SUITE_P(Builds, WineHostOrders, ::testing::ValuesIn(kBuilds), buildName);

// ---------------------------------------------------------------- editor

bool haveXdotool() { return std::system("command -v xdotool >/dev/null 2>&1") == 0; }

class WineEditor : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveDisplay()) GTEST_SKIP() << "no X display";
        if (!haveXdotool()) GTEST_SKIP() << "xdotool is not installed";
    }
};

// Runs `velmora-host.exe gui` on velmora.dll with tracing and the extra
// arguments, performs the xdotool actions (WINDOW stands for Wine's window,
// which is the host window's client area) and, when given, calls `look`
// with the display and window while the editor is still open. Returns the
// trace without idle lines.
// A click as a hand makes it, with the button held while the press is
// handled; instant clicks (both halves applied before the press message is
// handled) have their own test, WineInstantClicks.
const std::string kClick = "mousedown 1 sleep 0.1 mouseup 1";

// traceWineGestureIn does the same with the host and plug-in of either build.
std::vector<std::string> traceWineGestureIn(const WindowsBuild& build, const std::vector<std::string>& extra,
                                            const std::string& actions,
                                            const std::function<void(Display*, Window)>& look = {}) {
    ScratchDir dir;
    std::vector<std::string> args = {"gui", pluginOf(build).string(), "--trace"};
    args.insert(args.end(), extra.begin(), extra.end());
    const pid_t host = startProgram(wine(programOf(build, "velmora-host"), args), dir / "trace.txt");
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return {};
    const Window window = waitForWindow(display, "velmora-host: Velmora");
    if (window != 0) {
        // Wine maps the window before its first paint and before it takes
        // input; the editor is settled once it has been idled a few times.
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const std::string command =
            "xdotool " + std::regex_replace(actions, std::regex("WINDOW"), std::to_string(window)) + " sleep 0.4";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        if (look) look(display, window);
        sendDeleteWindow(display, window);
    }
    XCloseDisplay(display);
    EXPECT_EQ(waitHost(host, 60.0), 0) << readText(dir / "trace.txt.err");
    EXPECT_NE(window, 0u) << readText(dir / "trace.txt.err");
    std::istringstream trace(unixLines(readText(dir / "trace.txt")));
    std::vector<std::string> lines;
    for (std::string line; std::getline(trace, line);) {
        if (line != "idle") lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> traceWineGesture(const std::vector<std::string>& extra, const std::string& actions,
                                          const std::function<void(Display*, Window)>& look = {}) {
    return traceWineGestureIn(win32Build(), extra, actions, look);
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    return text;
}

// Solo2 is the 60 x 11 switch at (212, 112); Gain2 the knob at (248, 210).
// Two clicks on Solo2, then a Ctrl+click on Gain2, each made by `click`.
std::string soloTwiceThenCtrlClickOnGain2(const std::string& click) {
    return "mousemove --sync --window WINDOW 242 117 " + click + " sleep 0.3 " + click + " sleep 0.3 "
           "mousemove --sync --window WINDOW 272 234 keydown ctrl sleep 0.1 " + click + " sleep 0.3 keyup ctrl";
}

// What those clicks must do: Solo2 on and off again, Gain2 back to its default.
void expectSoloToggledTwiceAndGain2Reset(const std::vector<std::string>& lines) {
    std::vector<std::string> solo, gain;
    for (const std::string& line : lines) {
        if (line.rfind("automate 4 ", 0) == 0) solo.push_back(line);
        if (line.rfind("automate 10 ", 0) == 0) gain.push_back(line);
    }
    EXPECT_EQ(solo, (std::vector<std::string>{"automate 4 1.000", "automate 4 0.000"})) << joined(lines);
    EXPECT_EQ(gain, (std::vector<std::string>{"automate 10 0.500"})) << joined(lines);
}

TEST_F(WineEditor, Gain1DragOf100PixelsRightIsOneGestureEndingAtHalf) {
    // Gain1 is the 48 x 48 knob at (108, 210); linear drags cover the range in 200 px.
    const std::vector<std::string> lines = traceWineGesture(
        {}, "mousemove --sync --window WINDOW 132 234 mousedown 1 sleep 0.2 "
            "mousemove_relative --sync 25 0 sleep 0.1 mousemove_relative --sync 25 0 sleep 0.1 "
            "mousemove_relative --sync 25 0 sleep 0.1 mousemove_relative --sync 25 0 sleep 0.2 mouseup 1");
    expectOneDragEndingNear(lines, 9, 0.5f);
}

TEST_F(WineEditor, SoloClicksToggleAndCtrlClickResetsAKnobWithoutEditBrackets) {
    const std::vector<std::string> lines =
        traceWineGesture({"--set", "Gain2=0.9"}, soloTwiceThenCtrlClickOnGain2(kClick));
    expectSoloToggledTwiceAndGain2Reset(lines);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("beginEdit", 0) == 0; }), 0)
        << joined(lines);
}

// Real instant clicks: `xdotool click` sends both halves at once, so the
// button is already up when the editor handles the press message (as with
// a tap on Windows while the host's thread is busy). The press is handled
// with the buttons and modifiers its message carried.
class WineInstantClicks : public ::testing::TestWithParam<WindowsBuild> {
protected:
    void SetUp() override {
        if (!haveDisplay()) GTEST_SKIP() << "no X display";
        if (!haveXdotool()) GTEST_SKIP() << "xdotool is not installed";
    }
};

TEST_P(WineInstantClicks, AnInstantClickTogglesASoloAndAnInstantCtrlClickResetsAKnob) {
    const std::vector<std::string> lines =
        traceWineGestureIn(GetParam(), {"--set", "Gain2=0.9"}, soloTwiceThenCtrlClickOnGain2("click 1"));
    expectSoloToggledTwiceAndGain2Reset(lines);
}

INSTANTIATE_TEST_SUITE_P(Builds, WineInstantClicks, ::testing::ValuesIn(kBuilds), buildName);

DecodedBitmap committedBitmap(int id) {
    std::ifstream file(std::string(VELMORA_SOURCE_DIR) + "/resources/bitmaps/" + std::to_string(id) + ".bmp",
                       std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return decodeBmp(bytes.data(), bytes.size());
}

// Share of the pixels that equal the about image, where the box shows it.
double aboutImageShare(Display* display, Window window) {
    const DecodedBitmap about = committedBitmap(1007);
    const std::vector<uint32_t> shown = readWindowPixels(display, window, 96, 58, about.width, about.height);
    if (shown.empty() || about.empty()) return 0.0;
    size_t same = 0;
    for (size_t i = 0; i < shown.size(); ++i) same += shown[i] == (about.pixels[i] & 0xFFFFFFu) ? 1 : 0;
    return static_cast<double>(same) / static_cast<double>(shown.size());
}

TEST_F(WineEditor, AboutBoxOpensOnTheLogoAndClosesOnALeftPressInside) {
    double closedAtStart = 1.0, open = 0.0, closedAgain = 1.0;
    traceWineGesture({}, "sleep 0.3", [&](Display* display, Window window) {
        closedAtStart = aboutImageShare(display, window);
        // The logo area is (353, 14)-(460, 68); the box covers (96, 58) at 289 x 179.
        std::system(("xdotool mousemove --sync --window " + std::to_string(window) + " 400 40 " + kClick + " sleep 0.5").c_str());
        open = aboutImageShare(display, window);
        std::system(("xdotool mousemove --sync --window " + std::to_string(window) + " 240 150 " + kClick + " sleep 0.5").c_str());
        closedAgain = aboutImageShare(display, window);
    });
    EXPECT_LT(closedAtStart, 0.5);
    EXPECT_GT(open, 0.99);
    EXPECT_LT(closedAgain, 0.5);
}

// Every control's rectangle: knobs and switches are the same bitmaps on both
// systems, so only text may differ.
struct ControlRect {
    const char* name;
    int left, top, width, height;
};
constexpr ControlRect kControls[] = {
    {"Cross1", 158, 85, 30, 30},   {"Cross2", 298, 85, 30, 30},    {"PFilter", 223, 71, 36, 14},
    {"Solo1", 72, 112, 60, 11},    {"Solo2", 212, 112, 60, 11},    {"Solo3", 352, 112, 60, 11},
    {"Master", 48, 27, 48, 48},    {"Balance1", 48, 210, 48, 48},  {"Balance2", 188, 210, 48, 48},
    {"Balance3", 328, 210, 48, 48}, {"Gain1", 108, 210, 48, 48},   {"Gain2", 248, 210, 48, 48},
    {"Gain3", 388, 210, 48, 48},   {"Level1", 108, 139, 48, 48},   {"Level2", 248, 139, 48, 48},
    {"Level3", 388, 139, 48, 48},  {"Type1", 48, 139, 48, 48},     {"Type2", 188, 139, 48, 48},
    {"Type3", 328, 139, 48, 48},
};

TEST_F(WineEditor, Win32ScreenshotMatchesLinuxInEveryControlsRectangle) {
    if (velmoraPath().empty()) GTEST_SKIP() << "velmora.so is not built";
    ScratchDir dir;
    const std::vector<std::string> settings = {"--set", "Solo2=1", "--set", "Gain1=0.3", "--set", "Level3=0.7",
                                               "--set", "Type2=0.5", "--set", "Cross1=0.2", "--set", "PFilter=0"};
    std::vector<std::string> linuxArgs = {"screenshot", velmoraPath(), (dir / "linux.png").string()};
    linuxArgs.insert(linuxArgs.end(), settings.begin(), settings.end());
    std::vector<std::string> windowsArgs = {"screenshot", pluginOf(win32Build()).string(), (dir / "windows.png").string()};
    windowsArgs.insert(windowsArgs.end(), settings.begin(), settings.end());
    const HostRun linuxRun = runHost(linuxArgs);
    ASSERT_EQ(linuxRun.status, 0) << linuxRun.err;
    const HostRun windowsRun = runWine(programOf(win32Build(), "velmora-host"), windowsArgs);
    ASSERT_EQ(windowsRun.status, 0) << windowsRun.err;
    const Png linuxShot = readPng(dir / "linux.png");
    const Png windowsShot = readPng(dir / "windows.png");
    ASSERT_EQ(linuxShot.width, 484);
    ASSERT_EQ(linuxShot.height, 286);
    ASSERT_EQ(windowsShot.width, 484);
    ASSERT_EQ(windowsShot.height, 286);
    for (const ControlRect& control : kControls) {
        int differing = 0;
        for (int y = control.top; y < control.top + control.height; ++y) {
            for (int x = control.left; x < control.left + control.width; ++x) {
                differing += linuxShot.at(x, y) != windowsShot.at(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(differing, 0) << control.name;
    }
}

}  // namespace

// ---------------------------------------------------------------- screen density

namespace {

// Wine's one DPI setting, which GetDpiForWindow and GetDeviceCaps report.
void setWineDpi(int dpi) {
    const HostRun run = runProgram({"wine", "reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t",
                                    "REG_DWORD", "/d", std::to_string(dpi), "/f"});
    ASSERT_EQ(run.status, 0) << run.err;
}

class WineEditorDpi : public ::testing::TestWithParam<WindowsBuild> {
protected:
    void SetUp() override {
        if (!haveDisplay()) GTEST_SKIP() << "no X display";
    }
};

// A desktop at 200 %: both DLLs' editors find the window's DPI themselves.
TEST_P(WineEditorDpi, At192DpiTheEditorOpensAt968x572) {
    ScratchDir dir;
    setWineDpi(192);
    const HostRun run = runWine(programOf(GetParam(), "velmora-host"),
                                {"screenshot", pluginOf(GetParam()).string(), (dir / "shot.png").string()});
    setWineDpi(96);
    ASSERT_EQ(run.status, 0) << run.err;
    const Png shot = readPng(dir / "shot.png");
    EXPECT_EQ(shot.width, 968);
    EXPECT_EQ(shot.height, 572);
}

INSTANTIATE_TEST_SUITE_P(BothDlls, WineEditorDpi, ::testing::ValuesIn(kBuilds), buildName);

// At 200 % a drag twice as long moves Gain1 as far as at 100 %, and a click
// on Solo2 at twice its place toggles it.
TEST_F(WineEditor, AtTwiceTheScaleDragsAndClicksActAsAt100Percent) {
    const std::vector<std::string> lines = traceWineGesture(
        {"--scale", "2"},
        "mousemove --sync --window WINDOW 264 468 mousedown 1 sleep 0.2 "
        "mousemove_relative --sync 50 0 sleep 0.1 mousemove_relative --sync 50 0 sleep 0.1 "
        "mousemove_relative --sync 50 0 sleep 0.1 mousemove_relative --sync 50 0 sleep 0.2 mouseup 1 sleep 0.3 "
        "mousemove --sync --window WINDOW 484 234 " + kClick);
    expectOneDragEndingNear(lines, 9, 0.5f);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "automate 4 1.000"), lines.end()) << joined(lines);
}

}  // namespace
