// The extensions the plug-in offers, one file each; get_extension hands them
// out by id.
#pragma once

#include "clap/clap_extensions.h"
#include "clap/clap_preset_abi.h"

extern const vclap::PluginAudioPorts kClapAudioPorts;  // clap_audio_ports.cpp
extern const vclap::PluginParams kClapParams;          // clap_params.cpp
extern const vclap::PluginState kClapState;            // clap_state.cpp
extern const vclap::PluginLatency kClapLatency;        // clap_latency.cpp
extern const vclap::PluginGui kClapGui;                // clap_gui_extension.cpp
extern const vclap::PluginPresetLoad kClapPresetLoad;  // clap_preset_load.cpp
extern const vclap::PluginTimerSupport kClapTimerSupport;
extern const vclap::PluginPosixFdSupport kClapPosixFdSupport;
