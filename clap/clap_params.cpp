// The parameters extension: the table of core/host_parameters.h, current values,
// the VST 2 texts (and Quality's) both ways, and flush for hosts that are not processing.
#include <algorithm>
#include <cstring>

#include "clap/clap_effect.h"
#include "core/host_entry_guard.h"
#include "clap/clap_offered_extensions.h"
#include "core/host_value_text.h"

namespace {

uint32_t clapFlags(const HostParameterTraits& traits) {
    return (traits.automatable ? vclap::param::kIsAutomatable : 0u) | (traits.stepped ? vclap::param::kIsStepped : 0u) |
           (traits.enumeration ? vclap::param::kIsEnum : 0u) | (traits.bypass ? vclap::param::kIsBypass : 0u);
}

uint32_t VCLAP_CALL count(const vclap::Plugin*) { return kHostParameterCount; }

bool VCLAP_CALL info(const vclap::Plugin*, uint32_t index, vclap::ParamInfo* info) {
    if (index >= kHostParameterCount || info == nullptr) return false;
    return guardedHostEntry(false, [&] {
        const HostParameter& parameter = kHostParameters[index];
        *info = vclap::ParamInfo{};
        info->id = parameter.id;
        info->flags = clapFlags(parameter.traits);
        std::strncpy(info->name, parameter.name, sizeof info->name - 1);
        info->min_value = parameter.minValue;
        info->max_value = parameter.maxValue;
        info->default_value = parameter.defaultValue;
        return true;
    });
}

bool VCLAP_CALL value(const vclap::Plugin* plugin, vclap::Id id, double* out) {
    return guardedHostEntry(false, [&] {
        ClapEffect* effect = ClapEffect::of(plugin);
        return effect != nullptr && out != nullptr && effect->parameterValue(id, *out);
    });
}

bool VCLAP_CALL valueToText(const vclap::Plugin*, vclap::Id id, double value, char* text, uint32_t capacity) {
    return guardedHostEntry(false, [&] {
        const HostParameter* parameter = hostParameter(id);
        return parameter != nullptr && writeHostValueText(*parameter, value, text, capacity);
    });
}

bool VCLAP_CALL textToValue(const vclap::Plugin*, vclap::Id id, const char* text, double* out) {
    return guardedHostEntry(false, [&] {
        const HostParameter* parameter = hostParameter(id);
        return parameter != nullptr && out != nullptr && readHostValueText(*parameter, text, *out);
    });
}

void VCLAP_CALL flush(const vclap::Plugin* plugin, const vclap::InputEvents* in, const vclap::OutputEvents* out) {
    guardedHostEntry([&] {
        if (ClapEffect* effect = ClapEffect::of(plugin)) effect->flush(in, out);
    });
}

}  // namespace

const vclap::PluginParams kClapParams = {count, info, value, valueToText, textToValue, flush};
