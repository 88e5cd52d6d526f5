// Integration tests: velmora-host run as a process against fixture plug-ins,
// the built plug-in and the Debian peers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dsp/audio_path.h"
#include "host_runner.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kDemoFrames = 308700;  // 7 s at 44.1 kHz

// A stereo WAV whose channels hold constant values.
fs::path constantStereo(const ScratchDir& dir, const std::string& name, float left, float right, size_t frames) {
    std::vector<float> samples;
    for (size_t i = 0; i < frames; ++i) {
        samples.push_back(left);
        samples.push_back(right);
    }
    writeSound(dir / name, 2, 44100, samples);
    return dir / name;
}

void expectAllFrames(const Sound& sound, float left, float right) {
    ASSERT_EQ(sound.channels, 2);
    for (size_t i = 0; i < sound.frames(); ++i) {
        ASSERT_NEAR(sound.samples[2 * i], left, 1e-6f) << "frame " << i;
        ASSERT_NEAR(sound.samples[2 * i + 1], right, 1e-6f) << "frame " << i;
    }
}

TEST(HostCli, HelpListsEveryCommandAndUsageErrorsExitTwo) {
    const HostRun help = runHost({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.err.empty());
    for (const char* word : {"info PLUGIN", "render PLUGIN", "bench PLUGIN", "screenshot PLUGIN", "gui PLUGIN",
                             "--set NAME=VALUE", "mono input is duplicated"}) {
        std::string lowered = help.out;
        for (auto& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::string wanted = word;
        for (auto& c : wanted) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_NE(lowered.find(wanted), std::string::npos) << word;
    }
    for (const auto& args : std::vector<std::vector<std::string>>{{}, {"frobnicate"}, {"render", "x.so"}}) {
        const HostRun run = runHost(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(lineCount(run.err), 1u) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

// Every refusal: the right exit status, one line on stderr, no output file.
TEST(HostCli, EveryRefusalIsOneLineAndLeavesNoOutput) {
    ScratchDir inputs;
    const fs::path stereo = constantStereo(inputs, "in.wav", 0.1f, 0.2f, 1000);
    writeSound(inputs / "quad.wav", 4, 44100, std::vector<float>(4000, 0.1f));
    const fs::path notPlugin = inputs / "notes.so";
    { std::ofstream(notPlugin) << "not a shared object\n"; }
    const fs::path notSound = inputs / "notes.wav";
    { std::ofstream(notSound) << "not a sound\n"; }
    const std::string mono = fixturePath("mono");

    struct Case {
        const char* what;
        std::vector<std::string> args;  // the output file is appended
        int status;
        const char* mention;  // a word the message must contain
    };
    const std::vector<Case> cases = {
        {"missing plug-in", {"render", (inputs / "absent.so").string()}, 1, "does not exist"},
        {"folder that is no bundle", {"render", (inputs / ".").string()}, 1, "is no VST 3 bundle"},
        {"not a shared object", {"render", notPlugin.string()}, 1, "Cannot load"},
        {"no entry", {"render", fixturePath("no_entry")}, 1, "VSTPluginMain"},
        {"entry returns null", {"render", fixturePath("null_entry")}, 1, "no effect record"},
        {"wrong magic", {"render", fixturePath("bad_magic")}, 1, "magic"},
        {"unknown parameter", {"render", mono, "--set", "Volume=0.5"}, 2, "Volume"},
        {"parameter index too high", {"render", mono, "--set", "1=0.5"}, 2, "out of range"},
        {"value above 1", {"render", mono, "--set", "Gain=2"}, 2, "between 0 and 1"},
        {"value not a number", {"render", mono, "--set", "Gain=half"}, 2, "number"},
        {"block size zero", {"render", mono, "--block", "0"}, 2, "--block"},
        {"block size text", {"render", mono, "--block", "big"}, 2, "--block"},
        {"program absent", {"render", mono, "--program", "0"}, 2, "Program 0"},
        {"four channels", {"render", mono, (inputs / "quad.wav").string()}, 1, "4 channels"},
        {"missing input", {"render", mono, (inputs / "absent.wav").string()}, 1, "does not exist"},
        {"input not sound", {"render", mono, notSound.string()}, 1, "sound file"},
        {"rate with input", {"render", mono, stereo.string(), "--rate", "48000"}, 2, "--rate"},
        {"output in missing folder", {"render", mono}, 1, "Cannot write"},
    };
    for (const auto& c : cases) {
        ScratchDir outputs;
        std::vector<std::string> args = c.args;
        args.push_back(std::string(c.what) == "output in missing folder" ? (outputs / "no/such/dir/out.wav").string()
                                                                         : (outputs / "out.wav").string());
        const HostRun run = runHost(args);
        EXPECT_EQ(run.status, c.status) << c.what << ": " << run.err;
        EXPECT_EQ(lineCount(run.err), 1u) << c.what << ": " << run.err;
        EXPECT_NE(run.err.find(c.mention), std::string::npos) << c.what << ": " << run.err;
        EXPECT_TRUE(outputs.empty()) << c.what;
    }
}

TEST(HostRender, PluginWithOneInputAndOutputGetsTheMidAndFillsBothSides) {
    // The mono fixture only accumulates: out += 2 * gain * in.
    ScratchDir dir;
    const fs::path in = constantStereo(dir, "in.wav", 0.2f, 0.4f, 3000);
    const HostRun byName = runHost({"render", fixturePath("mono"), in, dir / "name.wav", "--set", "gAiN=0.25"});
    ASSERT_EQ(byName.status, 0) << byName.err;
    expectAllFrames(readSound(dir / "name.wav"), 0.15f, 0.15f);

    const HostRun byIndex = runHost({"render", fixturePath("mono"), in, dir / "index.wav", "--set", "0=1", "--block", "7"});
    ASSERT_EQ(byIndex.status, 0) << byIndex.err;
    const Sound sound = readSound(dir / "index.wav");
    EXPECT_EQ(sound.frames(), 3000u);
    expectAllFrames(sound, 0.6f, 0.6f);
}

TEST(HostRender, WidePluginGetsSilenceOnExtraInputsAndOnlyItsFirstTwoOutputsAreWritten) {
    ScratchDir dir;
    const fs::path in = constantStereo(dir, "in.wav", 0.3f, -0.2f, 2000);
    const HostRun run = runHost({"render", fixturePath("wide"), in, dir / "out.wav"});
    ASSERT_EQ(run.status, 0) << run.err;
    expectAllFrames(readSound(dir / "out.wav"), 0.3f, -0.2f);
}

TEST(HostRender, MonoInputIsDuplicatedAndOutputIsFloatStereoAtTheInputRate) {
    ScratchDir dir;
    writeSound(dir / "mono.wav", 1, 22050, std::vector<float>(1500, 0.5f));
    // The editor fixture passes audio through and exports only "main".
    const HostRun run = runHost({"render", fixturePath("editor"), dir / "mono.wav", dir / "out.wav"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Sound sound = readSound(dir / "out.wav");
    EXPECT_EQ(sound.sampleRate, 22050);
    EXPECT_EQ(sound.format, 0x010000 | 0x0006);  // WAV, 32-bit float
    EXPECT_EQ(sound.frames(), 1500u);
    expectAllFrames(sound, 0.5f, 0.5f);
}

TEST(HostRender, DemoSignalHasItsLengthAtAnyRateAndBlockSizeAndIsDeterministic) {
    ScratchDir dir;
    const std::string through = fixturePath("editor");
    ASSERT_EQ(runHost({"render", through, dir / "a.wav"}).status, 0);
    ASSERT_EQ(runHost({"render", through, dir / "b.wav", "--block", "333"}).status, 0);
    const Sound a = readSound(dir / "a.wav");
    EXPECT_EQ(a.channels, 2);
    EXPECT_EQ(a.sampleRate, 44100);
    EXPECT_EQ(a.frames(), kDemoFrames);
    EXPECT_GT(a.peak(), 0.5f);
    EXPECT_LT(a.peak(), 1.0f);
    EXPECT_EQ(readSound(dir / "b.wav").samples, a.samples);

    ASSERT_EQ(runHost({"render", through, dir / "c.wav", "--rate", "48000"}).status, 0);
    const Sound c = readSound(dir / "c.wav");
    EXPECT_EQ(c.sampleRate, 48000);
    EXPECT_EQ(c.frames(), 336000u);
}

class VelmoraCli : public ::testing::Test {
protected:
    void SetUp() override {
        if (velmoraPath().empty() || !fs::exists(velmoraPath())) GTEST_SKIP() << "velmora.so is not built";
    }
};

TEST_F(VelmoraCli, InfoShowsIdentityFlagsParametersAndPrograms) {
    const HostRun run = runHost({"info", velmoraPath()});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* line : {"Effect name:     Velmora", "Vendor:          Quorvane", "Product:         Velmora",
                             "Vendor version:  1000", "Unique ID:       'Vlm5' (0x566C6D35)", "VST version:     2300",
                             "Flags:           0x19 (editor, mono, replacing)", "Inputs:          2",
                             "Outputs:         2", "Initial delay:   0 samples", "Parameters:      19",
                             "Programs:        16", "Current program: 0 \"Init 1\""}) {
        EXPECT_TRUE(hasLine(run.out, line)) << line << "\n" << run.out;
    }
    for (const char* name : {"Cross1", "Cross2", "PFilter", "Solo3", "Balance2", "Gain1", "Type3", "Level2", "Master"}) {
        EXPECT_NE(run.out.find(name), std::string::npos) << name;
    }
    EXPECT_NE(run.out.find("   15  Init"), std::string::npos);
}

TEST_F(VelmoraCli, DemoRenderIsDeterministicAndParametersSetByNameOrIndexAct) {
    ScratchDir dir;
    ASSERT_EQ(runHost({"render", velmoraPath(), dir / "a.wav"}).status, 0);
    ASSERT_EQ(runHost({"render", velmoraPath(), dir / "b.wav"}).status, 0);
    const Sound a = readSound(dir / "a.wav");
    EXPECT_EQ(a.channels, 2);
    EXPECT_EQ(a.frames(), kDemoFrames);
    EXPECT_GT(a.peak(), 0.01f);
    EXPECT_EQ(readSound(dir / "b.wav").samples, a.samples);

    ASSERT_EQ(runHost({"render", velmoraPath(), dir / "quiet.wav", "--set", "Master=0"}).status, 0);
    ASSERT_EQ(runHost({"render", velmoraPath(), dir / "quiet18.wav", "--set", "18=0"}).status, 0);
    // The level glides to its new value over the first frames; after that, silence.
    const Sound quiet = readSound(dir / "quiet.wav");
    EXPECT_LT(quiet.peak(), 0.05f * a.peak());
    float tail = 0.0f;
    for (size_t i = 2 * 4410; i < quiet.samples.size(); ++i) tail = std::max(tail, std::fabs(quiet.samples[i]));
    EXPECT_LT(tail, 1e-4f);
    EXPECT_EQ(readSound(dir / "quiet18.wav").samples, quiet.samples);

    ASSERT_EQ(runHost({"render", velmoraPath(), dir / "hot.wav", "--set", "gain2=1", "--program", "0"}).status, 0);
    EXPECT_NE(readSound(dir / "hot.wav").samples, a.samples);
}

// Texts as the plug-in shows them, read by the plug-in: CLAP's own
// text-to-value, and for VST 2 the texts it displays.
TEST_F(VelmoraCli, SetTakesTheTextsThePluginShows) {
    if (velmoraClapPath().empty()) GTEST_SKIP() << "velmora.clap is not built";
    ScratchDir dir;
    const auto render = [&](const std::string& plugin, const std::string& name,
                            std::initializer_list<std::string> settings) {
        std::vector<std::string> args = {"render", plugin, (dir / name).string(), "--rate", "8000"};
        for (const std::string& setting : settings) args.insert(args.end(), {"--set", setting});
        const HostRun run = runHost(args);
        EXPECT_EQ(run.status, 0) << run.err;
        return readSound(dir / name).samples;
    };
    EXPECT_EQ(render(velmoraClapPath(), "a.wav", {"Type2=hardclip", "Gain2=20 dB", "Quality=2x", "Mix=50 %"}),
              render(velmoraClapPath(), "b.wav", {"Type2=0.5", "Gain2=0.5", "Quality=0.34", "Mix=0.5"}));
    EXPECT_EQ(render(velmoraPath(), "c.wav", {"Solo2=On", "Type2=HardClip"}),
              render(velmoraPath(), "d.wav", {"Solo2=1", "Type2=0.5"}));
    const HostRun bad = runHost({"render", velmoraClapPath(), (dir / "e.wav").string(), "--set", "Gain1=loud"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("cannot read \"loud\" as a value of Gain1; it reads texts such as \"-20.0 dB\""),
              std::string::npos)
        << bad.err;
}

TEST_F(VelmoraCli, RendersAGivenFile) {
    ScratchDir dir;
    std::vector<float> tone;
    for (int i = 0; i < 4410; ++i) {
        const float s = 0.5f * std::sin(2.0f * 3.14159265f * 220.0f * static_cast<float>(i) / 44100.0f);
        tone.push_back(s);
        tone.push_back(-s);
    }
    writeSound(dir / "tone.wav", 2, 44100, tone);
    const HostRun run = runHost({"render", velmoraPath(), dir / "tone.wav", dir / "out.wav", "--block", "100"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Sound out = readSound(dir / "out.wav");
    EXPECT_EQ(out.frames(), 4410u);
    EXPECT_GT(out.peak(), 0.01f);
}

// The peers load only with an X display, even without their editor.
class PeerCli : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (!fs::exists(GetParam())) GTEST_SKIP() << GetParam() << " is not installed";
        if (!haveDisplay()) GTEST_SKIP() << "no X display for " << GetParam();
    }
};

TEST_P(PeerCli, InfoAndDemoRenderWork) {
    const HostRun info = runHost({"info", GetParam()}, kForeignPlugin);
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("Flags:"), std::string::npos);
    EXPECT_NE(info.out.find("Parameters:"), std::string::npos);

    ScratchDir dir;
    const HostRun render = runHost({"render", GetParam(), dir / "out.wav", "--block", "256"}, kForeignPlugin);
    ASSERT_EQ(render.status, 0) << render.err;
    const Sound out = readSound(dir / "out.wav");
    EXPECT_EQ(out.channels, 2);
    EXPECT_EQ(out.frames(), kDemoFrames);
    EXPECT_GT(out.peak(), 0.01f);
}

INSTANTIATE_TEST_SUITE_P(Debian, PeerCli, ::testing::ValuesIn(kPeers), peerTestName);

TEST(HostBench, ReportsEveryPluginWithRatiosToTheFirst) {
    std::vector<std::string> args{"bench", fixturePath("editor"), fixturePath("wide")};
    if (!velmoraPath().empty()) args.push_back(velmoraPath());
    args.insert(args.end(), {"--seconds", "0.05", "--block", "128"});
    const HostRun run = runHost(args);
    ASSERT_EQ(run.status, 0) << run.err;
    // A heading, a column line and one row per plug-in; the first row's ratio is 1.
    EXPECT_EQ(lineCount(run.out), args.size() - 5 + 2) << run.out;
    const auto firstRow = run.out.find("host_fixture_editor.so (Fixture)");
    ASSERT_NE(firstRow, std::string::npos) << run.out;
    EXPECT_NE(run.out.find("1.000\n", firstRow), std::string::npos);
    EXPECT_NE(run.out.find("host_fixture_wide.so"), std::string::npos);

    const HostRun broken = runHost({"bench", fixturePath("editor"), fixturePath("bad_magic"), "--seconds", "0.05"});
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(lineCount(broken.err), 1u);
}

TEST(HostBench, BaselineIsTheBuiltInPlainPathWithTheFirstPluginsValues) {
    if (velmoraPath().empty()) GTEST_SKIP() << "the plug-in is not built";
    const HostRun run = runHost({"bench", velmoraPath(), "--baseline", "--set", "Gain1=0.7", "--set", "Type2=0.4",
                                 "--seconds", "0.05", "--block", "32"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("32-frame blocks, 44100 Hz, the given parameters"), std::string::npos) << run.out;
    // The baseline comes first, so its ratio is 1 and the plug-in's is to it.
    const auto baselineRow = run.out.find("plain signal path (built in)");
    const auto pluginRow = run.out.find("(Velmora)");
    ASSERT_NE(baselineRow, std::string::npos) << run.out;
    ASSERT_NE(pluginRow, std::string::npos) << run.out;
    EXPECT_LT(baselineRow, pluginRow);
    EXPECT_NE(run.out.find("1.000\n", baselineRow), std::string::npos);

    // Its values come from the first plug-in, which must be Velmora.
    const HostRun wrong = runHost({"bench", fixturePath("editor"), velmoraPath(), "--baseline", "--seconds", "0.05"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_NE(wrong.err.find("--baseline needs Velmora as the first plug-in"), std::string::npos) << wrong.err;
    // A --set name a plug-in does not have is refused before timing starts.
    const HostRun unknown = runHost({"bench", velmoraPath(), "--set", "Loudness=1", "--seconds", "0.05"});
    EXPECT_EQ(unknown.status, 2);

    // --path picks the compiled copy and the output names it; a copy the
    // processor lacks is a failure, an unknown one a usage error.
    const HostRun sse2 = runHost({"bench", velmoraPath(), "--path", "sse2", "--seconds", "0.05"});
    ASSERT_EQ(sse2.status, 0) << sse2.err;
    EXPECT_NE(sse2.out.find("Velmora's audio path: sse2"), std::string::npos) << sse2.out;
    const HostRun avx = runHost({"bench", velmoraPath(), "--path", "avx", "--seconds", "0.05"});
    if (processorRunsAvx()) {
        ASSERT_EQ(avx.status, 0) << avx.err;
        EXPECT_NE(avx.out.find("Velmora's audio path: avx"), std::string::npos) << avx.out;
    } else {
        EXPECT_EQ(avx.status, 1);
        EXPECT_NE(avx.err.find("no AVX"), std::string::npos) << avx.err;
    }
    EXPECT_EQ(runHost({"bench", velmoraPath(), "--path", "neon"}).status, 2);
}

// The alias figure of the landed build for HardClip at Gain 0.8, and a CLAP
// file through the same command, its --set scaled onto the plug-in's range.
TEST_F(VelmoraCli, SpectrumDrawsThePictureAndPrintsTheAliasRatioForEitherFormat) {
    struct Case {
        std::string plugin;
        std::vector<std::string> sets;
        const char* line;  // the printed figures, up to the file name
    };
    std::vector<std::string> hardClip;
    for (const char* set : {"Gain1=0.8", "Gain2=0.8", "Gain3=0.8", "Type1=0.55", "Type2=0.55", "Type3=0.55"})
        hardClip.insert(hardClip.end(), {"--set", set});
    const std::vector<Case> cases = {
        {velmoraPath(), hardClip, "Alias-to-harmonic power ratio: -9.8 dB"},
        // Gain 0.25 of 0..2 halves the -6 dBFS tone and adds nothing to it.
        {clapFixturePath("gain"), {"--set", "Gain=0.25"}, "dB (harmonics -12.0 dBFS"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        std::vector<std::string> args{"spectrum", c.plugin, (dir / "spectrum.png").string()};
        args.insert(args.end(), c.sets.begin(), c.sets.end());
        const HostRun run = runHost(args);
        ASSERT_EQ(run.status, 0) << c.plugin << ": " << run.err;
        EXPECT_NE(run.out.find(c.line), std::string::npos) << run.out;
        std::ifstream png(dir / "spectrum.png", std::ios::binary);
        char signature[8] = {};
        png.read(signature, sizeof signature);
        EXPECT_EQ(std::string(signature + 1, 3), "PNG") << c.plugin;
    }
}

}  // namespace
