// Pass 4 of a sub-block: band levels, sum, master, and the store (or the
// addition, for the accumulating callback) into the host's float buffers.
#pragma once

#include <cfloat>

#include "sub_block.h"

template <bool Accumulate, bool Band1, bool Band2, bool Band3>
inline void mixPass(const SubBlockBands& bands, int frames, BandRamps (&ramps)[3], PairedRamp& master, float* outL,
                    float* outR) {
    constexpr bool sounding[3] = {Band1, Band2, Band3};
    Pair level[3], levelStep[3];
    for (int b = 0; b < 3; ++b) {
        level[b] = ramps[b].level.value;
        levelStep[b] = ramps[b].level.increment;
    }
    Pair masterLevel = master.value;
    const Pair masterStep = master.increment;
    const Pair lowest = pair::broadcast(-FLT_MAX);
    const Pair highest = pair::broadcast(FLT_MAX);
    for (int i = 0; i < frames; ++i) {
        // The sum starts at +0 as the scalar one does: a lone band of -0
        // must still give +0.
        Pair sum = pair::zero();
        for (int b = 0; b < 3; ++b) {
            if (!sounding[b]) continue;
            level[b] = _mm_add_pd(level[b], levelStep[b]);
            sum = _mm_add_pd(sum, _mm_mul_pd(level[b], bands.band[b][i]));
        }
        masterLevel = _mm_add_pd(masterLevel, masterStep);
        Pair out = _mm_mul_pd(sum, masterLevel);
        if constexpr (Accumulate) out = _mm_add_pd(pair::loadFrame(outL + i, outR + i), out);
        // Held inside the float range; max(lowest, x) and min(highest, x)
        // return x itself when it is NaN, which passes unchanged.
        out = _mm_min_pd(highest, _mm_max_pd(lowest, out));
        pair::storeFrame(out, outL + i, outR + i);
    }
    for (int b = 0; b < 3; ++b) {
        if (sounding[b]) ramps[b].level.value = level[b];
    }
    master.value = masterLevel;
}
