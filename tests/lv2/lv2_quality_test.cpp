// Quality through the real plug-in in a lilv host: the latency port tells
// the delay of low frequencies, and switching while playing stays finite.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "dsp/distortion_processor.h"
#include "lilv_test_host.h"
#include "lv2_test_support.h"
#include "tests/support/low_frequency_delay.h"

namespace {

// Drive 1 into HardClip on every band passes a pulse of 0.5 unchanged, so
// only the path's delay moves it.
ParameterSet transparent() {
    ParameterSet values;
    for (const char* band : {"1", "2", "3"}) {
        values[std::string("gain") + band] = 0.25f;
        values[std::string("type") + band] = 0.5f;
    }
    return values;
}

}  // namespace

TEST(Lv2Quality, LatencyPortTellsTheDelayOfLowFrequenciesAtEverySetting) {
    StereoFile pulse;
    pulse.sampleRate = 48000.0;
    pulse.left = smoothPulse(4096, 1000, 256, 0.5f);
    pulse.right = pulse.left;
    std::vector<float> normal;
    for (int setting = 0; setting <= 3; ++setting) {
        for (uint32_t block : {256u, 37u}) {
            SCOPED_TRACE("quality " + std::to_string(setting) + ", block " + std::to_string(block));
            LilvTestHost host(pulse.sampleRate);
            host.set(transparent());
            host.set("quality", static_cast<float>(setting));
            const StereoFile out = host.render(pulse, block);
            const float reported = host.get("latency");
            EXPECT_EQ(reported, static_cast<float>(DistortionProcessor::latencyFrames(static_cast<Oversampling>(setting))));
            if (normal.empty()) normal = out.left;
            EXPECT_NEAR(lowFrequencyDelay(normal, out.left, 20), reported, 0.5);
            EXPECT_NEAR(lowFrequencyDelay(normal, out.right, 20), reported, 0.5);
        }
    }
}

TEST(Lv2Quality, SwitchingWhilePlayingStaysFiniteAndTheLatencyFollows) {
    const StereoFile source = readStereoFile(demoInputFile(44100.0));
    LilvTestHost host(44100.0);
    host.set({{"gain1", 0.7f}, {"gain2", 0.8f}, {"gain3", 0.9f}, {"type1", 0.5f}, {"type2", 0.9f}, {"type3", 0.99f}});
    // Port value -> the setting it means; values a host should not send
    // count as the nearest setting, NaN as Normal.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<std::pair<float, Oversampling>> sequence = {
        {3.0f, Oversampling::x8}, {1.0f, Oversampling::x2},      {0.0f, Oversampling::Normal},
        {2.0f, Oversampling::x4}, {3.0f, Oversampling::x8},      {nan, Oversampling::Normal},
        {7.0f, Oversampling::x8}, {-1.0f, Oversampling::Normal}, {1.6f, Oversampling::x4}};
    constexpr uint32_t kBlock = 100;  // not a multiple of the 64-frame sub-block
    std::vector<float> outLeft(kBlock), outRight(kBlock);
    double energy = 0.0;
    for (size_t start = 0, block = 0; start + kBlock <= source.left.size(); start += kBlock, ++block) {
        const auto& [value, setting] = sequence[(block / 5) % sequence.size()];
        host.set("quality", value);
        host.run(&source.left[start], &source.right[start], outLeft.data(), outRight.data(), kBlock);
        ASSERT_EQ(host.get("latency"), static_cast<float>(DistortionProcessor::latencyFrames(setting))) << block;
        for (uint32_t i = 0; i < kBlock; ++i) {
            ASSERT_TRUE(std::isfinite(outLeft[i]) && std::isfinite(outRight[i])) << "block " << block << " frame " << i;
            energy += static_cast<double>(outLeft[i]) * outLeft[i];
        }
    }
    EXPECT_GT(energy, 1.0);  // it played, not merely stayed silent
}

// A host writing Master 100 once pinned the output at the float limit long
// after the value came back: ports are held to their range before use.
TEST(Lv2HostValues, OutputIsNormalWithin64FramesOfAWildValueReturningIntoRange) {
    const StereoFile source = readStereoFile(demoInputFile(96000.0));
    for (const uint32_t block : {1u, 64u}) {
        LilvTestHost host(96000.0);
        host.setPort("master", 100.0f);
        host.setPort("gain1", 1.0e6f);
        std::vector<float> left(source.left.size()), right(source.left.size());
        constexpr size_t kBack = 4096, kEnd = 8192;
        for (size_t start = 0; start < kEnd; start += block) {
            if (start == kBack) host.set({{"master", 1.0f}, {"gain1", 0.5f}});
            host.run(&source.left[start], &source.right[start], &left[start], &right[start], block);
        }
        for (size_t i = kBack + 64; i < kEnd; ++i)
            ASSERT_TRUE(std::abs(left[i]) <= 4.0f && std::abs(right[i]) <= 4.0f) << "block " << block << " frame " << i;
    }
}

// Bypass through the port hosts link to their button: the latency port
// keeps the delay of the Quality in force, and once the fade is done the
// output is the input exactly that late.
TEST(Lv2HostValues, BypassedOutputIsTheInputDelayedByTheUnchangedLatency) {
    const StereoFile source = readStereoFile(demoInputFile(48000.0));
    LilvTestHost host(48000.0);
    host.set({{"gain1", 0.7f}, {"quality", 2.0f}, {"enabled", 0.0f}});
    constexpr uint32_t kBlock = 128, kFrames = 4096;
    std::vector<float> left(kFrames), right(kFrames);
    for (uint32_t start = 0; start < kFrames; start += kBlock) {
        host.run(&source.left[start], &source.right[start], &left[start], &right[start], kBlock);
        ASSERT_EQ(host.get("latency"), 4.0f);
    }
    for (uint32_t i = 4; i < kFrames; ++i) ASSERT_EQ(left[i], source.left[i - 4]) << i;
}
