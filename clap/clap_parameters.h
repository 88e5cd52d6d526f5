// The parameters as CLAP hosts see them: one table, built from the core's,
// with each parameter's id (its index, stable forever), name, default and
// flags. Every value is plain in 0..1, as in VST 2. A parameter only this
// format has is one more row here.
#pragma once

#include <array>
#include <cstdint>

#include "clap/clap_extensions.h"
#include "core/parameter_table.h"

struct ClapParameter {
    vclap::Id id;
    const char* name;
    double defaultValue;
    ParameterKind kind;
    uint32_t flags;
};

inline constexpr uint32_t kClapParameterCount = kNumParameters;

// Switches are stepped (0 or 1), so hosts draw them as toggles and never
// send a value in between.
constexpr uint32_t clapParameterFlags(ParameterKind kind) {
    return vclap::param::kIsAutomatable | (kind == ParameterKind::Switch ? vclap::param::kIsStepped : 0u);
}

inline constexpr std::array<ClapParameter, kClapParameterCount> kClapParameters = [] {
    std::array<ClapParameter, kClapParameterCount> table{};
    for (uint32_t i = 0; i < kNumParameters; ++i) {
        const ParameterInfo& info = kParameterTable[i];
        table[i] = {i, info.name, info.defaultValue, info.kind, clapParameterFlags(info.kind)};
    }
    return table;
}();

// The row of an id, or null for an id that is no parameter.
constexpr const ClapParameter* clapParameter(vclap::Id id) {
    for (const ClapParameter& parameter : kClapParameters)
        if (parameter.id == id) return &parameter;
    return nullptr;
}
