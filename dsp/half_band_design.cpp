#include "half_band_design.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// The nome q of the elliptic modulus that the transition band sets, by its
// series in the complementary modulus.
double nome(double selectivity) {
    const double complementary = std::pow(1.0 - selectivity * selectivity, 0.25);
    const double e = 0.5 * (1.0 - complementary) / (1.0 + complementary);
    const double e4 = std::pow(e, 4.0);
    return e * (1.0 + e4 * (2.0 + e4 * (15.0 + 150.0 * e4)));
}

// The odd order whose elliptic filter reaches the attenuation; the
// half-band's stopband loss and its passband ripple are tied, so the
// stopband alone decides.
int orderFor(double q, double attenuationDb) {
    const double stopPower = std::pow(10.0, -attenuationDb / 10.0);
    const double ratio = stopPower / (1.0 - stopPower);
    int order = static_cast<int>(std::ceil(std::log(ratio * ratio / 16.0) / std::log(q)));
    if (order % 2 == 0) ++order;
    return order < 3 ? 3 : order;
}

// The m-th pole pair's frequency from the theta-function series of the
// elliptic sine, and from it the allpass coefficient.
double coefficient(int m, int order, double q, double selectivity) {
    double numerator = 0.0, denominator = 0.0;
    for (int n = 0; n < 40; ++n) {
        const double sign = n % 2 ? -1.0 : 1.0;
        numerator += sign * std::pow(q, n * (n + 1.0)) * std::sin((2 * n + 1) * m * kPi / order);
        if (n > 0) denominator += sign * std::pow(q, static_cast<double>(n) * n) * std::cos(2 * n * m * kPi / order);
    }
    const double w = 2.0 * std::pow(q, 0.25) * numerator / (1.0 + 2.0 * denominator);
    const double w2 = w * w;
    const double x = std::sqrt((1.0 - w2 * selectivity) * (1.0 - w2 / selectivity)) / (1.0 + w2);
    return (1.0 - x) / (1.0 + x);
}

}  // namespace

HalfBandDesign designHalfBand(double transition, double attenuationDb) {
    // The selectivity is tan^2 of the passband edge, in radians per sample / 2.
    const double edge = std::tan((1.0 - 2.0 * transition) * kPi / 4.0);
    const double selectivity = edge * edge;
    const double q = nome(selectivity);
    const int order = orderFor(q, attenuationDb);
    HalfBandDesign design;
    design.count = (order - 1) / 2;
    if (design.count > kMaxHalfBandCoefficients) design.count = kMaxHalfBandCoefficients;
    for (int i = 0; i < design.count; ++i) design.coefficients[i] = coefficient(i + 1, order, q, selectivity);
    return design;
}

double stageTransition(int stage) {
    // Stage 0 keeps 20 kHz and rejects from 24.1 kHz (at 44.1 kHz). A later
    // stage at `lower` times the host rate passes all of that (up to the
    // stopband edge) and rejects its images, from lower - kStopbandEdge.
    if (stage == 0) return (kStopbandEdge - kPassbandEdge) / 2.0;
    const double lower = static_cast<double>(1 << stage);
    return (lower - 2.0 * kStopbandEdge) / (2.0 * lower);
}

const HalfBandDesign& halfBandDesign(int stage) {
    // Evaluated from the coefficients (tests/dsp/oversampling_test.cpp):
    // 7, 4 and 2 sections, worst stopband -91.1, -108.8 and -90.2 dB.
    static const HalfBandDesign stages[kHalfBandStages] = {
        designHalfBand(stageTransition(0), kStopbandAttenuationDb),
        designHalfBand(stageTransition(1), kStopbandAttenuationDb),
        designHalfBand(stageTransition(2), kStopbandAttenuationDb)};
    return stages[stage];
}

double lowFrequencyDelay(const HalfBandDesign& design) {
    // A section in z^-2 delays DC by 2 (1 - a) / (1 + a) samples; H averages
    // its two chains, the second one sample later.
    double chain[2] = {0.0, 1.0};
    for (int i = 0; i < design.count; ++i) {
        const double a = design.coefficients[i];
        chain[i % 2] += 2.0 * (1.0 - a) / (1.0 + a);
    }
    return (chain[0] + chain[1]) / 2.0;
}
