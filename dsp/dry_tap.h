// The dry signal of the dry/wet mix, taken inside the signal path so that it
// shares the wet signal's phase: the sum of the sounding bands as the
// crossovers split them, before any shaping, and at a raised shaping rate
// passed through resamplers of its own, equal to the bands' (up and down).
// With a linear curve the wet sum is exactly this signal weighted by the
// levels, so mixing the two never combs. A raw input delayed by whole frames
// would: the crossover sum and the resamplers shift the phase by frequency.
#pragma once

#include "band_oversampler.h"
#include "sub_block.h"

class alignas(16) DryTap {
public:
    // Called by the path after the split of a sub-block of n frames and
    // before the shaping, with the path's rate factor for that sub-block.
    void capture(const SubBlockBands& bands, bool band1, bool band2, bool band3, int n, int factor);
    // The dry samples of the sub-block last captured.
    double left(int i) const { return pair::left(dry[i][0]); }
    double right(int i) const { return pair::right(dry[i][0]); }
    // Clears the resamplers' history: the next capture starts from silence.
    void reset() {
        oversampler.reset();
        lastFactor = 1;
    }

private:
    FrameBands dry[kSubBlockFrames];
    FrameBands raised[kSubBlockFrames * kMaxOversamplingFactor];
    BandOversampler oversampler;
    int lastFactor = 1;
};
