#include "plugin_base.h"

#include <cstdio>
#include <cstring>

#include "core/editor.h"
#include "core/host_entry_guard.h"
#include "core/number_text.h"

bool editorMissing = false;
void* moduleInstance = nullptr;

namespace {

// The host calls these through the record; each catches everything (see
// host_entry_guard.h) and then answers 0 and changes nothing.
VstIntPtr VST_CALLBACK dispatchEntry(AEffect* record, int32_t opcode, int32_t index, VstIntPtr value,
                                     void* ptr, float opt) {
    PluginBase* effect = PluginBase::fromRecord(record);
    if (!effect) return 0;
    if (opcode == effClose) {
        // The host lets go of the effect whatever close() did.
        guardedHostEntry([&] { effect->dispatcher(opcode, index, value, ptr, opt); });
        delete effect;
        return 1;
    }
    return guardedHostEntry<VstIntPtr>(0, [&] { return effect->dispatcher(opcode, index, value, ptr, opt); });
}

void VST_CALLBACK processEntry(AEffect* record, float** inputs, float** outputs, int32_t frames) {
    guardedHostEntry([&] {
        if (PluginBase* effect = PluginBase::fromRecord(record)) effect->process(inputs, outputs, frames);
    });
}

void VST_CALLBACK processReplacingEntry(AEffect* record, float** inputs, float** outputs, int32_t frames) {
    guardedHostEntry([&] {
        if (PluginBase* effect = PluginBase::fromRecord(record))
            effect->processReplacing(inputs, outputs, frames);
    });
}

void VST_CALLBACK setParameterEntry(AEffect* record, int32_t index, float value) {
    guardedHostEntry([&] {
        if (PluginBase* effect = PluginBase::fromRecord(record)) effect->setParameter(index, value);
    });
}

float VST_CALLBACK getParameterEntry(AEffect* record, int32_t index) {
    return guardedHostEntry(0.0f, [&] {
        PluginBase* effect = PluginBase::fromRecord(record);
        return effect ? effect->getParameter(index) : 0.0f;
    });
}

void writeEmpty(char* text) {
    if (text) text[0] = '\0';
}

}  // namespace

PluginBase::PluginBase(AudioMasterCallback host, int32_t programCount, int32_t paramCount)
    : hostCallback(host), numPrograms(programCount), numParams(paramCount) {
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEntry;
    cEffect.process = processEntry;
    cEffect.setParameter = setParameterEntry;
    cEffect.getParameter = getParameterEntry;
    cEffect.numPrograms = programCount;
    cEffect.numParams = paramCount;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = 0;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = fourCharCode('N', 'o', 'E', 'f');
    cEffect.version = 1;
    cEffect.processReplacing = processReplacingEntry;
}

PluginBase::~PluginBase() {
    delete editor;
    editor = nullptr;
}

void PluginBase::registerEditor(Editor* newEditor) {
    editor = newEditor;
    if (newEditor) setFlag(effFlagsHasEditor, true);
}

void PluginBase::setParameter(int32_t, float) {}
float PluginBase::getParameter(int32_t) { return 0.0f; }

void PluginBase::setParameterAutomated(int32_t index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void PluginBase::processReplacing(float**, float**, int32_t) {}

void PluginBase::setProgramName(char* name) { writeEmpty(name); }
void PluginBase::getProgramName(char* name) { writeEmpty(name); }
void PluginBase::getParameterLabel(int32_t, char* label) { writeEmpty(label); }
void PluginBase::getParameterDisplay(int32_t, char* text) { writeEmpty(text); }
void PluginBase::getParameterName(int32_t, char* text) { writeEmpty(text); }

int32_t PluginBase::getChunk(void**, bool) { return 0; }
int32_t PluginBase::setChunk(void*, int32_t, bool) { return 0; }

VstIntPtr PluginBase::callHost(int32_t opcode, int32_t index, VstIntPtr value, void* ptr, float opt) {
    return hostCallback ? hostCallback(&cEffect, opcode, index, value, ptr, opt) : 0;
}

VstIntPtr PluginBase::dispatcher(int32_t opcode, int32_t index, VstIntPtr value, void* ptr, float opt) {
    switch (opcode) {
        case effOpen: open(); return 0;
        case effClose: close(); return 0;
        case effSetProgram:
            if (value < numPrograms) setProgram(static_cast<int32_t>(value));
            return 0;
        case effGetProgram: return getProgram();
        case effSetProgramName: setProgramName(static_cast<char*>(ptr)); return 0;
        case effGetProgramName: getProgramName(static_cast<char*>(ptr)); return 0;
        case effGetParamLabel: getParameterLabel(index, static_cast<char*>(ptr)); return 0;
        case effGetParamDisplay: getParameterDisplay(index, static_cast<char*>(ptr)); return 0;
        case effGetParamName: getParameterName(index, static_cast<char*>(ptr)); return 0;
        case effGetVu: return saturatingTruncate(static_cast<double>(getVu()) * 32767.0);
        case effSetSampleRate: setSampleRate(opt); return 0;
        case effSetBlockSize: setBlockSize(static_cast<int32_t>(value)); return 0;
        case effMainsChanged:
            if (value == 0) suspend(); else resume();
            return 0;
        case effEditGetRect: return editor ? reportEditorRect(static_cast<ERect**>(ptr)) : 0;
        case effEditOpen: return editor ? editor->open(ptr) : 0;
        case effEditClose:
            if (editor) editor->close();
            return 0;
        case effEditIdle:
            if (editor) editor->idle();
            return 0;
        case effIdentify: return fourCharCode('N', 'v', 'E', 'f');
        case effGetChunk: return getChunk(static_cast<void**>(ptr), index != 0);
        case effSetChunk: return setChunk(ptr, static_cast<int32_t>(value), index != 0);
        default: return 0;
    }
}

int32_t PluginBase::reportEditorRect(ERect** rect) {
    const EditorSize size = editor->size();
    editorRect = ERect{0, 0, static_cast<int16_t>(size.height), static_cast<int16_t>(size.width)};
    if (rect) *rect = &editorRect;
    return 1;
}

// Host queries of the base.
int32_t PluginBase::getMasterVersion() {
    VstIntPtr version = callHost(audioMasterVersion);
    return version ? static_cast<int32_t>(version) : 1;
}
int32_t PluginBase::getCurrentUniqueId() { return static_cast<int32_t>(callHost(audioMasterCurrentId)); }
void PluginBase::masterIdle() { callHost(audioMasterIdle); }
bool PluginBase::isInputConnected(int32_t input) {
    return callHost(audioMasterPinConnected, input, 0) == 0;
}
bool PluginBase::isOutputConnected(int32_t output) {
    return callHost(audioMasterPinConnected, output, 1) == 0;
}

// Number texts.
void PluginBase::dB2string(float value, char* text) { writeDecibelText(value, text); }
void PluginBase::float2string(float value, char* text) { writeFixedWidthNumber(value, text); }

void PluginBase::Hz2string(float samples, char* text) {
    float hertz = samples != 0.0f ? getSampleRate() / samples : 0.0f;
    writeFixedWidthNumber(hertz, text);
}

void PluginBase::ms2string(float samples, char* text) {
    writeFixedWidthNumber(static_cast<float>(samples * 1000.0f / getSampleRate()), text);
}

void PluginBase::long2string(long value, char* text) {
    if (!text) return;
    if (value >= 100000000) {
        std::strcpy(text, "Huge!");
        return;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%7ld", value);
    buffer[8] = '\0';
    std::strcpy(text, buffer);
}
