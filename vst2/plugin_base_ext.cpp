#include <cstdlib>
#include <cstring>

#include "core/editor.h"
#include "core/number_text.h"
#include "gui/gui_types.h"
#include "plugin_base.h"

// Keys reach the editor's toolkit with the record's codes unchanged.
static_assert(+kGuiKeyLeft == +VKEY_LEFT && +kGuiKeyUp == +VKEY_UP && +kGuiKeyRight == +VKEY_RIGHT &&
              +kGuiKeyDown == +VKEY_DOWN && +kGuiModifierShift == +MODIFIER_SHIFT &&
              +kGuiModifierAlternate == +MODIFIER_ALTERNATE && +kGuiModifierCommand == +MODIFIER_COMMAND &&
              +kGuiModifierControl == +MODIFIER_CONTROL);

VstIntPtr PluginBaseExt::dispatcher(int32_t opcode, int32_t index, VstIntPtr value, void* ptr,
                                    float opt) {
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
        case effProcessEvents: return processEvents(ptr);
        case effCanBeAutomated: return canParameterBeAutomated(index) ? 1 : 0;
        case effString2Parameter: return string2parameter(index, text) ? 1 : 0;
        case effGetNumProgramCategories: return getNumCategories();
        case effGetProgramNameIndexed:
            return getProgramNameIndexed(static_cast<int32_t>(value), index, text) ? 1 : 0;
        case effCopyProgram: return copyProgram(index) ? 1 : 0;
        case effConnectInput: inputConnected(index, value != 0); return 1;
        case effConnectOutput: outputConnected(index, value != 0); return 1;
        case effGetInputProperties: return getInputProperties(index, ptr) ? 1 : 0;
        case effGetOutputProperties: return getOutputProperties(index, ptr) ? 1 : 0;
        case effGetPlugCategory: return getPlugCategory();
        case effGetCurrentPosition: return reportCurrentPosition();
        case effGetDestinationBuffer: return reinterpret_cast<VstIntPtr>(reportDestinationBuffer());
        case effOfflineNotify: return offlineNotify(ptr, static_cast<int32_t>(value), index != 0) ? 1 : 0;
        case effOfflinePrepare: return offlinePrepare(ptr, static_cast<int32_t>(value)) ? 1 : 0;
        case effOfflineRun: return offlineRun(ptr, static_cast<int32_t>(value)) ? 1 : 0;
        case effProcessVarIo: return processVariableIo(ptr) ? 1 : 0;
        case effSetSpeakerArrangement:
            return setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                         static_cast<VstSpeakerArrangement*>(ptr))
                       ? 1
                       : 0;
        case effSetBlockSizeAndSampleRate:
            setBlockSizeAndSampleRate(static_cast<int32_t>(value), opt);
            return 1;
        case effSetBypass: return setBypass(value != 0) ? 1 : 0;
        case effGetEffectName: return getEffectName(text) ? 1 : 0;
        case effGetErrorText: return getErrorText(text) ? 1 : 0;
        case effGetVendorString: return getVendorString(text) ? 1 : 0;
        case effGetProductString: return getProductString(text) ? 1 : 0;
        case effGetVendorVersion: return getVendorVersion();
        case effVendorSpecific: return vendorSpecific(index, value, ptr, opt);
        case effCanDo: return canDo(text);
        case effGetTailSize: return getGetTailSize();
        case effIdle: return fxIdle();
        case effGetIcon: return reinterpret_cast<VstIntPtr>(getIcon());
        case effSetViewPosition: return setViewPosition(index, static_cast<int32_t>(value)) ? 1 : 0;
        case effGetParameterProperties: return getParameterProperties(index, ptr) ? 1 : 0;
        case effKeysRequired: return keysRequired() ? 0 : 1;
        case effGetVstVersion: return getVstVersion();
        case effEditKeyDown:
        case effEditKeyUp: {
            if (!editor) return 0;
            // The toolkit numbers virtual keys and modifiers as the record does.
            const auto virtualKey = static_cast<uint8_t>(value & 0xFF);
            const auto modifiers = static_cast<uint8_t>(saturatingTruncate(opt) & 0xFF);
            return opcode == effEditKeyDown ? editor->keyDown(index, virtualKey, modifiers)
                                            : editor->keyUp(index, virtualKey, modifiers);
        }
        case effSetEditKnobMode: return editor ? editor->setKnobDragMode(static_cast<int32_t>(value)) : 0;
        case effGetMidiProgramName: return getMidiProgramName(index, ptr);
        case effGetCurrentMidiProgram: return getCurrentMidiProgram(index, ptr);
        case effGetMidiProgramCategory: return getMidiProgramCategory(index, ptr);
        case effHasMidiProgramsChanged: return hasMidiProgramsChanged(index) ? 1 : 0;
        case effGetMidiKeyName: return getMidiKeyName(index, ptr) ? 1 : 0;
        case effBeginSetProgram: return beginSetProgram() ? 1 : 0;
        case effEndSetProgram: return endSetProgram() ? 1 : 0;
        case effGetSpeakerArrangement:
            getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                  static_cast<VstSpeakerArrangement**>(ptr));
            return 0;
        case effShellGetNextPlugin: return getNextShellPlugin(text);
        case effStartProcess: return startProcess();
        case effStopProcess: return stopProcess();
        case effSetTotalSampleToProcess: return setTotalSampleToProcess(static_cast<int32_t>(value));
        case effSetPanLaw: return setPanLaw(static_cast<int32_t>(value), opt) ? 1 : 0;
        case effBeginLoadBank: return beginLoadBank(ptr);
        case effBeginLoadProgram: return beginLoadProgram(ptr);
        default: return PluginBase::dispatcher(opcode, index, value, ptr, opt);
    }
}

