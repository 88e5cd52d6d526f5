// What the analyser strip shows: the spectra of the plug-in's input and
// output, read from an AnalysisSource on the UI thread, with the ballistics
// of a meter: a level rises at once and falls with a 300 ms time constant.
#pragma once

#include <cstdint>

#include "core/analysis_source.h"
#include "editor/band_filter_bank.h"

class SpectrumAnalysis {
public:
    static constexpr int32_t kBands = BandFilterBank::kBands;
    static constexpr float kFallSeconds = 0.3f;

    explicit SpectrumAnalysis(AnalysisSource& source) : source(source) {}

    // Takes what arrived and moves the levels on to `nowMs` (a millisecond
    // tick that may wrap). True when the picture changed: while sound
    // arrives, and while the levels fall, but not once they rest.
    bool update(uint32_t nowMs);
    void clear();

    // Per band, in dB (BandFilterBank::kFloorDb when silent).
    const float* inputLevels() const { return shownInput; }
    const float* outputLevels() const { return shownOutput; }
    // The bands that measure at the rate in use (see BandFilterBank).
    int32_t bandsInUse() const { return inputBank.bandsInUse(); }

private:
    // Runs every waiting frame through both banks; false when none waited.
    bool analyseWaitingFrames();
    bool applyBallistics(float seconds);

    AnalysisSource& source;
    BandFilterBank inputBank;
    BandFilterBank outputBank;
    float shownInput[kBands];
    float shownOutput[kBands];
    uint32_t lastTick = 0;
    bool started = false;
};
