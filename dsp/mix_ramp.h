// The dry/wet Mix's ramp, shared by the paired path and the plain one. Unlike
// the other ramps it lands exactly on its target, so that once Mix is back
// at 100 % the path runs without its dry lane and gives the effect alone, bit
// for bit. A new target starts a 64-frame linear segment from the value
// where it is; every frame adds the step, held within the segment's ends.
#pragma once

#include <algorithm>

#include "sub_block.h"

struct MixRamp {
    double value = 1.0;  // the wet share of the last frame
    double step = 0.0;
    double low = 1.0, high = 1.0;  // the segment's ends
    double target = 1.0;
    int framesLeft = 0;

    // Audio thread, before a call: the share asked for (NaN and values
    // outside 0..1 count as the nearest valid one, NaN as 1).
    void aimAt(double share) {
        share = valid(share);
        if (share == target) return;
        target = share;
        step = (share - value) / kSubBlockFrames;
        low = std::min(value, share);
        high = std::max(value, share);
        framesLeft = kSubBlockFrames;
    }
    // A fresh start is already where it is asked to be.
    void jumpTo(double share) {
        *this = MixRamp();
        value = low = high = target = valid(share);
    }
    bool moving() const { return framesLeft > 0; }
    // Whether a sub-block needs the dry signal.
    bool mixing() const { return moving() || value != 1.0; }
    static double nextValue(double current, double step, double low, double high) {
        return std::min(std::max(current + step, low), high);
    }
    // After a sub-block of n frames whose last frame had `last`.
    void advance(int n, double last) {
        value = last;
        framesLeft = std::max(0, framesLeft - n);
        if (framesLeft == 0) value = low = high = target, step = 0.0;
    }

private:
    // (+ 0.0 turns -0 into +0, so both paths see the same zero.)
    static double valid(double share) {
        return share >= 0.0 ? (share <= 1.0 ? share + 0.0 : 1.0) : (share < 0.0 ? 0.0 : 1.0);
    }
};
