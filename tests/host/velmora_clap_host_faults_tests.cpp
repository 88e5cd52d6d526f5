// Sequences with which a hostile host caught velmora.clap out, each through
// the built plug-in in velmora-host's CLAP classes: a reset that must clear
// everything, values the plug-in changes by itself that the host must hear
// of (inside the block and in time order), states that must load again,
// values far outside their range, and values that must outlive a restart.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "host/clap_plugin.h"
#include "host/loaded_plugin.h"
#include "host_runner.h"

namespace {

constexpr int32_t kQuality = 19;
constexpr int32_t kMix = 20;
constexpr int32_t kBypass = 21;

std::unique_ptr<LoadedPlugin> startedClap(double rate, int quality, int32_t block) {
    auto plugin = loadPlugin(velmoraClapPath());
    plugin->setParameter(kQuality, static_cast<float>(quality) / 3.0f);
    plugin->configure(rate, block);
    plugin->prepareAudio();
    plugin->start();
    return plugin;
}

ClapPlugin& asClap(const std::unique_ptr<LoadedPlugin>& plugin) { return dynamic_cast<ClapPlugin&>(*plugin); }

struct Block {
    std::vector<float> left, right;
    explicit Block(size_t frames) : left(frames), right(frames) {}
};

Block run(LoadedPlugin& plugin, const std::vector<float>& input, int32_t block) {
    Block out(input.size());
    for (size_t done = 0; done < input.size(); done += static_cast<size_t>(block))
        plugin.process(&input[done], &input[done], &out.left[done], &out.right[done], block);
    return out;
}

std::vector<float> noise(size_t frames, float amplitude) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> uniform(-amplitude, amplitude);
    std::vector<float> samples(frames);
    for (float& sample : samples) sample = uniform(random);
    return samples;
}

class VelmoraClapHostFaults : public ::testing::Test {
protected:
    void SetUp() override {
        if (velmoraClapPath().empty()) GTEST_SKIP() << "the CLAP plug-in is not built";
    }
};

TEST_F(VelmoraClapHostFaults, ResetThenSilenceIsAFreshActivationBitForBit) {
    for (const int quality : {0, 3}) {
        SCOPED_TRACE(quality);
        const auto used = startedClap(44100.0, quality, 256);
        const auto fresh = startedClap(44100.0, quality, 256);
        for (auto& plugin : {&used, &fresh}) {
            (*plugin)->setParameter(9, 0.7f);
            (*plugin)->setParameter(13, 0.9f);
        }
        run(*used, noise(4096, 1.0f), 256);
        const vclap::Plugin& raw = asClap(used).plugin();
        raw.reset(&raw);
        const std::vector<float> silence(4096, 0.0f);
        const Block afterReset = run(*used, silence, 256);
        const Block expected = run(*fresh, silence, 256);
        EXPECT_EQ(afterReset.left, expected.left);
        EXPECT_EQ(afterReset.right, expected.right);
    }
}

// What the host believes: its own values, then every value the plug-in
// reported back, in order.
TEST_F(VelmoraClapHostFaults, ValuesThePluginChangesItselfAreReportedOnceAndMatchGetValue) {
    const auto loaded = startedClap(48000.0, 0, 64);
    ClapPlugin& clap = asClap(loaded);
    clap.setParameterAt(1, 0.3f, 10);  // Cross2 below Cross1 pushes Cross1 down
    clap.setParameterAt(0, 0.8f, 20);  // Cross1 above Cross2 pushes Cross2 up
    clap.queueRawValue(2, 1.5, 30);  // PFilter beyond its range is held at 1
    clap.queueRawValue(11, 0.123456789, 40);  // in range: stored as a float, nothing to report
    const std::vector<float> silence(64, 0.0f);
    run(clap, silence, 64);
    const auto reported = clap.takeProducedValues();
    ASSERT_EQ(reported.size(), 3u);
    const struct { uint32_t id, time; float value; } expected[] = {{0, 10, 0.3f}, {1, 20, 0.8f}, {2, 30, 1.0f}};
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(reported[k].param_id, expected[k].id);
        EXPECT_EQ(reported[k].header.time, expected[k].time);
        EXPECT_EQ(reported[k].value, expected[k].value);
    }
    EXPECT_EQ(clap.parameter(0), 0.8f);
    EXPECT_EQ(clap.parameter(1), 0.8f);
    EXPECT_EQ(clap.parameter(2), 1.0f);

    // The same when values come by flush, before the host starts it again.
    clap.stop();
    clap.setParameter(0, 0.9f);
    clap.start();
    const auto flushed = clap.takeProducedValues();
    ASSERT_EQ(flushed.size(), 1u);
    EXPECT_EQ(flushed[0].param_id, 1u);
    EXPECT_EQ(flushed[0].value, 0.9f);
    clap.stop();
}