int32_t PluginBaseExt::getPlugCategory() { return (cEffect.flags & effFlagsIsSynth) ? 2 : 0; }

bool PluginBaseExt::getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output) {
    if (input) *input = nullptr;
    if (output) *output = nullptr;
    return false;
}

// Host services. Each sends nothing and answers 0 when there is no host.
void PluginBaseExt::wantEvents(int32_t filter) { callHost(audioMasterWantMidi, 0, filter); }
void* PluginBaseExt::getTimeInfo(int32_t filter) {
    return reinterpret_cast<void*>(callHost(audioMasterGetTime, 0, filter));
}
int32_t PluginBaseExt::tempoAt(int32_t pos) { return static_cast<int32_t>(callHost(audioMasterTempoAt, 0, pos)); }
int32_t PluginBaseExt::getNumAutomatableParameters() {
    return static_cast<int32_t>(callHost(audioMasterGetNumAutomatableParameters));
}
int32_t PluginBaseExt::getParameterQuantization() {
    return static_cast<int32_t>(callHost(audioMasterGetParameterQuantization));
}
bool PluginBaseExt::ioChanged() { return callHost(audioMasterIOChanged) != 0; }
bool PluginBaseExt::needIdle() { return callHost(audioMasterNeedIdle) != 0; }
bool PluginBaseExt::sizeWindow(int32_t width, int32_t height) {
    return callHost(audioMasterSizeWindow, width, height) != 0;
}
double PluginBaseExt::updateSampleRate() {
    VstIntPtr rate = callHost(audioMasterGetSampleRate);
    if (rate > 0) sampleRate.store(static_cast<float>(rate), std::memory_order_relaxed);
    return sampleRate.load(std::memory_order_relaxed);
}
int32_t PluginBaseExt::updateBlockSize() {
    VstIntPtr size = callHost(audioMasterGetBlockSize);
    if (size > 0) blockSize = static_cast<int32_t>(size);
    return blockSize;
}
int32_t PluginBaseExt::getInputLatency() { return static_cast<int32_t>(callHost(audioMasterGetInputLatency)); }
int32_t PluginBaseExt::getOutputLatency() { return static_cast<int32_t>(callHost(audioMasterGetOutputLatency)); }
PluginBase* PluginBaseExt::getPreviousPlugin(int32_t) {
    return reinterpret_cast<PluginBase*>(callHost(audioMasterGetPreviousPlug));
}
PluginBase* PluginBaseExt::getNextPlugin(int32_t) {
    return reinterpret_cast<PluginBase*>(callHost(audioMasterGetNextPlug));
}
int32_t PluginBaseExt::willProcessReplacing() {
    return static_cast<int32_t>(callHost(audioMasterWillReplaceOrAccumulate));
}
int32_t PluginBaseExt::getCurrentProcessLevel() {
    return static_cast<int32_t>(callHost(audioMasterGetCurrentProcessLevel));
}
int32_t PluginBaseExt::getAutomationState() {
    return static_cast<int32_t>(callHost(audioMasterGetAutomationState));
}
bool PluginBaseExt::offlineRead(void* offline, int32_t option, bool readSource) {
    return callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, offline) != 0;
}
bool PluginBaseExt::offlineWrite(void* offline, int32_t option) {
    return callHost(audioMasterOfflineWrite, 0, option, offline) != 0;
}
bool PluginBaseExt::offlineStart(void* audioFiles, int32_t numAudioFiles, int32_t numNewAudioFiles) {
    return callHost(audioMasterOfflineStart, numNewAudioFiles, numAudioFiles, audioFiles) != 0;
}
int32_t PluginBaseExt::offlineGetCurrentPass() { return callHost(audioMasterOfflineGetCurrentPass) != 0; }
int32_t PluginBaseExt::offlineGetCurrentMetaPass() {
    return callHost(audioMasterOfflineGetCurrentMetaPass) != 0;
}
void PluginBaseExt::setOutputSampleRate(float rate) { callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, rate); }
VstSpeakerArrangement* PluginBaseExt::getInputSpeakerArrangement() {
    return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetInputSpeakerArrangement));
}
VstSpeakerArrangement* PluginBaseExt::getOutputSpeakerArrangement() {
    return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetOutputSpeakerArrangement));
}
bool PluginBaseExt::getHostVendorString(char* text) {
    return callHost(audioMasterGetVendorString, 0, 0, text) != 0;
}
bool PluginBaseExt::getHostProductString(char* text) {
    return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}
