// The VST 2 side of the editor's link: everything goes through the effect,
// whose automation calls tell the host.
#pragma once

#include "core/parameter_link.h"
#include "plugin_base.h"

class EffectParameterLink final : public ParameterLink {
public:
    // Without an effect every call does nothing and values read as 0.
    explicit EffectParameterLink(PluginBaseExt* effect) : effect(effect) {}

    void beginEdit(int32_t index) override {
        if (effect) effect->beginEdit(index);
    }
    void setValue(int32_t index, float value) override {
        if (effect) effect->setParameterAutomated(index, value);
    }
    void endEdit(int32_t index) override {
        if (effect) effect->endEdit(index);
    }
    float currentValue(int32_t index) override { return effect ? effect->getParameter(index) : 0.0f; }
    void hostIdle() override {
        if (effect) effect->masterIdle();
    }

private:
    PluginBaseExt* effect;
};
