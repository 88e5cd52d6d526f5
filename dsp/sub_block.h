// What one sub-block (at most 64 frames) of the paired audio path works on:
// the three bands' samples between the passes, and the ramps with the
// increments of this sub-block. Ramps stay repeated additions, as in the
// scalar path: start + i * increment would round differently.
#pragma once

#include "stereo_pair.h"

constexpr int kSubBlockFrames = 64;

// One frame's three bands (unused entries of silent bands stay untouched).
using FrameBands = Pair[3];

// How a sub-block carries the dry signal of Mix (the sounding bands' sum
// before the curves), so that at a raised rate it comes down through the
// same resamplers as the bands and keeps their phase, without a lane of its
// own (which would cost the lowering resamplers a third more work).
enum class DryMode {
    None,    // Mix at 100 %: the effect alone
    Beside,  // at Normal: in SubBlockBands::dry, beside the bands
    Lane,    // at a raised rate with band 3 silent: the dry takes its lane
    Band3,   // at a raised rate, merged into band 3's lane, the one no post filter follows (DryMerge)
};

// The bands of a whole sub-block, between the passes.
struct alignas(16) SubBlockBands {
    FrameBands frame[kSubBlockFrames];
    Pair dry[kSubBlockFrames];  // DryMode::Beside
};

struct alignas(16) PairedRamp {
    Pair value = pair::zero();
    Pair increment = pair::zero();

    // (target - value) * step, lane by lane, as the scalar increments.
    void aimAt(Pair target, double step) {
        increment = _mm_mul_pd(_mm_sub_pd(target, value), pair::broadcast(step));
    }
    // True when adding the increment leaves every bit of the value as it is,
    // as it does once a ramp has arrived: then each frame of the sub-block
    // sees the start value, and a loop may hold it as a constant. Bits, not
    // ==, decide: -0 + +0 gives +0, which == would call unchanged.
    bool holdsStill() const {
        const __m128i before = _mm_castpd_si128(value);
        const __m128i after = _mm_castpd_si128(_mm_add_pd(value, increment));
        return _mm_movemask_epi8(_mm_cmpeq_epi8(before, after)) == 0xFFFF;
    }
};

// A band's ramped quantities: balance gains (left, right lanes), drive and
// level (the same value in both lanes, so each lane is the scalar product).
struct alignas(16) BandRamps {
    PairedRamp balance;
    PairedRamp drive;
    PairedRamp level;
};
