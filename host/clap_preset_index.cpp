#include "host/clap_preset_index.h"


namespace {

std::string text(const char* value) { return value != nullptr ? value : ""; }

// What one provider declares and reports; the indexer's and receiver's
// data pointers lead here.
struct Scan {
    std::vector<vclap::PresetLocation> pluginLocations;
    std::vector<ClapPresetEntry> found;
    std::vector<bool> applies;  // per entry of found: named our plug-in, or nothing
    std::vector<bool> namedAny;
    std::string pluginId;
    std::string error;
};

Scan& scanOf(const vclap::PresetIndexer* indexer) { return *static_cast<Scan*>(indexer->indexer_data); }
Scan& scanOf(const vclap::PresetMetadataReceiver* receiver) { return *static_cast<Scan*>(receiver->receiver_data); }

vclap::PresetIndexer makeIndexer(Scan& scan) {
    vclap::PresetIndexer indexer{};
    indexer.clap_version = vclap::kVersion;
    indexer.name = "velmora-host";
    indexer.vendor = "Quorvane";
    indexer.url = "";
    indexer.version = "1.0.0";
    indexer.indexer_data = &scan;
    indexer.declare_filetype = [](const vclap::PresetIndexer*, const vclap::PresetFiletype* type) {
        return type != nullptr;
    };
    indexer.declare_location = [](const vclap::PresetIndexer* self, const vclap::PresetLocation* location) {
        if (location == nullptr) return false;
        if (location->kind == vclap::preset::kLocationPlugin) scanOf(self).pluginLocations.push_back(*location);
        return true;
    };
    indexer.declare_soundpack = [](const vclap::PresetIndexer*, const vclap::PresetSoundpack* pack) {
        return pack != nullptr;
    };
    indexer.get_extension = [](const vclap::PresetIndexer*, const char*) -> const void* { return nullptr; };
    return indexer;
}

vclap::PresetMetadataReceiver makeReceiver(Scan& scan) {
    vclap::PresetMetadataReceiver r{};
    r.receiver_data = &scan;
    r.on_error = [](const vclap::PresetMetadataReceiver* self, int32_t, const char* message) {
        scanOf(self).error = text(message);
    };
    r.begin_preset = [](const vclap::PresetMetadataReceiver* self, const char* name, const char* key) {
        Scan& s = scanOf(self);
        s.found.push_back({text(name), text(key), "", vclap::preset::kLocationPlugin, std::nullopt});
        s.applies.push_back(false);
        s.namedAny.push_back(false);
        return true;
    };
    r.add_plugin_id = [](const vclap::PresetMetadataReceiver* self, const vclap::UniversalPluginId* id) {
        Scan& s = scanOf(self);
        if (s.found.empty() || id == nullptr) return;
        s.namedAny.back() = true;
        if (text(id->abi) == "clap" && text(id->id) == s.pluginId) s.applies.back() = true;
    };
    r.set_soundpack_id = [](const vclap::PresetMetadataReceiver*, const char*) {};
    r.set_flags = [](const vclap::PresetMetadataReceiver*, uint32_t) {};
    r.add_creator = [](const vclap::PresetMetadataReceiver*, const char*) {};
    r.set_description = [](const vclap::PresetMetadataReceiver* self, const char* description) {
        Scan& s = scanOf(self);
        if (!s.found.empty()) s.found.back().description = text(description);
    };
    r.set_timestamps = [](const vclap::PresetMetadataReceiver*, vclap::Timestamp, vclap::Timestamp) {};
    r.add_feature = [](const vclap::PresetMetadataReceiver*, const char*) {};
    r.add_extra_info = [](const vclap::PresetMetadataReceiver*, const char*, const char*) {};
    return r;
}

// One provider from creation to destruction, in the order the format gives.
void scanProvider(const vclap::PresetDiscoveryFactory& factory, const vclap::PresetProviderDescriptor& descriptor,
                  Scan& scan, std::vector<std::string>& problems) {
    const std::string providerName = text(descriptor.name).empty() ? text(descriptor.id) : text(descriptor.name);
    const vclap::PresetIndexer indexer = makeIndexer(scan);
    const vclap::PresetProvider* provider = factory.create(&factory, &indexer, descriptor.id);
    if (provider == nullptr || provider->destroy == nullptr) {
        problems.push_back("The preset provider " + providerName + " could not be created.");
        return;
    }
    if (provider->init == nullptr || provider->get_metadata == nullptr || !provider->init(provider)) {
        problems.push_back("The preset provider " + providerName + " refused to initialise.");
    } else {
        const vclap::PresetMetadataReceiver receiver = makeReceiver(scan);
        for (const vclap::PresetLocation& location : scan.pluginLocations) {
            if (!provider->get_metadata(provider, location.kind, nullptr, &receiver))
                problems.push_back("The preset provider " + providerName + " could not list its presets" +
                                   (scan.error.empty() ? "." : ": " + scan.error));
        }
    }
    provider->destroy(provider);
}

}  // namespace

std::vector<ClapPresetEntry> discoverClapPresets(const vclap::PluginEntry& entry, const std::string& pluginId,
                                                 std::vector<std::string>& problems) {
    const void* offered = entry.get_factory(vclap::kPresetDiscoveryFactoryId);
    if (offered == nullptr) offered = entry.get_factory(vclap::kPresetDiscoveryFactoryIdCompat);
    const auto* factory = static_cast<const vclap::PresetDiscoveryFactory*>(offered);
    if (factory == nullptr) return {};
    if (factory->count == nullptr || factory->get_descriptor == nullptr || factory->create == nullptr) {
        problems.push_back("The preset-discovery factory lacks one of its three functions.");
        return {};
    }
    std::vector<ClapPresetEntry> presets;
    const uint32_t count = factory->count(factory);
    for (uint32_t i = 0; i < count; ++i) {
        const vclap::PresetProviderDescriptor* descriptor = factory->get_descriptor(factory, i);
        if (descriptor == nullptr || descriptor->id == nullptr) continue;
        Scan scan;
        scan.pluginId = pluginId;
        scanProvider(*factory, *descriptor, scan, problems);
        for (size_t k = 0; k < scan.found.size(); ++k)
            if (scan.applies[k] || !scan.namedAny[k]) presets.push_back(scan.found[k]);
    }
    return presets;
}
