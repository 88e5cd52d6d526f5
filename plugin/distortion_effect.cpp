#include "distortion_effect.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "editor_base.h"
#include "editor_factory.h"

namespace {

const char kInitName[] = "Init";

void copyName(char* destination, const char* source) {
    // Names longer than the record holds are cut; nothing is written past it.
    size_t length = 0;
    while (length < Program::kNameSize - 1 && source[length] != '\0') ++length;
    std::memcpy(destination, source, length);
    destination[length] = '\0';
}

}  // namespace

DistortionEffect::DistortionEffect(AudioMasterCallback host)
    : PluginBaseExt(host, kNumPrograms, kNumParameters), processor(parameterValues, &sampleRate) {
    programBank = new (std::nothrow) Program[kNumPrograms];
    if (programBank) {
        for (int p = 0; p < kNumPrograms; ++p) {
            for (int i = 0; i < kNumParameters; ++i)
                programBank[p].values[i].store(kDefaults[i], std::memory_order_relaxed);
            copyName(programBank[p].name, kInitName);
        }
    }
    for (int i = 0; i < kNumParameters; ++i) parameterValues[i].store(kDefaults[i], std::memory_order_relaxed);
    if (programBank) {
        currentProgram = 0;
        for (int i = 0; i < kNumParameters; ++i)
            setParameter(i, programBank[0].values[i].load(std::memory_order_relaxed));
    }

    canMono(true);
    setNumInputs(2);
    setNumOutputs(2);
    canProcessReplacing(true);
    setUniqueID(kUniqueId);

    // The editor registers itself with this effect as it is built.
    editor = createEditor(this);
    if (!editor) editorMissing = true;
}

DistortionEffect::~DistortionEffect() {
    delete[] programBank;
    programBank = nullptr;
}

void DistortionEffect::storeValue(int32_t index, float newValue) {
    if (Program* program = currentProgramRecord()) program->values[index].store(newValue, std::memory_order_relaxed);
    parameterValues[index].store(newValue, std::memory_order_relaxed);
}

void DistortionEffect::notifyEditor(int32_t index, float newValue) {
    if (editor) editor->setParameter(index, newValue);
}

void DistortionEffect::setParameter(int32_t index, float newValue) {
    if (isParameterIndex(index)) {
        storeValue(index, newValue);
        // Cross1 never rises above Cross2: the partner is pushed along, and
        // the editor hears about it before the parameter that was set.
        if (index == kCross1 && newValue > value(kCross2)) {
            storeValue(kCross2, newValue);
            notifyEditor(kCross2, newValue);
        } else if (index == kCross2 && newValue < value(kCross1)) {
            storeValue(kCross1, newValue);
            notifyEditor(kCross1, newValue);
        }
    }
    notifyEditor(index, newValue);
}

float DistortionEffect::getParameter(int32_t index) { return isParameterIndex(index) ? value(index) : 0.0f; }

void DistortionEffect::setProgram(int32_t program) {
    if (program < 0 || program >= kNumPrograms || !programBank) return;
    currentProgram = program;
    float stored[kNumParameters];
    for (int i = 0; i < kNumParameters; ++i) stored[i] = programBank[program].values[i].load(std::memory_order_relaxed);
    for (int i = 0; i < kNumParameters; ++i) setParameter(i, stored[i]);
}

void DistortionEffect::setProgramName(char* name) {
    if (Program* program = currentProgramRecord(); program && name) copyName(program->name, name);
}

void DistortionEffect::getProgramName(char* name) {
    if (!name) return;
    const Program* program = currentProgramRecord();
    if (!program) {
        name[0] = '\0';
        return;
    }
    // An untouched program is shown with its number: "Init 1" .. "Init 16".
    if (std::strcmp(program->name, kInitName) == 0)
        std::snprintf(name, 24, "%s %d", kInitName, currentProgram.load() + 1);
    else
        std::strcpy(name, program->name);
}

bool DistortionEffect::getProgramNameIndexed(int32_t, int32_t index, char* text) {
    if (index < 0 || index >= kNumPrograms || !programBank || !text) return false;
    std::strcpy(text, programBank[index].name);
    return true;
}

void DistortionEffect::process(float** inputs, float** outputs, int32_t frames) {
    processor.processAccumulating(inputs, outputs, frames);
}

void DistortionEffect::processReplacing(float** inputs, float** outputs, int32_t frames) {
    processor.processReplacing(inputs, outputs, frames);
}

bool DistortionEffect::getEffectName(char* name) {
    if (!name) return false;
    std::strcpy(name, "Velmora");
    return true;
}

bool DistortionEffect::getVendorString(char* text) {
    if (!text) return false;
    std::strcpy(text, "Quorvane");
    return true;
}

bool DistortionEffect::getProductString(char* text) { return getEffectName(text); }
