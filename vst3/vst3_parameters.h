// The parameters as a VST 3 host sees them: the host parameter table
// (core/host_parameters.h, ids 0-21) with the format's normalised values,
// step counts and flags, and one more parameter that selects a factory
// preset. The format's values are 0..1 everywhere; the core's (plain) value
// of each parameter is what the table ranges say.
//
// Stepped parameters follow the format's rule: with n steps, step k is
// k / n, and a value v selects step min(n, floor(v * (n + 1))). The three
// curve types are shown as lists of their seven curves: step k stands for
// the core value k / 6, which selects curve k (the curves' thresholds sit at
// the sixths), and any stored value shows as the curve it selects.
#pragma once

#include <cstdint>

#include "core/factory_presets.h"
#include "core/host_parameters.h"
#include "vst3/vst3_abi.h"

// After the table's ids, never reused for anything else.
inline constexpr vvst3::ParamID kProgramParameterId = kHostParameterCount;
inline constexpr int32_t kVst3ParameterCount = static_cast<int32_t>(kHostParameterCount) + 1;
inline constexpr int32_t kProgramStepCount = static_cast<int32_t>(kFactoryPresetCount) - 1;
// The one program list: the factory presets, owned by the root unit.
inline constexpr vvst3::ProgramListID kFactoryProgramListId = 1;

// False for an index outside 0 .. kVst3ParameterCount - 1.
bool describeVst3Parameter(int32_t index, vvst3::ParameterInfo& info);
bool isVst3Parameter(vvst3::ParamID id);

// The core value a normalised value means (clamped into 0..1 first); false
// for NaN and for ids without a core value (the program selector).
bool coreValueOf(vvst3::ParamID id, double normalised, double& coreValue);
// The normalised value that shows a core value; 0 for an unknown id.
double normalisedOf(vvst3::ParamID id, double coreValue);

// The format's plain values: the step of a stepped parameter, the core
// value of a continuous one.
double plainOf(vvst3::ParamID id, double normalised);
double normalisedOfPlain(vvst3::ParamID id, double plain);

// The preset a program value selects.
int32_t programIndexOf(double normalised);
double normalisedOfProgram(int32_t index);

// The text shown for a normalised value, and back (false when the id is no
// parameter or the text names no value of it).
bool writeVst3ValueText(vvst3::ParamID id, double normalised, vvst3::String128 text);
bool readVst3ValueText(vvst3::ParamID id, const vvst3::Char16* text, double& normalised);
