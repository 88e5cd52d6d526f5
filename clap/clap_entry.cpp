// The library's one export, clap_entry, the factory that makes Velmora's
// single plug-in, and the way to the preset-discovery factory.
#include <atomic>
#include <cstring>

#include "clap/clap_effect.h"
#include "core/host_entry_guard.h"
#include "clap/clap_identity.h"
#include "clap/clap_preset_discovery.h"

namespace {

// A host and a wrapper inside it may both initialise the library; there is
// nothing to set up, so the count only has to stay balanced.
std::atomic<int> initCount{0};

bool VCLAP_CALL entryInit(const char*) {
    initCount.fetch_add(1, std::memory_order_relaxed);
    return true;
}

void VCLAP_CALL entryDeinit() {
    int count = initCount.load(std::memory_order_relaxed);
    while (count > 0 && !initCount.compare_exchange_weak(count, count - 1, std::memory_order_relaxed)) {
    }
}

uint32_t VCLAP_CALL pluginCount(const vclap::PluginFactory*) { return 1; }

const vclap::PluginDescriptor* VCLAP_CALL descriptorAt(const vclap::PluginFactory*, uint32_t index) {
    return index == 0 ? &velmoraDescriptor() : nullptr;
}

// Calls nothing on the host: that may start only in the plug-in's init.
const vclap::Plugin* VCLAP_CALL createPlugin(const vclap::PluginFactory*, const vclap::Host* host, const char* id) {
    return guardedHostEntry(static_cast<const vclap::Plugin*>(nullptr), [&]() -> const vclap::Plugin* {
        if (host == nullptr || !vclap::versionIsCompatible(host->clap_version)) return nullptr;
        if (id == nullptr || std::strcmp(id, kVelmoraClapId) != 0) return nullptr;
        ClapEffect* effect = ClapEffect::create(host);
        return effect != nullptr ? effect->plugin() : nullptr;
    });
}

const vclap::PluginFactory kFactory = {pluginCount, descriptorAt, createPlugin};

// The preset-discovery factory answers to its draft id as well: hosts built
// against the draft ask for that one.
const void* VCLAP_CALL getFactory(const char* id) {
    if (id == nullptr) return nullptr;
    if (std::strcmp(id, vclap::kPluginFactoryId) == 0) return &kFactory;
    if (std::strcmp(id, vclap::kPresetDiscoveryFactoryId) == 0 ||
        std::strcmp(id, vclap::kPresetDiscoveryFactoryIdCompat) == 0)
        return &kClapPresetDiscoveryFactory;
    return nullptr;
}

}  // namespace

extern "C" VCLAP_EXPORT const vclap::PluginEntry clap_entry = {vclap::kVersion, entryInit, entryDeinit, getFactory};
