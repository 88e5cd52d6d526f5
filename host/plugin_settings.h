// Applies --program, --preset and --set from the command line to a loaded
// plug-in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/cli_args.h"

class LoadedPlugin;
struct PresetListing;

// The index of the parameter a --set target names: a decimal index below
// the parameter count, or a name matched without regard to letter case.
// names[i] is parameter i's name. Throws UsageError when nothing matches.
int32_t resolveParameter(const std::string& target, const std::vector<std::string>& names,
                         const std::string& pluginName);

// The index of the preset named `wanted` (any letter case, or exactly its
// load key). Throws UsageError listing every name when nothing matches.
size_t resolvePreset(const std::string& wanted, const std::vector<PresetListing>& presets,
                     const std::string& pluginName);

// Selects the program first, then loads the preset, then sets the
// parameters in command-line order.
void applySettings(LoadedPlugin& plugin, const Invocation& invocation);
