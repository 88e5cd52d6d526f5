// The parameters as hosts of the formats whose interface is ours (CLAP and
// VST 3) see them: one table, with each parameter's id (stable forever),
// name, range, default and traits. The first 19 are the core's, with their
// ids equal to their indices and plain values in 0..1, as in VST 2; Quality
// (id 19), Mix (id 20) and Bypass (id 21) follow, which VST 2 does not have.
// Ids equal the link indices of core/extended_parameters.h. Each adapter
// turns the traits into its format's flags.
#pragma once

#include <array>
#include <cstdint>

#include "core/extended_parameters.h"
#include "core/parameter_table.h"
#include "core/quality_choice.h"

using HostParameterId = uint32_t;

// What a host may do with a parameter and how it should draw it.
struct HostParameterTraits {
    bool automatable;
    // Only whole values between min and max (a host's value in between is
    // cut toward zero, as the formats convert stepped values).
    bool stepped;
    // Each step has a name: hosts show a menu.
    bool enumeration;
    // The host's bypass button.
    bool bypass;
};

struct HostParameter {
    HostParameterId id;
    const char* name;
    double minValue;
    double maxValue;
    double defaultValue;
    ParameterKind kind;  // the core's; Quality counts as a choice, with texts of its own
    HostParameterTraits traits;

    // The number of steps between min and max of a stepped parameter, 0 for
    // a continuous one.
    constexpr int32_t stepCount() const { return traits.stepped ? static_cast<int32_t>(maxValue - minValue) : 0; }
};

inline constexpr HostParameterId kHostQualityId = kQualityIndex;
inline constexpr HostParameterId kHostMixId = kMixIndex;
inline constexpr HostParameterId kHostBypassId = kBypassIndex;
inline constexpr uint32_t kHostParameterCount = kNumExtendedParameters;

// Switches are stepped (0 or 1), so hosts draw them as toggles.
constexpr HostParameterTraits hostParameterTraits(ParameterKind kind) {
    return {true, kind == ParameterKind::Switch, false, false};
}

inline constexpr std::array<HostParameter, kHostParameterCount> kHostParameters = [] {
    std::array<HostParameter, kHostParameterCount> table{};
    for (uint32_t i = 0; i < kNumParameters; ++i) {
        const ParameterInfo& info = kParameterTable[i];
        table[i] = {i,    info.name, kParameterMinimum, kParameterMaximum, info.defaultValue,
                    info.kind, hostParameterTraits(info.kind)};
    }
    // Quality is a menu of whole settings. It is automatable because some
    // hosts show only automatable parameters, and otherwise it could not be
    // set there at all; a change that moves the latency while active still
    // waits for the restart the plug-in asks for.
    table[kHostQualityId] = {kHostQualityId,
                             kQualityName,
                             static_cast<double>(Oversampling::Normal),
                             static_cast<double>(Oversampling::x8),
                             static_cast<double>(Oversampling::Normal),
                             ParameterKind::CurveChoice,
                             {true, true, true, false}};
    table[kHostMixId] = {kHostMixId, kMixName, 0.0, 1.0, kMixDefault, ParameterKind::Continuous,
                         {true, false, false, false}};
    // Bypass is the host's bypass button: 0 = processing, 1 = bypassed.
    table[kHostBypassId] = {kHostBypassId, kBypassName, 0.0, 1.0, 0.0, ParameterKind::Switch,
                            {true, true, false, true}};
    return table;
}();

// The row of an id, or null for an id that is no parameter.
constexpr const HostParameter* hostParameter(HostParameterId id) {
    return id < kHostParameterCount ? &kHostParameters[id] : nullptr;
}

// The value a parameter takes when a host, a state or the editor offers
// one: within the declared range, NaN as the default, a stepped one cut to a
// whole value toward zero. Everything the plug-in stores is then a value it
// would accept again from a saved state.
constexpr double validHostValue(const HostParameter& parameter, double value) {
    if (value != value) return parameter.defaultValue;
    const double inRange =
        value < parameter.minValue ? parameter.minValue : (value > parameter.maxValue ? parameter.maxValue : value);
    return parameter.traits.stepped ? static_cast<double>(static_cast<int64_t>(inRange)) : inRange;
}

// The setting a plain Quality value selects (see validHostValue).
constexpr Oversampling hostQualitySetting(double value) {
    return clampedOversampling(static_cast<int>(validHostValue(kHostParameters[kHostQualityId], value)));
}
