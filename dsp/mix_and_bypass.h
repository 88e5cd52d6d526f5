// What the formats whose interface is ours add to the signal path: the
// dry/wet Mix and the host-linked bypass. The path mixes by itself (its dry
// is phase-matched, see PairedSignalPath); this stage hands it the Mix and,
// while bypass fades or holds, runs it one sub-block at a time so that each
// frame becomes
//     (1 - fade) * path output + fade * input delayed by the latency,
// where fade moves between 0 and 1 within kBypassFadeSeconds. Otherwise the
// path's output passes untouched. The path keeps running while bypassed, so
// leaving bypass returns to the output it would have had.
#pragma once

#include <cstdint>

class PairedSignalPath;

class MixAndBypass {
public:
    static constexpr double kBypassFadeSeconds = 0.007;
    static constexpr int kMaxDelay = 8;  // above the longest latency of any Quality

    // Audio thread. mixTarget is clamped to 0..1 by the caller; latency is
    // the path's delay in frames at the setting in force.
    void process(PairedSignalPath& path, float* const* inputs, float* const* outputs, int32_t frames,
                 double mixTarget, bool bypass, int latency, double sampleRate);
    // Back to a fresh start: the next call begins at its targets.
    void reset() { *this = MixAndBypass(); }

private:
    void processSubBlock(PairedSignalPath& path, const float* const* inputs, float* const* outputs, int n,
                         bool bypass, int latency, double sampleRate);
    void remember(double left, double right) {
        head = (head + 1) % kMaxDelay;
        history[0][head] = left;
        history[1][head] = right;
    }
    double delayed(int channel, int latency) const { return history[channel][(head + kMaxDelay - latency) % kMaxDelay]; }
    void rememberTail(const float* const* inputs, int32_t frames);

    bool started = false;
    double fade = 0.0;
    // The last kMaxDelay input frames, newest at head.
    double history[2][kMaxDelay] = {};
    int head = 0;
};
