// velmora-host with CLAP plug-ins: the fixtures of fixture_clap.cpp, which
// end the process when the host breaks a rule of the format, so a clean run
// with empty stderr also says the call order and thread roles were right.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "host/clap_plugin.h"
#include "host/loaded_plugin.h"
#include "host_runner.h"

namespace {

namespace fs = std::filesystem;

TEST(HostClap, InfoShowsTheDescriptorPortsLatencyAndParameterTexts) {
    const HostRun run = runHost({"info", clapFixturePath("gain")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    for (const char* line : {"Format:          CLAP 1.2.10", "Plug-in id:      test.fixture.gain",
                             "Name:            Clap Fixture", "Vendor:          Test Bench",
                             "Features:        audio-effect, utility, stereo",
                             "Audio inputs:    1 port: Main (2 ch, main)", "Latency:         3 samples",
                             "Parameters:      2", "      0  Gain     1.00 x  ", "      1  Invert      off  "}) {
        EXPECT_TRUE(hasLine(run.out, line)) << line << "\n" << run.out;
    }
    EXPECT_EQ(run.out.find("Programs:"), std::string::npos) << run.out;
}

// Gain 0.25 of 0..2 is 0.5; Invert 0.6 of a stepped 0..1 is 1. Both must act
// from the very first frame, and in every block size.
TEST(HostClap, RenderAppliesSetValuesFromTheFirstFrameAndBenchTakesBothFormats) {
    ScratchDir dir;
    std::vector<float> samples;
    for (int i = 0; i < 1000; ++i) samples.insert(samples.end(), {0.2f, -0.4f});
    writeSound(dir / "in.wav", 2, 44100, samples);
    const HostRun run = runHost({"render", clapFixturePath("gain"), dir / "in.wav", dir / "out.wav", "--set",
                                 "gain=0.25", "--set", "1=0.6", "--block", "7"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    EXPECT_NE(run.out.find("through Clap Fixture"), std::string::npos) << run.out;
    const Sound out = readSound(dir / "out.wav");
    ASSERT_EQ(out.frames(), 1000u);
    for (size_t i = 0; i < out.frames(); ++i) {
        ASSERT_FLOAT_EQ(out.samples[2 * i], -0.1f) << "frame " << i;
        ASSERT_FLOAT_EQ(out.samples[2 * i + 1], 0.2f) << "frame " << i;
    }

    const HostRun bench = runHost({"bench", fixturePath("editor"), clapFixturePath("gain"), "--seconds", "0.05"});
    ASSERT_EQ(bench.status, 0) << bench.err;
    EXPECT_NE(bench.out.find("host_fixture_clap_gain.clap (Clap Fixture)"), std::string::npos) << bench.out;
}

TEST(HostClap, UnusableLibrariesAreOneSentenceAndExitOne) {
    struct Case {
        std::string path;
        const char* mention;
    };
    const std::vector<Case> cases = {
        {fixturePath("no_entry"), "exports neither clap_entry nor VSTPluginMain"},
        {clapFixturePath("null_factory"), "offers no CLAP plug-in factory"},
        {clapFixturePath("refusing"), "refused to initialise"},
    };
    for (const auto& c : cases) {
        for (const char* command : {"info", "render"}) {
            ScratchDir dir;
            std::vector<std::string> args{command, c.path};
            if (std::strcmp(command, "render") == 0) args.push_back((dir / "out.wav").string());
            const HostRun run = runHost(args);
            EXPECT_EQ(run.status, 1) << c.path << ": " << run.err;
            EXPECT_EQ(lineCount(run.err), 1u) << run.err;
            EXPECT_NE(run.err.find(c.mention), std::string::npos) << run.err;
            EXPECT_TRUE(dir.empty()) << c.path;
        }
    }
}

TEST(HostClap, ValuesQueuedAtAFrameActFromThatFrame) {
    const auto loaded = loadPlugin(clapFixturePath("gain"));
    auto* plugin = dynamic_cast<ClapPlugin*>(loaded.get());
    ASSERT_NE(plugin, nullptr);
    plugin->configure(44100.0, 16);
    plugin->prepareAudio();
    plugin->start();
    const std::vector<float> ones(10, 1.0f);
    std::vector<float> left(10), right(10);
    plugin->setParameterAt(0, 0.25f, 4);
    plugin->setParameterAt(0, 1.0f, 7);
    plugin->process(ones.data(), ones.data(), left.data(), right.data(), 10);
    EXPECT_EQ(left, (std::vector<float>{1, 1, 1, 1, 0.5f, 0.5f, 0.5f, 2, 2, 2}));
    EXPECT_EQ(right, left);
    plugin->stop();
}

// State moves through streams that hand over a few bytes per call.
TEST(HostClap, StateRoundTripsThroughShortReadsAndWrites) {
    const auto loaded = loadPlugin(clapFixturePath("gain"));
    auto* plugin = dynamic_cast<ClapPlugin*>(loaded.get());
    ASSERT_NE(plugin, nullptr);
    const double values[2] = {0.5, 1.0};
    std::vector<uint8_t> state(sizeof values);
    std::memcpy(state.data(), values, sizeof values);
    ASSERT_TRUE(plugin->loadState(state, 3));
    EXPECT_FLOAT_EQ(plugin->parameter(0), 0.25f);
    EXPECT_EQ(plugin->parameterDisplay(1), "on");
    EXPECT_EQ(plugin->saveState(5), state);
    state.pop_back();
    EXPECT_FALSE(plugin->loadState(state, 4));
}

}  // namespace
