// The effect's side of the analyser: while an editor listens, the audio
// thread copies each block's input and output into a wait-free ring that the
// editor empties on its own thread. While no one listens the audio thread
// reads one flag per block and does nothing else.
//
// The input is copied before the block is processed and the output after,
// into the same slots, which are published only then: a host may process
// in place, so the input is gone once the block has run.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/analysis_source.h"
#include "core/spsc_ring.h"

class AnalyserFeed final : public AnalysisSource {
public:
    // About a third of a second at 48 kHz: an editor idles many times in that.
    static constexpr uint32_t kCapacity = 16384;

    // Audio thread, before the block runs: copies its input and returns how
    // many frames take part (0 while no one listens or the ring is full).
    uint32_t takeInput(const float* const* inputs, int32_t frames, float rate) {
        if (!listening.load(std::memory_order_relaxed) || frames <= 0) return 0;
        uint32_t count = ring.writable();
        if (count > static_cast<uint32_t>(frames)) count = static_cast<uint32_t>(frames);
        for (uint32_t i = 0; i < count; ++i) ring.slotToWrite(i).input = 0.5f * (inputs[0][i] + inputs[1][i]);
        frameRate.store(rate, std::memory_order_relaxed);
        return count;
    }
    // Audio thread, after the block ran: the output of the same frames, and
    // the frames are handed over.
    void takeOutput(const float* const* outputs, uint32_t count) {
        if (count == 0) return;
        for (uint32_t i = 0; i < count; ++i) ring.slotToWrite(i).output = 0.5f * (outputs[0][i] + outputs[1][i]);
        ring.publish(count);
        fed.store(fed.load(std::memory_order_relaxed) + count, std::memory_order_relaxed);
    }

    void setListening(bool on) override {
        // Frames left from an earlier listener would show a stale picture.
        if (on) ring.release(ring.readable());
        listening.store(on, std::memory_order_relaxed);
    }
    bool isListening() const { return listening.load(std::memory_order_relaxed); }

    uint32_t read(AnalysisFrame* frames, uint32_t capacity) override {
        uint32_t count = ring.readable();
        if (count > capacity) count = capacity;
        for (uint32_t i = 0; i < count; ++i) frames[i] = ring.slotToRead(i);
        ring.release(count);
        return count;
    }
    double sampleRate() const override { return frameRate.load(std::memory_order_relaxed); }
    // Consumer: frames waiting to be read.
    uint32_t readableFrames() const { return ring.readable(); }

    // Frames handed over so far (wrapping): how much work the audio thread
    // did for the analyser.
    uint32_t framesFed() const { return fed.load(std::memory_order_relaxed); }

private:
    SpscRing<AnalysisFrame, kCapacity> ring;
    std::atomic<bool> listening{false};
    std::atomic<float> frameRate{0.0f};
    std::atomic<uint32_t> fed{0};
};
