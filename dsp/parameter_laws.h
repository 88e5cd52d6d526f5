// How normalised parameter values (0..1) become the quantities of the signal
// path. The parameter texts use the same laws so the host shows what is heard.
#pragma once

#include <cmath>

namespace laws {

constexpr double kLn1000 = 6.907755278982137;
constexpr double kLn10000 = 9.210340371976184;
constexpr double kLn100PlusE = 4.63199011305389;
constexpr double kCrossoverQ = 1.0;

// 20 Hz .. 20 kHz, exponential.
inline double crossoverFrequency(float p) { return 20.0 * std::exp(p * kLn1000); }

// Drive into the shaper: 0.1 .. 1000 (-20 dB .. +60 dB), unity at 0.25.
inline double drive(float p) { return 0.1 * std::exp(p * kLn10000); }

// Band and master level: exactly 0 at 0, exactly 1 at 1.
inline double level(float p) { return 0.01 * (std::exp(p * kLn100PlusE) - std::exp(static_cast<double>(p))); }

// Linear balance: centre leaves both sides at 1, turning attenuates the other side.
inline double balanceLeft(float p) { return p > 0.5f ? 2.0 * (1.0 - p) : 1.0; }
inline double balanceRight(float p) { return p <= 0.5f ? 2.0 * p : 1.0; }

inline bool soloOn(float p) { return p > 0.5f; }
inline bool postFilterOn(float p) { return p >= 0.5f; }

// The crossover design is valid only below half the sample rate; keeping it a
// little below also keeps the filters stable at low sample rates.
constexpr double kMaxDesignFraction = 0.49;
inline double designableFrequency(double frequency, double sampleRate) {
    // A frequency of zero (from a value far below 0) becomes 1 Hz, and then
    // the cap applies, since at very low sample rates even 1 Hz is too high.
    if (!(frequency > 0.0)) frequency = 1.0;
    const double limit = kMaxDesignFraction * sampleRate;
    if (!(frequency <= limit)) frequency = limit;
    return frequency;
}

// A host may hand us a sample rate of 0 or garbage before setting a real one.
// Any positive finite rate is usable: the design cap above keeps the filters
// stable however low it is.
inline double usableSampleRate(float rate) {
    return (std::isfinite(rate) && rate > 0.0f) ? static_cast<double>(rate) : 44100.0;
}

// The nearest value inside 0..1; NaN counts as 0.
inline float clampedToUnit(float p) { return p > 1.0f ? 1.0f : (p >= 0.0f ? p : 0.0f); }

// A host may store any float. A value outside 0..1 follows the law as long as
// the result stays finite; where it would not (NaN, infinities, or a value so
// large that the exponential overflows), the law of the nearest in-range value
// is used, so a ramp toward it can never turn into inf - inf for good.
template <typename Law>
inline double guarded(Law law, float p) {
    const double result = law(p);
    return std::isfinite(result) ? result : law(clampedToUnit(p));
}

}  // namespace laws
