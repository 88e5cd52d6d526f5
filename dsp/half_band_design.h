// The coefficients of the half-band low-pass filters that raise and lower
// the shaping rate by two per stage. Each is the power-complementary
// elliptic half-band: two parallel chains of first-order allpass sections
// in z^-2, H(z) = (A0(z^2) + z^-1 A1(z^2)) / 2, so a stage costs one
// multiplication per coefficient and sample of its lower rate, where a
// linear-phase filter of the same selectivity needs about five times as
// many. Stage 0 works between the host rate and twice it and carries the
// narrow transition (20 kHz to 24.1 kHz at 44.1 kHz); the later stages only
// have to keep the images of that band apart, so they need few sections.
// Every stage rejects at least 90 dB in its stopband; its passband ripple is
// far below 0.001 dB. The response is the same relative to every host rate.
//
// The phase is not linear: the delay is nearly constant at low frequencies
// and grows toward the band edge (see lowFrequencyDelay).
#pragma once

#include <array>

constexpr int kHalfBandStages = 3;
constexpr int kMaxHalfBandCoefficients = 8;

// The band edges the stages keep apart, as fractions of the host rate.
constexpr double kPassbandEdge = 20000.0 / 44100.0;
constexpr double kStopbandEdge = 24100.0 / 44100.0;
constexpr double kStopbandAttenuationDb = 90.0;

// Ascending; the even-indexed ones form A0, the odd-indexed ones A1. A
// section with coefficient a is (a + z^-1) / (1 + a z^-1) at its chain's rate.
struct HalfBandDesign {
    std::array<double, kMaxHalfBandCoefficients> coefficients{};
    int count = 0;
};

// Designs the filter with the fewest sections that reaches `attenuationDb`
// beyond a transition band `transition` wide (a fraction of the higher rate,
// centred on a quarter of it), from elliptic filter theory.
HalfBandDesign designHalfBand(double transition, double attenuationDb);

// The transition band of a stage (0: host rate to twice it), as a fraction
// of the stage's higher rate.
double stageTransition(int stage);

// Designed once on first use; call it before audio runs.
const HalfBandDesign& halfBandDesign(int stage);

// The delay of H at frequencies far below its band edge, in samples of its
// higher rate.
double lowFrequencyDelay(const HalfBandDesign& design);
