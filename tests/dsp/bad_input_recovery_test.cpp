// A host may feed non-finite samples, store any float as a parameter and set
// any sample rate. None of it may silence the effect for good or leave it
// writing infinities.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <vector>

#include "vst2/distortion_effect.h"
#include "reference_model.h"

namespace {

VstIntPtr VST_CALLBACK silentHost(AEffect*, int32_t opcode, int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

struct Render {
    DistortionEffect effect{silentHost};
    std::vector<float> left, right;

    // Runs frames of a two-tone signal (starting at frame `start` of it) and
    // keeps the output.
    void run(int frames, int start = 0, float poison = 0.0f, int poisonAt = -1) {
        std::vector<float> inL(frames), inR(frames);
        for (int n = 0; n < frames; ++n) {
            const double t = (start + n) / 44100.0;
            inL[n] = static_cast<float>(0.5 * std::sin(2 * M_PI * 150 * t) + 0.3 * std::sin(2 * M_PI * 5000 * t));
            inR[n] = static_cast<float>(0.4 * std::sin(2 * M_PI * 900 * t));
        }
        if (poisonAt >= 0) inL[poisonAt] = inR[poisonAt] = poison;
        left.assign(frames, 0.0f);
        right.assign(frames, 0.0f);
        float* ins[2] = {inL.data(), inR.data()};
        float* outs[2] = {left.data(), right.data()};
        effect.processReplacing(ins, outs, frames);
    }
    double energy(int from) const {
        double e = 0.0;
        for (size_t n = from; n < left.size(); ++n) e += double(left[n]) * left[n] + double(right[n]) * right[n];
        return e;
    }
    bool finiteFrom(int from) const {
        for (size_t n = from; n < left.size(); ++n)
            if (!std::isfinite(left[n]) || !std::isfinite(right[n])) return false;
        return true;
    }
};

}  // namespace

// One bad sample in the middle of a call: within 64 frames the output is
// finite again and carries sound, for every curve and with and without the
// post filters, in calls of several sizes.
TEST(BadInputRecovery, NonFiniteSamplesDisturbAtMostOneSubBlock) {
    for (float poison : {NAN, INFINITY, -INFINITY}) {
        for (int type = 0; type < 7; ++type) {
            for (float pfilter : {0.0f, 1.0f}) {
                for (int block : {1, 64, 100, 512}) {
                    Render r;
                    for (int b = 0; b < 3; ++b) {
                        r.effect.setParameter(kType1 + b, type / 6.0f + 0.01f);
                        r.effect.setParameter(kGain1 + b, 0.4f);
                    }
                    r.effect.setParameter(kPFilter, pfilter);
                    const int poisonAt = 10;
                    std::vector<float> all;
                    for (int start = 0; start < 2048; start += block) {
                        r.run(block, start, poison, start <= poisonAt && poisonAt < start + block ? poisonAt - start : -1);
                        all.insert(all.end(), r.left.begin(), r.left.end());
                    }
                    bool finiteAfter = true;
                    double energyAfter = 0.0;
                    for (size_t n = poisonAt + 64; n < all.size(); ++n) {
                        finiteAfter = finiteAfter && std::isfinite(all[n]);
                        energyAfter += double(all[n]) * all[n];
                    }
                    EXPECT_TRUE(finiteAfter) << poison << " type " << type << " pfilter " << pfilter << " block " << block;
                    EXPECT_GT(energyAfter, 1.0) << poison << " type " << type << " pfilter " << pfilter << " block " << block;
                }
            }
        }
    }
}

// Gains, levels and master far beyond 1 (finite or not) and then back in
// range: the sound returns exactly as if the bad value had never been there
// once the ramps have settled.
TEST(BadInputRecovery, OutOfRangeValuesDoNotPoisonTheRamps) {
    const int cases[][2] = {{kGain1, 0}, {kGain2, 0}, {kLevel1, 0}, {kLevel3, 0}, {kMaster, 0}, {kBalance2, 0}};
    for (const auto& c : cases) {
        for (float bad : {80.0f, 160.0f, 1e30f, -1e30f, INFINITY, -INFINITY, NAN}) {
            Render poisoned, clean;
            poisoned.effect.setParameter(c[0], bad);
            poisoned.run(256);
            EXPECT_TRUE(poisoned.finiteFrom(0)) << c[0] << " = " << bad;
            poisoned.effect.setParameter(c[0], DistortionEffect::kDefaults[c[0]]);
            poisoned.run(4096, 256);
            clean.run(256);
            clean.run(4096, 256);
            ASSERT_TRUE(poisoned.finiteFrom(0)) << c[0] << " = " << bad;
            EXPECT_GT(poisoned.energy(2048), 0.1 * clean.energy(2048)) << c[0] << " = " << bad;
        }
    }
}

// Finite values whose law stays finite are still followed as they are; only a
// result that is not finite falls back to the nearest end of the range.
TEST(BadInputRecovery, FiniteLawResultsAreKeptAndOverflowFallsBackToTheRangeEnd) {
    Render overflow, top;
    overflow.effect.setParameter(kGain1, 100.0f);  // drive would be infinite
    top.effect.setParameter(kGain1, 1.0f);
    overflow.run(512);
    top.run(512);
    EXPECT_EQ(overflow.left, top.left);
    EXPECT_EQ(overflow.right, top.right);

    // A level of 120 is finite (about 1e240): the product with Master 120
    // overflows the float range and the host gets the largest float instead.
    Render loud;
    loud.effect.setParameter(kLevel1, 120.0f);
    loud.effect.setParameter(kMaster, 120.0f);
    loud.run(512);
    ASSERT_TRUE(loud.finiteFrom(0));
    float peak = 0.0f;
    for (float v : loud.left) peak = std::max(peak, std::fabs(v));
    EXPECT_EQ(peak, FLT_MAX);
}

// The balance laws compare the value with 0.5, which is safe for NaN: both
// comparisons fail and both sides stay at full gain, as at the centre.
TEST(BadInputRecovery, NaNBalanceActsAsTheCentre) {
    Render nan, centre;
    for (int b = 0; b < 3; ++b) nan.effect.setParameter(kBalance1 + b, NAN);
    nan.run(1024);
    centre.run(1024);
    EXPECT_EQ(nan.left, centre.left);
    EXPECT_EQ(nan.right, centre.right);
}

// Any positive finite sample rate is used as given; only rates that are not
// finite or not above zero fall back to 44100 Hz.
TEST(BadInputRecovery, LowPositiveSampleRatesAreUsedAsGiven) {
    for (float rate : {1.0f, 500.0f, 999.0f, 0.0f, -5.0f, NAN, INFINITY}) {
        Render r;
        r.effect.setSampleRate(rate);
        r.effect.setParameter(kGain2, 0.5f);
        r.run(700);
        ReferenceModel model;
        model.sampleRate = (std::isfinite(rate) && rate > 0.0f) ? rate : 44100.0;
        model.params[kGain2] = 0.5f;
        std::vector<float> inL(700), inR(700), outL(700), outR(700);
        for (int n = 0; n < 700; ++n) {
            const double t = n / 44100.0;
            inL[n] = static_cast<float>(0.5 * std::sin(2 * M_PI * 150 * t) + 0.3 * std::sin(2 * M_PI * 5000 * t));
            inR[n] = static_cast<float>(0.4 * std::sin(2 * M_PI * 900 * t));
        }
        model.run(inL.data(), inR.data(), outL.data(), outR.data(), 700, false);
        for (int n = 0; n < 700; ++n) {
            ASSERT_TRUE(std::isfinite(r.left[n])) << rate;
            ASSERT_NEAR(r.left[n], outL[n], 1e-6) << "rate " << rate << " frame " << n;
            ASSERT_NEAR(r.right[n], outR[n], 1e-6) << "rate " << rate << " frame " << n;
        }
    }
}
