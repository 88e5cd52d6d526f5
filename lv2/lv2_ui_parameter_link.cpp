#include "lv2/lv2_ui_parameter_link.h"

Lv2UiParameterLink::Lv2UiParameterLink(LV2UI_Write_Function writeFunction, LV2UI_Controller hostController,
                                       const LV2UI_Touch* touchFeature)
    : write(writeFunction), controller(hostController), touch(touchFeature) {
    values.setListener(this);
}

void Lv2UiParameterLink::parameterChanged(int32_t index, float value) {
    if (listener) listener->parameterChanged(index, value);
    if (write) write(controller, lv2id::controlPort(index), sizeof value, 0, &value);
}

void Lv2UiParameterLink::hostChanged(int32_t index, float value) {
    if (!ParameterValues::isIndex(index)) return;
    // The host owns the port's value: it is shown as reported, never pushed.
    values.store(index, value);
    if (listener) listener->parameterChanged(index, value);
}

void Lv2UiParameterLink::beginEdit(int32_t index) {
    if (touch && ParameterValues::isIndex(index)) touch->touch(touch->handle, lv2id::controlPort(index), true);
}

void Lv2UiParameterLink::endEdit(int32_t index) {
    if (touch && ParameterValues::isIndex(index)) touch->touch(touch->handle, lv2id::controlPort(index), false);
}

void Lv2UiParameterLink::setValue(int32_t index, float value) { values.set(index, value); }

float Lv2UiParameterLink::currentValue(int32_t index) { return values.get(index); }
