// The plug-in struct's functions: each finds its instance, checks what a
// careless host may get wrong (null pointers, calls out of order) and keeps
// exceptions inside.
#include <cstring>

#include "clap/clap_effect.h"
#include "core/host_entry_guard.h"
#include "clap/clap_identity.h"
#include "clap/clap_offered_extensions.h"

namespace {

bool VCLAP_CALL initCall(const vclap::Plugin* plugin) {
    return guardedHostEntry(false, [&] {
        ClapEffect* effect = ClapEffect::of(plugin);
        return effect != nullptr && effect->init();
    });
}

// Safe in any state: an active instance is deactivated first, an open
// editor closed.
void VCLAP_CALL destroyCall(const vclap::Plugin* plugin) {
    guardedHostEntry([&] {
        ClapEffect* effect = ClapEffect::of(plugin);
        if (effect != nullptr) effect->deactivate();
        delete effect;
    });
}

bool VCLAP_CALL activateCall(const vclap::Plugin* plugin, double sampleRate, uint32_t, uint32_t) {
    return guardedHostEntry(false, [&] {
        ClapEffect* effect = ClapEffect::of(plugin);
        return effect != nullptr && effect->activate(sampleRate);
    });
}

void VCLAP_CALL deactivateCall(const vclap::Plugin* plugin) {
    guardedHostEntry([&] {
        if (ClapEffect* effect = ClapEffect::of(plugin)) effect->deactivate();
    });
}

bool VCLAP_CALL startProcessingCall(const vclap::Plugin* plugin) {
    return guardedHostEntry(false, [&] {
        ClapEffect* effect = ClapEffect::of(plugin);
        return effect != nullptr && effect->startProcessing();
    });
}

void VCLAP_CALL stopProcessingCall(const vclap::Plugin* plugin) {
    guardedHostEntry([&] {
        if (ClapEffect* effect = ClapEffect::of(plugin)) effect->stopProcessing();
    });
}

// Hosts reset on transport jumps and stops: no ringing of the old signal may
// reach the new one.
void VCLAP_CALL resetCall(const vclap::Plugin* plugin) {
    guardedHostEntry([&] {
        if (ClapEffect* effect = ClapEffect::of(plugin)) effect->reset();
    });
}

vclap::ProcessStatus VCLAP_CALL processCall(const vclap::Plugin* plugin, const vclap::Process* block) {
    return guardedHostEntry(vclap::status::kError, [&] {
        ClapEffect* effect = ClapEffect::of(plugin);
        return effect != nullptr && block != nullptr ? effect->process(*block) : vclap::status::kError;
    });
}

const void* VCLAP_CALL getExtensionCall(const vclap::Plugin* plugin, const char* id) {
    return guardedHostEntry(static_cast<const void*>(nullptr), [&]() -> const void* {
        ClapEffect* effect = ClapEffect::of(plugin);
        if (effect == nullptr || id == nullptr) return nullptr;
        const struct {
            const char* id;
            const void* extension;
        } offered[] = {
            {vclap::ext::kAudioPorts, &kClapAudioPorts},
            {vclap::ext::kParams, &kClapParams},
            {vclap::ext::kState, &kClapState},
            {vclap::ext::kLatency, &kClapLatency},
            {vclap::ext::kPresetLoad, &kClapPresetLoad},
            {vclap::ext::kPresetLoadCompat, &kClapPresetLoad},
            // Without an editor there is no GUI to offer.
            {vclap::ext::kGui, effect->gui().available() ? &kClapGui : nullptr},
            {vclap::ext::kTimerSupport, &kClapTimerSupport},
            {vclap::ext::kPosixFdSupport, &kClapPosixFdSupport},
        };
        for (const auto& extension : offered)
            if (std::strcmp(id, extension.id) == 0) return extension.extension;
        return nullptr;
    });
}

void VCLAP_CALL onMainThreadCall(const vclap::Plugin*) {}

}  // namespace

vclap::Plugin ClapEffect::makeClapPlugin(ClapEffect* effect) {
    return {&velmoraDescriptor(), effect,              initCall,    destroyCall, activateCall,
            deactivateCall,      startProcessingCall, stopProcessingCall, resetCall, processCall,
            getExtensionCall,    onMainThreadCall};
}
