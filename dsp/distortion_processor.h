// The effect's audio path as the effect owns it: the paired (SSE2) signal
// path in storage aligned by hand. The heap of a 32-bit Windows host hands out
// 8-byte aligned blocks, while the compiler takes 16 for granted for every
// object, so the path's 16-byte aligned state cannot simply be a member.
#pragma once

#include <atomic>
#include <cstdint>
#include <new>

#include "mix_and_bypass.h"
#include "paired_signal_path.h"
#include "parameter_index.h"

class DistortionProcessor {
public:
    static constexpr int kSubBlock = PairedSignalPath::kSubBlock;

    // Reads parameters and sample rate from the owner; both outlive this object.
    DistortionProcessor(const std::atomic<float>* parameterValues, const std::atomic<float>* sampleRate)
        : values(parameterValues), rate(sampleRate),
          path(*new (alignedStorage()) PairedSignalPath(parameterValues, sampleRate)) {}
    ~DistortionProcessor() { path.~PairedSignalPath(); }
    DistortionProcessor(const DistortionProcessor&) = delete;
    DistortionProcessor& operator=(const DistortionProcessor&) = delete;

    void processReplacing(float* const* inputs, float* const* outputs, int32_t frames) {
        path.processReplacing(inputs, outputs, frames);
    }
    void processAccumulating(float* const* inputs, float* const* outputs, int32_t frames) {
        path.processAccumulating(inputs, outputs, frames);
    }
    // processReplacing with the dry/wet Mix (0..1, 1 = the path alone) and
    // the host-linked bypass applied (see MixAndBypass).
    void processMixed(float* const* inputs, float* const* outputs, int32_t frames, double mix, bool bypass) {
        outputStage.process(path, inputs, outputs, frames, mix, bypass, latencyFrames(),
                            rate->load(std::memory_order_relaxed));
    }

    // Audio thread: every filter, resampler, ramp and the mix back to the
    // state of a new processor with the current values and Quality, built in
    // place (nothing allocated).
    void clear() {
        const Oversampling setting = path.oversampling();
        const bool vex = path.usesVexEncoding();
        path.~PairedSignalPath();
        new (alignedStorage()) PairedSignalPath(values, rate);
        path.setOversampling(setting);
        path.useVexEncoding(vex);
        outputStage.reset();
    }

    // The rate the bands are shaped at (Normal by default, which is
    // bit-identical to the path without this setting). Safe to call from any
    // thread, allocates nothing; the audio thread applies it at its next
    // sub-block of at most 64 frames.
    void setOversampling(Oversampling setting) { path.setOversampling(setting); }
    Oversampling oversampling() const { return path.oversampling(); }
    // The delay in whole host frames that the output has at a setting (the
    // same at every sample rate), and at the setting last asked for. The
    // resamplers' phase is not linear: this is their low-frequency delay
    // rounded (exactly 2.750, 4.084 and 4.982 frames at 2x, 4x and 8x); higher
    // frequencies come later (at 10 kHz about 1 frame, at 20 kHz about 12.5
    // frames more), so a click's loudest sample arrives at 5, 7 and 8 frames.
    static constexpr int latencyFrames(Oversampling setting) { return PairedSignalPath::latencyFrames(setting); }
    int latencyFrames() const { return latencyFrames(oversampling()); }

    // Which of the two encodings of the audio path runs (see PairedSignalPath).
    bool usesVexEncoding() const { return path.usesVexEncoding(); }
    void useVexEncoding(bool on) { path.useVexEncoding(on); }

    // Signal-path state, exposed read-only for tests and diagnostics.
    double getBandGain(int band) const { return path.getBandGain(band); }
    double getBandLevel(int band) const { return path.getBandLevel(band); }
    double getLeftGain(int band) const { return path.getLeftGain(band); }
    double getRightGain(int band) const { return path.getRightGain(band); }
    double getMasterLevel() const { return path.getMasterLevel(); }

private:
    static constexpr size_t kAlignment = alignof(PairedSignalPath);

    void* alignedStorage() {
        const auto address = reinterpret_cast<uintptr_t>(storage);
        return storage + ((kAlignment - address % kAlignment) % kAlignment);
    }

    const std::atomic<float>* values;
    const std::atomic<float>* rate;
    alignas(8) unsigned char storage[sizeof(PairedSignalPath) + kAlignment];
    PairedSignalPath& path;
    MixAndBypass outputStage;
};
