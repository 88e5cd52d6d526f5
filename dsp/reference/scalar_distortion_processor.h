// The audio path written plainly, one channel and one frame at a time: two
// cascaded crossovers split each channel into three bands, each band is
// shaped, optionally low-passed again, weighted and summed. The product runs
// the paired (SSE2) DistortionProcessor; this one is the readable oracle the
// tests compare it with bit for bit, and the baseline the benchmarks time.
#pragma once

#include <atomic>
#include <cstdint>

#include "dsp/band_split_filter.h"
#include "dsp/mix_ramp.h"
#include "dsp/parameter_index.h"
#include "dsp/shaper.h"

class ScalarDistortionProcessor {
public:
    static constexpr int kSubBlock = 64;
    static constexpr double kRampStep = 1.0 / kSubBlock;
    static constexpr double kDenormalOffset = 1.0e-18;

    // Reads parameters and sample rate from the owner; both outlive this object.
    ScalarDistortionProcessor(const std::atomic<float>* parameterValues, const std::atomic<float>* sampleRate);

    // Replaces (Accumulate = false) or adds to (true) the output samples.
    void processReplacing(float* const* inputs, float* const* outputs, int32_t frames) {
        process<false>(inputs, outputs, frames);
    }
    void processAccumulating(float* const* inputs, float* const* outputs, int32_t frames) {
        process<true>(inputs, outputs, frames);
    }

    // Before a call: the dry/wet Mix (the wet share), on its ramp or at once.
    // The dry is the sounding bands' sum before shaping; the accumulating
    // callback ignores it.
    void setMix(double share) { mixRamp.aimAt(share); }
    void startMixAt(double share) { mixRamp.jumpTo(share); }

    // Signal-path state, exposed read-only for tests and diagnostics.
    double getBandGain(int band) const { return bandGain[band]; }
    double getBandLevel(int band) const { return bandLevel[band]; }
    double getLeftGain(int band) const { return leftGain[band]; }
    double getRightGain(int band) const { return rightGain[band]; }
    double getMasterLevel() const { return masterLevel; }
    const BandSplitFilter& getCrossover1(int channel) const { return crossover1[channel]; }

private:
    template <bool Accumulate>
    void process(float* const* inputs, float* const* outputs, int32_t frames);

    template <bool Accumulate, bool Band1, bool Band2, bool Band3, bool PostFilter, bool Dry>
    void processSubBlock(const float* inL, const float* inR, float* outL, float* outR, int32_t n);
    template <bool Accumulate, bool Band1, bool Band2, bool Band3, bool PostFilter>
    void processRouting(const float* inL, const float* inR, float* outL, float* outR, int32_t frames);

    template <bool Band1, bool Band2, bool Band3, bool PostFilter>
    void startSubBlock(double increments[3][4], double& masterIncrement);

    float parameter(int index) const { return parameterValues[index].load(std::memory_order_relaxed); }

    // Low-passes a shaped band again (PFilter on), with the denormal offset.
    void postFilterStep(BandSplitFilter (&filters)[2], double (&sample)[2]) {
        for (int ch = 0; ch < 2; ++ch) {
            filters[ch].processSample(sample[ch] + postFilterOffset);
            sample[ch] = filters[ch].lowOutput();
        }
    }

    const std::atomic<float>* parameterValues;
    const std::atomic<float>* sampleRate;
    const ShaperTables& tables;

    double leftGain[3] = {1.0, 1.0, 1.0};
    double rightGain[3] = {1.0, 1.0, 1.0};
    double bandGain[3] = {0.0, 0.0, 0.0};
    double bandLevel[3] = {1.0, 1.0, 1.0};
    double masterLevel = 1.0;
    MixRamp mixRamp;
    BandSplitFilter crossover1[2];
    BandSplitFilter crossover2[2];
    BandSplitFilter postFilter1[2];
    BandSplitFilter postFilter2[2];
    DcBlockerState dcBlocker;
    double bandSample[3][2] = {};
    double inputOffset = kDenormalOffset;
    double postFilterOffset = kDenormalOffset;
};
