// Mix and bypass on the effect's core, as the LV2 and CLAP plug-ins run it:
// the dry signal shares the wet one's phase at every Quality, a sweep of
// Mix or a bypass switch makes no step beyond the signals' own, and leaving
// either lands exactly on the output that was never mixed or bypassed (at a
// raised Quality, Mix once the lowering resamplers have let its ramp through).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "core/effect_core.h"

namespace {

constexpr double kRate = 48000.0;

std::unique_ptr<EffectCore> makeCore(Oversampling quality) {
    auto core = std::make_unique<EffectCore>();
    core->setSampleRate(static_cast<float>(kRate));
    core->setOversampling(quality);
    return core;
}

// Unity drive into HardClip on every band, no post filter: at -30 dBFS the
// effect is a linear filter, the crossover sum through the resamplers.
void setClean(EffectCore& core, float cross1, float cross2) {
    ParameterValues& values = core.parameters();
    values.set(kCross2, cross2);
    values.set(kCross1, cross1);
    values.set(kPFilter, 0.0f);
    for (int band = 0; band < 3; ++band) {
        values.set(kGain1 + band, 0.25f);
        values.set(kType1 + band, 0.5f);
    }
}

struct Stereo {
    std::vector<float> left, right;
};

Stereo render(EffectCore& core, const std::vector<float>& input, int block = 256) {
    Stereo out{std::vector<float>(input.size()), std::vector<float>(input.size())};
    for (size_t done = 0; done < input.size(); done += static_cast<size_t>(block)) {
        const int32_t n = static_cast<int32_t>(std::min<size_t>(static_cast<size_t>(block), input.size() - done));
        float* in[2] = {const_cast<float*>(&input[done]), const_cast<float*>(&input[done])};
        float* out2[2] = {&out.left[done], &out.right[done]};
        core.processReplacing(in, out2, n);
    }
    return out;
}

std::vector<float> sine(double frequency, double amplitude, size_t frames) {
    std::vector<float> samples(frames);
    for (size_t i = 0; i < frames; ++i) samples[i] = static_cast<float>(amplitude * std::sin(2 * M_PI * frequency * i / kRate));
    return samples;
}

double rmsFrom(const std::vector<float>& samples, size_t from) {
    double sum = 0.0;
    for (size_t i = from; i < samples.size(); ++i) sum += double(samples[i]) * samples[i];
    return std::sqrt(sum / double(samples.size() - from));
}

float largestStep(const std::vector<float>& samples, size_t from, size_t to) {
    float largest = 0.0f;
    for (size_t i = from + 1; i < to; ++i) largest = std::max(largest, std::abs(samples[i] - samples[i - 1]));
    return largest;
}

TEST(MixAndBypass, MixKeepsTheMagnitudeResponseWithinHalfADecibelAtEveryQuality) {
    const float crossovers[][2] = {{0.5f, 0.5f}, {0.25f, 0.8f}};
    for (int quality = 0; quality <= 3; ++quality) {
        for (const auto& cross : crossovers) {
            for (double frequency = 20.0; frequency <= 20000.0; frequency *= 1.5) {
                const std::vector<float> input = sine(frequency, 0.0316 * std::sqrt(2.0), 8192);
                double levels[3];
                const float mixes[] = {1.0f, 0.5f, 0.0f};
                for (int m = 0; m < 3; ++m) {
                    auto core = makeCore(static_cast<Oversampling>(quality));
                    setClean(*core, cross[0], cross[1]);
                    core->setMix(mixes[m]);
                    levels[m] = rmsFrom(render(*core, input).left, 4096);
                }
                for (int m = 1; m < 3; ++m)
                    EXPECT_NEAR(20.0 * std::log10(levels[m] / levels[0]), 0.0, 0.5)
                        << "Quality " << quality << ", " << frequency << " Hz, crossovers " << cross[0] << " and "
                        << cross[1] << ", Mix " << mixes[m];
            }
        }
    }
}

// Whatever the levels, master, post filters and curves, Mix 0 % is the
// dry signal alone and Mix 50 % lies halfway between it and the effect
// alone, at every Quality (a raised Quality carries the dry in band 3's
// lane, weighted to undo band 3's level and the master).
TEST(MixAndBypass, MixBlendsTheEffectAloneAndTheDryLinearlyWhateverTheSettings) {
    const std::vector<float> input = sine(330.0, 0.5, 8192);
    for (int quality = 0; quality <= 3; ++quality) {
        SCOPED_TRACE(quality);
        auto renderAt = [&](float mix, bool shaped) {
            auto core = makeCore(static_cast<Oversampling>(quality));
            ParameterValues& values = core->parameters();
            if (shaped) {
                const float settings[][2] = {{kPFilter, 1.0f}, {kGain1, 0.6f}, {kGain3, 0.7f}, {kType3, 0.3f},
                                             {kLevel1, 0.7f},  {kLevel2, 0.0f}, {kLevel3, 0.4f}, {kMaster, 0.6f}};
                for (const auto& setting : settings) values.set(static_cast<int>(setting[0]), setting[1]);
            }
            core->setMix(mix);
            return render(*core, input).left;
        };
        const std::vector<float> wet = renderAt(1.0f, true), dry = renderAt(0.0f, true), half = renderAt(0.5f, true);
        const std::vector<float> plainDry = renderAt(0.0f, false);
        for (size_t i = 256; i < input.size(); ++i) {
            ASSERT_EQ(dry[i], plainDry[i]) << i;
            ASSERT_NEAR(half[i], 0.5f * (wet[i] + dry[i]), 1e-6f) << i;
        }
    }
}

TEST(MixAndBypass, SweepsAndSwitchesStepNoFurtherThanTheSignalsAndReturnExactly) {
    for (const Oversampling quality : {Oversampling::Normal, Oversampling::x4}) {
        SCOPED_TRACE(static_cast<int>(quality));
        const std::vector<float> input = sine(220.0, 0.7, 24576);
        auto drive = [](EffectCore& core) {
            core.parameters().set(kGain1, 0.7f);
            core.parameters().set(kGain2, 0.6f);
            core.parameters().set(kType2, 0.9f);
        };
        auto untouched = makeCore(quality), dryOnly = makeCore(quality), switched = makeCore(quality);
        for (EffectCore* core : {untouched.get(), dryOnly.get(), switched.get()}) drive(*core);
        dryOnly->setMix(0.0f);
        const Stereo wet = render(*untouched, input), dry = render(*dryOnly, input);

        // Mix jumps 1 -> 0 -> 1, bypass on -> off, each at a block start.
        Stereo out{std::vector<float>(input.size()), std::vector<float>(input.size())};
        const int latency = switched->processor().latencyFrames();
        for (size_t done = 0; done < input.size(); done += 256) {
            switched->setMix(done >= 2048 && done < 6144 ? 0.0f : 1.0f);
            switched->setBypassed(done >= 10240 && done < 16384);
            float* in[2] = {const_cast<float*>(&input[done]), const_cast<float*>(&input[done])};
            float* o[2] = {&out.left[done], &out.right[done]};
            switched->processReplacing(in, o, 256);
            EXPECT_EQ(switched->processor().latencyFrames(), latency);
        }
        const float ownSteps = std::max({largestStep(wet.left, 0, input.size()), largestStep(dry.left, 0, input.size()),
                                         largestStep(input, 0, input.size())});
        // A ramp adds at most its step times the distance between the signals.
        EXPECT_LE(largestStep(out.left, 1, out.left.size()), ownSteps + 2.0f / 64.0f);
        // Bypassed, once the fade is done: the input, exactly as late as the effect.
        for (size_t i = 10240 + 512; i < 16384; ++i) ASSERT_EQ(out.left[i], input[i - latency]) << i;
        // Mix back at 100 % and bypass off: the output never touched, bit for
        // bit. At a raised Quality the dry comes down with band 3, so the
        // ramp's end rings out through the resamplers first (about 5 ms).
        const size_t settled = quality == Oversampling::Normal ? 64 : 512;
        for (size_t i = 6144 + settled; i < 10240; ++i) ASSERT_EQ(out.left[i], wet.left[i]) << i;
        for (size_t i = 16384 + 512; i < input.size(); ++i) ASSERT_EQ(out.left[i], wet.left[i]) << i;
    }
}

}  // namespace