TEST_F(VelmoraClapHostFaults, WhatItSavesAlwaysLoadsAndOddStatesKeepWhatTheyCan) {
    const auto source = startedClap(48000.0, 0, 64);
    ClapPlugin& careless = asClap(source);
    careless.queueRawValue(2, 1.5, 0);
    careless.queueRawValue(9, std::numeric_limits<double>::quiet_NaN(), 0);
    careless.queueRawValue(18, 1.0000001, 0);
    careless.queueRawValue(1, -3.0, 0);  // would push Cross1 below the range too
    run(*source, std::vector<float>(64, 0.0f), 64);
    const auto saved = asClap(source).saveState();
    ASSERT_TRUE(saved.has_value());

    const auto target = loadPlugin(velmoraClapPath());
    ClapPlugin& clap = asClap(target);
    ASSERT_TRUE(clap.loadState(*saved));
    const float expected[][2] = {{0, 0.0f}, {1, 0.0f}, {2, 1.0f}, {9, 0.0f}, {18, 1.0f}};
    for (const auto& [index, value] : expected) EXPECT_EQ(clap.parameter(static_cast<int32_t>(index)), value) << index;

    // An older build's state of a few values, one of them odd, one id unknown.
    std::vector<uint8_t> older = {'V', 'L', 'M', 'S', 1, 0, 0, 0, 3, 0, 0, 0};
    const auto entry = [&](uint32_t id, float value) {
        for (const uint32_t word : {id, std::bit_cast<uint32_t>(value)})
            for (int i = 0; i < 4; ++i) older.push_back(static_cast<uint8_t>(word >> (8 * i)));
    };
    entry(15, 0.25f);
    entry(77, 0.5f);
    entry(18, 7.0f);
    ASSERT_TRUE(clap.loadState(older));
    EXPECT_EQ(clap.parameter(15), 0.25f);
    EXPECT_EQ(clap.parameter(18), 1.0f);
    EXPECT_EQ(clap.parameter(2), 1.0f);  // missing: its default
    older.pop_back();
    EXPECT_FALSE(clap.loadState(older));
}

TEST_F(VelmoraClapHostFaults, OutputIsNormalWithin64FramesOfAWildValueReturningIntoRange) {
    for (const int32_t block : {1, 64}) {
        SCOPED_TRACE(block);
        const auto plugin = startedClap(96000.0, 0, block);
        const std::vector<float> input = noise(2048, 0.5f);
        asClap(plugin).queueRawValue(18, 100.0, 0);
        asClap(plugin).queueRawValue(9, 1.0e6, 0);
        run(*plugin, input, block);
        plugin->setParameter(18, 1.0f);
        plugin->setParameter(9, 0.5f);
        const Block out = run(*plugin, input, block);
        for (size_t i = 64; i < out.left.size(); ++i)
            ASSERT_TRUE(std::abs(out.left[i]) <= 4.0f && std::abs(out.right[i]) <= 4.0f) << "frame " << i;
    }
}

// A restart (the host's own, or the one a Quality change asks for) builds a
// fresh audio path, but the values the host set are not audio state.
TEST_F(VelmoraClapHostFaults, EveryValueOutlivesARestartWithoutAnEvent) {
    const auto plugin = startedClap(48000.0, 0, 64);
    ClapPlugin& clap = asClap(plugin);
    clap.setParameter(kMix, 0.25f);
    clap.setParameter(kBypass, 1.0f);
    clap.setParameter(9, 0.9f);
    const std::vector<float> input = noise(4096, 0.5f);
    run(clap, input, 64);
    clap.stop();
    clap.start();
    for (const int quality : {0, 2}) {
        SCOPED_TRACE(quality);
        // The Quality change waits for the restart it asks for after this block.
        clap.setParameter(kQuality, static_cast<float>(quality) / 3.0f);
        run(clap, std::vector<float>(64, 0.0f), 64);
        EXPECT_EQ(clap.parameter(kMix), 0.25f);
        EXPECT_EQ(clap.parameter(kBypass), 1.0f);
        EXPECT_EQ(clap.parameter(9), 0.9f);
        const int32_t latency = clap.latency();
        EXPECT_EQ(latency, quality == 0 ? 0 : 4);
        // Bypassed from the first frame: the input, delayed by the latency.
        const Block out = run(clap, input, 64);
        for (size_t i = static_cast<size_t>(latency); i < input.size(); ++i)
            ASSERT_EQ(out.left[i], input[i - static_cast<size_t>(latency)]) << "frame " << i;
    }
    EXPECT_TRUE(clap.takeProducedValues().empty());
}

// Reports go out where the value takes effect: never past the block's last
// frame, never before an earlier report.
TEST_F(VelmoraClapHostFaults, ReportsOfLateOrDisorderedEventsStayInsideTheBlockInOrder) {
    const auto plugin = startedClap(48000.0, 0, 64);
    ClapPlugin& clap = asClap(plugin);
    clap.queueRawValue(13, 2.0, 100);
    run(clap, std::vector<float>(64, 0.0f), 64);
    auto reported = clap.takeProducedValues();
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].header.time, 63u);

    clap.queueRawValue(13, 2.0, 40);
    clap.queueRawValue(12, -1.0, 10);
    run(clap, std::vector<float>(64, 0.0f), 64);
    reported = clap.takeProducedValues();
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported[0].header.time, 40u);
    EXPECT_EQ(reported[1].header.time, 40u);

    // A stepped value that is not whole is cut toward zero.
    clap.queueRawValue(static_cast<vclap::Id>(kBypass), 0.5, 0);
    run(clap, std::vector<float>(64, 0.0f), 64);
    EXPECT_EQ(clap.parameter(kBypass), 0.0f);
}

}  // namespace
