// Stage 1 of a frame: the offset input through crossover 1 and crossover 2
// into the three bands. The stage holds the filter state in locals (so in
// registers) from its construction until finish() writes it back.
#pragma once

#include "paired_band_split_filter.h"
#include "sub_block.h"

template <bool Band1, bool Band2, bool Band3>
class SplitStage {
public:
    SplitStage(PairedBandSplitFilter& crossover1, PairedBandSplitFilter& crossover2, double& inputOffset)
        : crossover1(crossover1), crossover2(crossover2), inputOffset(inputOffset), c1(crossover1.coefficients),
          c2(crossover2.coefficients), s1(crossover1.state), s2(crossover2.state),
          offset(pair::broadcast(inputOffset)) {}

    VELMORA_INLINE void frame(const float* inL, const float* inR, FrameBands& bands) {
        const Pair x = _mm_add_pd(pair::loadFrame(inL, inR), offset);
        offset = pair::negate(offset);
        if constexpr (Band1 || Band2) {
            s1.step(c1, x);
            if constexpr (Band1) bands[0] = s1.lowOutput();
        }
        if constexpr (Band2) {
            s2.step(c2, s1.highOutput());
            bands[1] = s2.lowOutput();
        } else if constexpr (Band3) {
            // Without the middle band the high band is split from the input directly.
            s2.step(c2, x);
        }
        if constexpr (Band3) bands[2] = s2.highOutput();
    }

    void finish() {
        inputOffset = pair::left(offset);
        if constexpr (Band1 || Band2) crossover1.state = s1;
        if constexpr (Band2 || Band3) crossover2.state = s2;
    }

private:
    PairedBandSplitFilter& crossover1;
    PairedBandSplitFilter& crossover2;
    double& inputOffset;
    const PairedFilterCoefficients c1, c2;
    PairedFilterState s1, s2;
    Pair offset;
};
