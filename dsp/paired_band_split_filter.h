// A left/right pair of crossover filters sharing one design: the state of
// BandSplitFilter with each field holding both channels in one register.
// FilterRun (filter_run.h) advances it over a sub-block.
#pragma once

#include "band_split_filter.h"
#include "stereo_pair.h"

struct PairedFilterCoefficients {
    Pair allpass1 = pair::zero();
    Pair allpass2c0 = pair::zero();
    Pair allpass2c1 = pair::zero();

    static PairedFilterCoefficients from(const BandSplitFilter& designed) {
        return {pair::broadcast(designed.getAllpass1Coeff()), pair::broadcast(designed.getAllpass2Coeff0()),
                pair::broadcast(designed.getAllpass2Coeff1())};
    }
};

struct PairedFilterState {
    Pair allpass1Out = pair::zero();
    Pair inputDelay1 = pair::zero();
    Pair inputDelay2 = pair::zero();
    Pair allpass2Delay1 = pair::zero();  // also the second section's latest output
    Pair allpass2Delay2 = pair::zero();

    // A channel whose state went non-finite is cleared entirely; the other
    // channel keeps its state, just as two separate filters would.
    void resetNonFiniteChannels() {
        const Pair anyBad = _mm_or_pd(
            _mm_or_pd(pair::nonFiniteMask(allpass1Out), pair::nonFiniteMask(inputDelay1)),
            _mm_or_pd(_mm_or_pd(pair::nonFiniteMask(inputDelay2), pair::nonFiniteMask(allpass2Delay1)),
                      pair::nonFiniteMask(allpass2Delay2)));
        allpass1Out = _mm_andnot_pd(anyBad, allpass1Out);
        inputDelay1 = _mm_andnot_pd(anyBad, inputDelay1);
        inputDelay2 = _mm_andnot_pd(anyBad, inputDelay2);
        allpass2Delay1 = _mm_andnot_pd(anyBad, allpass2Delay1);
        allpass2Delay2 = _mm_andnot_pd(anyBad, allpass2Delay2);
    }
};

struct alignas(16) PairedBandSplitFilter {
    PairedFilterCoefficients coefficients;
    PairedFilterState state;
};
