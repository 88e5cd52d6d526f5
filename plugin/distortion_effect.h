// Velmora's effect: identity, the 19 parameters, the bank of 16 programs, the
// parameter texts, and the audio callbacks that hand over to the signal path.
#pragma once

#include <atomic>

#include "dsp/distortion_processor.h"
#include "parameter_table.h"
#include "plugin_base.h"

// One program of the bank. Values are atomics because the current program is
// written by whichever thread sets a parameter.
struct Program {
    static constexpr int kNameSize = 32;
    std::atomic<float> values[kNumParameters];
    char name[kNameSize];
};

class DistortionEffect : public PluginBaseExt {
public:
    static constexpr int32_t kNumPrograms = 16;
    static constexpr int32_t kUniqueId = fourCharCode('V', 'l', 'm', '5');
    static constexpr int32_t kVendorVersion = 1000;
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

    void process(float** inputs, float** outputs, int32_t frames) override;
    void processReplacing(float** inputs, float** outputs, int32_t frames) override;

    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    int32_t getVendorVersion() override { return kVendorVersion; }

    const DistortionProcessor& getProcessor() const { return processor; }

private:
    static bool isParameterIndex(int32_t index) { return static_cast<uint32_t>(index) < kNumParameters; }
    Program* currentProgramRecord() const { return programBank ? &programBank[currentProgram] : nullptr; }
    float value(int32_t index) const { return parameterValues[index].load(std::memory_order_relaxed); }
    void storeValue(int32_t index, float newValue);
    void notifyEditor(int32_t index, float newValue);

    Program* programBank = nullptr;
    std::atomic<float> parameterValues[kNumParameters];
    DistortionProcessor processor;
};
