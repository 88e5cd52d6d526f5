// While band 3 sounds, the dry signal of Mix comes down merged into its
// lane, the one no post filter follows. Band 3 is weighted after the
// resamplers by
//     W = mix * (level3 * master) + (1 - mix)
// instead of level3 * master, and its samples at the shaping rate become
//     keep * shaped + dry * (sum of the sounding bands before shaping),
// with keep = mix * level3 * master / W and dry = (1 - mix) / W, so that the
// mix gets mix * level3 * master * band 3 + (1 - mix) * dry through the same
// linear resamplers. While the ramps move, W moves too and the lane's older
// samples are weighted with the newer W: a difference far below the ramp's
// own step, gone within the resamplers' memory. At Mix 100 % keep is 1 and
// dry 0, the lane of the effect alone, so Mix returns there without a step.
#pragma once

#include "mix_ramp.h"
#include "sub_block.h"

namespace dry_merge {

// mix * (level3 * master), the wet share of band 3.
VELMORA_INLINE Pair band3WetShare(Pair mix, Pair level3, Pair master) {
    return _mm_mul_pd(mix, _mm_mul_pd(level3, master));
}
// W, from one frame's ramp values (both lanes alike).
VELMORA_INLINE Pair band3Weight(Pair mix, Pair level3, Pair master) {
    return _mm_add_pd(band3WetShare(mix, level3, master), _mm_sub_pd(pair::kOne(), mix));
}

// keep and dry of one host frame. W is 0 only where band 3 is silent at
// Mix 100 %; the lane is then silenced instead of divided by zero.
struct Weights {
    Pair keep, dry;
};
VELMORA_INLINE Weights weights(Pair mix, Pair level3, Pair master) {
    const Pair wet = band3WetShare(mix, level3, master), dry = _mm_sub_pd(pair::kOne(), mix);
    const Pair w = _mm_add_pd(wet, dry);
    const Pair zero = _mm_cmpeq_pd(w, pair::zero());
    const Pair divisor = _mm_or_pd(_mm_andnot_pd(zero, w), _mm_and_pd(zero, pair::kOne()));
    return {_mm_div_pd(wet, divisor), _mm_div_pd(dry, divisor)};
}

// The weights of each host frame of a sub-block, from the ramps as the mix
// pass will run them (the same additions, so the same values), or once
// when they hold still.
struct alignas(16) SubBlockWeights {
    Weights frame[kSubBlockFrames];
    bool still = true;

    void prepare(const PairedRamp& level3, const PairedRamp& master, const MixRamp& mixRamp, int n) {
        still = level3.holdsStill() && master.holdsStill() && !mixRamp.moving();
        Pair level = level3.value, masterLevel = master.value, mix = pair::broadcast(mixRamp.value);
        if (still) {
            frame[0] = weights(mix, level, masterLevel);
            return;
        }
        const Pair step = pair::broadcast(mixRamp.step), low = pair::broadcast(mixRamp.low),
                   high = pair::broadcast(mixRamp.high);
        for (int i = 0; i < n; ++i) {
            level = _mm_add_pd(level, level3.increment);
            masterLevel = _mm_add_pd(masterLevel, master.increment);
            mix = _mm_min_pd(_mm_max_pd(_mm_add_pd(mix, step), low), high);
            frame[i] = weights(mix, level, masterLevel);
        }
    }
    VELMORA_INLINE const Weights& at(int i) const { return frame[still ? 0 : i]; }
};

}  // namespace dry_merge
