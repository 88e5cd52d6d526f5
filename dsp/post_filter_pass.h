// Pass 3 of a sub-block ("PFilter" on): the shaped low and middle bands are
// low-passed again. The two recursions are independent, so running them in
// one loop lets their latencies overlap. Both bands of a frame get the same
// anti-denormal offset, whose sign flips every frame.
#pragma once

#include "paired_band_split_filter.h"
#include "sub_block.h"

template <bool Band1, bool Band2>
inline void postFilterPass(SubBlockBands& bands, int frames, double& postFilterOffset,
                           PairedBandSplitFilter& postFilter1, PairedBandSplitFilter& postFilter2) {
    const PairedFilterCoefficients c1 = postFilter1.coefficients;
    const PairedFilterCoefficients c2 = postFilter2.coefficients;
    PairedFilterState s1 = postFilter1.state;
    PairedFilterState s2 = postFilter2.state;
    Pair offset = pair::broadcast(postFilterOffset);
    for (int i = 0; i < frames; ++i) {
        if constexpr (Band1) {
            s1.step(c1, _mm_add_pd(bands.band[0][i], offset));
            bands.band[0][i] = s1.lowOutput();
        }
        if constexpr (Band2) {
            s2.step(c2, _mm_add_pd(bands.band[1][i], offset));
            bands.band[1][i] = s2.lowOutput();
        }
        offset = pair::negate(offset);
    }
    postFilterOffset = pair::left(offset);
    if constexpr (Band1) postFilter1.state = s1;
    if constexpr (Band2) postFilter2.state = s2;
}
