// Each value as musicians read it, for the interfaces that are ours: the
// unit, a name that says what the control does, the range in that unit, and
// the law both ways between a host value (core/host_parameters.h: the 19 in
// 0..1, Quality 0..3, Mix 0..1) and that unit. The LV2 ports carry these
// units, and the CLAP and VST 3 texts show them. The VST 2 texts and the
// editor's display keep their own.
#pragma once

#include <cstdint>

#include "core/host_parameters.h"

enum class HostUnit {
    Hertz,     // crossovers, on a logarithmic scale
    Decibels,  // drive
    Level,     // decibels whose lowest value stands for silence
    Balance,   // -64 (left) .. 64 (right), the steps the editor shows
    Curve,     // 0..6, the curves by name
    Toggle,    // 0 or 1
    Quality,   // 0..3, the settings by name
    Percent    // 0..100
};

struct HostUnitScale {
    HostUnit unit;
    const char* name;  // "Low/mid crossover", "Low drive", ...
    double minimum;
    double maximum;
};

// The lowest level in decibels a level control offers: it stands for silence.
inline constexpr double kSilenceDecibels = -90.0;

// The scale of a host id below Bypass (Bypass has none: the formats name it
// themselves).
const HostUnitScale& hostUnitScale(HostParameterId id);
bool hasHostUnitScale(HostParameterId id);

// A host value in its unit (a level of silence: minus infinity), and back
// (clamped to the host value's range; minus infinity, or a level at or
// below kSilenceDecibels, is silence).
double unitValue(HostParameterId id, double hostValue);
double hostValueOfUnit(HostParameterId id, double unit);

// The same for ports that carry a float in the unit (LV2): the unit's float
// for a host value, and the float host value whose unit's float it is, so
// that a value written from a host value (a default, a preset) comes back
// as exactly that value and sounds bit for bit as through the other formats.
// Out-of-range units are clamped, NaN is the parameter's default.
float unitFloat(HostParameterId id, float hostValue);
float hostFloatOfUnit(HostParameterId id, float unit);
