// The bands' way to the raised shaping rate and back: up to three half-band
// stages up, the shaping, and the same stages down, for all sounding bands
// at once (their recursions run side by side). The stages work in place in
// the caller's raised-rate buffer, so nothing is allocated while audio runs.
//
// Latency: the allpass half-bands delay low frequencies by a fraction of a
// frame beyond a whole number, and higher frequencies by more (the delay
// grows toward 20 kHz). Each downsampler may keep the later of two filtered
// samples (one sample of its higher rate less delay); the choices below put
// the low-frequency delay nearest a whole number of host frames, which is
// what latencyFrames reports. lowFrequencyDelayFrames gives the exact value.
#pragma once

#include "half_band_wide.h"
#include "oversampling.h"
#include "sub_block.h"

class alignas(16) BandOversampler {
public:
    // The latency reported at each rate factor (1, 2, 4, 8): the
    // low-frequency delay in host frames, rounded. A constant, so that it
    // stays constexpr; tests/dsp/oversampling_test.cpp checks it against the
    // designs and against the delay measured through the path.
    static constexpr int latencyFrames(int factor) { return factor == 2 ? 3 : (factor == 4 ? 4 : (factor == 8 ? 5 : 0)); }
    // The exact low-frequency delay in host frames, from the designs.
    static double lowFrequencyDelayFrames(int factor);

    BandOversampler();
    void reset();
    // Clears non-finite state in the stages that `factor` uses.
    void clearNonFinite(int factor);

    // n frames of the sounding bands at the host rate become n * factor
    // frames at the raised rate, and back (`raised` is overwritten).
    template <bool B1, bool B2, bool B3>
    VELMORA_INLINE void up(int factor, const FrameBands* in, int n, FrameBands* raised) {
        for (int s = 0, span = 2; span <= factor; ++s, span *= 2) {
            half_band::spread<B1, B2, B3>(s == 0 ? in : raised, n * span / 2, raised);
            upStages[s].run<B1, B2, B3>(raised, raised + 1, n * span / 2);
        }
    }
    template <bool B1, bool B2, bool B3>
    VELMORA_INLINE void down(int factor, FrameBands* raised, int n, FrameBands* out) {
        for (int s = stagesFor(factor) - 1; s >= 0; --s) {
            const int frames = n << s;
            const bool later = laterPhase(factor, s);
            downStages[s].run<B1, B2, B3>(half_band::evenChainInput(later, raised),
                                          half_band::oddChainInput(later, raised), frames);
            half_band::averageChains<B1, B2, B3>(downStages[s], later, raised, frames, s == 0 ? out : raised);
        }
    }
    // The same in the AVX copy, both chains of a stage in 256-bit lanes.
    // A raising stage reads its input straight from the frames of the one
    // before, so each stage writes where the next can read it: stage s's
    // frames end where the raised rate's do, and its input lies in the upper
    // half of its output (see raisePacked).
    // With `sums`, the last stage also leaves sums[k] the sum of the bands
    // of raised[k] (the dry signal of Mix, see ShapeStage).
    template <bool B1, bool B2, bool B3>
    VELMORA_WIDE_INLINE void upWide(int factor, const FrameBands* in, int n, FrameBands* raised, Pair* sums = nullptr) {
        const int total = n * factor;
        for (int s = 0, span = 2; span <= factor; ++s, span *= 2) {
            FrameBands* out = raised + total - n * span;
            half_band::raisePacked<B1, B2, B3>(upStages[s], in, n * span / 2, out, span == factor ? sums : nullptr);
            in = out;
        }
    }
    template <bool B1, bool B2, bool B3>
    VELMORA_WIDE_INLINE void downWide(int factor, FrameBands* raised, int n, FrameBands* out) {
        for (int s = stagesFor(factor) - 1; s >= 0; --s)
            half_band::lowerPacked<B1, B2, B3>(downStages[s], laterPhase(factor, s), raised, n << s,
                                               s == 0 ? out : raised);
    }

    // Band 3's lowering history back to silence: while band 3 is silent its
    // lane may carry the dry signal of Mix, which starts anew.
    void clearBand3Lane() {
        for (half_band::Stage& stage : downStages) stage.clearBand(2);
    }

private:
    // Whether a stage's downsampler keeps the later sample (see above):
    // 2x 2.75 frames, 4x 4.08, 8x 4.98 at low frequencies.
    static constexpr bool laterPhase(int factor, int stage) { return stage == 0 && (factor == 2 || factor == 4); }
    static constexpr int stagesFor(int factor) { return factor >= 8 ? 3 : (factor >= 4 ? 2 : (factor >= 2 ? 1 : 0)); }

    half_band::Stage upStages[kHalfBandStages];
    half_band::Stage downStages[kHalfBandStages];
};

static_assert(BandOversampler::latencyFrames(1) == 0);
