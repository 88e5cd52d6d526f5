#include "host/plugin_instance.h"

#include <cstdio>
#include <filesystem>

#include "host/errors.h"

namespace {

// Plug-ins are told 8, 24 or 64 characters but many write more; a generous,
// zeroed buffer keeps a careless one from corrupting the host.
constexpr size_t kTextBuffer = 512;

std::string trimmed(const char* text) {
    std::string result(text);
    const auto first = result.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = result.find_last_not_of(" \t");
    return result.substr(first, last - first + 1);
}

}  // namespace

PluginInstance::PluginInstance(const std::string& path, std::FILE* trace)
    : PluginInstance(path, openPluginLibrary(path), trace) {}

PluginInstance::PluginInstance(const std::string& path, std::unique_ptr<PluginLibrary> library, std::FILE* trace)
    : path_(path), library_(std::move(library)) {
    host_.setTrace(trace);
    const VstPluginEntry entry = library_->findEntry();
    if (entry == nullptr) {
        throw HostError(path + " exports neither VSTPluginMain nor main, so it is not a VST 2 plug-in.");
    }
    AEffect* effect = nullptr;
    {
        LoadingScope loading(&host_);
        effect = entry(hostCallback);
    }
    if (effect == nullptr) {
        throw HostError("The entry of " + path + " returned no effect record.");
    }
    if (effect->magic != kEffectMagic) {
        char found[16];
        std::snprintf(found, sizeof found, "0x%08X", static_cast<uint32_t>(effect->magic));
        // A record with the wrong magic may not be a record at all, so it is
        // not closed: calling through it would be guesswork.
        throw HostError("The record returned by " + path + " has magic " + found +
                        " instead of 0x56737450 ('VstP').");
    }
    effect_ = effect;
    host_.uniqueId = effect->uniqueID;
    registerEffect(effect_, &host_);
    dispatch(effOpen);
}

PluginInstance::~PluginInstance() {
    if (effect_ == nullptr) return;
    if (editorOpen_) closeEditor();
    if (resumed_) suspend();
    dispatch(effClose);
    unregisterEffect(effect_);
    effect_ = nullptr;
}

VstIntPtr PluginInstance::dispatch(int32_t opcode, int32_t index, VstIntPtr value, void* ptr, float opt) {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

void PluginInstance::configure(double sampleRate, int32_t blockSize) {
    host_.sampleRate = sampleRate;
    host_.blockSize = blockSize;
    dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    dispatch(effSetBlockSize, 0, blockSize);
}

void PluginInstance::resume() {
    dispatch(effMainsChanged, 0, 1);
    resumed_ = true;
}

void PluginInstance::suspend() {
    dispatch(effMainsChanged, 0, 0);
    resumed_ = false;
}

std::string PluginInstance::text(int32_t opcode, int32_t index) {
    char buffer[kTextBuffer] = {};
    dispatch(opcode, index, 0, buffer);
    buffer[kTextBuffer - 1] = '\0';
    return trimmed(buffer);
}

std::string PluginInstance::effectName() { return text(effGetEffectName); }
std::string PluginInstance::vendorString() { return text(effGetVendorString); }
std::string PluginInstance::productString() { return text(effGetProductString); }
VstIntPtr PluginInstance::vendorVersion() { return dispatch(effGetVendorVersion); }
VstIntPtr PluginInstance::vstVersion() { return dispatch(effGetVstVersion); }
std::string PluginInstance::parameterName(int32_t index) { return text(effGetParamName, index); }
std::string PluginInstance::parameterDisplay(int32_t index) { return text(effGetParamDisplay, index); }
std::string PluginInstance::parameterLabel(int32_t index) { return text(effGetParamLabel, index); }

float PluginInstance::parameter(int32_t index) { return effect_->getParameter(effect_, index); }

void PluginInstance::setParameter(int32_t index, float value) { effect_->setParameter(effect_, index, value); }

int32_t PluginInstance::currentProgram() { return static_cast<int32_t>(dispatch(effGetProgram)); }

void PluginInstance::selectProgram(int32_t program) { dispatch(effSetProgram, 0, program); }

std::string PluginInstance::currentProgramName() { return text(effGetProgramName); }

std::optional<std::string> PluginInstance::programName(int32_t program) {
    char buffer[kTextBuffer] = {};
    // Category -1: the program's index counts across all categories.
    if (dispatch(effGetProgramNameIndexed, program, -1, buffer) == 0) return std::nullopt;
    buffer[kTextBuffer - 1] = '\0';
    return trimmed(buffer);
}

std::optional<ERect> PluginInstance::editorRect() {
    ERect* rect = nullptr;
    if (dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr) return std::nullopt;
    if (rect->right - rect->left <= 0 || rect->bottom - rect->top <= 0) return std::nullopt;
    return *rect;
}

bool PluginInstance::openEditor(void* parentWindow) {
    editorOpen_ = dispatch(effEditOpen, 0, 0, parentWindow) != 0;
    return editorOpen_;
}

void PluginInstance::idleEditor() {
    if (editorOpen_) dispatch(effEditIdle);
}

void PluginInstance::closeEditor() {
    if (!editorOpen_) return;
    dispatch(effEditClose);
    editorOpen_ = false;
}

std::string PluginInstance::displayName() {
    std::string name = effectName();
    if (name.empty()) name = std::filesystem::path(path_).filename().string();
    return name;
}
