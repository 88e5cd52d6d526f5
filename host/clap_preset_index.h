// The host's side of CLAP preset discovery: asks a library's
// preset-discovery factory for its providers and lists the presets they
// report inside the plug-in binary, as a host's preset browser indexes them
// without creating an instance.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "clap/clap_preset_abi.h"

struct ClapPresetEntry {
    std::string name;
    std::string loadKey;
    std::string description;
    uint32_t locationKind = vclap::preset::kLocationPlugin;
    std::optional<std::string> location;  // null for presets inside the plug-in
};

// The presets of every provider that apply to pluginId (a preset naming no
// plug-in counts as applying). Preset files (locations of kind FILE) are
// not crawled. A library without the factory has none; a provider that
// fails is skipped with the reason in `problems`.
std::vector<ClapPresetEntry> discoverClapPresets(const vclap::PluginEntry& entry, const std::string& pluginId,
                                                 std::vector<std::string>& problems);
