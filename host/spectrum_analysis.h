// The spectrum of a shaped tone, split into what belongs there and what does
// not: the harmonics (multiples of the tone's frequency, DC included) and the
// aliases (every other component above the noise floor, which a shaper at a
// finite rate folds back from above half the sample rate).
#pragma once

#include <cstdint>
#include <vector>

enum class BinKind : uint8_t { Floor, Harmonic, Alias };

struct ToneSpectrum {
    double sampleRate = 0.0;
    double toneHz = 0.0;
    double binHz = 0.0;
    // Per bin from DC to half the rate: the level in dB of full scale (a sine
    // of amplitude 1 centred on a bin peaks at 0 dB) and its kind.
    std::vector<double> levelDb;
    std::vector<BinKind> kind;
    double floorDb = 0.0;        // the median bin's level
    double harmonicPower = 0.0;  // mean-square power of all harmonic components
    double aliasPower = 0.0;     // mean-square power of all alias components
    // Turns a sum of peak levels (as powers) over a lobe into the power of
    // the component, relative to a full-scale sine's 1/2.
    double lobePowerScale = 0.0;

    double aliasToHarmonicDb() const;
    // The power of harmonic k (k x the tone) in dB of a full-scale sine's; a
    // very low value when k x the tone lies above half the rate.
    double harmonicLevelDb(int k) const;
};

// Analyses `samples` (a power-of-two count works fastest) through a 4-term
// Blackman-Harris window, whose sidelobes stay 92 dB down, with FFTW.
ToneSpectrum analyseTone(const std::vector<double>& samples, double sampleRate, double toneHz);
