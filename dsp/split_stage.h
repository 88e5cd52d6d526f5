// Stage 1 of a frame: the offset input through crossover 1 and crossover 2
// into the three bands. The stage holds the offset and the filters' carried
// values in locals (so in registers) until finish() writes them back.
#pragma once

#include "filter_run.h"
#include "sub_block.h"

template <bool Band1, bool Band2, bool Band3>
class SplitStage {
public:
    SplitStage(PairedBandSplitFilter& crossover1, PairedBandSplitFilter& crossover2, double& inputOffset,
               FilterHistory& history1, FilterHistory& history2)
        : run1(crossover1, history1), run2(crossover2, history2), inputOffset(inputOffset),
          offset(pair::broadcast(inputOffset)) {}

    VELMORA_INLINE void frame(int i, const float* inL, const float* inR, FrameBands& bands) {
        const Pair x = _mm_add_pd(pair::loadFrame(inL, inR), offset);
        offset = pair::negate(offset);
        if constexpr (Band1 || Band2) {
            run1.step(i, x);
            if constexpr (Band1) bands[0] = run1.lowOutput();
        }
        if constexpr (Band2) {
            run2.step(i, run1.highOutput());
            bands[1] = run2.lowOutput();
        } else if constexpr (Band3) {
            // Without the middle band the high band is split from the input directly.
            run2.step(i, x);
        }
        if constexpr (Band3) bands[2] = run2.highOutput();
    }

    void finish(int n) {
        inputOffset = pair::left(offset);
        if constexpr (Band1 || Band2) run1.finish(n);
        if constexpr (Band2 || Band3) run2.finish(n);
    }

private:
    FilterRun run1, run2;
    double& inputOffset;
    Pair offset;
};
