// The long-term spectrum of a piece of programme (Welch's method): what a
// listener hears as its tonal balance, for pictures that compare an input
// with what a plug-in made of it.
#pragma once

#include <vector>

struct AverageSpectrum {
    double sampleRate = 0.0;
    double binHz = 0.0;
    // Per bin from DC to half the rate: the mean power of both channels in
    // dB of a full-scale sine's.
    std::vector<double> levelDb;
};

// Hann windows of 4096 frames, half overlapping, analysed with FFTW. Needs
// at least one window's worth of frames; left and right are equally long.
AverageSpectrum averageSpectrum(const std::vector<float>& left, const std::vector<float>& right, double sampleRate);
