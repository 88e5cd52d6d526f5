// The analyser's measurement of one signal: a bank of sixth-octave band
// passes from 20 Hz to 20 kHz, each two state-variable sections (12 dB per
// octave on each side), followed by a power detector. A filter bank rather
// than an FFT: it is a few dozen filters we write ourselves, runs the same on
// Linux and Windows (the Windows cross build has no packaged FFT library),
// and already has the constant relative resolution a logarithmic axis shows.
//
// Levels are in dB relative to full scale for a sine: a sine of amplitude A
// at a band's centre reads 20 log10 A there.
#pragma once

#include <cstdint>

class BandFilterBank {
public:
    static constexpr int32_t kBands = 61;  // 20 Hz * 2^(k/6), k = 0..60
    // What a band reads with nothing in it, and below which nothing is drawn.
    static constexpr float kFloorDb = -90.0f;

    static double centreFrequency(int32_t band);

    // Clears the filters; bands above 0.45 of the rate stay at the floor.
    void setSampleRate(double rate);
    double sampleRate() const { return rate; }
    // The bands below 0.45 of the rate, which measure; those above stay at
    // the floor. All of them before a rate is known.
    int32_t bandsInUse() const { return inUse; }
    // Runs the frames through every band.
    void process(const float* samples, uint32_t count);
    // Per band, the highest detector level since the last call, in dB.
    void takeLevels(float* levels);

private:
    // Padded to a multiple of the vector width, so the band loop vectorises.
    static constexpr int32_t kLanes = 64;

    double rate = 0.0;
    int32_t inUse = kBands;
    float a1[kLanes] = {}, a2[kLanes] = {}, a3[kLanes] = {}, gain[kLanes] = {};
    float s1[kLanes] = {}, s2[kLanes] = {}, t1[kLanes] = {}, t2[kLanes] = {};
    float smoothing[kLanes] = {}, power[kLanes] = {}, peak[kLanes] = {};
};
