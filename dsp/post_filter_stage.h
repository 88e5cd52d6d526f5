// Stage 3 of a frame ("PFilter" on): the shaped low and middle bands are
// low-passed again. Both bands of a frame get the same anti-denormal offset,
// whose sign flips every frame.
#pragma once

#include "filter_run.h"
#include "sub_block.h"

template <bool Band1, bool Band2>
class PostFilterStage {
public:
    PostFilterStage(PairedBandSplitFilter& postFilter1, PairedBandSplitFilter& postFilter2, double& postFilterOffset,
                    FilterHistory& history1, FilterHistory& history2)
        : run1(postFilter1, history1), run2(postFilter2, history2), postFilterOffset(postFilterOffset),
          offset(pair::broadcast(postFilterOffset)) {}

    VELMORA_INLINE void frame(int i, FrameBands& bands) {
        if constexpr (Band1) {
            run1.step(i, _mm_add_pd(bands[0], offset));
            bands[0] = run1.lowOutput();
        }
        if constexpr (Band2) {
            run2.step(i, _mm_add_pd(bands[1], offset));
            bands[1] = run2.lowOutput();
        }
        offset = pair::negate(offset);
    }

    void finish(int n) {
        postFilterOffset = pair::left(offset);
        if constexpr (Band1) run1.finish(n);
        if constexpr (Band2) run2.finish(n);
    }

private:
    FilterRun run1, run2;
    double& postFilterOffset;
    Pair offset;
};
