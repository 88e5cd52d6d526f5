// The parameters as CLAP hosts see them: one table, with each parameter's
// id (stable forever), name, range, default and flags. The first 19 are
// the core's, with their ids equal to their indices and plain values in
// 0..1, as in VST 2; Quality (id 19), Mix (id 20) and Bypass (id 21)
// follow, which VST 2 does not have. Ids equal the link indices of
// core/extended_parameters.h.
#pragma once

#include <array>
#include <cstdint>

#include "clap/clap_extensions.h"
#include "core/extended_parameters.h"
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

inline constexpr vclap::Id kClapQualityId = kQualityIndex;
inline constexpr vclap::Id kClapMixId = kMixIndex;
inline constexpr vclap::Id kClapBypassId = kBypassIndex;
inline constexpr uint32_t kClapParameterCount = kNumExtendedParameters;

// Switches are stepped (0 or 1), so hosts draw them as toggles and never
// send a value in between.
constexpr uint32_t clapParameterFlags(ParameterKind kind) {
    return vclap::param::kIsAutomatable | (kind == ParameterKind::Switch ? vclap::param::kIsStepped : 0u);
}

// Quality is a menu of whole settings. It is automatable because some hosts
// show only automatable parameters, and otherwise it could not be set there
// at all; a change that moves the latency while active still waits for the
// restart the plug-in asks for.
inline constexpr uint32_t kClapQualityFlags =
    vclap::param::kIsStepped | vclap::param::kIsEnum | vclap::param::kIsAutomatable;
// Bypass is the host's bypass button: stepped, 0 = processing, 1 = bypassed.
inline constexpr uint32_t kClapBypassFlags =
    vclap::param::kIsStepped | vclap::param::kIsBypass | vclap::param::kIsAutomatable;

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
    table[kClapMixId] = {kClapMixId, kMixName, 0.0, 1.0, kMixDefault, ParameterKind::Continuous,
                         vclap::param::kIsAutomatable};
    table[kClapBypassId] = {kClapBypassId, kBypassName, 0.0, 1.0, 0.0, ParameterKind::Switch, kClapBypassFlags};
    return table;
}();

// The row of an id, or null for an id that is no parameter.
constexpr const ClapParameter* clapParameter(vclap::Id id) {
    for (const ClapParameter& parameter : kClapParameters)
        if (parameter.id == id) return &parameter;
    return nullptr;
}

// The value a parameter takes when a host, a state or the editor offers
// one: within the declared range, NaN as the default. Everything the plug-in
// stores is then a value it would accept again from a saved state.
constexpr double clampedClapValue(const ClapParameter& parameter, double value) {
    if (value != value) return parameter.defaultValue;
    return value < parameter.minValue ? parameter.minValue : (value > parameter.maxValue ? parameter.maxValue : value);
}

// The setting a plain Quality value selects: whole numbers, cut toward zero
// as the format converts stepped values; outside the range (or NaN) the
// nearest end.
constexpr Oversampling clapQualitySetting(double value) {
    if (!(value > 0.0)) return Oversampling::Normal;
    return clampedOversampling(value >= static_cast<double>(Oversampling::x8) ? static_cast<int>(Oversampling::x8)
                                                                              : static_cast<int>(value));
}
