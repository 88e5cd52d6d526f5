// Velmora as a VST 2 effect: identity, the bank of 16 programs, and the
// record's parameter, text and audio calls handed to the format-free core.
#pragma once

#include <array>

#include "core/effect_core.h"
#include "core/effect_identity.h"
#include "core/parameter_listener.h"
#include "core/parameter_table.h"
#include "core/program_bank.h"
#include "effect_parameter_link.h"
#include "plugin_base.h"

class DistortionEffect : public PluginBaseExt, private ParameterListener {
public:
    static constexpr int32_t kNumPrograms = ProgramBank::kNumPrograms;
    static constexpr int32_t kUniqueId = fourCharCode('V', 'l', 'm', '5');
    static constexpr int32_t kVendorVersion = kEffectVendorVersion;
    static constexpr const std::array<float, kNumParameters>& kDefaults = kParameterDefaults;

    explicit DistortionEffect(AudioMasterCallback host);
    ~DistortionEffect() override;

    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;
    void setProgram(int32_t program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(int32_t category, int32_t index, char* text) override;

    void getParameterLabel(int32_t index, char* label) override;
    void getParameterDisplay(int32_t index, char* text) override;
    void getParameterName(int32_t index, char* text) override;

    // The core's audio path reads its own copy of the sample rate.
    void setSampleRate(float rate) override;
    void setBlockSizeAndSampleRate(int32_t size, float rate) override;
    double updateSampleRate() override;

    void process(float** inputs, float** outputs, int32_t frames) override;
    void processReplacing(float** inputs, float** outputs, int32_t frames) override;

    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    int32_t getVendorVersion() override { return kVendorVersion; }

    const DistortionProcessor& getProcessor() const { return core.processor(); }

private:
    // The core reports each stored value: the current program keeps it and
    // the editor is told.
    void parameterChanged(int32_t index, float value) override;
    void notifyEditor(int32_t index, float value);

    EffectCore core;
    ProgramBank programs;
    EffectParameterLink editorLink{this};
};
