// The preset-discovery factory: one provider whose one location, inside the
// plug-in itself, holds the factory presets, each named by its key. It
// needs no instance, so hosts may index from any thread or process.
#pragma once

#include "clap/clap_preset_abi.h"

extern const vclap::PresetDiscoveryFactory kClapPresetDiscoveryFactory;
