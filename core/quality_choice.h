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

// A Quality value as hosts and editors pass it (the setting as a float): a
// value in between counts as the nearest setting, anything below 0 (or NaN)
// as Normal and above 3 as 8x.
constexpr Oversampling nearestQuality(float value) {
    if (!(value > 0.0f)) return Oversampling::Normal;
    if (value >= static_cast<float>(kQualitySettings - 1)) return Oversampling::x8;
    return clampedOversampling(static_cast<int>(value + 0.5f));
}
