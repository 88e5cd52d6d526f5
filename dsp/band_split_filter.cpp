#include "band_split_filter.h"

#include <cmath>

void BandSplitFilter::design(double frequency, double q, double sampleRate) {
    constexpr double pi = 3.141592653589793;
    const double w = pi * frequency / sampleRate;
    const double t = std::tan(w);
    allpass1Coeff = (t - 1.0) / (t + 1.0);
    const double alpha = std::sin(2.0 * w) / (2.0 * q);
    allpass2Coeff1 = -2.0 * std::cos(2.0 * w) / (1.0 + alpha);
    allpass2Coeff0 = (1.0 - alpha) / (1.0 + alpha);
}
