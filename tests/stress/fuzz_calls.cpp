// libFuzzer target: the fuzzer's bytes choose the calls of the hostile host
// against a fresh effect of the built plug-in.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "hostile_host.h"

namespace {

VstIntPtr VST_CALLBACK quietHost(AEffect*, int32_t opcode, int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

class FuzzerBytes : public ChoiceSource {
public:
    FuzzerBytes(const uint8_t* data, size_t size) : data(data), size(size) {}
    bool next(uint32_t& bits) override {
        if (used + 4 > size) return false;
        std::memcpy(&bits, data + used, 4);
        used += 4;
        return true;
    }

private:
    const uint8_t* data;
    size_t size;
    size_t used = 0;
};

VstPluginEntry loadEntry() {
    void* library = dlopen(VELMORA_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!library) {
        std::fprintf(stderr, "fuzz_calls: %s\n", dlerror());
        std::abort();
    }
    return reinterpret_cast<VstPluginEntry>(dlsym(library, "VSTPluginMain"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static VstPluginEntry entry = loadEntry();
    AEffect* effect = entry(quietHost);
    if (!effect) std::abort();
    FuzzerBytes bytes(data, size);
    HostileHost host(effect);
    while (host.step(bytes)) {
        if (!host.failure().empty()) {
            std::fprintf(stderr, "fuzz_calls: %s\n", host.failure().c_str());
            std::abort();
        }
    }
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    return 0;
}
