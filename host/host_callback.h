// The host side of the callback a plug-in receives from its entry: what this
// host answers, what it records, and how a call is found its plug-in.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "vst2/vst_abi.h"

// Per plug-in state that the callback answers from and records into.
class HostContext {
public:
    struct Counts {
        int automate = 0;
        int beginEdit = 0;
        int endEdit = 0;
        int idle = 0;
        int other = 0;
    };

    double sampleRate = 44100.0;
    int32_t blockSize = 512;
    int32_t uniqueId = 0;  // of the loaded plug-in, once known

    // When set, every call is written there as one line and flushed at once,
    // so a reader on a pipe sees it while the editor is still open.
    void setTrace(std::FILE* stream) { trace_ = stream; }

    const Counts& counts() const { return counts_; }
    int32_t lastAutomatedIndex() const { return lastAutomatedIndex_; }
    float lastAutomatedValue() const { return lastAutomatedValue_; }

    VstIntPtr answer(int32_t opcode, int32_t index, VstIntPtr value, void* ptr, float opt);

private:
    std::FILE* trace_ = nullptr;
    Counts counts_;
    int32_t lastAutomatedIndex_ = -1;
    float lastAutomatedValue_ = 0.0f;
    bool lastTracedWasIdle_ = false;
};

constexpr VstIntPtr kHostVersion = 2400;

// The function handed to every plug-in entry.
VstIntPtr VST_CALLBACK hostCallback(AEffect* effect, int32_t opcode, int32_t index, VstIntPtr value,
                                    void* ptr, float opt);

// Routes calls made with this record to the context; unregister before the
// record goes away.
void registerEffect(AEffect* effect, HostContext* context);
void unregisterEffect(AEffect* effect);

// While a plug-in's entry runs its record does not exist yet, so calls made
// with a null or unknown record go to the context of the load in progress.
class LoadingScope {
public:
    explicit LoadingScope(HostContext* context);
    ~LoadingScope();
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;

private:
    HostContext* previous_;
};

// One trace line for a call, without the newline: "automate 9 0.503",
// "beginEdit 9", "endEdit 9", "idle", or the call's name and arguments.
std::string formatHostCall(int32_t opcode, int32_t index, VstIntPtr value, float opt);
