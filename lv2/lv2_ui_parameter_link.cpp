#include "lv2/lv2_ui_parameter_link.h"

#include "core/host_units.h"
#include "core/quality_choice.h"

namespace {

float& slot(float (&extended)[kNumExtendedParameters - kNumParameters], int32_t index) {
    return extended[index - kQualityIndex];
}

uint32_t extendedPort(int32_t index) {
    if (index == kQualityIndex) return lv2id::kQuality;
    return index == kMixIndex ? lv2id::kMix : lv2id::kEnabled;
}

// Each port's unit to the link's and back: the parameters and Mix in the
// units their ports declare (Hz, dB, %), Quality the nearest whole setting,
// enabled the inverse of Bypass.
float linkValue(int32_t index, float portValue) {
    if (index == kQualityIndex) return static_cast<float>(nearestQuality(portValue));
    if (index == kBypassIndex) return portValue > 0.0f ? 0.0f : 1.0f;
    return hostFloatOfUnit(static_cast<HostParameterId>(index), portValue);
}

float portValue(int32_t index, float linkValue) {
    if (index == kBypassIndex) return linkValue != 0.0f ? 0.0f : 1.0f;
    if (index == kQualityIndex) return linkValue;
    return unitFloat(static_cast<HostParameterId>(index), linkValue);
}

// The editor's value as the port can hold it: a whole setting, a switch.
float storable(int32_t index, float value) {
    if (index == kQualityIndex) return static_cast<float>(nearestQuality(value));
    if (index == kBypassIndex) return value != 0.0f ? 1.0f : 0.0f;
    return value;
}

int32_t indexOfPort(uint32_t port) {
    if (lv2id::isParameterPort(port)) return static_cast<int32_t>(port - lv2id::kFirstControl);
    if (port == lv2id::kQuality) return kQualityIndex;
    if (port == lv2id::kMix) return kMixIndex;
    if (port == lv2id::kEnabled) return kBypassIndex;
    return -1;
}

uint32_t portOf(int32_t index) {
    return isExtendedIndex(index) ? extendedPort(index) : lv2id::controlPort(index);
}

bool isLinkIndex(int32_t index) { return ParameterValues::isIndex(index) || isExtendedIndex(index); }

}  // namespace

Lv2UiParameterLink::Lv2UiParameterLink(LV2UI_Write_Function writeFunction, LV2UI_Controller hostController,
                                       const LV2UI_Touch* touchFeature)
    : write(writeFunction), controller(hostController), touch(touchFeature) {
    values.setListener(this);
}

void Lv2UiParameterLink::parameterChanged(int32_t index, float value) {
    if (listener) listener->parameterChanged(index, value);
    const float port = portValue(index, value);
    if (write) write(controller, lv2id::controlPort(index), sizeof port, 0, &port);
}

void Lv2UiParameterLink::portChanged(uint32_t port, float value) {
    const int32_t index = indexOfPort(port);
    if (index < 0) return;
    hostChanged(index, linkValue(index, value));
}

void Lv2UiParameterLink::hostChanged(int32_t index, float value) {
    if (isExtendedIndex(index)) {
        slot(extended, index) = value;
    } else if (ParameterValues::isIndex(index)) {
        // The host owns the port's value: it is shown as reported, never pushed.
        values.store(index, value);
    } else {
        return;
    }
    if (listener) listener->parameterChanged(index, value);
}

void Lv2UiParameterLink::beginEdit(int32_t index) {
    if (touch && isLinkIndex(index)) touch->touch(touch->handle, portOf(index), true);
}

void Lv2UiParameterLink::endEdit(int32_t index) {
    if (touch && isLinkIndex(index)) touch->touch(touch->handle, portOf(index), false);
}

void Lv2UiParameterLink::setValue(int32_t index, float value) {
    if (isExtendedIndex(index)) {
        setExtended(index, value);
    } else {
        values.set(index, value);
    }
}

void Lv2UiParameterLink::setExtended(int32_t index, float value) {
    // Kept as the port holds it, so the editor shows what the plug-in gets.
    const float stored = storable(index, value);
    slot(extended, index) = stored;
    if (listener) listener->parameterChanged(index, stored);
    const float port = portValue(index, stored);
    if (write) write(controller, extendedPort(index), sizeof port, 0, &port);
}

float Lv2UiParameterLink::currentValue(int32_t index) {
    return isExtendedIndex(index) ? slot(extended, index) : values.get(index);
}
