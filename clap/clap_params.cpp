// The parameters extension: the table of clap_parameters.h, current values,
// the VST 2 texts (and Quality's) both ways, and flush for hosts that are not processing.
#include <algorithm>
#include <cstring>

#include "clap/clap_effect.h"
#include "core/host_entry_guard.h"
#include "clap/clap_offered_extensions.h"
#include "clap/clap_value_text.h"

namespace {

uint32_t VCLAP_CALL count(const vclap::Plugin*) { return kClapParameterCount; }

bool VCLAP_CALL info(const vclap::Plugin*, uint32_t index, vclap::ParamInfo* info) {
    if (index >= kClapParameterCount || info == nullptr) return false;
    return guardedHostEntry(false, [&] {
        const ClapParameter& parameter = kClapParameters[index];
        *info = vclap::ParamInfo{};
        info->id = parameter.id;
        info->flags = parameter.flags;
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
        const ClapParameter* parameter = clapParameter(id);
        return parameter != nullptr && writeClapValueText(*parameter, value, text, capacity);
    });
}

bool VCLAP_CALL textToValue(const vclap::Plugin*, vclap::Id id, const char* text, double* out) {
    return guardedHostEntry(false, [&] {
        const ClapParameter* parameter = clapParameter(id);
        return parameter != nullptr && out != nullptr && readClapValueText(*parameter, text, *out);
    });
}

void VCLAP_CALL flush(const vclap::Plugin* plugin, const vclap::InputEvents* in, const vclap::OutputEvents* out) {
    guardedHostEntry([&] {
        if (ClapEffect* effect = ClapEffect::of(plugin)) effect->flush(in, out);
    });
}

}  // namespace

const vclap::PluginParams kClapParams = {count, info, value, valueToText, textToValue, flush};
