#include "lv2/lv2_effect_instance.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "core/denormal_mode.h"
#include "core/extended_parameters.h"
#include "core/host_units.h"

namespace {

// Bitwise, so that a NaN written by a host counts as one change, not as a
// change on every block.
bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The nearest setting to a port value; NaN, which fails every comparison,
// counts as Normal.
Oversampling qualityOf(float value) {
    constexpr int kHighest = static_cast<int>(Oversampling::x8);
    int setting = 0;
    while (setting < kHighest && value >= static_cast<float>(setting) + 0.5f) ++setting;
    return static_cast<Oversampling>(setting);
}

}  // namespace

std::unique_ptr<Lv2EffectInstance> Lv2EffectInstance::create(double sampleRate, const LV2_Feature* const* features) {
    std::unique_ptr<Lv2EffectInstance> instance(new (std::nothrow) Lv2EffectInstance(sampleRate));
    if (!instance || !instance->buildEffect()) return nullptr;
    for (; features && *features; ++features)
        if (std::strcmp((*features)->URI, LV2_URID__map) == 0)
            instance->analyser.init(static_cast<const LV2_URID_Map*>((*features)->data));
    return instance;
}

Lv2EffectInstance::Lv2EffectInstance(double rate)
    : sampleRate(rate), denormalBits(DenormalModeScope::flushToZeroBits()) {}

bool Lv2EffectInstance::buildEffect() {
    core.reset(new (std::nothrow) EffectCore);
    if (!core) return false;
    core->setSampleRate(static_cast<float>(sampleRate));
    // A fresh core holds the defaults, which is what every port means until
    // the host writes something else.
    for (int i = 0; i < kNumParameters; ++i)
        portsApplied[i] = unitFloat(static_cast<HostParameterId>(i), kParameterDefaults[static_cast<size_t>(i)]);
    portsApplied[kNumParameters] = unitFloat(kHostMixId, kMixDefault);
    // A UI that listened to the core before keeps listening to this one.
    core->analyser().setListening(analyser.isListening());
    return true;
}

void Lv2EffectInstance::connectPort(uint32_t port, void* data) {
    if (port < lv2id::kFirstControl)
        audio[port] = static_cast<float*>(data);
    else if (lv2id::isParameterPort(port))
        controls[port - lv2id::kFirstControl] = static_cast<const float*>(data);
    else if (port == lv2id::kQuality)
        quality = static_cast<const float*>(data);
    else if (port == lv2id::kLatency)
        latency = static_cast<float*>(data);
    else if (port == lv2id::kMix)
        mix = static_cast<const float*>(data);
    else if (port == lv2id::kEnabled)
        enabled = static_cast<const float*>(data);
    else if (port == lv2id::kAnalyserRequests)
        analyser.connectRequests(data);
    else if (port == lv2id::kAnalyserSamples)
        analyser.connectSamples(data);
}

bool Lv2EffectInstance::activate() {
    if (activatedBefore && !buildEffect()) return false;
    activatedBefore = true;
    return true;
}

// Ports carry Hz, dB and %; the core takes the values of the other
// formats, converted only when a port changed. Index order, through the
// core's setter: the crossover pair is kept in order exactly as when a VST 2
// host sets the same values. Each port is held to its declared range (NaN as
// its default) first: a host may write anything, and a value beyond the
// range would drive the laws far past what they are made for.
void Lv2EffectInstance::applyChangedControls() {
    for (int i = 0; i < kNumParameters; ++i) {
        if (!controls[i] || sameBits(*controls[i], portsApplied[i])) continue;
        portsApplied[i] = *controls[i];
        core->parameters().set(i, hostFloatOfUnit(static_cast<HostParameterId>(i), portsApplied[i]));
    }
    if (mix != nullptr && !sameBits(*mix, portsApplied[kNumParameters])) {
        portsApplied[kNumParameters] = *mix;
        core->setMix(hostFloatOfUnit(kHostMixId, *mix));
    }
}

void Lv2EffectInstance::applyQualityAndReportLatency() {
    // A relaxed store of the setting; the path's buffers for every rate
    // exist already, so a change allocates nothing here.
    core->setOversampling(quality ? qualityOf(*quality) : Oversampling::Normal);
    if (latency) *latency = static_cast<float>(core->processor().latencyFrames());
}

void Lv2EffectInstance::run(uint32_t frames) {
    if (!core) return;
    analyser.readRequests(core->analyser());
    applyChangedControls();
    applyQualityAndReportLatency();
    // Above 0 processes, 0 or below bypasses; NaN counts as processing.
    core->setBypassed(enabled != nullptr && *enabled <= 0.0f);
    float* inputs[2] = {audio[lv2id::kInLeft], audio[lv2id::kInRight]};
    float* outputs[2] = {audio[lv2id::kOutLeft], audio[lv2id::kOutRight]};
    if (!inputs[0] || !inputs[1] || !outputs[0] || !outputs[1]) return;

    const DenormalModeScope denormals(denormalBits);
    while (frames > 0) {
        const auto count = static_cast<int32_t>(std::min<uint32_t>(frames, INT32_MAX));
        core->processReplacing(inputs, outputs, count);
        frames -= static_cast<uint32_t>(count);
        if (frames > 0) {
            for (float*& channel : inputs) channel += count;
            for (float*& channel : outputs) channel += count;
        }
    }
    analyser.send(core->analyser());
}
