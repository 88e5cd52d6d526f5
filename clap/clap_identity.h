// Who the plug-in is to CLAP hosts: one plug-in with a stable id, the
// effect's name, vendor and version from the core, and its features.
#pragma once

#include "clap/clap_abi.h"

inline constexpr const char kVelmoraClapId[] = "com.quorvane.velmora";

const vclap::PluginDescriptor& velmoraDescriptor();
