#include "host/plugin_settings.h"

#include <algorithm>
#include <cctype>

#include "host/errors.h"
#include "host/loaded_plugin.h"

namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

int32_t resolveParameter(const std::string& target, const std::vector<std::string>& names,
                         const std::string& pluginName) {
    const auto count = static_cast<int64_t>(names.size());
    if (const auto index = parseInteger(target); index && !target.empty() && std::isdigit(static_cast<unsigned char>(target[0]))) {
        if (*index >= count) {
            throw UsageError("Parameter index " + target + " is out of range; " + pluginName + " has " +
                             std::to_string(count) + " parameters.");
        }
        return static_cast<int32_t>(*index);
    }
    for (int64_t i = 0; i < count; ++i) {
        if (sameIgnoringCase(names[static_cast<size_t>(i)], target)) return static_cast<int32_t>(i);
    }
    throw UsageError(pluginName + " has no parameter named \"" + target +
                     "\"; run velmora-host info to list them.");
}

size_t resolvePreset(const std::string& wanted, const std::vector<PresetListing>& presets,
                     const std::string& pluginName) {
    for (size_t i = 0; i < presets.size(); ++i)
        if (sameIgnoringCase(presets[i].name, wanted) || (!presets[i].key.empty() && presets[i].key == wanted))
            return i;
    if (presets.empty()) throw UsageError(pluginName + " has no presets, so there is no preset \"" + wanted + "\".");
    std::string names;
    for (const PresetListing& preset : presets) names += (names.empty() ? "\"" : ", \"") + preset.name + "\"";
    throw UsageError(pluginName + " has no preset named \"" + wanted + "\"; its presets are " + names + ".");
}

namespace {

// A typed value through the plug-in; a clear refusal with an example of a
// text it shows when it cannot read it.
float typedValue(LoadedPlugin& plugin, int32_t index, const ParamAssignment& assignment) {
    if (const std::optional<float> value = plugin.parameterFromText(index, assignment.text)) return *value;
    const std::string label = plugin.parameterLabel(index);
    const std::string example = plugin.parameterDisplay(index) + (label.empty() ? "" : " " + label);
    throw UsageError(plugin.displayName() + " cannot read \"" + assignment.text + "\" as a value of " +
                     plugin.parameterName(index) + "; it reads texts such as \"" + example +
                     "\", or a number from 0 to 1.");
}

}  // namespace

void applySettings(LoadedPlugin& plugin, const Invocation& invocation) {
    if (invocation.program) {
        const int32_t count = plugin.programCount();
        if (*invocation.program >= count) {
            throw UsageError("Program " + std::to_string(*invocation.program) + " does not exist; " +
                             plugin.displayName() + " has " + std::to_string(count) + " programs.");
        }
        plugin.selectProgram(*invocation.program);
    }
    if (invocation.preset)
        plugin.loadPreset(resolvePreset(*invocation.preset, plugin.presets(), plugin.displayName()));
    if (invocation.assignments.empty()) return;
    std::vector<std::string> names;
    for (int32_t i = 0; i < plugin.parameterCount(); ++i) names.push_back(plugin.parameterName(i));
    const std::string pluginName = plugin.displayName();
    for (const auto& assignment : invocation.assignments) {
        const int32_t index = resolveParameter(assignment.target, names, pluginName);
        plugin.setParameter(index, assignment.text.empty() ? assignment.value : typedValue(plugin, index, assignment));
    }
}
