#include "band_oversampler.h"

BandOversampler::BandOversampler() {
    for (int s = 0; s < kHalfBandStages; ++s) {
        upStages[s].load(s);
        downStages[s].load(s);
    }
    reset();
}

void BandOversampler::reset() {
    for (int s = 0; s < kHalfBandStages; ++s) {
        upStages[s].reset();
        downStages[s].reset();
    }
}

void BandOversampler::clearNonFinite(int factor) {
    for (int s = 0, span = 2; span <= factor; ++s, span *= 2) {
        upStages[s].clearNonFinite();
        downStages[s].clearNonFinite();
    }
}

double BandOversampler::lowFrequencyDelayFrames(int factor) {
    double frames = 0.0;
    for (int s = 0, span = 2; span <= factor; ++s, span *= 2) {
        // Up and down, in samples of the stage's higher rate (span times the host's).
        const double samples = 2.0 * lowFrequencyDelay(halfBandDesign(s)) - (laterPhase(factor, s) ? 1.0 : 0.0);
        frames += samples / span;
    }
    return frames;
}
