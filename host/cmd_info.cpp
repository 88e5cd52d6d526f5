#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "host/commands.h"
#include "host/loaded_plugin.h"

namespace {

void printField(const std::string& label, const std::string& value) {
    std::printf("%-16s %s\n", (label + ":").c_str(), value.c_str());
}

void printParameters(LoadedPlugin& plugin) {
    struct Row {
        std::string name, display, label;
    };
    std::vector<Row> rows;
    size_t nameWidth = 4, displayWidth = 7;
    const int32_t count = plugin.parameterCount();
    for (int32_t i = 0; i < count; ++i) {
        Row row{plugin.parameterName(i), plugin.parameterDisplay(i), plugin.parameterLabel(i)};
        nameWidth = std::max(nameWidth, row.name.size());
        displayWidth = std::max(displayWidth, row.display.size());
        rows.push_back(row);
    }
    std::printf("\nParameters:      %d\n", count);
    if (!rows.empty()) {
        std::printf("  %5s  %-*s  %*s  %s\n", "Index", static_cast<int>(nameWidth), "Name",
                    static_cast<int>(displayWidth), "Display", "Label");
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        std::printf("  %5zu  %-*s  %*s  %s\n", i, static_cast<int>(nameWidth), rows[i].name.c_str(),
                    static_cast<int>(displayWidth), rows[i].display.c_str(), rows[i].label.c_str());
    }
}

void printPrograms(const ProgramListing& programs) {
    std::printf("\nPrograms:        %d\n", programs.count);
    std::printf("Current program: %d \"%s\"\n", programs.current, programs.currentName.c_str());
    for (size_t i = 0; i < programs.names.size(); ++i) {
        if (programs.names[i]) {
            std::printf("  %5zu  %s\n", i, programs.names[i]->c_str());
        } else {
            std::printf("  %5zu  (the plug-in does not tell program names by index)\n", i);
        }
    }
}

// A VST 2 plug-in's presets are its programs, listed above.
void printPresets(const std::vector<PresetListing>& presets) {
    std::printf("\nPresets:         %zu\n", presets.size());
    size_t width = 4;
    for (const PresetListing& preset : presets) width = std::max(width, preset.name.size());
    for (const PresetListing& preset : presets)
        std::printf("  %-*s  %s\n", static_cast<int>(width), preset.name.c_str(), preset.description.c_str());
}

}  // namespace

int runInfo(const Invocation& invocation) {
    const auto plugin = loadPlugin(invocation.plugins.front());
    plugin->configure(44100.0, invocation.blockSize);
    printField("Plug-in file", plugin->path());
    for (const auto& field : plugin->identity()) printField(field.label, field.value);
    printParameters(*plugin);
    if (const auto programs = plugin->programs())
        printPrograms(*programs);
    else
        printPresets(plugin->presets());
    return 0;
}
