// One LV2 instance of the effect: the format-free core the VST 2 build also
// runs, fed from the host's control ports through the core's setter.
#pragma once

#include <cstdint>
#include <memory>

#include <lv2/core/lv2.h>

#include "lv2/lv2_analyser_sender.h"
#include "lv2/lv2_identity.h"
#include "core/effect_core.h"

class Lv2EffectInstance {
public:
    // Null when the effect cannot be built. features may be null; the
    // analyser's atoms need the host's URID map among them.
    static std::unique_ptr<Lv2EffectInstance> create(double sampleRate, const LV2_Feature* const* features = nullptr);

    void connectPort(uint32_t port, void* data);
    // A second activation starts from a fresh effect, as LV2 asks.
    bool activate();
    void run(uint32_t frames);

    const EffectCore& getCore() const { return *core; }

private:
    explicit Lv2EffectInstance(double sampleRate);
    bool buildEffect();
    void applyChangedControls();
    // Quality is taken up at the next sub-block, so the delay written is the
    // one this run's output has.
    void applyQualityAndReportLatency();

    double sampleRate;
    unsigned denormalBits;
    bool activatedBefore = false;
    std::unique_ptr<EffectCore> core;
    float* audio[lv2id::kFirstControl] = {};
    const float* controls[kNumParameters] = {};
    const float* quality = nullptr;
    float* latency = nullptr;
    const float* mix = nullptr;
    const float* enabled = nullptr;
    // Each parameter port's and then Mix's value when last converted, so
    // only changes reach the core.
    float portsApplied[kNumParameters + 1];
    Lv2AnalyserSender analyser;
};
