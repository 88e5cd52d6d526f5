// Stage 3 of a frame ("PFilter" on): the shaped low and middle bands are
// low-passed again. Both bands of a frame get the same anti-denormal offset,
// whose sign flips every frame.
#pragma once

#include "paired_band_split_filter.h"
#include "sub_block.h"

template <bool Band1, bool Band2>
class PostFilterStage {
public:
    PostFilterStage(PairedBandSplitFilter& postFilter1, PairedBandSplitFilter& postFilter2, double& postFilterOffset)
        : postFilter1(postFilter1), postFilter2(postFilter2), postFilterOffset(postFilterOffset),
          c1(postFilter1.coefficients), c2(postFilter2.coefficients), s1(postFilter1.state),
          s2(postFilter2.state), offset(pair::broadcast(postFilterOffset)) {}

    VELMORA_INLINE void frame(FrameBands& bands) {
        if constexpr (Band1) {
            s1.step(c1, _mm_add_pd(bands[0], offset));
            bands[0] = s1.lowOutput();
        }
        if constexpr (Band2) {
            s2.step(c2, _mm_add_pd(bands[1], offset));
            bands[1] = s2.lowOutput();
        }
        offset = pair::negate(offset);
    }

    void finish() {
        postFilterOffset = pair::left(offset);
        if constexpr (Band1) postFilter1.state = s1;
        if constexpr (Band2) postFilter2.state = s2;
    }

private:
    PairedBandSplitFilter& postFilter1;
    PairedBandSplitFilter& postFilter2;
    double& postFilterOffset;
    const PairedFilterCoefficients c1, c2;
    PairedFilterState s1, s2;
    Pair offset;
};
