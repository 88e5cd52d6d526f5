// The CLAP preset interfaces, declared by us: the preset-discovery factory a
// host indexes presets through without an instance (provider, indexer,
// metadata receiver and what they exchange), and the preset-load extension
// that applies one of them to a running instance.
#pragma once

#include "clap/clap_abi.h"

namespace vclap {

namespace ext {
constexpr const char kPresetLoad[] = "clap.preset-load/2";
// The last draft's id for the same struct; hosts built against it ask so.
constexpr const char kPresetLoadCompat[] = "clap.preset-load.draft/2";
}  // namespace ext

constexpr const char kPresetDiscoveryFactoryId[] = "clap.preset-discovery-factory/2";
constexpr const char kPresetDiscoveryFactoryIdCompat[] = "clap.preset-discovery-factory/draft-2";

using Timestamp = uint64_t;  // seconds since the Unix epoch; 0 = unknown
constexpr Timestamp kTimestampUnknown = 0;

namespace preset {
// Location kinds.
constexpr uint32_t kLocationFile = 0;
constexpr uint32_t kLocationPlugin = 1;  // inside the binary; the location is null
// Flags.
constexpr uint32_t kIsFactoryContent = 1;
constexpr uint32_t kIsUserContent = 2;
constexpr uint32_t kIsDemoContent = 4;
constexpr uint32_t kIsFavorite = 8;
}  // namespace preset

// --- preset load ----------------------------------------------------------------

struct PluginPresetLoad {
    bool(VCLAP_CALL* from_location)(const Plugin* plugin, uint32_t location_kind, const char* location,
                                    const char* load_key);
};
VCLAP_LAYOUT(PluginPresetLoad, 8, 4);

struct HostPresetLoad {
    void(VCLAP_CALL* on_error)(const Host* host, uint32_t location_kind, const char* location, const char* load_key,
                               int32_t os_error, const char* msg);
    void(VCLAP_CALL* loaded)(const Host* host, uint32_t location_kind, const char* location, const char* load_key);
};
VCLAP_LAYOUT(HostPresetLoad, 16, 8);

// --- discovery: what the provider declares -----------------------------------------

struct PresetLocation {
    uint32_t flags;
    const char* name;
    uint32_t kind;
    const char* location;
};
VCLAP_LAYOUT(PresetLocation, 32, 16);
VCLAP_OFFSET(PresetLocation, kind, 16, 8);

struct PresetFiletype {
    const char* name;
    const char* description;
    const char* file_extension;
};
VCLAP_LAYOUT(PresetFiletype, 24, 12);

struct PresetSoundpack {
    uint32_t flags;
    const char* id;
    const char* name;
    const char* description;
    const char* homepage_url;
    const char* vendor;
    const char* image_path;
    Timestamp release_timestamp;
};
VCLAP_LAYOUT(PresetSoundpack, 64, 40);
VCLAP_OFFSET(PresetSoundpack, release_timestamp, 56, 32);

struct UniversalPluginId {
    const char* abi;  // "clap" for a CLAP plug-in
    const char* id;
};
VCLAP_LAYOUT(UniversalPluginId, 16, 8);

// --- discovery: the host's side -------------------------------------------------------

// Called by the provider only inside the host's current call into it.
struct PresetIndexer {
    Version clap_version;
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    void* indexer_data;
    bool(VCLAP_CALL* declare_filetype)(const PresetIndexer* indexer, const PresetFiletype* filetype);
    bool(VCLAP_CALL* declare_location)(const PresetIndexer* indexer, const PresetLocation* location);
    bool(VCLAP_CALL* declare_soundpack)(const PresetIndexer* indexer, const PresetSoundpack* soundpack);
    const void*(VCLAP_CALL* get_extension)(const PresetIndexer* indexer, const char* extension_id);
};
VCLAP_LAYOUT(PresetIndexer, 88, 48);
VCLAP_OFFSET(PresetIndexer, name, 16, 12);
VCLAP_OFFSET(PresetIndexer, declare_location, 64, 36);

// Exists for one get_metadata call; begin_preset opens each preset.
struct PresetMetadataReceiver {
    void* receiver_data;
    void(VCLAP_CALL* on_error)(const PresetMetadataReceiver* receiver, int32_t os_error, const char* error_message);
    bool(VCLAP_CALL* begin_preset)(const PresetMetadataReceiver* receiver, const char* name, const char* load_key);
    void(VCLAP_CALL* add_plugin_id)(const PresetMetadataReceiver* receiver, const UniversalPluginId* plugin_id);
    void(VCLAP_CALL* set_soundpack_id)(const PresetMetadataReceiver* receiver, const char* soundpack_id);
    void(VCLAP_CALL* set_flags)(const PresetMetadataReceiver* receiver, uint32_t flags);
    void(VCLAP_CALL* add_creator)(const PresetMetadataReceiver* receiver, const char* creator);
    void(VCLAP_CALL* set_description)(const PresetMetadataReceiver* receiver, const char* description);
    void(VCLAP_CALL* set_timestamps)(const PresetMetadataReceiver* receiver, Timestamp creation_time,
                                     Timestamp modification_time);
    void(VCLAP_CALL* add_feature)(const PresetMetadataReceiver* receiver, const char* feature);
    void(VCLAP_CALL* add_extra_info)(const PresetMetadataReceiver* receiver, const char* key, const char* value);
};
VCLAP_LAYOUT(PresetMetadataReceiver, 88, 44);
VCLAP_OFFSET(PresetMetadataReceiver, set_timestamps, 64, 32);

// --- discovery: the plug-in's side -----------------------------------------------------

struct PresetProviderDescriptor {
    Version clap_version;
    const char* id;
    const char* name;
    const char* vendor;
};
VCLAP_LAYOUT(PresetProviderDescriptor, 40, 24);

// Never called from two threads at once, but not always from the same one.
struct PresetProvider {
    const PresetProviderDescriptor* desc;
    void* provider_data;
    bool(VCLAP_CALL* init)(const PresetProvider* provider);
    void(VCLAP_CALL* destroy)(const PresetProvider* provider);
    bool(VCLAP_CALL* get_metadata)(const PresetProvider* provider, uint32_t location_kind, const char* location,
                                   const PresetMetadataReceiver* metadata_receiver);
    const void*(VCLAP_CALL* get_extension)(const PresetProvider* provider, const char* extension_id);
};
VCLAP_LAYOUT(PresetProvider, 48, 24);

// Thread-safe: any thread, also concurrently.
struct PresetDiscoveryFactory {
    uint32_t(VCLAP_CALL* count)(const PresetDiscoveryFactory* factory);
    const PresetProviderDescriptor*(VCLAP_CALL* get_descriptor)(const PresetDiscoveryFactory* factory, uint32_t index);
    const PresetProvider*(VCLAP_CALL* create)(const PresetDiscoveryFactory* factory, const PresetIndexer* indexer,
                                              const char* provider_id);
};
VCLAP_LAYOUT(PresetDiscoveryFactory, 24, 12);

}  // namespace vclap
