#include "core/hosted_effect.h"

#include <bit>

#include "core/parameter_listener.h"

void HostedEffect::setListener(ParameterListener* newListener) {
    listener = newListener;
    effect.parameters().setListener(newListener);
}

bool HostedEffect::activate(double sampleRate) {
    effect.setSampleRate(static_cast<float>(sampleRate));
    // The Quality asked for while active, if it waited for this restart,
    // takes effect now.
    const Oversampling quality = qualityAsked.load(std::memory_order_relaxed);
    effect.setOversampling(quality);
    qualityInEffect.store(quality, std::memory_order_relaxed);
    restartAsked.store(false, std::memory_order_relaxed);
    effect.clearAudioState();
    active.store(true, std::memory_order_relaxed);
    const uint32_t latency = latencyFrames();
    const bool changed = latency != latencyOfLastActivation;
    latencyOfLastActivation = latency;
    return changed;
}

// Only a value moved into the range is news: the float a value in range is
// stored as is what the host's double means.
HostValueReports HostedEffect::applyHostValue(HostParameterId id, double value) {
    HostValueReports out;
    const HostParameter* parameter = hostParameter(id);
    if (parameter == nullptr) return out;
    const float crossovers[2] = {effect.parameters().get(kCross1), effect.parameters().get(kCross2)};
    const double valid = validHostValue(*parameter, value);
    out.restartNeeded = store(id, valid);
    for (int32_t partner : {kCross1, kCross2}) {
        const float now = effect.parameters().get(partner);
        if (static_cast<HostParameterId>(partner) != id &&
            std::bit_cast<uint32_t>(now) != std::bit_cast<uint32_t>(crossovers[partner - kCross1]))
            out.add(static_cast<HostParameterId>(partner), now);
    }
    if (!(valid == value)) {
        double stored = valid;
        this->value(id, stored);
        out.add(id, stored);
    }
    return out;
}

HostValueReports HostedEffect::applyEditorValue(HostParameterId id, double value) {
    HostValueReports out = applyHostValue(id, value);
    double stored = 0.0;
    if (this->value(id, stored) && (out.count == 0 || out.reports[out.count - 1].id != id)) out.add(id, stored);
    return out;
}

bool HostedEffect::loadValues(const std::array<float, kHostParameterCount>& values) {
    bool restartNeeded = false;
    for (uint32_t i = 0; i < kHostParameterCount; ++i)
        if (values[i] == values[i]) restartNeeded |= store(i, validHostValue(kHostParameters[i], values[i]));
    return restartNeeded;
}

bool HostedEffect::store(HostParameterId id, double valid) {
    bool restartNeeded = false;
    if (id == kHostQualityId)
        restartNeeded = setQuality(hostQualitySetting(valid));
    else if (id == kHostMixId)
        effect.setMix(static_cast<float>(valid));
    else if (id == kHostBypassId)
        effect.setBypassed(valid > 0.0);
    else
        effect.parameters().set(static_cast<int32_t>(id), static_cast<float>(valid));
    if (id >= kNumParameters) tellListener(id, valid);
    return restartNeeded;
}

void HostedEffect::tellListener(HostParameterId id, double valid) {
    if (listener != nullptr) listener->parameterChanged(static_cast<int32_t>(id), static_cast<float>(valid));
}

// Any thread. The latency may not change while the plug-in is active, so a
// setting with another delay waits for the restart the host is asked for
// (once), and the delay the host compensates always matches the sound. A
// setting with the same delay, or any setting while inactive, needs no
// restart and is taken up at once (within a sub-block).
bool HostedEffect::setQuality(Oversampling asked) {
    qualityAsked.store(asked, std::memory_order_relaxed);
    const Oversampling running = qualityInEffect.load(std::memory_order_relaxed);
    if (!isActive() || DistortionProcessor::latencyFrames(asked) == DistortionProcessor::latencyFrames(running)) {
        effect.setOversampling(asked);
        qualityInEffect.store(asked, std::memory_order_relaxed);
        return false;
    }
    return !restartAsked.exchange(true, std::memory_order_relaxed);
}

uint32_t HostedEffect::latencyFrames() const {
    const Oversampling setting = (isActive() ? qualityInEffect : qualityAsked).load(std::memory_order_relaxed);
    return static_cast<uint32_t>(DistortionProcessor::latencyFrames(setting));
}

bool HostedEffect::value(HostParameterId id, double& out) const {
    if (id == kHostQualityId)
        out = static_cast<double>(qualityAsked.load(std::memory_order_relaxed));
    else if (id == kHostMixId)
        out = effect.mix();
    else if (id == kHostBypassId)
        out = effect.bypassed() ? 1.0 : 0.0;
    else if (id < kNumParameters)
        out = effect.parameters().get(static_cast<int32_t>(id));
    else
        return false;
    return true;
}

std::array<float, kHostParameterCount> HostedEffect::allValues() const {
    std::array<float, kHostParameterCount> values{};
    for (uint32_t i = 0; i < kHostParameterCount; ++i) {
        double stored = 0.0;
        value(i, stored);
        values[i] = static_cast<float>(stored);
    }
    return values;
}
