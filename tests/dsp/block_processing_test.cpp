#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "vst2/distortion_effect.h"
#include "reference_model.h"

namespace {

VstIntPtr VST_CALLBACK silentHost(AEffect*, int32_t opcode, int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

struct Stereo {
    std::vector<float> left, right;
    explicit Stereo(int frames, float fill = 0.0f) : left(frames, fill), right(frames, fill) {}
    float* l() { return left.data(); }
    float* r() { return right.data(); }
};

// Sines across the spectrum plus a little deterministic noise.
Stereo testSignal(int frames, double rate = 44100.0) {
    Stereo s(frames);
    unsigned seed = 12345;
    for (int n = 0; n < frames; ++n) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = (static_cast<int>(seed >> 9) / double(1 << 23) - 0.5) * 0.1;
        const double t = n / rate;
        s.left[n] = static_cast<float>(0.5 * std::sin(2 * M_PI * 110 * t) + 0.25 * std::sin(2 * M_PI * 1500 * t) +
                                       0.15 * std::sin(2 * M_PI * 7000 * t) + noise);
        s.right[n] = static_cast<float>(0.4 * std::sin(2 * M_PI * 220 * t) + 0.3 * std::sin(2 * M_PI * 3100 * t) +
                                        noise);
    }
    return s;
}

class Effect {
public:
    DistortionEffect effect{silentHost};
    void set(int index, float value) { effect.setParameter(index, value); }
    void replace(Stereo& in, Stereo& out, int offset, int frames) {
        float* ins[2] = {in.l() + offset, in.r() + offset};
        float* outs[2] = {out.l() + offset, out.r() + offset};
        effect.processReplacing(ins, outs, frames);
    }
};

}  // namespace

// Every routing, with parameter changes between calls of awkward sizes,
// matches the plain model sample by sample.
TEST(BlockProcessing, EveryRoutingMatchesThePlainModel) {
    const int blocks[] = {100, 37, 64, 1, 130, 250, 7, 512};
    int total = 0;
    for (int b : blocks) total += b;
    Stereo input = testSignal(total);
    for (int routing = 0; routing < 16; ++routing) {
        Effect effect;
        ReferenceModel model;
        Stereo out(total), expected(total);
        int offset = 0, call = 0;
        for (int frames : blocks) {
            // Parameters: all curves but the random one, solo bits from the routing.
            const float values[19] = {0.3f + 0.05f * call, 0.7f - 0.03f * call, routing & 8 ? 1.0f : 0.2f,
                                      routing & 1 ? 0.9f : 0.1f, routing & 2 ? 0.9f : 0.5f, routing & 4 ? 0.9f : 0.0f,
                                      0.2f + 0.1f * call, 0.5f, 0.8f, 0.25f + 0.05f * call, 0.6f, 0.4f,
                                      float(call % 6) / 6.0f + 0.01f, 0.4f, 0.9f,
                                      1.0f - 0.1f * call, 0.7f, 0.8f, 0.9f};
            for (int i = 0; i < 19; ++i) effect.set(i, values[i]);
            for (int i = 0; i < 19; ++i) model.params[i] = effect.effect.getParameter(i);
            effect.replace(input, out, offset, frames);
            model.run(input.l() + offset, input.r() + offset, expected.l() + offset, expected.r() + offset, frames, false);
            offset += frames;
            ++call;
        }
        for (int n = 0; n < total; ++n) {
            ASSERT_NEAR(out.left[n], expected.left[n], 1e-6) << "routing " << routing << " frame " << n;
            ASSERT_NEAR(out.right[n], expected.right[n], 1e-6) << "routing " << routing << " frame " << n;
        }
    }
}

TEST(BlockProcessing, AccumulatingAddsExactlyWhatReplacingStores) {
    Stereo input = testSignal(300);
    Effect a, b;
    a.set(kGain1, 0.6f);
    b.set(kGain1, 0.6f);
    Stereo replaced(300), accumulated(300, 0.25f);
    float* ins[2] = {input.l(), input.r()};
    float* outA[2] = {replaced.l(), replaced.r()};
    float* outB[2] = {accumulated.l(), accumulated.r()};
    a.effect.processReplacing(ins, outA, 300);
    b.effect.process(ins, outB, 300);
    for (int n = 0; n < 300; ++n) {
        EXPECT_FLOAT_EQ(accumulated.left[n], 0.25f + replaced.left[n]);
        EXPECT_FLOAT_EQ(accumulated.right[n], 0.25f + replaced.right[n]);
    }
}

TEST(BlockProcessing, InPlaceBuffersGiveTheSameResult) {
    Stereo input = testSignal(200);
    Stereo inPlace = input;
    Effect a, b;
    Stereo separate(200);
    a.replace(input, separate, 0, 200);
    float* io[2] = {inPlace.l(), inPlace.r()};
    b.effect.processReplacing(io, io, 200);
    EXPECT_EQ(inPlace.left, separate.left);
    EXPECT_EQ(inPlace.right, separate.right);
}

