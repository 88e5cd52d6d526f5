// A host callback that records what the plug-in tells it, for tests that load
// the effect directly or through the built library.
#pragma once

#include <vector>

#include "vst2/vst_abi.h"

struct HostCall {
    int32_t opcode;
    int32_t index;
    float opt;
};

inline std::vector<HostCall>& recordedHostCalls() {
    static std::vector<HostCall> calls;
    return calls;
}

inline VstIntPtr VST_CALLBACK recordingHost(AEffect*, int32_t opcode, int32_t index, VstIntPtr, void*, float opt) {
    if (opcode == audioMasterVersion) return 2400;
    recordedHostCalls().push_back({opcode, index, opt});
    return 1;
}

inline VstIntPtr VST_CALLBACK zeroVersionHost(AEffect*, int32_t, int32_t, VstIntPtr, void*, float) { return 0; }
