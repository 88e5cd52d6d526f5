// Both compiled copies of the paired audio path (SSE2 and AVX) against the
// plain one-channel path, bit for bit: random parameters (in range, out of
// range, non-finite) every few calls, random block sizes from 1 to 4096, both
// callbacks, in-place buffers, every routing, every curve, odd sample rates
// and hostile input, and Mix below 100 % with its ramps. At the raised
// shaping rates, which the plain path does not have, the AVX copy is held to
// the SSE2 copy the same way.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "dsp/distortion_processor.h"
#include "dsp/reference/scalar_distortion_processor.h"

namespace {

constexpr float kDefaults[kNumParameters] = {0.5f, 0.5f, 1.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.5f, 0.5f, 0.0f,
                                             0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f};
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

uint32_t bitsOf(float v) {
    uint32_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// Bits must match; two NaNs count as equal (which NaN payload an addition
// propagates depends on operand order the compiler may swap).
bool sameSample(float a, float b) { return bitsOf(a) == bitsOf(b) || (std::isnan(a) && std::isnan(b)); }

struct Knobs {
    bool hostileValues = false;  // out-of-range and non-finite parameter values
    bool hostileInput = false;   // huge, non-finite and denormal samples
    bool oddRates = false;       // sample rates the host should not send
    int fixedRouting = -1;       // solo bits 0..7 and PFilter bit 8, or random
    AudioPath copy = AudioPath::Sse2;  // the copy under test (AVX where the processor has it)
    Oversampling rate = Oversampling::Normal;
    bool alternateCopies = false;  // the copy under test changes between calls
    bool mix = false;              // the replacing calls go through Mix, often below 100 % and ramping
};

constexpr AudioPath kCopies[] = {AudioPath::Sse2, AudioPath::Avx};

// The copy under test against Reference: the plain path at Normal, the SSE2
// copy at a raised rate.
template <typename Reference>
class PairedVersus {
public:
    explicit PairedVersus(uint32_t seed, Knobs knobs) : random(seed), knobs(knobs) {
        for (int i = 0; i < kNumParameters; ++i) values[i] = kDefaults[i];
        paired.useAudioPath(knobs.copy);
        paired.setOversampling(knobs.rate);
        if constexpr (std::is_same_v<Reference, DistortionProcessor>) {
            scalar.useAudioPath(AudioPath::Sse2);
            scalar.setOversampling(knobs.rate);
        }
    }

    // Runs `calls` callbacks and reports the first difference, if any.
    ::testing::AssertionResult run(int calls) {
        for (int call = 0; call < calls; ++call) {
            if (call % 3 == 0) randomizeParameters();
            if (knobs.oddRates && call % 17 == 0) randomizeRate();
            if (knobs.alternateCopies) paired.useAudioPath(coin(0.5) ? AudioPath::Avx : AudioPath::Sse2);
            const int frames = blockSize();
            makeInput(frames);
            const bool accumulate = coin(0.3);
            const bool inPlace = coin(0.3);
            // Accumulating starts from whatever the output holds; give both the same.
            for (int n = 0; n < frames; ++n) {
                scalarOutL[n] = pairedOutL[n] = accumulate ? inL[n] * 0.5f : 99.0f;
                scalarOutR[n] = pairedOutR[n] = accumulate ? inR[n] * -0.25f : 99.0f;
            }
            // In place, each path reads its input from the buffer it writes.
            if (inPlace) scalarOutL = inL, scalarOutR = inR, pairedOutL = inL, pairedOutR = inR;
            float* scalarIn[2] = {scalarOutL.data(), scalarOutR.data()};
            float* pairedIn[2] = {pairedOutL.data(), pairedOutR.data()};
            float* separateIn[2] = {inL.data(), inR.data()};
            float* scalarOut[2] = {scalarOutL.data(), scalarOutR.data()};
            float* pairedOut[2] = {pairedOutL.data(), pairedOutR.data()};
            float* const* sIn = inPlace ? scalarIn : separateIn;
            float* const* pIn = inPlace ? pairedIn : separateIn;
            if (accumulate) {
                scalar.processAccumulating(sIn, scalarOut, frames);
                paired.processAccumulating(pIn, pairedOut, frames);
            } else if (knobs.mix) {
                if constexpr (std::is_same_v<Reference, DistortionProcessor>)
                    scalar.processMixed(sIn, scalarOut, frames, mixShare, false);
                else
                    mixStarted ? scalar.setMix(mixShare) : scalar.startMixAt(mixShare);
                mixStarted = true;
                if constexpr (!std::is_same_v<Reference, DistortionProcessor>)
                    scalar.processReplacing(sIn, scalarOut, frames);
                paired.processMixed(pIn, pairedOut, frames, mixShare, false);
            } else {
                scalar.processReplacing(sIn, scalarOut, frames);
                paired.processReplacing(pIn, pairedOut, frames);
            }
            for (int n = 0; n < frames; ++n) {
                if (!sameSample(scalarOutL[n], pairedOutL[n]) || !sameSample(scalarOutR[n], pairedOutR[n])) {
                    return ::testing::AssertionFailure()
                           << "call " << call << " (" << frames << " frames, " << (accumulate ? "process" : "replacing")
                           << (inPlace ? ", in place" : "") << ") frame " << n << ": scalar " << scalarOutL[n] << "/"
                           << scalarOutR[n] << ", paired " << pairedOutL[n] << "/" << pairedOutR[n] << describe();
                }
            }
            for (int b = 0; b < 3; ++b) {
                if (!sameRamp(scalar.getBandGain(b), paired.getBandGain(b)) ||
                    !sameRamp(scalar.getBandLevel(b), paired.getBandLevel(b)) ||
                    !sameRamp(scalar.getLeftGain(b), paired.getLeftGain(b)) ||
                    !sameRamp(scalar.getRightGain(b), paired.getRightGain(b)))
                    return ::testing::AssertionFailure() << "ramps of band " << b + 1 << " after call " << call;
            }
            if (!sameRamp(scalar.getMasterLevel(), paired.getMasterLevel()))
                return ::testing::AssertionFailure() << "master ramp after call " << call;
        }
        return ::testing::AssertionSuccess();
    }

private:
    static bool sameRamp(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

    bool coin(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(random) < p; }
    float uniform(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(random); }
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); }

    int blockSize() {
        switch (pick(0, 5)) {
            case 0: return pick(1, 8);     // Type and ramps change within a sub-block
            case 1: return 64;
            case 2: return pick(9, 130);
            case 3: return pick(1, 64);
            case 4: return pick(131, 700);
            default: return coin(0.2) ? 4096 : pick(1, 512);
        }
    }

    float parameterValue() {
        if (knobs.hostileValues && coin(0.15)) {
            const float hostile[] = {kNaN, kInf, -kInf, -0.0f, -0.5f, 1.5f, 77.0f, 78.0f, 1e30f, -1e30f, 3.0f};
            return hostile[pick(0, 10)];
        }
        return uniform(0.0f, 1.0f);
    }

    float typeValue() {
        // Every curve, the exact thresholds, and now and then "Crackler".
        const float exact[] = {0.0f, 0.1666f, 0.3333f, 0.5f, 0.6666f, 0.8333f, 0.9999f, 1.0f, 0.99995f};
        switch (pick(0, 3)) {
            case 0: return exact[pick(0, 8)];
            case 1: return std::nextafter(exact[pick(1, 6)], 0.0f);
            default: return parameterValue();
        }
    }

    void randomizeParameters() {
        for (int i = 0; i < kNumParameters; ++i) {
            if (!coin(0.4)) continue;  // some values keep their bits (exercises the caches)
            switch (i) {
                case kType1:
                case kType2:
                case kType3: values[i] = typeValue(); break;
                case kGain1:
                case kGain2:
                case kGain3: values[i] = coin(0.5) ? uniform(0.5f, 0.9f) : parameterValue(); break;
                case kSolo1:
                case kSolo2:
                case kSolo3:
                case kPFilter: values[i] = coin(0.5) ? (coin(0.5) ? 1.0f : 0.0f) : parameterValue(); break;
                default: values[i] = parameterValue();
            }
        }
        const double shares[] = {1.0, 0.0, 0.5, 1.0, uniform(0.0f, 1.0f)};
        mixShare = shares[pick(0, 4)];
        if (knobs.fixedRouting >= 0) {
            for (int b = 0; b < 3; ++b) values[kSolo1 + b] = (knobs.fixedRouting >> b) & 1 ? 1.0f : 0.0f;
            values[kPFilter] = knobs.fixedRouting & 8 ? 1.0f : 0.0f;
        }
        // Cross1 <= Cross2 is what the parameter setter keeps.
        const float cross1 = values[kCross1], cross2 = values[kCross2];
        if (cross1 > cross2) values[kCross1] = cross2, values[kCross2] = cross1;
    }

    void randomizeRate() {
        const float rates[] = {44100.0f, 48000.0f, 96000.0f, 8000.0f, 500.0f, 0.0f, -1.0f, kNaN, kInf, 22050.0f};
        rate = rates[pick(0, 9)];
    }

    void makeInput(int frames) {
        inL.resize(frames), inR.resize(frames);
        scalarOutL.assign(frames, 0.0f), scalarOutR.assign(frames, 0.0f);
        pairedOutL.assign(frames, 0.0f), pairedOutR.assign(frames, 0.0f);
        const double amplitude = coin(0.2) ? 0.0 : (coin(0.5) ? 1.0 : 8.0);
        for (int n = 0; n < frames; ++n) {
            phase += 0.013;
            inL[n] = static_cast<float>(amplitude * (std::sin(phase * 7.0) * 0.6 + uniform(-0.4f, 0.4f)));
            inR[n] = static_cast<float>(amplitude * (std::sin(phase * 3.1) * 0.5 + uniform(-0.5f, 0.5f)));
            if (knobs.hostileInput && coin(0.002)) {
                const float hostile[] = {kNaN, kInf, -kInf, 1e38f, -1e38f, 1e-40f, -0.0f, 3e5f};
                (coin(0.5) ? inL : inR)[n] = hostile[pick(0, 7)];
            }
        }
    }

    std::string describe() const {
        std::string text = "\n  parameters:";
        // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on "literal" + std::string.
        for (int i = 0; i < kNumParameters; ++i) {
            text += ' ';
            text += std::to_string(values[i].load());
        }
        text += "\n  rate ";
        text += std::to_string(rate.load());
        return text;
    }

    std::mt19937 random;
    Knobs knobs;
    std::atomic<float> values[kNumParameters];
    std::atomic<float> rate{44100.0f};
    Reference scalar{values, &rate};
    DistortionProcessor paired{values, &rate};
    double phase = 0.0;
    double mixShare = 1.0;
    bool mixStarted = false;
    std::vector<float> inL, inR, scalarOutL, scalarOutR, pairedOutL, pairedOutR;
};

}  // namespace

