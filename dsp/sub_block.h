// What one sub-block (at most 64 frames) of the paired audio path works on:
// the three bands' samples between the passes, and the ramps with the
// increments of this sub-block. Ramps stay repeated additions, as in the
// scalar path: start + i * increment would round differently.
#pragma once

#include "stereo_pair.h"

constexpr int kSubBlockFrames = 64;

// One frame's three bands and, while Mix is below 100 %, the dry signal in
// a fourth lane: the sounding bands' sum before shaping. At a raised rate it
// must come down through the same resamplers as the bands to keep their
// phase: merged into band 3's lane where that band sounds (DryMerge), in
// the lowering loops as a lane of its own where it does not. (Unused
// entries stay untouched.)
constexpr int kLanes = 4;
constexpr int kDryLane = 3;
using FrameBands = Pair[kLanes];

// How a sub-block carries the dry signal.
enum class DryMode {
    None,   // Mix at 100 %: the effect alone
    Lane,   // in the dry lane: at Normal, and at a raised rate without band 3
    Band3,  // at a raised rate, merged into band 3's lane (see DryMerge)
};

// The bands of a whole sub-block, between the passes.
struct alignas(16) SubBlockBands {
    FrameBands frame[kSubBlockFrames];
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
