// The LV2 side of the editor's link. The plug-in runs elsewhere (maybe in
// another process), so the UI keeps the port values the host reported and
// writes the user's changes through the host's write function. Beyond the 19
// it carries Quality, Mix and Bypass (extended_parameters.h), each written
// to its own port in that port's unit.
#pragma once

#include <lv2/ui/ui.h>

#include "core/extended_parameters.h"
#include "core/parameter_link.h"
#include "core/parameter_listener.h"
#include "core/parameter_values.h"
#include "lv2/lv2_identity.h"

class Lv2UiParameterLink final : public ParameterLink, private ParameterListener {
public:
    // touch may be null when the host does not offer it.
    Lv2UiParameterLink(LV2UI_Write_Function write, LV2UI_Controller controller, const LV2UI_Touch* touch);

    // The editor told about every change, as the effect tells its editor.
    void setEditor(ParameterListener* editor) { listener = editor; }
    // The host reports a control port's value (port_event); ports the editor
    // does not show (audio, latency) are ignored.
    void portChanged(uint32_t port, float value);
    // The same for a link index, with the value in the link's unit.
    void hostChanged(int32_t index, float value);

    void beginEdit(int32_t index) override;
    // Through the core's setter, so the crossovers are pushed as the plug-in
    // pushes them; every value it changes is written to its port.
    void setValue(int32_t index, float value) override;
    void endEdit(int32_t index) override;
    float currentValue(int32_t index) override;

private:
    void parameterChanged(int32_t index, float value) override;
    // Quality, Mix or Bypass: kept here, written to its port.
    void setExtended(int32_t index, float value);

    // Quality (the setting), Mix and Bypass in the link's units.
    float extended[kNumExtendedParameters - kNumParameters] = {0.0f, kMixDefault, 0.0f};
    LV2UI_Write_Function write;
    LV2UI_Controller controller;
    const LV2UI_Touch* touch;
    ParameterListener* listener = nullptr;
    ParameterValues values;
};
