// How late a smooth pulse comes out of a path, to a fraction of a frame. The
// raised shaping rates use minimum-phase-like half-bands, whose delay grows
// toward the top of the band, so a click's loudest sample says little; the
// latency they report is the delay of low frequencies, which a pulse with
// all its energy far below the band edge measures.
#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

// A raised-cosine pulse of `length` frames starting at `at` (energy below
// about 2 * rate / length).
inline std::vector<float> smoothPulse(size_t frames, size_t at, size_t length, float height) {
    std::vector<float> pulse(frames, 0.0f);
    const double pi = 3.14159265358979323846;
    for (size_t n = 0; n < length && at + n < frames; ++n)
        pulse[at + n] = static_cast<float>(0.5 * height * (1.0 - std::cos(2.0 * pi * double(n) / double(length))));
    return pulse;
}

// The lag in [0, maxLag) at which `delayed` best matches `reference`, refined
// by a parabola through the cross-correlation's neighbouring lags.
inline double lowFrequencyDelay(const std::vector<float>& reference, const std::vector<float>& delayed, int maxLag) {
    auto correlation = [&](int lag) {
        if (lag < 0) return 0.0;
        double sum = 0.0;
        for (size_t n = 0; n + size_t(lag) < delayed.size() && n < reference.size(); ++n)
            sum += double(reference[n]) * delayed[n + size_t(lag)];
        return sum;
    };
    int best = 0;
    for (int lag = 1; lag < maxLag; ++lag)
        if (correlation(lag) > correlation(best)) best = lag;
    const double before = correlation(best - 1), at = correlation(best), after = correlation(best + 1);
    const double curvature = before - 2.0 * at + after;
    return curvature == 0.0 ? best : best + 0.5 * (before - after) / curvature;
}
