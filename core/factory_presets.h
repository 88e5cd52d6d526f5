// The factory presets of the formats whose interface is ours (LV2, CLAP and
// VST 3): one table that the LV2 Turtle generator, the CLAP preset discovery
// and preset load, the VST 3 program list, velmora-host and the loudness
// test all read. A preset sets the
// 19 parameters and Mix, never Quality (it moves the latency) nor Bypass (a
// preset must not switch the effect back on). The VST 2 bank does not use it.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "dsp/parameter_index.h"

struct FactoryPreset {
    // Stable forever: the CLAP load key a host may have indexed, and the
    // file-name part of the demo's renders. Never reused for another sound.
    const char* key;
    const char* name;         // unique, at most kFactoryPresetNameMax characters
    const char* use;          // what it is for, one or two words ("Bass", "Drums")
    const char* description;  // one line
    std::array<float, kNumParameters> values;  // normalised, as the parameters take them
    float mix;                                  // the wet share 0..1
};

inline constexpr std::size_t kFactoryPresetCount = 16;
inline constexpr std::size_t kFactoryPresetNameMax = 24;

extern const std::array<FactoryPreset, kFactoryPresetCount> kFactoryPresets;

// By name (any letter case) or key; null when none matches.
const FactoryPreset* findFactoryPreset(std::string_view nameOrKey);
