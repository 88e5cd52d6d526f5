#include "clap/clap_preset_discovery.h"

#include <cctype>
#include <cstring>
#include <new>
#include <string>

#include "clap/clap_identity.h"
#include "core/effect_identity.h"
#include "core/factory_presets.h"
#include "core/host_entry_guard.h"

namespace {

const vclap::PresetProviderDescriptor kProviderDescriptor = {vclap::kVersion, "com.quorvane.velmora.presets",
                                                             "Velmora factory presets", kEffectVendor};

// What the provider keeps: the host's indexer, for init's declarations.
struct Provider {
    vclap::PresetProvider clap;
    const vclap::PresetIndexer* indexer;
};

const Provider* providerOf(const vclap::PresetProvider* provider) {
    return provider != nullptr ? static_cast<const Provider*>(provider->provider_data) : nullptr;
}

bool VCLAP_CALL providerInit(const vclap::PresetProvider* provider) {
    return guardedHostEntry(false, [&] {
        const Provider* self = providerOf(provider);
        if (self == nullptr || self->indexer == nullptr || self->indexer->declare_location == nullptr) return false;
        const vclap::PresetLocation factory = {vclap::preset::kIsFactoryContent, "Factory",
                                               vclap::preset::kLocationPlugin, nullptr};
        return self->indexer->declare_location(self->indexer, &factory);
    });
}

void VCLAP_CALL providerDestroy(const vclap::PresetProvider* provider) {
    guardedHostEntry([&] { delete providerOf(provider); });
}

// Lower case, so that hosts can map the use onto their own tags.
std::string featureOf(const char* use) {
    std::string feature = use;
    for (char& c : feature) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return feature;
}

// Every receiver function may be missing; begin_preset is the one without
// which nothing can be told.
void describe(const vclap::PresetMetadataReceiver& r, const FactoryPreset& preset) {
    const vclap::UniversalPluginId plugin = {"clap", kVelmoraClapId};
    if (r.add_plugin_id != nullptr) r.add_plugin_id(&r, &plugin);
    if (r.set_description != nullptr) r.set_description(&r, preset.description);
    if (r.add_creator != nullptr) r.add_creator(&r, kEffectVendor);
    if (r.add_feature != nullptr) {
        r.add_feature(&r, "audio-effect");
        r.add_feature(&r, "distortion");
        r.add_feature(&r, featureOf(preset.use).c_str());
    }
}

// Only the location declared in init; for it the location text is ignored,
// as a host may pass one where null is meant.
bool VCLAP_CALL providerGetMetadata(const vclap::PresetProvider*, uint32_t kind, const char*,
                                    const vclap::PresetMetadataReceiver* receiver) {
    return guardedHostEntry(false, [&] {
        if (receiver == nullptr || receiver->begin_preset == nullptr) return false;
        if (kind != vclap::preset::kLocationPlugin) {
            if (receiver->on_error != nullptr)
                receiver->on_error(receiver, 0, "Velmora's presets are inside the plug-in; it reads no preset files.");
            return false;
        }
        for (const FactoryPreset& preset : kFactoryPresets) {
            if (!receiver->begin_preset(receiver, preset.name, preset.key)) break;
            describe(*receiver, preset);
        }
        return true;
    });
}

const void* VCLAP_CALL providerGetExtension(const vclap::PresetProvider*, const char*) { return nullptr; }

uint32_t VCLAP_CALL factoryCount(const vclap::PresetDiscoveryFactory*) { return 1; }

const vclap::PresetProviderDescriptor* VCLAP_CALL factoryDescriptor(const vclap::PresetDiscoveryFactory*,
                                                                    uint32_t index) {
    return index == 0 ? &kProviderDescriptor : nullptr;
}

// Everything is set up here, so get_metadata works even on a provider whose
// init a host skips because it cached the declarations.
const vclap::PresetProvider* VCLAP_CALL factoryCreate(const vclap::PresetDiscoveryFactory*,
                                                      const vclap::PresetIndexer* indexer, const char* id) {
    return guardedHostEntry(static_cast<const vclap::PresetProvider*>(nullptr),
                            [&]() -> const vclap::PresetProvider* {
                                if (id == nullptr || std::strcmp(id, kProviderDescriptor.id) != 0) return nullptr;
                                Provider* provider = new (std::nothrow) Provider{};
                                if (provider == nullptr) return nullptr;
                                provider->clap = {&kProviderDescriptor, provider,           providerInit,
                                                  providerDestroy,      providerGetMetadata, providerGetExtension};
                                provider->indexer = indexer;
                                return &provider->clap;
                            });
}

}  // namespace

const vclap::PresetDiscoveryFactory kClapPresetDiscoveryFactory = {factoryCount, factoryDescriptor, factoryCreate};
