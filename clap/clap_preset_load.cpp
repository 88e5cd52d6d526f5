// The preset-load extension: applies a factory preset named by the load key
// discovery gave it. An unknown key (an index from another version, say)
// changes nothing and is reported to the host in a sentence.
#include <string>

#include "clap/clap_effect.h"
#include "clap/clap_offered_extensions.h"
#include "core/factory_presets.h"
#include "core/host_entry_guard.h"

namespace {

void reportError(const vclap::Host* host, uint32_t kind, const char* location, const char* key,
                 const std::string& message) {
    if (host == nullptr || host->get_extension == nullptr) return;
    const void* offered = host->get_extension(host, vclap::ext::kPresetLoad);
    if (offered == nullptr) offered = host->get_extension(host, vclap::ext::kPresetLoadCompat);
    const auto* presetLoad = static_cast<const vclap::HostPresetLoad*>(offered);
    if (presetLoad != nullptr && presetLoad->on_error != nullptr)
        presetLoad->on_error(host, kind, location, key, 0, message.c_str());
}

const FactoryPreset* presetWithKey(const char* key) {
    for (const FactoryPreset& preset : kFactoryPresets)
        if (std::string(preset.key) == key) return &preset;
    return nullptr;
}

bool VCLAP_CALL fromLocation(const vclap::Plugin* plugin, uint32_t kind, const char* location, const char* key) {
    return guardedHostEntry(false, [&] {
        ClapEffect* effect = ClapEffect::of(plugin);
        if (effect == nullptr) return false;
        const FactoryPreset* preset =
            kind == vclap::preset::kLocationPlugin && key != nullptr ? presetWithKey(key) : nullptr;
        if (preset == nullptr) {
            reportError(effect->clapHost(), kind, location, key,
                        kind != vclap::preset::kLocationPlugin
                            ? "Velmora's presets are inside the plug-in; it reads no preset files."
                            : "Velmora has no preset with the key \"" + std::string(key ? key : "") + "\".");
            return false;
        }
        effect->loadPreset(*preset);
        return true;
    });
}

}  // namespace

const vclap::PluginPresetLoad kClapPresetLoad = {fromLocation};
