// The one list of Velmora's parameters: name, port symbol, default, unit
// label and kind. The effect, its texts and the generated LV2 description all
// read it, so the formats cannot drift apart.
#pragma once

#include <array>

#include "dsp/parameter_index.h"

enum class ParameterKind {
    Continuous,  // a knob over the whole range
    Switch,      // off below the middle, on above it
    CurveChoice  // one of the seven shaper curves, by range
};

struct ParameterInfo {
    const char* name;    // as the host and the editor show it
    const char* symbol;  // the name in lower case, for formats that need an identifier
    float defaultValue;
    const char* label;   // unit of the displayed value, empty when it has none
    ParameterKind kind;
};

// Every parameter is exchanged as a normalised value in this range.
inline constexpr float kParameterMinimum = 0.0f;
inline constexpr float kParameterMaximum = 1.0f;

inline constexpr ParameterInfo kParameterTable[kNumParameters] = {
    {"Cross1", "cross1", 0.5f, "Hz", ParameterKind::Continuous},
    {"Cross2", "cross2", 0.5f, "Hz", ParameterKind::Continuous},
    {"PFilter", "pfilter", 1.0f, "", ParameterKind::Switch},
    {"Solo1", "solo1", 0.0f, "", ParameterKind::Switch},
    {"Solo2", "solo2", 0.0f, "", ParameterKind::Switch},
    {"Solo3", "solo3", 0.0f, "", ParameterKind::Switch},
    {"Balance1", "balance1", 0.5f, "", ParameterKind::Continuous},
    {"Balance2", "balance2", 0.5f, "", ParameterKind::Continuous},
    {"Balance3", "balance3", 0.5f, "", ParameterKind::Continuous},
    {"Gain1", "gain1", 0.0f, "dB", ParameterKind::Continuous},
    {"Gain2", "gain2", 0.0f, "dB", ParameterKind::Continuous},
    {"Gain3", "gain3", 0.0f, "dB", ParameterKind::Continuous},
    {"Type1", "type1", 0.0f, "", ParameterKind::CurveChoice},
    {"Type2", "type2", 0.0f, "", ParameterKind::CurveChoice},
    {"Type3", "type3", 0.0f, "", ParameterKind::CurveChoice},
    {"Level1", "level1", 1.0f, "dB", ParameterKind::Continuous},
    {"Level2", "level2", 1.0f, "dB", ParameterKind::Continuous},
    {"Level3", "level3", 1.0f, "dB", ParameterKind::Continuous},
    {"Master", "master", 1.0f, "dB", ParameterKind::Continuous},
};

inline constexpr std::array<float, kNumParameters> kParameterDefaults = [] {
    std::array<float, kNumParameters> defaults{};
    for (int i = 0; i < kNumParameters; ++i) defaults[i] = kParameterTable[i].defaultValue;
    return defaults;
}();

namespace parameter_table_checks {

constexpr bool symbolIsLowerCaseName(const char* name, const char* symbol) {
    for (; *name != '\0'; ++name, ++symbol) {
        const char lower = (*name >= 'A' && *name <= 'Z') ? static_cast<char>(*name - 'A' + 'a') : *name;
        if (lower != *symbol) return false;
    }
    return *symbol == '\0';
}

constexpr bool everySymbolIsLowerCaseName() {
    for (const ParameterInfo& info : kParameterTable)
        if (!symbolIsLowerCaseName(info.name, info.symbol)) return false;
    return true;
}

// Port symbols are what hosts save sessions under, so a typo here would
// silently lose a setting.
static_assert(everySymbolIsLowerCaseName(), "a parameter symbol is not its name in lower case");

}  // namespace parameter_table_checks