TEST(BlockProcessing, ZeroNegativeCountsAndNullBuffersChangeNothing) {
    Stereo input = testSignal(128);
    Effect touched, fresh;
    Stereo out(128, 7.0f);
    float* ins[2] = {input.l(), input.r()};
    float* outs[2] = {out.l(), out.r()};
    touched.effect.processReplacing(ins, outs, 0);
    touched.effect.processReplacing(ins, outs, -5);
    touched.effect.process(ins, outs, -1);
    touched.effect.processReplacing(nullptr, outs, 64);
    touched.effect.processReplacing(ins, nullptr, 64);
    float* halfNull[2] = {out.l(), nullptr};
    touched.effect.processReplacing(ins, halfNull, 64);
    for (float v : out.left) ASSERT_EQ(v, 7.0f);

    Stereo a(128), b(128);
    touched.replace(input, a, 0, 128);
    fresh.replace(input, b, 0, 128);
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.right, b.right);
}

TEST(BlockProcessing, RampsReachTheirTargetAtTheEndOfAFullSubBlock) {
    Effect effect;
    const DistortionProcessor& state = effect.effect.getProcessor();
    Stereo input = testSignal(64), out(64);
    EXPECT_EQ(state.getBandGain(0), 0.0);

    // The very first frame is shaped with 1/64 of the drive target.
    effect.replace(input, out, 0, 1);
    EXPECT_NEAR(state.getBandGain(0), 0.1 / 64.0, 1e-15);

    Effect master;
    master.set(kMaster, 0.0f);
    master.replace(input, out, 0, 64);
    EXPECT_NEAR(master.effect.getProcessor().getMasterLevel(), 0.0, 1e-15);
    EXPECT_NE(out.left[62], 0.0f);
    EXPECT_NEAR(out.left[63], 0.0f, 1e-12);

    // Calls of 16 frames close a quarter of the remaining distance each.
    Effect level;
    level.set(kLevel1, 0.0f);
    for (int call = 1; call <= 3; ++call) {
        level.replace(input, out, 0, 16);
        EXPECT_NEAR(level.effect.getProcessor().getBandLevel(0), std::pow(0.75, call), 1e-12) << call;
    }
}

TEST(BlockProcessing, SoloRoutingAndPolarity) {
    const int frames = 4096;
    // A tone far above both crossovers, clipped linearly (HardClip at unity drive).
    Stereo input(frames);
    for (int n = 0; n < frames; ++n) input.left[n] = input.right[n] = 0.3f * std::sin(2 * M_PI * 12000.0 * n / 44100.0);
    auto render = [&](bool solo3, bool allSolo) {
        Effect e;
        for (int b = 0; b < 3; ++b) {
            e.set(kType1 + b, 0.55f);
            e.set(kGain1 + b, 0.25f);
        }
        e.set(kLevel1, 0.0f);
        e.set(kLevel2, 0.0f);
        if (solo3) e.set(kSolo3, 1.0f);
        if (allSolo) e.set(kSolo1, 1.0f), e.set(kSolo2, 1.0f), e.set(kSolo3, 1.0f);
        Stereo out(frames);
        e.replace(input, out, 0, frames);
        return out;
    };
    Stereo full = render(false, false), soloed = render(true, false), everySolo = render(false, true);
    double correlation = 0.0, energy = 0.0;
    for (int n = 2048; n < frames; ++n) {
        correlation += full.left[n] * soloed.left[n];
        energy += full.left[n] * full.left[n];
    }
    EXPECT_GT(energy, 1.0);
    EXPECT_LT(correlation / energy, -0.9);  // band 3 alone is split from the input: inverted
    EXPECT_EQ(full.left, everySolo.left);
}

TEST(BlockProcessing, SilenceGivesOnlyAVanishingOffsetSignal) {
    Effect effect;
    Stereo input(4096), out(4096);
    effect.replace(input, out, 0, 4096);
    float peak = 0.0f;
    for (float v : out.left) peak = std::max(peak, std::fabs(v));
    EXPECT_GT(peak, 0.0f);
    EXPECT_LT(peak, 1e-17f);
}

TEST(BlockProcessing, LowAndInvalidSampleRatesStayFiniteForExtremeSettings) {
    const int frames = 8192;
    for (float rate : {8000.0f, 11025.0f, 22050.0f, 32000.0f, 0.0f, -1.0f, NAN}) {
        for (float setting : {0.0f, 1.0f}) {
            Effect effect;
            effect.effect.setSampleRate(rate);
            for (int i = 0; i < 19; ++i) effect.set(i, setting);
            effect.set(kSolo1, 0.0f);
            effect.set(kType1, 0.55f);
            Stereo input = testSignal(frames, 8000.0), out(frames);
            effect.replace(input, out, 0, frames);
            for (int n = 0; n < frames; ++n) {
                ASSERT_TRUE(std::isfinite(out.left[n]) && std::fabs(out.left[n]) < 10.0f)
                    << "rate " << rate << " setting " << setting << " frame " << n;
            }
        }
    }
}

TEST(BlockProcessing, NonFiniteParameterValuesDoNotPoisonTheState) {
    Effect effect;
    Stereo input = testSignal(512), out(512);
    effect.set(kGain1, NAN);
    effect.set(kMaster, INFINITY);
    effect.replace(input, out, 0, 256);
    effect.set(kGain1, 0.3f);
    effect.set(kMaster, 1.0f);
    effect.replace(input, out, 256, 256);
    for (int n = 256; n < 512; ++n) ASSERT_TRUE(std::isfinite(out.left[n])) << n;
}
