// The library's exported entry: "VSTPluginMain", and "main" for hosts that
// look up the original name. Both build the effect and hand out its record.
#include <new>

#include "distortion_effect.h"
#include "core/fpu_mode.h"
#include "core/host_entry_guard.h"

namespace {

AEffect* buildEffect(AudioMasterCallback host) {
    enableFlushToZero();
    if (!host || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    auto* effect = new (std::nothrow) DistortionEffect(host);
    if (!effect) return nullptr;
    if (editorMissing) {
        delete effect;
        return nullptr;
    }
    return effect->getAeffect();
}

// Null, and nothing made, when anything on the way throws.
AEffect* createEffect(AudioMasterCallback host) {
    return guardedHostEntry<AEffect*>(nullptr, [&] { return buildEffect(host); });
}

}  // namespace

#if defined(_WIN32)
// Exported through velmora.def, which also gives "main" the same address.
#define VELMORA_EXPORT extern "C"
#else
#define VELMORA_EXPORT extern "C" __attribute__((visibility("default")))
#endif

VELMORA_EXPORT AEffect* VST_CALLBACK VSTPluginMain(AudioMasterCallback host) { return createEffect(host); }

#if !defined(_WIN32)
// C++ cannot define a function called main with this signature, so the
// symbol is given its name through an assembler label.
VELMORA_EXPORT AEffect* velmoraMainEntry(AudioMasterCallback host) __asm__("main");
AEffect* velmoraMainEntry(AudioMasterCallback host) { return createEffect(host); }
#endif
