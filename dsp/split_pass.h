// Pass 1 of a sub-block: the offset input through crossover 1 and crossover 2
// into the three bands. It reads every input frame before the mix pass writes
// any output, so in-place buffers stay safe.
#pragma once

#include "paired_band_split_filter.h"
#include "sub_block.h"

template <bool Band1, bool Band2, bool Band3>
inline void splitPass(const float* inL, const float* inR, int frames, double& inputOffset,
                      PairedBandSplitFilter& crossover1, PairedBandSplitFilter& crossover2, SubBlockBands& out) {
    // Filter state lives in registers for the whole pass.
    const PairedFilterCoefficients c1 = crossover1.coefficients;
    const PairedFilterCoefficients c2 = crossover2.coefficients;
    PairedFilterState s1 = crossover1.state;
    PairedFilterState s2 = crossover2.state;
    Pair offset = pair::broadcast(inputOffset);
    for (int i = 0; i < frames; ++i) {
        const Pair x = _mm_add_pd(pair::loadFrame(inL + i, inR + i), offset);
        offset = pair::negate(offset);
        if constexpr (Band1 || Band2) {
            s1.step(c1, x);
            if constexpr (Band1) out.band[0][i] = s1.lowOutput();
        }
        if constexpr (Band2) {
            s2.step(c2, s1.highOutput());
            out.band[1][i] = s2.lowOutput();
        } else if constexpr (Band3) {
            // Without the middle band the high band is split from the input directly.
            s2.step(c2, x);
        }
        if constexpr (Band3) out.band[2][i] = s2.highOutput();
    }
    inputOffset = pair::left(offset);
    if constexpr (Band1 || Band2) crossover1.state = s1;
    if constexpr (Band2 || Band3) crossover2.state = s2;
}
