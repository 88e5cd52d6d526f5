// The factory presets as a CLAP host meets them: listed through discovery,
// applied through preset-load, and loudness-matched (integrated loudness,
// ITU-R BS.1770) on pink noise through velmora-host render --preset, the
// path the demo command takes. The figures it prints are the README's.
#include <ebur128.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "clap/clap_preset_abi.h"
#include "core/extended_parameters.h"
#include "core/factory_presets.h"
#include "host/clap_plugin.h"
#include "host/plugin_library.h"
#include "host_runner.h"
#include "tests/support/pink_noise.h"

namespace {

constexpr double kToleranceLu = 1.0;
constexpr int kRate = 44100;
constexpr size_t kFrames = 4 * kRate;

class FactoryPresets : public ::testing::Test {
protected:
    void SetUp() override {
        if (velmoraClapPath().empty()) GTEST_SKIP() << "velmora.clap is not built";
    }
};

std::vector<float> interleaved(const NoiseSignal& signal) {
    std::vector<float> samples;
    for (size_t i = 0; i < signal.left.size(); ++i) samples.insert(samples.end(), {signal.left[i], signal.right[i]});
    return samples;
}

// Integrated loudness in LUFS, as a loudness meter reads it.
double loudness(const Sound& sound) {
    ebur128_state* meter = ebur128_init(static_cast<unsigned>(sound.channels), static_cast<unsigned long>(sound.sampleRate),
                                        EBUR128_MODE_I);
    double lufs = 0.0;
    ebur128_add_frames_float(meter, sound.samples.data(), sound.frames());
    ebur128_loudness_global(meter, &lufs);
    ebur128_destroy(&meter);
    return lufs;
}

TEST_F(FactoryPresets, AreListedByInfoAndKeepPinkNoiseLoudnessThroughVelmoraHost) {
    const HostRun info = runHost({"info", velmoraClapPath()});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("Presets:         " + std::to_string(kFactoryPresetCount) + "\n"), std::string::npos)
        << info.out;
    ScratchDir dir;
    // Another noise than the one the Masters were set on, so the figures are
    // measured, not the target read back.
    writeSound(dir / "pink.wav", 2, kRate, interleaved(pinkNoise(kFrames, -18.0, 2027)));
    const double pink = loudness(readSound(dir / "pink.wav"));
    // The demo signal dry (bypassed), and then through each preset.
    ASSERT_EQ(runHost({"render", velmoraClapPath(), (dir / "demo.wav").string(), "--set", "Bypass=1"}).status, 0);
    const double demo = loudness(readSound(dir / "demo.wav"));
    std::printf("| Preset | Pink noise at -18 dBFS RMS | Demo signal |\n|---|---|---|\n");
    for (size_t i = 0; i < kFactoryPresets.size(); ++i) {
        const FactoryPreset& preset = kFactoryPresets[i];
        EXPECT_NE(info.out.find(std::string(preset.name) + "  "), std::string::npos) << preset.name;
        EXPECT_NE(info.out.find(preset.description), std::string::npos) << preset.name;
        // Odd ones by their load key, as the demo names them.
        const std::string chosen = i % 2 == 0 ? preset.name : preset.key;
        const HostRun render = runHost({"render", velmoraClapPath(), (dir / "pink.wav").string(),
                                        (dir / "out.wav").string(), "--preset", chosen});
        ASSERT_EQ(render.status, 0) << render.err;
        const double change = loudness(readSound(dir / "out.wav")) - pink;
        ASSERT_EQ(runHost({"render", velmoraClapPath(), (dir / "out.wav").string(), "--preset", chosen}).status, 0);
        const double demoChange = loudness(readSound(dir / "out.wav")) - demo;
        std::printf("| %s | %+.1f LU | %+.1f LU |\n", preset.name, change, demoChange);
        EXPECT_NEAR(change, 0.0, kToleranceLu) << preset.name;
    }
}

TEST_F(FactoryPresets, PresetLoadSetsEveryValueAndRefusesWhatItDoesNotKnow) {
    ClapPlugin clap(velmoraClapPath(), openPluginLibrary(velmoraClapPath()));
    const std::vector<PresetListing> listed = clap.presets();
    ASSERT_EQ(listed.size(), kFactoryPresetCount);
    for (size_t i = 0; i < listed.size(); ++i) {
        const FactoryPreset& preset = kFactoryPresets[i];
        EXPECT_EQ(listed[i].name, preset.name);
        EXPECT_EQ(listed[i].key, preset.key);
        clap.loadPreset(i);
        for (int32_t p = 0; p < kNumParameters; ++p)
            EXPECT_EQ(clap.parameter(p), preset.values[static_cast<size_t>(p)]) << preset.name << " " << p;
        EXPECT_EQ(clap.parameter(kMixIndex), preset.mix) << preset.name;
    }

    const auto* load = static_cast<const vclap::PluginPresetLoad*>(
        clap.plugin().get_extension(&clap.plugin(), vclap::ext::kPresetLoad));
    ASSERT_NE(load, nullptr);
    const std::vector<float> before = {clap.parameter(kGain1), clap.parameter(kMaster)};
    EXPECT_FALSE(load->from_location(&clap.plugin(), vclap::preset::kLocationPlugin, nullptr, "no-such-preset"));
    EXPECT_NE(clap.host().presetError().find("no-such-preset"), std::string::npos);
    EXPECT_EQ((std::vector<float>{clap.parameter(kGain1), clap.parameter(kMaster)}), before);

    const HostRun unknown = runHost({"render", velmoraClapPath(), "unused.wav", "--preset", "No Such"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("no preset named \"No Such\"; its presets are \"Bass Warmth\", "), std::string::npos)
        << unknown.err;
}

}  // namespace
