// Quality as the formats that offer it show it (LV2 and CLAP; VST 2 always
// runs Normal): its name and the label of each setting, in the order of the
// Oversampling values, so every format names the settings alike.
#pragma once

#include <array>

#include "dsp/oversampling.h"

inline constexpr const char* kQualityName = "Quality";
inline constexpr int kQualitySettings = static_cast<int>(Oversampling::x8) + 1;
inline constexpr std::array<const char*, kQualitySettings> kQualityLabels = {"Normal", "2x", "4x", "8x"};

constexpr const char* qualityLabel(Oversampling setting) { return kQualityLabels[static_cast<int>(setting)]; }