int32_t PluginBaseExt::getHostVendorVersion() { return static_cast<int32_t>(callHost(audioMasterGetVendorVersion)); }
int32_t PluginBaseExt::hostVendorSpecific(int32_t index, VstIntPtr value, void* ptr, float opt) {
    return static_cast<int32_t>(callHost(audioMasterVendorSpecific, index, value, ptr, opt));
}
int32_t PluginBaseExt::canHostDo(char* text) { return callHost(audioMasterCanDo, 0, 0, text) != 0; }
int32_t PluginBaseExt::getHostLanguage() { return static_cast<int32_t>(callHost(audioMasterGetLanguage)); }
void* PluginBaseExt::openWindow(void* window) {
    return reinterpret_cast<void*>(callHost(audioMasterOpenWindow, 0, 0, window));
}
bool PluginBaseExt::closeWindow(void* window) { return callHost(audioMasterCloseWindow, 0, 0, window) != 0; }
void* PluginBaseExt::getDirectory() { return reinterpret_cast<void*>(callHost(audioMasterGetDirectory)); }
bool PluginBaseExt::updateDisplay() { return callHost(audioMasterUpdateDisplay) != 0; }
bool PluginBaseExt::beginEdit(int32_t index) { return callHost(audioMasterBeginEdit, index) != 0; }
bool PluginBaseExt::endEdit(int32_t index) { return callHost(audioMasterEndEdit, index) != 0; }
bool PluginBaseExt::openFileSelector(void* selector) {
    if (!selector) return false;
    return callHost(audioMasterOpenFileSelector, 0, 0, selector) != 0;
}

// Speaker arrangement helpers: a record holds its header and one entry per channel.
bool PluginBaseExt::allocateArrangement(VstSpeakerArrangement** arrangement, int32_t channels) {
    if (!arrangement || channels < 0) return false;
    if (*arrangement) std::free(*arrangement);
    size_t bytes = 8 + sizeof(VstSpeakerProperties) * static_cast<size_t>(channels);
    if (bytes < sizeof(VstSpeakerArrangement)) bytes = sizeof(VstSpeakerArrangement);
    *arrangement = static_cast<VstSpeakerArrangement*>(std::calloc(1, bytes));
    if (!*arrangement) return false;
    (*arrangement)->numChannels = channels;
    return true;
}

bool PluginBaseExt::deallocateArrangement(VstSpeakerArrangement** arrangement) {
    if (!arrangement) return false;
    std::free(*arrangement);
    *arrangement = nullptr;
    return true;
}

bool PluginBaseExt::copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from) {
    if (!to || !from) return false;
    std::memcpy(to, from, sizeof(VstSpeakerProperties));
    return true;
}

bool PluginBaseExt::matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from) {
    if (!to || !from) return false;
    if (!allocateArrangement(to, from->numChannels)) return false;
    (*to)->type = from->type;
    std::memcpy((*to)->speakers, from->speakers,
                sizeof(VstSpeakerProperties) * static_cast<size_t>(from->numChannels));
    return true;
}
