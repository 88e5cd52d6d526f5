// Shaping at a raised rate: the resampling filters meet their response, the
// reported latency is the delay of low frequencies, the aliases fall while
// the harmonics stay, and switching the setting while audio runs stays
// finite and leaves the rest of the path's state alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <complex>
#include <memory>
#include <random>
#include <set>
#include <vector>

#include "dsp/band_oversampler.h"
#include "dsp/distortion_processor.h"
#include "dsp/half_band_design.h"
#include "tests/support/low_frequency_delay.h"

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

constexpr Oversampling kRaised[3] = {Oversampling::x2, Oversampling::x4, Oversampling::x8};

// The half-band filters' response from their designed coefficients:
// H = (A0(z^2) + z^-1 A1(z^2)) / 2 at f cycles per sample of the higher rate.
double halfBandGainDb(const HalfBandDesign& design, double f) {
    const std::complex<double> z1 = std::polar(1.0, -2.0 * kPi * f), z2 = z1 * z1;
    std::complex<double> chain[2] = {1.0, 1.0};
    for (int i = 0; i < design.count; ++i) {
        const double a = design.coefficients[i];
        chain[i % 2] *= (a + z2) / (1.0 + a * z2);
    }
    return 20.0 * std::log10(std::abs(0.5 * (chain[0] + z1 * chain[1])));
}

TEST(Oversampling, EveryStageRejects90DbAndKeepsThePassbandFlat) {
    for (int stage = 0; stage < kHalfBandStages; ++stage) {
        const HalfBandDesign& design = halfBandDesign(stage);
        // Edges as fractions of the stage's higher rate (2, 4, 8 x host).
        const double higher = 2.0 * (1 << stage);
        const double pass = stage == 0 ? kPassbandEdge / higher : kStopbandEdge / higher;
        for (int i = 0; i <= 4000; ++i) {
            const double f = pass * i / 4000.0;
            ASSERT_NEAR(halfBandGainDb(design, f), 0.0, 0.001) << "stage " << stage << ", f " << f;
            const double stop = 0.5 - pass + (pass * i / 4000.0);
            ASSERT_LT(halfBandGainDb(design, stop), -90.0) << "stage " << stage << ", f " << stop;
        }
    }
}

TEST(Oversampling, ReportedLatencyIsTheDelayOfLowFrequencies) {
    // A smooth pulse (all its energy below 400 Hz) at drive 1 through
    // HardClip, which passes it unchanged. Its delay against Normal, to a
    // fraction of a frame by the peak of the cross-correlation, must round to
    // the reported latency and equal the designs' low-frequency delay.
    const std::vector<float> pulse = smoothPulse(4096, 1000, 256, 0.5f);
    const auto normal = Effect(0.25f, kHardClip, Oversampling::Normal).run(pulse);
    for (Oversampling setting : kRaised) {
        for (int block : {512, 37}) {
            const auto raised = Effect(0.25f, kHardClip, setting).run(pulse, block);
            const double delay = lowFrequencyDelay(normal, raised, 20);
            const int factor = oversamplingFactor(setting);
            EXPECT_NEAR(delay, BandOversampler::lowFrequencyDelayFrames(factor), 0.02) << "factor " << factor;
            EXPECT_NEAR(delay, DistortionProcessor::latencyFrames(setting), 0.5) << "factor " << factor;
        }
    }
    EXPECT_EQ(DistortionProcessor::latencyFrames(Oversampling::Normal), 0);
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
    // The SSE2 copy of the path must switch to the same bits as the AVX one
    // (where the processor has it).
    std::mt19937 random(15);
    std::uniform_real_distribution<float> noise(-0.9f, 0.9f);
    std::vector<float> input(40000);
    for (float& x : input) x = noise(random);
    input[20000] = std::numeric_limits<float>::quiet_NaN();
    Effect steady(0.7f, kHardClip, Oversampling::Normal), switching(0.7f, kHardClip, Oversampling::Normal),
        plain(0.7f, kHardClip, Oversampling::Normal);
    for (Effect* e : {&steady, &switching, &plain}) e->values[kPFilter] = 0.0f;
    plain.processor->useAudioPath(AudioPath::Sse2);
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
