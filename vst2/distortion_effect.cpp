#include "distortion_effect.h"

#include <cstring>

#include "core/editor.h"
#include "core/editor_factory.h"
#include "core/parameter_texts.h"

DistortionEffect::DistortionEffect(AudioMasterCallback host) : PluginBaseExt(host, kNumPrograms, kNumParameters) {
    core.parameters().setListener(this);
    core.setSampleRate(PluginBase::getSampleRate());

    canMono(true);
    setNumInputs(2);
    setNumOutputs(2);
    canProcessReplacing(true);
    setUniqueID(kUniqueId);

    registerEditor(createEditor(EditorServices{editorLink, moduleInstance}).release());
    if (!editor) editorMissing = true;
}

DistortionEffect::~DistortionEffect() {
    // The editor reads values through this effect: it goes first.
    delete editor;
    editor = nullptr;
}

void DistortionEffect::notifyEditor(int32_t index, float newValue) {
    if (editor) editor->parameterChanged(index, newValue);
}

void DistortionEffect::parameterChanged(int32_t index, float newValue) {
    programs.store(currentProgram, index, newValue);
    notifyEditor(index, newValue);
}

void DistortionEffect::setParameter(int32_t index, float newValue) {
    // The editor hears of an index that is no parameter too, as it always has.
    if (!core.parameters().set(index, newValue)) notifyEditor(index, newValue);
}

float DistortionEffect::getParameter(int32_t index) { return core.parameters().get(index); }

void DistortionEffect::setProgram(int32_t program) {
    if (!ProgramBank::isProgram(program) || !programs.isAvailable()) return;
    currentProgram = program;
    float stored[kNumParameters];
    for (int i = 0; i < kNumParameters; ++i) stored[i] = programs.value(program, i);
    for (int i = 0; i < kNumParameters; ++i) setParameter(i, stored[i]);
}

void DistortionEffect::setProgramName(char* name) { programs.setName(currentProgram, name); }

void DistortionEffect::getProgramName(char* name) { programs.writeDisplayName(currentProgram, name); }

bool DistortionEffect::getProgramNameIndexed(int32_t, int32_t index, char* text) {
    return programs.copyName(index, text);
}

void DistortionEffect::getParameterName(int32_t index, char* text) {
    if (ParameterValues::isIndex(index) && text) std::strcpy(text, parameterName(index));
}

void DistortionEffect::getParameterLabel(int32_t index, char* label) {
    if (ParameterValues::isIndex(index) && label) std::strcpy(label, parameterLabel(index));
}

void DistortionEffect::getParameterDisplay(int32_t index, char* text) {
    writeParameterDisplay(index, core.parameters().get(index), text);
}

void DistortionEffect::setSampleRate(float rate) {
    PluginBaseExt::setSampleRate(rate);
    core.setSampleRate(getSampleRate());
}

void DistortionEffect::setBlockSizeAndSampleRate(int32_t size, float rate) {
    PluginBaseExt::setBlockSizeAndSampleRate(size, rate);
    core.setSampleRate(getSampleRate());
}

double DistortionEffect::updateSampleRate() {
    const double rate = PluginBaseExt::updateSampleRate();
    core.setSampleRate(getSampleRate());
    return rate;
}

void DistortionEffect::process(float** inputs, float** outputs, int32_t frames) {
    core.processAccumulating(inputs, outputs, frames);
}

void DistortionEffect::processReplacing(float** inputs, float** outputs, int32_t frames) {
    core.processReplacing(inputs, outputs, frames);
}

bool DistortionEffect::getEffectName(char* name) {
    if (!name) return false;
    std::strcpy(name, kEffectName);
    return true;
}

bool DistortionEffect::getVendorString(char* text) {
    if (!text) return false;
    std::strcpy(text, kEffectVendor);
    return true;
}

bool DistortionEffect::getProductString(char* text) { return getEffectName(text); }
