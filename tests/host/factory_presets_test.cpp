// The factory presets as a CLAP host meets them: listed through discovery,
// applied through preset-load, and level-matched on pink noise through
// velmora-host render --preset, the path the demo command takes. The level
// figures it prints are the README's.
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

constexpr double kToleranceDb = 1.5;
constexpr int kRate = 44100;
constexpr size_t kFrames = 4 * kRate;
constexpr size_t kSettleFrames = kRate / 2;  // the filters' start is not programme

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

double levelChangeDb(const Sound& in, const Sound& out) {
    auto rms = [](const Sound& sound) {
        double sum = 0.0;
        for (size_t i = kSettleFrames * 2; i < sound.samples.size(); ++i)
            sum += double(sound.samples[i]) * sound.samples[i];
        return std::sqrt(sum / static_cast<double>(sound.samples.size() - kSettleFrames * 2));
    };
    return 20.0 * std::log10(rms(out) / rms(in));
}

TEST_F(FactoryPresets, AreListedByInfoAndKeepPinkNoiseLevelThroughVelmoraHost) {
    const HostRun info = runHost({"info", velmoraClapPath()});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("Presets:         " + std::to_string(kFactoryPresetCount) + "\n"), std::string::npos)
        << info.out;

    ScratchDir dir;
    // Another noise than the one the Masters were set on, so the figures are
    // measured, not the target read back.
    writeSound(dir / "pink.wav", 2, kRate, interleaved(pinkNoise(kFrames, -18.0, 2026)));
    const Sound in = readSound(dir / "pink.wav");
    std::printf("| Preset | Level change, pink noise at -18 dBFS RMS |\n|---|---|\n");
    for (size_t i = 0; i < kFactoryPresets.size(); ++i) {
        const FactoryPreset& preset = kFactoryPresets[i];
        EXPECT_NE(info.out.find(std::string(preset.name) + "  "), std::string::npos) << preset.name;
        EXPECT_NE(info.out.find(preset.description), std::string::npos) << preset.name;
        // Odd ones by their load key, as the demo names them.
        const std::string chosen = i % 2 == 0 ? preset.name : preset.key;
        const HostRun render = runHost({"render", velmoraClapPath(), (dir / "pink.wav").string(),
                                        (dir / "out.wav").string(), "--preset", chosen});
        ASSERT_EQ(render.status, 0) << render.err;
        const double change = levelChangeDb(in, readSound(dir / "out.wav"));
        std::printf("| %s | %+.2f dB |\n", preset.name, change);
        EXPECT_NEAR(change, 0.0, kToleranceDb) << preset.name;
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
