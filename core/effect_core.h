// The effect without a plug-in format: its current values (with the
// crossover push) and the audio path that reads them. A format's adapter
// sets values and the sample rate from its host's calls and runs the path
// over the host's buffers.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/analyser_feed.h"
#include "dsp/distortion_processor.h"
#include "parameter_values.h"

class EffectCore {
public:
    static constexpr float kDefaultSampleRate = 44100.0f;

    EffectCore() : path(values.atomics(), &rate) {}
    EffectCore(const EffectCore&) = delete;
    EffectCore& operator=(const EffectCore&) = delete;

    ParameterValues& parameters() { return values; }
    const ParameterValues& parameters() const { return values; }

    // Any thread; the audio path picks it up at its next block.
    void setSampleRate(float sampleRate) { rate.store(sampleRate, std::memory_order_relaxed); }
    float sampleRate() const { return rate.load(std::memory_order_relaxed); }

    // Audio thread: two input and two output channels of `frames` samples;
    // inputs and outputs may be the same buffers. Never allocates or locks.
    // While an editor listens, the block's input and output (after the mix)
    // go to the analyser as well.
    void processReplacing(float* const* inputs, float* const* outputs, int32_t frames) {
        const uint32_t analysed = feed.takeInput(inputs, frames, sampleRate());
        path.processMixed(inputs, outputs, frames, mix(), bypassed());
        feed.takeOutput(outputs, analysed);
    }
    // The same, adding the result to what the outputs hold.
    void processAccumulating(float* const* inputs, float* const* outputs, int32_t frames) {
        path.processAccumulating(inputs, outputs, frames);
    }

    // Any thread, allocates nothing: the rate the bands are shaped at, for
    // the formats that offer it (VST 2 always runs Normal). The delay it
    // brings is processor().latencyFrames().
    void setOversampling(Oversampling setting) { path.setOversampling(setting); }

    // Any thread, for the formats that offer them (VST 2 never calls these,
    // so its output stays the effect alone): the wet share 0..1 (clamped,
    // NaN counts as 1) and the host-linked bypass.
    void setMix(float share) {
        const float valid = share >= 0.0f ? (share <= 1.0f ? share : 1.0f) : (share < 0.0f ? 0.0f : 1.0f);
        mixShare.store(valid, std::memory_order_relaxed);
    }
    float mix() const { return mixShare.load(std::memory_order_relaxed); }
    void setBypassed(bool on) { bypass.store(on, std::memory_order_relaxed); }
    bool bypassed() const { return bypass.load(std::memory_order_relaxed); }

    // Audio thread: the path as a fresh activation at the same rate and
    // values would start it; allocates nothing.
    void clearAudioState() { path.clear(); }

    const DistortionProcessor& processor() const { return path; }
    // Lives as long as the core, so an editor may read it until it closes.
    AnalyserFeed& analyser() { return feed; }

private:
    ParameterValues values;
    std::atomic<float> rate{kDefaultSampleRate};
    DistortionProcessor path;
    std::atomic<float> mixShare{1.0f};
    std::atomic<bool> bypass{false};
    AnalyserFeed feed;
};
