#include "dsp/reference/scalar_distortion_processor.h"

#include <algorithm>
#include <cfloat>

#include "dsp/band_routing.h"
#include "dsp/parameter_laws.h"

namespace {

// Levels far outside 0..1 can push a finite mix beyond the float range; the
// host gets the largest float instead of an infinity. NaN passes unchanged.
inline float toHostSample(double value) {
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
}

}  // namespace

ScalarDistortionProcessor::ScalarDistortionProcessor(const std::atomic<float>* values, const std::atomic<float>* rate)
    : parameterValues(values), sampleRate(rate), tables(shaperTables()) {}

template <bool Accumulate>
void ScalarDistortionProcessor::process(float* const* inputs, float* const* outputs, int32_t frames) {
    if (frames <= 0 || !inputs || !outputs) return;
    const float* inL = inputs[0];
    const float* inR = inputs[1];
    float* outL = outputs[0];
    float* outR = outputs[1];
    if (!inL || !inR || !outL || !outR) return;

    // Routing is fixed for the whole call; each routing is its own loop.
    withBandRouting(parameter(kPFilter), parameter(kSolo1), parameter(kSolo2), parameter(kSolo3), [&](auto routing) {
        using R = decltype(routing);
        processRouting<Accumulate, R::band1, R::band2, R::band3, R::postFilter>(inL, inR, outL, outR, frames);
    });
}

template <bool Band1, bool Band2, bool Band3, bool PostFilter>
void ScalarDistortionProcessor::startSubBlock(double increments[3][4], double& masterIncrement) {
    for (BandSplitFilter* pair : {crossover1, crossover2, postFilter1, postFilter2}) {
        pair[0].clearIfNotFinite();
        pair[1].clearIfNotFinite();
    }
    clearDcBlockerIfNotFinite(dcBlocker);

    const double rate = laws::usableSampleRate(sampleRate->load(std::memory_order_relaxed));
    if constexpr (Band1 || Band2) {
        const double f1 = laws::designableFrequency(
            laws::guarded(laws::crossoverFrequency, parameter(kCross1)), rate);
        crossover1[0].design(f1, laws::kCrossoverQ, rate);
        crossover1[1].copyCoefficientsFrom(crossover1[0]);
        if constexpr (PostFilter && Band1) {
            postFilter1[0].copyCoefficientsFrom(crossover1[0]);
            postFilter1[1].copyCoefficientsFrom(crossover1[0]);
        }
    }
    if constexpr (Band2 || Band3) {
        const double f2 = laws::designableFrequency(
            laws::guarded(laws::crossoverFrequency, parameter(kCross2)), rate);
        crossover2[0].design(f2, laws::kCrossoverQ, rate);
        crossover2[1].copyCoefficientsFrom(crossover2[0]);
        if constexpr (PostFilter && Band2) {
            postFilter2[0].copyCoefficientsFrom(crossover2[0]);
            postFilter2[1].copyCoefficientsFrom(crossover2[0]);
        }
    }
    constexpr bool sounding[3] = {Band1, Band2, Band3};
    for (int b = 0; b < 3; ++b) {
        if (!sounding[b]) continue;
        const float balance = parameter(kBalance1 + b);
        increments[b][0] = (laws::guarded(laws::balanceLeft, balance) - leftGain[b]) * kRampStep;
        increments[b][1] = (laws::guarded(laws::balanceRight, balance) - rightGain[b]) * kRampStep;
        increments[b][2] = (laws::guarded(laws::drive, parameter(kGain1 + b)) - bandGain[b]) * kRampStep;
        increments[b][3] = (laws::guarded(laws::level, parameter(kLevel1 + b)) - bandLevel[b]) * kRampStep;
    }
    masterIncrement = (laws::guarded(laws::level, parameter(kMaster)) - masterLevel) * kRampStep;
}

template <bool Accumulate, bool Band1, bool Band2, bool Band3, bool PostFilter>
void ScalarDistortionProcessor::processRouting(const float* inL, const float* inR, float* outL, float* outR,
                                         int32_t frames) {
    for (int32_t done = 0; done < frames;) {
        const int32_t n = std::min<int32_t>(frames - done, kSubBlock);
        if (!Accumulate && mixRamp.mixing())
            processSubBlock<Accumulate, Band1, Band2, Band3, PostFilter, true>(inL + done, inR + done, outL + done,
                                                                              outR + done, n);
        else
            processSubBlock<Accumulate, Band1, Band2, Band3, PostFilter, false>(inL + done, inR + done, outL + done,
                                                                               outR + done, n);
        done += n;
    }
}

