// Shaping at a raised rate: the reported latency is what a click measures,
// the aliases fall while the harmonics stay, and switching the setting while
// audio runs stays finite and leaves the rest of the path's state alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <complex>
#include <memory>
#include <random>
#include <set>
#include <vector>

#include "dsp/distortion_processor.h"

namespace {

constexpr float kDefaults[kNumParameters] = {0.5f, 0.5f, 1.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.5f, 0.5f, 0.0f,
                                             0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f};
constexpr float kHardClip = 0.55f, kSaturation1 = 0.0f, kSaturation3 = 0.4f;
constexpr double kRate = 44100.0;
constexpr double kPi = 3.14159265358979323846;

struct Effect {
    std::atomic<float> values[kNumParameters];
    std::atomic<float> rate{static_cast<float>(kRate)};
    std::unique_ptr<DistortionProcessor> processor;

    Effect(float gain, float type, Oversampling setting) {
        for (int i = 0; i < kNumParameters; ++i) values[i] = kDefaults[i];
        for (int b = 0; b < 3; ++b) {
            values[kGain1 + b] = gain;
            values[kType1 + b] = type;
        }
        processor = std::make_unique<DistortionProcessor>(values, &rate);
        processor->setOversampling(setting);
    }
    // Left output for the same input on both channels.
    std::vector<float> run(std::vector<float> input, int block = 512) {
        std::vector<float> left(input.size()), right(input.size());
        for (size_t done = 0; done < input.size(); done += block) {
            const int n = static_cast<int>(std::min<size_t>(block, input.size() - done));
            float* in[2] = {input.data() + done, input.data() + done};
            float* out[2] = {left.data() + done, right.data() + done};
            processor->processReplacing(in, out, n);
        }
        return left;
    }
};

std::vector<float> sine(double hz, size_t frames) {
    std::vector<float> s(frames);
    for (size_t n = 0; n < frames; ++n) s[n] = static_cast<float>(0.5012 * std::sin(2.0 * kPi * hz * n / kRate));
    return s;
}

// Power of the last `length` samples at one frequency, Blackman-Harris windowed.
double powerAt(const std::vector<float>& x, size_t length, double hz) {
    std::complex<double> sum = 0.0;
    const size_t start = x.size() - length;
    for (size_t n = 0; n < length; ++n) {
        const double t = 2.0 * kPi * n / (length - 1);
        const double w = 0.35875 - 0.48829 * std::cos(t) + 0.14128 * std::cos(2 * t) - 0.01168 * std::cos(3 * t);
        sum += w * x[start + n] * std::polar(1.0, -2.0 * kPi * hz * n / kRate);
    }
    return std::norm(sum);
}

// Harmonic and alias power of a tone's output: every component of a shaped
// tone lies at a multiple of it, folded into 0..rate/2 when above.
struct ToneSplit {
    double harmonic = 0.0, alias = 0.0;
    double aliasToHarmonicDb() const { return 10.0 * std::log10(alias / harmonic); }
};
ToneSplit splitTone(const std::vector<float>& x, double hz) {
    std::set<long> harmonics, aliases;  // in tenths of a hertz
    for (int k = 1; k < 200; ++k) {
        double f = std::fmod(k * hz, kRate);
        const bool folded = f > kRate / 2;
        if (folded) f = kRate - f;
        (k * hz < kRate / 2 ? harmonics : aliases).insert(std::lround(f * 10));
    }
    ToneSplit split;
    for (long f : harmonics) split.harmonic += powerAt(x, 16384, f / 10.0);
    for (long f : aliases)
        if (!harmonics.count(f) && f > 200) split.alias += powerAt(x, 16384, f / 10.0);
    return split;
}

std::vector<float> click(size_t frames, size_t at) {
    std::vector<float> x(frames, 0.0f);
    x[at] = 0.5f;
    return x;
}

size_t loudest(const std::vector<float>& x) {
    size_t peak = 0;
    for (size_t n = 0; n < x.size(); ++n)
        if (std::fabs(x[n]) > std::fabs(x[peak])) peak = n;
    return peak;
}

constexpr Oversampling kRaised[3] = {Oversampling::x2, Oversampling::x4, Oversampling::x8};

TEST(Oversampling, ReportedLatencyIsTheDelayOfAClick) {
    // Drive 1 and HardClip: the shaping passes the click unchanged.
    for (Oversampling setting : {Oversampling::Normal, Oversampling::x2, Oversampling::x4, Oversampling::x8}) {
        Effect effect(0.25f, kHardClip, setting);
        for (int block : {512, 37}) {
            const auto out = effect.run(click(2048, 1000), block);
            EXPECT_EQ(loudest(out), 1000u + DistortionProcessor::latencyFrames(setting))
                << "setting " << static_cast<int>(setting) << ", block " << block;
        }
        EXPECT_EQ(effect.processor->latencyFrames(), DistortionProcessor::latencyFrames(setting));
    }
}

TEST(Oversampling, RaisedRatesCutTheAliasesOfAHardClippedTone) {
    const auto input = sine(4987.0, 32768);
    const double normal = splitTone(Effect(0.8f, kHardClip, Oversampling::Normal).run(input), 4987.0)
                              .aliasToHarmonicDb();
    double previous = normal;
    for (Oversampling setting : kRaised) {
        const double raised = splitTone(Effect(0.8f, kHardClip, setting).run(input), 4987.0).aliasToHarmonicDb();
        EXPECT_LT(raised, previous - 3.0) << "setting " << static_cast<int>(setting);
        if (setting == Oversampling::x4) {
            EXPECT_LT(raised, normal - 12.0);
        }
        previous = raised;
    }
}

TEST(Oversampling, HarmonicsOfALowToneKeepTheirLevels) {
    const auto input = sine(100.0, 32768);
    for (float type : {kSaturation1, kHardClip, kSaturation3}) {
        const auto normal = Effect(0.8f, type, Oversampling::Normal).run(input);
        const double fundamental = powerAt(normal, 16384, 100.0);
        for (Oversampling setting : kRaised) {
            const auto raised = Effect(0.8f, type, setting).run(input);
            // Harmonics within 40 dB of the fundamental, below 10 kHz.
            for (int k = 1; k < 100; ++k) {
                const double level = powerAt(normal, 16384, 100.0 * k);
                if (level < 1e-4 * fundamental) continue;
                EXPECT_NEAR(10 * std::log10(powerAt(raised, 16384, 100.0 * k) / level), 0.0, 0.3)
                    << "type " << type << ", setting " << static_cast<int>(setting) << ", harmonic " << k;
            }
        }
    }
}

TEST(Oversampling, SwitchingWhilePlayingStaysFiniteAndKeepsTheOtherState) {
    // PFilter off and no Saturation3: back at Normal, nothing the raised rate
    // touched is heard, so the output must equal a path that never switched.
    // The plain SSE2 copy of the path must switch to the same bits as the
    // VEX-encoded one (where the processor has it).
    std::mt19937 random(15);
    std::uniform_real_distribution<float> noise(-0.9f, 0.9f);
    std::vector<float> input(40000);
    for (float& x : input) x = noise(random);
    input[20000] = std::numeric_limits<float>::quiet_NaN();
    Effect steady(0.7f, kHardClip, Oversampling::Normal), switching(0.7f, kHardClip, Oversampling::Normal),
        plain(0.7f, kHardClip, Oversampling::Normal);
    for (Effect* e : {&steady, &switching, &plain}) e->values[kPFilter] = 0.0f;
    plain.processor->useVexEncoding(false);
    std::uniform_int_distribution<int> blockSize(1, 700), setting(0, 3);
    size_t done = 0;
    for (int call = 0; done < input.size(); ++call) {
        const size_t n = std::min<size_t>(blockSize(random), input.size() - done);
        if (call % 7 == 3) {  // a parameter move both paths see
            const float gain = noise(random) + 0.5f, type = 0.6f + 0.1f * noise(random);
            for (Effect* e : {&steady, &switching, &plain}) {
                e->values[kGain2] = gain;
                e->values[kType3] = type;
            }
        }
        const bool last = done + n + 3000 >= input.size();
        const auto rate = last ? Oversampling::Normal : static_cast<Oversampling>(setting(random));
        switching.processor->setOversampling(rate);
        plain.processor->setOversampling(rate);
        const std::vector<float> chunk(input.begin() + done, input.begin() + done + n);
        const auto a = steady.run(chunk), b = switching.run(chunk), c = plain.run(chunk);
        for (size_t i = 0; i < n; ++i) {
            const bool nanWindow = done + i >= 20000 && done + i < 20000 + 64 + 128;
            if (!nanWindow) {
                ASSERT_TRUE(std::isfinite(b[i])) << "frame " << done + i;
            }
            if (last) {
                ASSERT_EQ(a[i], b[i]) << "frame " << done + i;
            }
            ASSERT_TRUE(b[i] == c[i] || (std::isnan(b[i]) && std::isnan(c[i]))) << "frame " << done + i;
        }
        done += n;
    }
    for (int b = 0; b < 3; ++b) {
        EXPECT_EQ(steady.processor->getBandGain(b), switching.processor->getBandGain(b));
        EXPECT_EQ(steady.processor->getBandLevel(b), switching.processor->getBandLevel(b));
    }
}

}  // namespace
