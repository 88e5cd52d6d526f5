#include "host/host_callback.h"

#include <array>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

// Few plug-ins are alive at once (bench runs a handful), so a flat list is
// the simplest lookup. All plug-ins are driven from the main thread.
std::vector<std::pair<AEffect*, HostContext*>> registry;
HostContext* loadingContext = nullptr;
HostContext fallbackContext;

HostContext* contextFor(AEffect* effect) {
    for (const auto& [known, context] : registry) {
        if (known == effect && effect != nullptr) return context;
    }
    if (loadingContext != nullptr) return loadingContext;
    if (registry.size() == 1) return registry.front().second;
    return &fallbackContext;
}

const char* hostOpcodeName(int32_t opcode) {
    static constexpr std::array<const char*, 50> names = {
        "automate",           "version",          "currentId",          "idle",
        "pinConnected",       "opcode5",          "wantMidi",           "getTime",
        "processEvents",      "setTime",          "tempoAt",            "getNumAutomatableParameters",
        "getParameterQuantization", "ioChanged",  "needIdle",           "sizeWindow",
        "getSampleRate",      "getBlockSize",     "getInputLatency",    "getOutputLatency",
        "getPreviousPlug",    "getNextPlug",      "willReplaceOrAccumulate", "getCurrentProcessLevel",
        "getAutomationState", "offlineStart",     "offlineRead",        "offlineWrite",
        "offlineGetCurrentPass", "offlineGetCurrentMetaPass", "setOutputSampleRate",
        "getOutputSpeakerArrangement", "getVendorString", "getProductString", "getVendorVersion",
        "vendorSpecific",     "setIcon",          "canDo",              "getLanguage",
        "openWindow",         "closeWindow",      "getDirectory",       "updateDisplay",
        "beginEdit",          "endEdit",          "openFileSelector",   "closeFileSelector",
        "editFile",           "getChunkFile",     "getInputSpeakerArrangement",
    };
    if (opcode >= 0 && static_cast<size_t>(opcode) < names.size()) return names[static_cast<size_t>(opcode)];
    return nullptr;
}

}  // namespace

std::string formatHostCall(int32_t opcode, int32_t index, VstIntPtr value, float opt) {
    char line[160];
    switch (opcode) {
        case audioMasterAutomate:
            std::snprintf(line, sizeof line, "automate %d %.3f", index, static_cast<double>(opt));
            break;
        case audioMasterBeginEdit:
        case audioMasterEndEdit:
            std::snprintf(line, sizeof line, "%s %d", hostOpcodeName(opcode), index);
            break;
        case audioMasterIdle:
            std::snprintf(line, sizeof line, "idle");
            break;
        default:
            if (const char* name = hostOpcodeName(opcode)) {
                std::snprintf(line, sizeof line, "%s %d %lld %g", name, index, static_cast<long long>(value),
                              static_cast<double>(opt));
            } else {
                std::snprintf(line, sizeof line, "opcode%d %d %lld %g", opcode, index,
                              static_cast<long long>(value), static_cast<double>(opt));
            }
            break;
    }
    return line;
}

VstIntPtr HostContext::answer(int32_t opcode, int32_t index, VstIntPtr value, void* ptr, float opt) {
    (void)ptr;
    if (trace_ != nullptr) {
        // Editors idle the host constantly; one "idle" line per run of them
        // keeps the trace readable without hiding that it happens.
        const bool idle = opcode == audioMasterIdle;
        if (!idle || !lastTracedWasIdle_) {
            std::fprintf(trace_, "%s\n", formatHostCall(opcode, index, value, opt).c_str());
            std::fflush(trace_);
        }
        lastTracedWasIdle_ = idle;
    }
    switch (opcode) {
        case audioMasterVersion:
            return kHostVersion;
        case audioMasterCurrentId:
            return uniqueId;
        case audioMasterGetSampleRate:
            return static_cast<VstIntPtr>(sampleRate);
        case audioMasterGetBlockSize:
            return blockSize;
        case audioMasterAutomate:
            // The plug-in has already stored the value; the host only notes it.
            ++counts_.automate;
            lastAutomatedIndex_ = index;
            lastAutomatedValue_ = opt;
            return 0;
        // A gesture is acknowledged as handled, as hosts that record automation do.
        case audioMasterBeginEdit:
            ++counts_.beginEdit;
            return 1;
        case audioMasterEndEdit:
            ++counts_.endEdit;
            return 1;
        case audioMasterIdle:
            ++counts_.idle;
            return 0;
        default:
            ++counts_.other;
            return 0;
    }
}

VstIntPtr VST_CALLBACK hostCallback(AEffect* effect, int32_t opcode, int32_t index, VstIntPtr value, void* ptr,
                                    float opt) {
    return contextFor(effect)->answer(opcode, index, value, ptr, opt);
}

void registerEffect(AEffect* effect, HostContext* context) { registry.emplace_back(effect, context); }

void unregisterEffect(AEffect* effect) {
    std::erase_if(registry, [effect](const auto& entry) { return entry.first == effect; });
}

LoadingScope::LoadingScope(HostContext* context) : previous_(loadingContext) { loadingContext = context; }

LoadingScope::~LoadingScope() { loadingContext = previous_; }