template <bool Accumulate, bool Band1, bool Band2, bool Band3, bool PostFilter, bool Dry>
void ScalarDistortionProcessor::processSubBlock(const float* inL, const float* inR, float* outL, float* outR,
                                                int32_t n) {
    constexpr bool sounding[3] = {Band1, Band2, Band3};
    double increments[3][4] = {};
    double masterIncrement = 0.0;
    startSubBlock<Band1, Band2, Band3, PostFilter>(increments, masterIncrement);
    double mix = mixRamp.value;
    {
        for (int32_t i = 0; i < n; ++i) {
            for (int b = 0; b < 3; ++b) {
                if (!sounding[b]) continue;
                leftGain[b] += increments[b][0];
                rightGain[b] += increments[b][1];
                bandGain[b] += increments[b][2];
                bandLevel[b] += increments[b][3];
            }
            masterLevel += masterIncrement;

            // Read both inputs before writing: the buffers may be the same memory.
            const double x[2] = {inL[i] + inputOffset, inR[i] + inputOffset};
            inputOffset = -inputOffset;

            if constexpr (Band1 || Band2) {
                crossover1[0].processSample(x[0]);
                crossover1[1].processSample(x[1]);
            }
            double dry[2] = {0.0, 0.0};
            if constexpr (Band1) {
                bandSample[0][0] = crossover1[0].lowOutput();
                bandSample[0][1] = crossover1[1].lowOutput();
                dry[0] += bandSample[0][0], dry[1] += bandSample[0][1];
                shapeBand(bandSample[0][0], bandSample[0][1], leftGain[0], rightGain[0], bandGain[0],
                          parameter(kType1), dcBlocker, tables);
                if constexpr (PostFilter) postFilterStep(postFilter1, bandSample[0]);
            }
            if constexpr (Band2) {
                crossover2[0].processSample(crossover1[0].highOutput());
                crossover2[1].processSample(crossover1[1].highOutput());
            } else if constexpr (Band3) {
                // Without the middle band the high band is split from the input directly.
                crossover2[0].processSample(x[0]);
                crossover2[1].processSample(x[1]);
            }
            if constexpr (Band2) {
                bandSample[1][0] = crossover2[0].lowOutput();
                bandSample[1][1] = crossover2[1].lowOutput();
                dry[0] += bandSample[1][0], dry[1] += bandSample[1][1];
                shapeBand(bandSample[1][0], bandSample[1][1], leftGain[1], rightGain[1], bandGain[1],
                          parameter(kType2), dcBlocker, tables);
                if constexpr (PostFilter) postFilterStep(postFilter2, bandSample[1]);
            }
            if constexpr (Band3) {
                bandSample[2][0] = crossover2[0].highOutput();
                bandSample[2][1] = crossover2[1].highOutput();
                dry[0] += bandSample[2][0], dry[1] += bandSample[2][1];
                shapeBand(bandSample[2][0], bandSample[2][1], leftGain[2], rightGain[2], bandGain[2],
                          parameter(kType3), dcBlocker, tables);
            }
            if constexpr (PostFilter && (Band1 || Band2)) postFilterOffset = -postFilterOffset;

            double sum[2] = {0.0, 0.0};
            for (int b = 0; b < 3; ++b) {
                if (!sounding[b]) continue;
                sum[0] += bandLevel[b] * bandSample[b][0];
                sum[1] += bandLevel[b] * bandSample[b][1];
            }
            double left = sum[0] * masterLevel;
            double right = sum[1] * masterLevel;
            if constexpr (Dry) {
                mix = MixRamp::nextValue(mix, mixRamp.step, mixRamp.low, mixRamp.high);
                left = sum[0] * (masterLevel * mix) + (1.0 - mix) * dry[0];
                right = sum[1] * (masterLevel * mix) + (1.0 - mix) * dry[1];
            }
            if constexpr (Accumulate) {
                outL[i] = toHostSample(outL[i] + left);
                outR[i] = toHostSample(outR[i] + right);
            } else {
                outL[i] = toHostSample(left);
                outR[i] = toHostSample(right);
            }
        }
    }
    if constexpr (Dry) mixRamp.advance(n, mix);
}

template void ScalarDistortionProcessor::process<false>(float* const*, float* const*, int32_t);
template void ScalarDistortionProcessor::process<true>(float* const*, float* const*, int32_t);
