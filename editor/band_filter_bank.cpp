#include "band_filter_bank.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
// Two equal sections meet at -3 dB a twelfth of an octave from the centre,
// where the neighbouring bands meet too, when each has 0.644 of the Q a
// single section of that bandwidth would have.
constexpr double kSectionShare = 0.6436;
constexpr double kHalfBand = 1.0 / 12.0;  // octaves
// The detector's time constant: three periods of the centre, so a low band's
// sine ripples by a tenth of a dB, and at least 4 ms.
constexpr double kDetectorPeriods = 3.0;
constexpr double kShortestDetector = 0.004;
}  // namespace

double BandFilterBank::centreFrequency(int32_t band) { return 20.0 * std::exp2(band / 6.0); }

void BandFilterBank::setSampleRate(double newRate) {
    rate = newRate;
    inUse = 0;
    for (int32_t k = 0; k < kLanes; ++k) {
        s1[k] = s2[k] = t1[k] = t2[k] = power[k] = peak[k] = 0.0f;
        a1[k] = a2[k] = a3[k] = gain[k] = smoothing[k] = 0.0f;
        const double centre = centreFrequency(k);
        if (k >= kBands || !(rate > 0.0) || centre > 0.45 * rate) continue;
        inUse = k + 1;
        // A topology-preserving state-variable filter: its states stay well
        // conditioned in single precision even for 20 Hz at 192 kHz.
        // The band's edges prewarped: near the top of the range the filter's
        // own frequency warping would otherwise narrow the band.
        const double low = std::tan(kPi * centre * std::exp2(-kHalfBand) / rate);
        const double high = std::tan(kPi * centre * std::exp2(kHalfBand) / rate);
        const double g = std::sqrt(low * high), damping = (high - low) / (g * kSectionShare);
        const double b1 = 1.0 / (1.0 + g * (g + damping));
        a1[k] = static_cast<float>(b1);
        a2[k] = static_cast<float>(g * b1);
        a3[k] = static_cast<float>(g * g * b1);
        gain[k] = static_cast<float>(damping);  // the band pass's peak at unity
        const double tau = std::max(kDetectorPeriods / centre, kShortestDetector);
        smoothing[k] = static_cast<float>(1.0 - std::exp(-1.0 / (tau * rate)));
    }
}

void BandFilterBank::process(const float* samples, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        const float x = samples[i];
        for (int32_t k = 0; k < kLanes; ++k) {
            // First section.
            const float u3 = x - s2[k];
            const float u1 = a1[k] * s1[k] + a2[k] * u3;
            const float u2 = s2[k] + a2[k] * s1[k] + a3[k] * u3;
            s1[k] = 2.0f * u1 - s1[k];
            s2[k] = 2.0f * u2 - s2[k];
            // Second section, fed by the first's band pass.
            const float y = gain[k] * u1;
            const float w3 = y - t2[k];
            const float w1 = a1[k] * t1[k] + a2[k] * w3;
            const float w2 = t2[k] + a2[k] * t1[k] + a3[k] * w3;
            t1[k] = 2.0f * w1 - t1[k];
            t2[k] = 2.0f * w2 - t2[k];
            const float band = gain[k] * w1;
            power[k] += smoothing[k] * (band * band - power[k]);
            peak[k] = std::max(peak[k], power[k]);
        }
    }
}

void BandFilterBank::takeLevels(float* levels) {
    // Twice the mean square is a sine's squared amplitude.
    const float floorPower = std::pow(10.0f, kFloorDb / 10.0f);
    for (int32_t k = 0; k < kBands; ++k) {
        const float p = 2.0f * peak[k];
        levels[k] = p > floorPower ? 10.0f * std::log10(p) : kFloorDb;
        peak[k] = power[k];
    }
}
