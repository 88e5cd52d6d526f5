// Splits one channel at one frequency into a low and a high output, built from
// a first-order and a second-order allpass fed with the same (half-scaled)
// input. With q = 1 the pair is a third-order Butterworth crossover whose
// outputs sum to a first-order allpass; the high output is polarity-inverted.
#pragma once

#include <cmath>

class BandSplitFilter {
public:
    // Computes the three coefficients; the recursion state is kept, so a
    // redesign between blocks continues smoothly.
    void design(double frequency, double q, double sampleRate);

    double getAllpass1Coeff() const { return allpass1Coeff; }
    double getAllpass2Coeff0() const { return allpass2Coeff0; }
    double getAllpass2Coeff1() const { return allpass2Coeff1; }
    void setAllpass1Coeff(double value) { allpass1Coeff = value; }
    void setAllpass2Coeff0(double value) { allpass2Coeff0 = value; }
    void setAllpass2Coeff1(double value) { allpass2Coeff1 = value; }

    // Takes another filter's coefficients (designing once, copying to the rest).
    void copyCoefficientsFrom(const BandSplitFilter& source) {
        setAllpass1Coeff(source.getAllpass1Coeff());
        setAllpass2Coeff0(source.getAllpass2Coeff0());
        setAllpass2Coeff1(source.getAllpass2Coeff1());
    }

    void processSample(double x) {
        const double h = 0.5 * x;
        allpass1Out = allpass1Coeff * (h - allpass1Out) + inputDelay1;
        const double y2 = allpass2Coeff0 * (h - allpass2Delay2) +
                          allpass2Coeff1 * (inputDelay1 - allpass2Delay1) + inputDelay2;
        allpass2Delay2 = allpass2Delay1;
        allpass2Delay1 = y2;
        allpass2Out = y2;
        inputDelay2 = inputDelay1;
        inputDelay1 = h;
    }

    // A non-finite sample would stay in the recursion for ever; starting again
    // from silence is the only way back to sound. Coefficients are kept.
    void clearIfNotFinite() {
        if (std::isfinite(allpass1Out) && std::isfinite(allpass2Out) && std::isfinite(inputDelay1) &&
            std::isfinite(inputDelay2) && std::isfinite(allpass2Delay1) && std::isfinite(allpass2Delay2))
            return;
        allpass1Out = allpass2Out = inputDelay1 = inputDelay2 = allpass2Delay1 = allpass2Delay2 = 0.0;
    }

    double lowOutput() const { return allpass1Out + allpass2Out; }
    double highOutput() const { return allpass1Out - allpass2Out; }

private:
    double allpass1Coeff = 0.0;
    double allpass2Coeff0 = 0.0;
    double allpass2Coeff1 = 0.0;
    double allpass1Out = 0.0;
    double allpass2Out = 0.0;
    double inputDelay1 = 0.0;
    double inputDelay2 = 0.0;
    double allpass2Delay1 = 0.0;
    double allpass2Delay2 = 0.0;
};
