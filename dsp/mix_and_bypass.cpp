#include "mix_and_bypass.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "paired_signal_path.h"

namespace {

constexpr double kFloatMax = std::numeric_limits<float>::max();

float toOutput(double value) { return static_cast<float>(std::clamp(value, -kFloatMax, kFloatMax)); }

}  // namespace

void MixAndBypass::rememberTail(const float* const* inputs, int32_t frames) {
    for (int32_t i = std::max<int32_t>(0, frames - kMaxDelay); i < frames; ++i) remember(inputs[0][i], inputs[1][i]);
}

void MixAndBypass::process(PairedSignalPath& path, float* const* inputs, float* const* outputs, int32_t frames,
                           double mixTarget, bool bypass, int latency, double sampleRate) {
    if (frames <= 0 || !inputs || !outputs || !inputs[0] || !inputs[1] || !outputs[0] || !outputs[1]) return;
    if (!started) {
        // A fresh start is already where it is asked to be: no fade in.
        path.startMixAt(mixTarget);
        fade = bypass ? 1.0 : 0.0;
        started = true;
    } else {
        path.setMix(mixTarget);
    }
    latency = std::clamp(latency, 0, kMaxDelay - 1);
    if (fade == 0.0 && !bypass) {
        // The inputs may be the outputs: keep what bypass would need first.
        float tail[2][kMaxDelay];
        const int32_t kept = std::min<int32_t>(frames, kMaxDelay);
        for (int c = 0; c < 2; ++c) std::copy(inputs[c] + frames - kept, inputs[c] + frames, tail[c]);
        path.processReplacing(inputs, outputs, frames);
        const float* tails[2] = {tail[0], tail[1]};
        rememberTail(tails, kept);
        return;
    }
    for (int32_t done = 0; done < frames;) {
        const int n = static_cast<int>(std::min<int32_t>(frames - done, PairedSignalPath::kSubBlock));
        const float* in[2] = {inputs[0] + done, inputs[1] + done};
        float* out[2] = {outputs[0] + done, outputs[1] + done};
        processSubBlock(path, in, out, n, bypass, latency, sampleRate);
        done += n;
    }
}

void MixAndBypass::processSubBlock(PairedSignalPath& path, const float* const* inputs, float* const* outputs, int n,
                                   bool bypass, int latency, double sampleRate) {
    double raw[2][PairedSignalPath::kSubBlock];
    for (int c = 0; c < 2; ++c) std::copy(inputs[c], inputs[c] + n, raw[c]);
    float* pathInputs[2] = {const_cast<float*>(inputs[0]), const_cast<float*>(inputs[1])};
    path.processReplacing(pathInputs, outputs, n);

    const double rate = std::isfinite(sampleRate) && sampleRate > 0.0 ? sampleRate : 44100.0;
    const double fadeStep = 1.0 / std::max(1.0, std::round(kBypassFadeSeconds * rate));
    const double fadeTarget = bypass ? 1.0 : 0.0;
    for (int i = 0; i < n; ++i) {
        fade = fade < fadeTarget ? std::min(fadeTarget, fade + fadeStep) : std::max(fadeTarget, fade - fadeStep);
        remember(raw[0][i], raw[1][i]);
        for (int c = 0; c < 2; ++c) {
            double sample = outputs[c][i];
            if (fade == 1.0)
                sample = delayed(c, latency);
            else if (fade > 0.0)
                sample = (1.0 - fade) * sample + fade * delayed(c, latency);
            outputs[c][i] = toOutput(sample);
        }
    }
}