TEST(PairedPathIdentity, EveryRoutingWithRandomSettingsMatchesBitForBit) {
    for (AudioPath copy : kCopies)
        for (int routing = 0; routing < 16; ++routing) {
            Knobs knobs;
            knobs.fixedRouting = routing;
            knobs.copy = copy;
            PairedVersus<ScalarDistortionProcessor> check(1000u + routing, knobs);
            EXPECT_TRUE(check.run(60)) << "routing " << routing << ", " << audioPathName(copy);
        }
}

TEST(PairedPathIdentity, RandomRoutingsCurvesAndBlockSizesMatchBitForBit) {
    for (AudioPath copy : kCopies)
        for (uint32_t seed = 1; seed <= 6; ++seed) {
            Knobs knobs;
            knobs.copy = copy;
            knobs.mix = seed % 2 == 0;
            PairedVersus<ScalarDistortionProcessor> check(seed, knobs);
            EXPECT_TRUE(check.run(150)) << "seed " << seed << ", " << audioPathName(copy);
        }
}

TEST(PairedPathIdentity, HostileValuesInputsAndSampleRatesMatchBitForBit) {
    for (AudioPath copy : kCopies)
        for (uint32_t seed = 50; seed <= 55; ++seed) {
            Knobs knobs;
            knobs.hostileValues = knobs.hostileInput = knobs.oddRates = true;
            knobs.copy = copy;
            PairedVersus<ScalarDistortionProcessor> check(seed, knobs);
            EXPECT_TRUE(check.run(150)) << "seed " << seed << ", " << audioPathName(copy);
        }
}

