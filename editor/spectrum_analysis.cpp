#include "spectrum_analysis.h"

#include <algorithm>
#include <cmath>

#include "core/denormal_mode.h"

namespace {
constexpr uint32_t kChunk = 512;
}  // namespace

void SpectrumAnalysis::clear() {
    std::fill(shownInput, shownInput + kBands, BandFilterBank::kFloorDb);
    std::fill(shownOutput, shownOutput + kBands, BandFilterBank::kFloorDb);
    started = false;
}

bool SpectrumAnalysis::analyseWaitingFrames() {
    AnalysisFrame frames[kChunk];
    float input[kChunk], output[kChunk];
    bool any = false;
    // The filters' states die away into denormals in silence.
    static const unsigned flushBits = DenormalModeScope::flushToZeroBits();
    const DenormalModeScope flushToZero(flushBits);
    for (;;) {
        const uint32_t count = source.read(frames, kChunk);
        if (count == 0) break;
        const double rate = source.sampleRate();
        if (rate != inputBank.sampleRate()) {
            inputBank.setSampleRate(rate);
            outputBank.setSampleRate(rate);
        }
        for (uint32_t i = 0; i < count; ++i) {
            input[i] = frames[i].input;
            output[i] = frames[i].output;
        }
        inputBank.process(input, count);
        outputBank.process(output, count);
        any = true;
    }
    return any;
}

bool SpectrumAnalysis::update(uint32_t nowMs) {
    if (!started) {
        clear();
        started = true;
        lastTick = nowMs;
    }
    const float seconds = static_cast<float>(nowMs - lastTick) * 0.001f;
    lastTick = nowMs;
    const bool arrived = analyseWaitingFrames();
    bool changed = applyBallistics(seconds);
    if (arrived) {
        float measured[kBands];
        inputBank.takeLevels(measured);
        for (int32_t k = 0; k < kBands; ++k) shownInput[k] = std::max(shownInput[k], measured[k]);
        outputBank.takeLevels(measured);
        for (int32_t k = 0; k < kBands; ++k) shownOutput[k] = std::max(shownOutput[k], measured[k]);
        changed = true;
    }
    return changed;
}

bool SpectrumAnalysis::applyBallistics(float seconds) {
    // An amplitude time constant: 8.7 dB per time constant.
    const float fall = 20.0f * std::log10(std::exp(1.0f)) * seconds / kFallSeconds;
    bool moved = false;
    for (float* levels : {shownInput, shownOutput}) {
        for (int32_t k = 0; k < kBands; ++k) {
            if (levels[k] <= BandFilterBank::kFloorDb) continue;
            levels[k] = std::max(levels[k] - fall, BandFilterBank::kFloorDb);
            moved = true;
        }
    }
    return moved;
}
