// The taps of the half-band low-pass filters that raise and lower the
// shaping rate by two per stage. Stage 0 works between the host rate and
// twice it and carries the narrow transition (20 kHz to 24.1 kHz at 44.1 kHz);
// the later stages only have to keep the images of that band apart, so they
// are much shorter. Every stage rejects at least 90 dB in its stopband and
// stays within 0.0003 dB up to 20 kHz at 44.1 kHz, the same relative
// response at every host rate.
#pragma once

#include <array>

// Non-zero taps besides the centre, per side, for each stage.
constexpr int kHalfBandPairs[3] = {34, 7, 5};
constexpr int kHalfBandStages = 3;

// A half-band filter of length 4K - 1 has its centre tap at 1/2 and every
// other tap zero; the remaining 2K taps are symmetric. `taps` holds the first
// K of them, oldest input first (tap i multiplies input n - i and n - (2K-1-i)
// of its phase).
struct HalfBandTaps {
    std::array<double, 36> taps{};
    int pairs = 0;
};

// Designed once (Kaiser window) on first use; call it before audio runs.
const HalfBandTaps& halfBandTaps(int stage);
