// The built-in demo signal: a short stereo groove with something in each of
// the three bands (bass line, chord pad, kick/snare/hi-hat), generated in code
// so render and bench need no input file and give the same result every run.
#pragma once

#include <cstddef>
#include <vector>

struct StereoSignal {
    double sampleRate = 44100.0;
    std::vector<float> left;
    std::vector<float> right;

    size_t frames() const { return left.size(); }
};

constexpr double kDemoSeconds = 7.0;
constexpr double kDemoPeak = 0.8;

// Number of frames the demo signal has at this rate.
size_t demoSignalFrames(double sampleRate);

// Deterministic for a given rate; peak exactly kDemoPeak.
StereoSignal makeDemoSignal(double sampleRate);
