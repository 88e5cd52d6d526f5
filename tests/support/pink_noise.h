// Stereo pink noise at a chosen RMS level, the same on every run: the
// programme the factory presets are level-matched on.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

struct NoiseSignal {
    std::vector<float> left, right;
};

inline double rmsOf(const std::vector<float>& a, const std::vector<float>& b, size_t from) {
    double sum = 0.0;
    for (size_t i = from; i < a.size(); ++i) sum += double(a[i]) * a[i] + double(b[i]) * b[i];
    return std::sqrt(sum / (2.0 * static_cast<double>(a.size() - from)));
}

// White noise through a sum of one-pole filters whose slopes add up to
// -3 dB per octave within about half a dB from 10 Hz to 20 kHz at 44.1 kHz.
inline NoiseSignal pinkNoise(size_t frames, double rmsDbfs, uint64_t seed = 0x70696E6B) {
    NoiseSignal signal{std::vector<float>(frames), std::vector<float>(frames)};
    uint64_t state = seed;
    for (std::vector<float>* channel : {&signal.left, &signal.right}) {
        double b[7] = {};
        for (float& sample : *channel) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            const double white = static_cast<double>(state >> 11) * 0x1.0p-52 - 1.0;
            b[0] = 0.99886 * b[0] + white * 0.0555179;
            b[1] = 0.99332 * b[1] + white * 0.0750759;
            b[2] = 0.96900 * b[2] + white * 0.1538520;
            b[3] = 0.86650 * b[3] + white * 0.3104856;
            b[4] = 0.55000 * b[4] + white * 0.5329522;
            b[5] = -0.7616 * b[5] - white * 0.0168980;
            sample = static_cast<float>(b[0] + b[1] + b[2] + b[3] + b[4] + b[5] + b[6] + white * 0.5362);
            b[6] = white * 0.115926;
        }
    }
    const double gain = std::pow(10.0, rmsDbfs / 20.0) / rmsOf(signal.left, signal.right, 0);
    for (std::vector<float>* channel : {&signal.left, &signal.right})
        for (float& sample : *channel) sample = static_cast<float>(sample * gain);
    return signal;
}
