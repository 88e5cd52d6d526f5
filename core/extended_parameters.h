// The values only the formats whose interface is ours (LV2 and CLAP) offer
// beyond the 19: Quality, Mix and Bypass. Editors and adapters exchange them
// through the same ParameterLink and ParameterListener calls as the 19, at
// the indices right after them, each in its own unit:
//   Quality  the setting 0..3 (Normal, 2x, 4x, 8x) as a float;
//   Mix      0..1, the wet share (1, the default, is the effect alone);
//   Bypass   0 or 1, 1 when bypassed.
// The VST 2 plug-in never sees these indices.
#pragma once

#include <cstdint>

#include "dsp/parameter_index.h"

inline constexpr int32_t kQualityIndex = kNumParameters;
inline constexpr int32_t kMixIndex = kNumParameters + 1;
inline constexpr int32_t kBypassIndex = kNumParameters + 2;
inline constexpr int32_t kNumExtendedParameters = kNumParameters + 3;

inline constexpr const char* kMixName = "Mix";
inline constexpr const char* kBypassName = "Bypass";
inline constexpr float kMixDefault = 1.0f;

constexpr bool isExtendedIndex(int32_t index) { return index >= kQualityIndex && index < kNumExtendedParameters; }
