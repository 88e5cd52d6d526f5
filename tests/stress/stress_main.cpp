// Drives the built plug-in with seeded random calls as a hostile host would.
//   velmora_stress PLUGIN [--calls N] [--seed S]
// Exit status 0 when every call returned and every promise held.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "hostile_host.h"

namespace {

VstIntPtr VST_CALLBACK quietHost(AEffect*, int32_t opcode, int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// SplitMix64: small, fast and fully determined by the seed.
class SeededChoices : public ChoiceSource {
public:
    explicit SeededChoices(uint64_t seed) : state(seed) {}
    bool next(uint32_t& bits) override {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        bits = static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
        return true;
    }

private:
    uint64_t state;
};

bool parseCount(const char* text, unsigned long long& out) {
    char* end = nullptr;
    out = std::strtoull(text, &end, 10);
    return end && *end == '\0' && end != text;
}

}  // namespace

int main(int argc, char** argv) {
    unsigned long long calls = 200000, seed = 1;
    const char* pluginPath = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--calls" || arg == "--seed") && i + 1 < argc) {
            if (!parseCount(argv[++i], arg == "--calls" ? calls : seed)) {
                std::fprintf(stderr, "velmora_stress: %s needs a whole number.\n", arg.c_str());
                return 2;
            }
        } else if (!pluginPath && arg[0] != '-') {
            pluginPath = argv[i];
        } else {
            std::fprintf(stderr, "usage: velmora_stress PLUGIN [--calls N] [--seed S]\n");
            return 2;
        }
    }
    if (!pluginPath) {
        std::fprintf(stderr, "usage: velmora_stress PLUGIN [--calls N] [--seed S]\n");
        return 2;
    }

    // Kept loaded to the end of the process: its dependencies' own start-up
    // allocations are not ours to report.
    void* library = dlopen(pluginPath, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!library) {
        std::fprintf(stderr, "velmora_stress: cannot load %s: %s\n", pluginPath, dlerror());
        return 1;
    }
    auto entry = reinterpret_cast<VstPluginEntry>(dlsym(library, "VSTPluginMain"));
    AEffect* effect = entry ? entry(quietHost) : nullptr;
    if (!effect) {
        std::fprintf(stderr, "velmora_stress: %s gave no effect.\n", pluginPath);
        return 1;
    }

    SeededChoices choices(seed);
    HostileHost host(effect);
    while (static_cast<unsigned long long>(host.callsMade()) < calls) {
        host.step(choices);
        if (!host.failure().empty()) {
            std::fprintf(stderr, "velmora_stress: seed %llu, call %lld: %s\n", seed,
                         static_cast<long long>(host.callsMade()), host.failure().c_str());
            std::fprintf(stderr, "parameters:");
            for (int32_t index = 0; index < effect->numParams; ++index)
                std::fprintf(stderr, " %g", effect->getParameter(effect, index));
            std::fprintf(stderr, "\n");
            return 1;
        }
    }
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    std::printf("velmora_stress: %llu calls with seed %llu, every promise held.\n", calls, seed);
    return 0;
}
