// One paired crossover filter run over a sub-block: the recursion of
// BandSplitFilter with each value holding both channels in one register. The
// arithmetic and its order match BandSplitFilter::processSample operation for
// operation, which keeps every output bit the same.
//
// Only the recursion's two latest outputs (the first section's and the
// second section's) are carried from frame to frame in registers. The older
// values it reads again (the last two halved inputs, the second section's
// output two frames back) come from small arrays instead: a store and a load
// off the critical path cost less than the spills of ten carried values,
// which 32-bit x86 with its eight vector registers would otherwise make on
// the recursion itself.
#pragma once

#include "paired_band_split_filter.h"
#include "sub_block.h"

// A filter's halved inputs and second-section outputs over one sub-block,
// after the two frames that came before it.
struct alignas(16) FilterHistory {
    Pair half[kSubBlockFrames + 2];
    Pair second[kSubBlockFrames + 2];
};

class FilterRun {
public:
    FilterRun(PairedBandSplitFilter& filter, FilterHistory& history)
        : filter(filter), c(filter.coefficients), half(history.half), second(history.second),
          firstOut(filter.state.allpass1Out), secondOut(filter.state.allpass2Delay1) {
        half[0] = filter.state.inputDelay2;
        half[1] = filter.state.inputDelay1;
        second[0] = filter.state.allpass2Delay2;
        second[1] = filter.state.allpass2Delay1;
    }

    // Frame i of the sub-block with input x; the high output is low's twin.
    VELMORA_INLINE void step(int i, Pair x) {
        const Pair h = _mm_mul_pd(pair::kHalf(), x);
        half[i + 2] = h;
        firstOut = _mm_add_pd(_mm_mul_pd(c.allpass1, _mm_sub_pd(h, firstOut)), half[i + 1]);
        secondOut = _mm_add_pd(_mm_add_pd(_mm_mul_pd(c.allpass2c0, _mm_sub_pd(h, second[i])),
                                          _mm_mul_pd(c.allpass2c1, _mm_sub_pd(half[i + 1], secondOut))),
                               half[i]);
        second[i + 2] = secondOut;
    }
    VELMORA_INLINE Pair lowOutput() const { return _mm_add_pd(firstOut, secondOut); }
    VELMORA_INLINE Pair highOutput() const { return _mm_sub_pd(firstOut, secondOut); }

    // After n frames, the filter keeps the state a frame-by-frame run would.
    void finish(int n) {
        filter.state.allpass1Out = firstOut;
        filter.state.inputDelay1 = half[n + 1];
        filter.state.inputDelay2 = half[n];
        filter.state.allpass2Delay1 = secondOut;
        filter.state.allpass2Delay2 = second[n];
    }

private:
    PairedBandSplitFilter& filter;
    const PairedFilterCoefficients& c;
    Pair* half;
    Pair* second;
    Pair firstOut, secondOut;
};
