// What names the LV2 build: the plug-in and UI URIs, the binaries' file
// names inside the bundle, and the order of the ports.
#pragma once

#include <cstdint>

#include "core/parameter_table.h"

namespace lv2id {

inline constexpr char kPluginUri[] = "urn:quorvane:velmora";
inline constexpr char kUiUri[] = "urn:quorvane:velmora#ui";
inline constexpr char kPluginBinary[] = "velmora.so";
inline constexpr char kUiBinary[] = "velmora_ui.so";
inline constexpr char kPluginDescriptionFile[] = "velmora.ttl";
inline constexpr char kPresetsFile[] = "presets.ttl";

// LV2 hosts treat a minor version of zero, or any odd one, as a development
// build, so the first release is 2.0.
inline constexpr int kMinorVersion = 2;
inline constexpr int kMicroVersion = 0;

// Audio ports first, then one control input per parameter in index order,
// then the ports only this format has. Hosts store sessions by symbol but
// some connect by index, so new ports only ever go at the end.
enum Port : uint32_t {
    kInLeft = 0,
    kInRight,
    kOutLeft,
    kOutRight,
    kFirstControl,
    kQuality = kFirstControl + kNumParameters,  // the Oversampling setting, 0..3
    kLatency,                                   // output: the delay in frames at the setting in use
    kMix,                                       // the dry/wet share, 0..1
    kEnabled,                                   // the host's bypass: above 0 processes, 0 bypasses
    kAnalyserRequests,                          // atoms in: the UI asks for the analyser's samples
    kAnalyserSamples,                           // atoms out: the samples, while the UI asks
    kNumPorts
};

inline constexpr char kQualitySymbol[] = "quality";
inline constexpr char kLatencySymbol[] = "latency";
inline constexpr char kMixSymbol[] = "mix";
inline constexpr char kEnabledSymbol[] = "enabled";
inline constexpr char kAnalyserRequestsSymbol[] = "analyser_requests";
inline constexpr char kAnalyserSamplesSymbol[] = "analyser_samples";

inline constexpr uint32_t controlPort(int parameterIndex) { return kFirstControl + static_cast<uint32_t>(parameterIndex); }
// The parameters' own ports, as opposed to audio, Quality and latency.
inline constexpr bool isParameterPort(uint32_t port) { return port >= kFirstControl && port < kQuality; }

}  // namespace lv2id
