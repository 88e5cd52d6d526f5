// The parameters as CLAP hosts see them: one table, with each parameter's
// id (stable forever), name, range, default and flags. The first 19 are
// the core's, with their ids equal to their indices and plain values in
// 0..1, as in VST 2; Quality (id 19) follows, which VST 2 does not have.
#pragma once

#include <array>
#include <cstdint>

#include "clap/clap_extensions.h"
#include "core/parameter_table.h"
#include "core/quality_choice.h"

struct ClapParameter {
    vclap::Id id;
    const char* name;
    double minValue;
    double maxValue;
    double defaultValue;
    ParameterKind kind;  // the core's; Quality counts as a choice, with texts of its own
    uint32_t flags;
};

inline constexpr vclap::Id kClapQualityId = kNumParameters;
inline constexpr uint32_t kClapParameterCount = kNumParameters + 1;

// Switches are stepped (0 or 1), so hosts draw them as toggles and never
// send a value in between.
constexpr uint32_t clapParameterFlags(ParameterKind kind) {
    return vclap::param::kIsAutomatable | (kind == ParameterKind::Switch ? vclap::param::kIsStepped : 0u);
}

// Quality is a menu of whole settings. It is not automatable: a change
// that moves the latency takes a restart of the plug-in (a gap in the sound
// and new delay compensation across the project), which automation would
// bring about on every change during playback.
inline constexpr uint32_t kClapQualityFlags = vclap::param::kIsStepped | vclap::param::kIsEnum;

inline constexpr std::array<ClapParameter, kClapParameterCount> kClapParameters = [] {
    std::array<ClapParameter, kClapParameterCount> table{};
    for (uint32_t i = 0; i < kNumParameters; ++i) {
        const ParameterInfo& info = kParameterTable[i];
        table[i] = {i,    info.name, kParameterMinimum, kParameterMaximum, info.defaultValue,
                    info.kind, clapParameterFlags(info.kind)};
    }
    table[kClapQualityId] = {kClapQualityId,
                             kQualityName,
                             static_cast<double>(Oversampling::Normal),
                             static_cast<double>(Oversampling::x8),
                             static_cast<double>(Oversampling::Normal),
                             ParameterKind::CurveChoice,
                             kClapQualityFlags};
    return table;
}();

// The row of an id, or null for an id that is no parameter.
constexpr const ClapParameter* clapParameter(vclap::Id id) {
    for (const ClapParameter& parameter : kClapParameters)
        if (parameter.id == id) return &parameter;
    return nullptr;
}

// The setting a plain Quality value selects: whole numbers, cut toward zero
// as the format converts stepped values; outside the range (or NaN) the
// nearest end.
constexpr Oversampling clapQualitySetting(double value) {
    if (!(value > 0.0)) return Oversampling::Normal;
    return clampedOversampling(value >= static_cast<double>(Oversampling::x8) ? static_cast<int>(Oversampling::x8)
                                                                              : static_cast<int>(value));
}
