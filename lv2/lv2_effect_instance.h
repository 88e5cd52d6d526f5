// One LV2 instance of the effect: the format-free core the VST 2 build also
// runs, fed from the host's control ports through the core's setter.
#pragma once

#include <cstdint>
#include <memory>

#include "lv2/lv2_identity.h"
#include "core/effect_core.h"

class Lv2EffectInstance {
public:
    // Null when the effect cannot be built.
    static std::unique_ptr<Lv2EffectInstance> create(double sampleRate);

    void connectPort(uint32_t port, void* data);
    // A second activation starts from a fresh effect, as LV2 asks.
    bool activate();
    void run(uint32_t frames);

    const EffectCore& getCore() const { return *core; }

private:
    explicit Lv2EffectInstance(double sampleRate);
    bool buildEffect();
    void applyChangedControls();

    double sampleRate;
    unsigned denormalBits;
    bool activatedBefore = false;
    std::unique_ptr<EffectCore> core;
    float* audio[lv2id::kFirstControl] = {};
    const float* controls[kNumParameters] = {};
    // What the setter was last given for each port, so only changes reach it.
    float applied[kNumParameters];
};
