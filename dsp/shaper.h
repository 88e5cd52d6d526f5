// The distortion itself: balance and drive, then one of seven curves, applied
// to one band's stereo sample in place. Table curves read the positive half of
// the curve and mirror it (odd symmetry); inputs beyond the table hold its end.
#pragma once

#include <cmath>

#include "shaper_tables.h"
#include "shaper_type.h"

// "Saturation3" is asymmetric and leaves DC behind; this one-pole DC blocker
// follows it. There is one state per effect, shared by every band using it.
struct DcBlockerState {
    double prevInLeft = 0.0;
    double prevOutLeft = 0.0;
    double prevInRight = 0.0;
    double prevOutRight = 0.0;
};

// Like the filters, each channel's blocker starts again from silence once a
// non-finite sample has reached its state.
inline void clearDcBlockerIfNotFinite(DcBlockerState& dc) {
    if (!std::isfinite(dc.prevInLeft) || !std::isfinite(dc.prevOutLeft)) dc.prevInLeft = dc.prevOutLeft = 0.0;
    if (!std::isfinite(dc.prevInRight) || !std::isfinite(dc.prevOutRight)) dc.prevInRight = dc.prevOutRight = 0.0;
}

constexpr double kDcBlockerCoefficient = 0.99999999999;

// Odd-symmetric, clamped, linearly interpolated read of table[0..last] at
// `scale` entries per unit. NaN and infinite inputs stay inside the table.
inline double oddLookup(const double* table, double scale, int last, double x) {
    const double v = x * scale;
    const double m = v > 0.0 ? v : -v;
    const double p = m > last ? static_cast<double>(last) : (m > 0.0 ? m : 0.0);
    const int i = static_cast<int>(p);
    const double f = p - i;
    double y = table[i];
    if (f > 0.0) y = table[i] + f * (table[i + 1] - table[i]);
    return v > 0.0 ? y : -y;
}

inline double hardClip(double x) {
    if (x > 1.0) return 1.0;
    return x < -1.0 ? -1.0 : x;
}

inline double dcBlock(double x, double& prevIn, double& prevOut) {
    const double y = (x - prevIn) + kDcBlockerCoefficient * prevOut;
    prevIn = x;
    prevOut = y;
    return y;
}

// Applies the band's gains, then the curve chosen by typeValue (read once).
inline void shapeBand(double& left, double& right, const double& leftGain, const double& rightGain,
                      const double& bandGain, float typeValue, DcBlockerState& dc, const ShaperTables& tables) {
    left = (leftGain * bandGain) * left;
    right = (rightGain * bandGain) * right;
    switch (shaperTypeFor(typeValue)) {
        case ShaperType::Saturation1:
            left = oddLookup(tables.saturationTable1.data(), 1024.0, 8192, left);
            right = oddLookup(tables.saturationTable1.data(), 1024.0, 8192, right);
            break;
        case ShaperType::Saturation2:
            left = oddLookup(tables.saturationTable2.data(), 2048.0, 8192, left);
            right = oddLookup(tables.saturationTable2.data(), 2048.0, 8192, right);
            break;
        case ShaperType::Saturation3:
            // Positive half from the first curve, negative half from the second.
            left = left > 0.0 ? oddLookup(tables.saturationTable1.data(), 1024.0, 8192, left)
                              : oddLookup(tables.saturationTable2.data(), 2048.0, 8192, left);
            right = right > 0.0 ? oddLookup(tables.saturationTable1.data(), 1024.0, 8192, right)
                                : oddLookup(tables.saturationTable2.data(), 2048.0, 8192, right);
            left = dcBlock(left, dc.prevInLeft, dc.prevOutLeft);
            right = dcBlock(right, dc.prevInRight, dc.prevOutRight);
            break;
        case ShaperType::HardClip:
            left = hardClip(left);
            right = hardClip(right);
            break;
        case ShaperType::Puncher:
            left = oddLookup(tables.punchTable.data(), 1024.0, 8192, left);
            right = oddLookup(tables.punchTable.data(), 1024.0, 8192, right);
            break;
        case ShaperType::Sinus:
            left = oddLookup(tables.sinusTable.data(), 1024.0, 8192, left);
            right = oddLookup(tables.sinusTable.data(), 1024.0, 8192, right);
            break;
        case ShaperType::Crackler:
            left = oddLookup(tables.crackleTable.data(), 2048.0, 4095, left);
            right = oddLookup(tables.crackleTable.data(), 2048.0, 4095, right);
            break;
    }
}
