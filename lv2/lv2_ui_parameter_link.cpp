#include "lv2/lv2_ui_parameter_link.h"

#include <algorithm>

#include "plugin/editor_base.h"

Lv2UiParameterLink::Lv2UiParameterLink(LV2UI_Write_Function writeFunction, LV2UI_Controller hostController,
                                       const LV2UI_Touch* touchFeature)
    : write(writeFunction), controller(hostController), touch(touchFeature) {
    std::copy(kParameterDefaults.begin(), kParameterDefaults.end(), values);
}

void Lv2UiParameterLink::store(int32_t index, float value) {
    values[index] = value;
    if (listener) listener->setParameter(index, value);
}

void Lv2UiParameterLink::send(int32_t index, float value) {
    store(index, value);
    if (write) write(controller, lv2id::controlPort(index), sizeof value, 0, &value);
}

void Lv2UiParameterLink::hostChanged(int32_t index, float value) {
    if (isParameter(index)) store(index, value);
}

void Lv2UiParameterLink::beginEdit(int32_t index) {
    if (touch && isParameter(index)) touch->touch(touch->handle, lv2id::controlPort(index), true);
}

void Lv2UiParameterLink::endEdit(int32_t index) {
    if (touch && isParameter(index)) touch->touch(touch->handle, lv2id::controlPort(index), false);
}

void Lv2UiParameterLink::setValue(int32_t index, float value) {
    if (!isParameter(index)) return;
    // The effect keeps Cross1 not above Cross2 by pushing the partner along.
    // The UI writes the pushed partner's port too, partner first as the
    // effect reports it, so host, ports and knobs agree with the effect.
    if (index == kCross1 && value > values[kCross2]) send(kCross2, value);
    if (index == kCross2 && value < values[kCross1]) send(kCross1, value);
    send(index, value);
}

float Lv2UiParameterLink::currentValue(int32_t index) { return isParameter(index) ? values[index] : 0.0f; }
