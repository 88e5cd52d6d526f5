// What shaping a steady tone at a raised rate would give with ideal
// resampling filters: the bands at the host rate (the real crossovers),
// interpolated perfectly to the raised rate, shaped there, cut off with a
// brick wall at half the host rate and brought back, then post-filtered and
// mixed as the audio path does. Only the folding that the raised rate itself
// allows remains, which is the floor a real filter chain can reach.
//
// The tone must fit the analysed length in whole periods (a bin-centred
// frequency): the signals are then periodic, and the ideal filters become
// exact operations on their discrete Fourier transforms.
#pragma once

#include <cstddef>
#include <vector>

struct ReferenceSetup {
    double sampleRate = 44100.0;
    double toneHz = 0.0;         // bin-centred for `frames`
    double amplitude = 0.0;      // of the input sine
    std::size_t frames = 0;          // the analysed (and periodic) length
    float parameters[19] = {};   // the effect's 19 normalised values
};

// The left output over `frames` host frames, at raised-rate factor `factor`.
std::vector<double> brickWallReference(const ReferenceSetup& setup, int factor);
