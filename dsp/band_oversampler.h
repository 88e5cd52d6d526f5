// One band's way to the raised shaping rate and back: up to three half-band
// stages up, the shaping, and the same stages down. Every buffer is sized
// for a full sub-block at eight times the rate when the object is built, so
// nothing is allocated while audio runs.
//
// Latency: a stage up and the same stage down delay by M samples of the
// stage's lower rate (M = 2K - 1, the centre tap's position). M is odd, so
// from the second stage on that is a fraction of a host frame; the
// downsamplers' phases take back the fractions, so that each setting's delay
// is a whole number of host frames (see latencyFrames).
#pragma once

#include "half_band_stages.h"
#include "oversampling.h"
#include "sub_block.h"

class alignas(16) BandOversampler {
public:
    // The frames a click is delayed by at each rate factor (1, 2, 4, 8).
    static constexpr int latencyFrames(int factor) {
        int delay = 0;  // in samples at the raised rate
        for (int stage = 0, span = factor / 2; span >= 1; ++stage, span /= 2)
            delay += span * (2 * (2 * kHalfBandPairs[stage] - 1) - downPhase(factor, stage));
        return delay / factor;
    }

    void reset();
    // Clears non-finite history in the stages that `factor` uses.
    void clearNonFinite(int factor);

    // n band samples at the host rate, `inStride` pairs apart, become
    // n * factor samples at the raised rate, `outStride` pairs apart (and
    // back). Each exists in both encodings of the audio path.
    void up(int factor, const Pair* in, int inStride, int n, Pair* out, int outStride);
    void down(int factor, const Pair* in, int inStride, int n, Pair* out, int outStride);
    VELMORA_TARGET_VEX void upVex(int factor, const Pair* in, int inStride, int n, Pair* out, int outStride);
    VELMORA_TARGET_VEX void downVex(int factor, const Pair* in, int inStride, int n, Pair* out, int outStride);

private:
    // Which of two samples each downsampler keeps (see Downsampler): the
    // choices that make the total delay whole at every factor.
    static constexpr int downPhase(int factor, int stage) {
        if (factor == 4) return stage == 0 ? 1 : 0;
        if (factor == 8) return stage == 2 ? 0 : 1;
        return 0;
    }
    template <int Factor>
    VELMORA_INLINE void upChain(const Pair* in, int inStride, int n, Pair* out, int outStride);
    template <int Factor>
    VELMORA_INLINE void downChain(const Pair* in, int inStride, int n, Pair* out, int outStride);
    VELMORA_INLINE void upAny(int factor, const Pair* in, int inStride, int n, Pair* out, int outStride);
    VELMORA_INLINE void downAny(int factor, const Pair* in, int inStride, int n, Pair* out, int outStride);

    half_band::Upsampler<0, kSubBlockFrames> up0;
    half_band::Upsampler<1, 2 * kSubBlockFrames> up1;
    half_band::Upsampler<2, 4 * kSubBlockFrames> up2;
    half_band::Downsampler<0, kSubBlockFrames> down0;
    half_band::Downsampler<1, 2 * kSubBlockFrames> down1;
    half_band::Downsampler<2, 4 * kSubBlockFrames> down2;
};

static_assert(BandOversampler::latencyFrames(1) == 0);
static_assert(BandOversampler::latencyFrames(2) == 67 && BandOversampler::latencyFrames(4) == 73 &&
              BandOversampler::latencyFrames(8) == 75);