TEST(PairedPathIdentity, TheAvxCopyMatchesTheSse2CopyAtEveryRaisedRateAndRouting) {
    for (Oversampling rate : {Oversampling::x2, Oversampling::x4, Oversampling::x8})
        for (int routing = 0; routing < 16; ++routing) {
            Knobs knobs;
            knobs.fixedRouting = routing;
            knobs.hostileValues = knobs.hostileInput = routing % 4 == 0;
            knobs.alternateCopies = routing % 4 == 1;
            knobs.mix = routing % 2 == 0;
            knobs.copy = AudioPath::Avx;
            knobs.rate = rate;
            PairedVersus<DistortionProcessor> check(2000u + routing, knobs);
            EXPECT_TRUE(check.run(25)) << "routing " << routing << ", factor " << oversamplingFactor(rate);
        }
}

// The AVX copy runs wherever the processor and the system support it, a
// request for it elsewhere falls back to SSE2, and the copies may take
// turns within a stream.
TEST(PairedPathIdentity, TheAvxCopyRunsWhereverTheProcessorHasIt) {
    std::atomic<float> values[kNumParameters];
    for (int i = 0; i < kNumParameters; ++i) values[i] = kDefaults[i];
    std::atomic<float> rate{44100.0f};
    DistortionProcessor processor(values, &rate);
    const AudioPath best = processorRunsAvx() ? AudioPath::Avx : AudioPath::Sse2;
    EXPECT_EQ(processor.audioPath(), best);
    processor.useAudioPath(AudioPath::Sse2);
    EXPECT_EQ(processor.audioPath(), AudioPath::Sse2);
    processor.useAudioPath(AudioPath::Avx);
    EXPECT_EQ(processor.audioPath(), best);
    if (!processorRunsAvx()) std::printf("this processor runs the SSE2 copy only\n");
}

// A 32-bit Windows heap aligns to 8 bytes only: the processor must work, and
// give the same bits, at an address that is 8 but not 16 byte aligned.
TEST(PairedPathIdentity, AProcessorOnlyEightByteAlignedStillMatches) {
    std::atomic<float> values[kNumParameters];
    for (int i = 0; i < kNumParameters; ++i) values[i] = kDefaults[i];
    values[kType2] = 0.4f;
    values[kGain2] = 0.7f;
    std::atomic<float> rate{44100.0f};
    alignas(16) static unsigned char memory[sizeof(DistortionProcessor) + 8];
    auto* paired = new (memory + 8) DistortionProcessor(values, &rate);
    ScalarDistortionProcessor scalar(values, &rate);
    std::vector<float> in(300), outPaired(300), outScalar(300);
    for (int n = 0; n < 300; ++n) in[n] = static_cast<float>(std::sin(n * 0.05));
    float* inputs[2] = {in.data(), in.data()};
    float* pairedOut[2] = {outPaired.data(), outPaired.data()};
    float* scalarOut[2] = {outScalar.data(), outScalar.data()};
    paired->processReplacing(inputs, pairedOut, 300);
    scalar.processReplacing(inputs, scalarOut, 300);
    for (int n = 0; n < 300; ++n) ASSERT_EQ(bitsOf(outPaired[n]), bitsOf(outScalar[n])) << n;
    paired->~DistortionProcessor();
}
