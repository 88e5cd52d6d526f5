#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "host/commands.h"
#include "host/plugin_instance.h"

namespace {

// The unique ID as its four characters when they are printable.
std::string fourChars(int32_t id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<unsigned char>((static_cast<uint32_t>(id) >> shift) & 0xFF);
        text += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '.';
    }
    return text;
}

std::string flagNames(int32_t flags) {
    static constexpr struct {
        int32_t bit;
        const char* name;
    } known[] = {
        {effFlagsHasEditor, "editor"},         {effFlagsHasClip, "clip"},
        {effFlagsHasVu, "vu"},                 {effFlagsCanMono, "mono"},
        {effFlagsCanReplacing, "replacing"},   {effFlagsProgramChunks, "chunks"},
        {effFlagsIsSynth, "synth"},            {effFlagsNoSoundInStop, "no-sound-in-stop"},
        {effFlagsExtIsAsync, "async"},         {effFlagsExtHasBuffer, "external-buffer"},
    };
    std::string names;
    int32_t rest = flags;
    for (const auto& flag : known) {
        if ((flags & flag.bit) == 0) continue;
        names += names.empty() ? "" : ", ";
        names += flag.name;
        rest &= ~flag.bit;
    }
    if (rest != 0) {
        char other[32];
        std::snprintf(other, sizeof other, "%sother 0x%X", names.empty() ? "" : ", ", static_cast<uint32_t>(rest));
        names += other;
    }
    return names.empty() ? "none" : names;
}

}  // namespace

int runInfo(const Invocation& invocation) {
    PluginInstance plugin(invocation.plugins.front());
    plugin.configure(44100.0, invocation.blockSize);
    const AEffect& effect = plugin.effect();

    std::printf("Plug-in file:    %s\n", plugin.path().c_str());
    std::printf("Effect name:     %s\n", plugin.effectName().c_str());
    std::printf("Vendor:          %s\n", plugin.vendorString().c_str());
    std::printf("Product:         %s\n", plugin.productString().c_str());
    std::printf("Vendor version:  %lld\n", static_cast<long long>(plugin.vendorVersion()));
    std::printf("Unique ID:       '%s' (0x%08X)\n", fourChars(effect.uniqueID).c_str(),
                static_cast<uint32_t>(effect.uniqueID));
    std::printf("VST version:     %lld\n", static_cast<long long>(plugin.vstVersion()));
    std::printf("Record version:  %d\n", effect.version);
    std::printf("Flags:           0x%X (%s)\n", static_cast<uint32_t>(effect.flags), flagNames(effect.flags).c_str());
    std::printf("Inputs:          %d\n", effect.numInputs);
    std::printf("Outputs:         %d\n", effect.numOutputs);
    std::printf("Initial delay:   %d samples\n", effect.initialDelay);

    struct Row {
        std::string name, display, label;
    };
    std::vector<Row> rows;
    size_t nameWidth = 4, displayWidth = 7;
    for (int32_t i = 0; i < effect.numParams; ++i) {
        Row row{plugin.parameterName(i), plugin.parameterDisplay(i), plugin.parameterLabel(i)};
        nameWidth = std::max(nameWidth, row.name.size());
        displayWidth = std::max(displayWidth, row.display.size());
        rows.push_back(row);
    }
    std::printf("\nParameters:      %d\n", effect.numParams);
    if (!rows.empty()) {
        std::printf("  %5s  %-*s  %*s  %s\n", "Index", static_cast<int>(nameWidth), "Name",
                    static_cast<int>(displayWidth), "Display", "Label");
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        std::printf("  %5zu  %-*s  %*s  %s\n", i, static_cast<int>(nameWidth), rows[i].name.c_str(),
                    static_cast<int>(displayWidth), rows[i].display.c_str(), rows[i].label.c_str());
    }

    std::printf("\nPrograms:        %d\n", effect.numPrograms);
    std::printf("Current program: %d \"%s\"\n", plugin.currentProgram(), plugin.currentProgramName().c_str());
    for (int32_t i = 0; i < effect.numPrograms; ++i) {
        const auto name = plugin.programName(i);
        if (name) {
            std::printf("  %5d  %s\n", i, name->c_str());
        } else {
            std::printf("  %5d  (the plug-in does not tell program names by index)\n", i);
        }
    }
    return 0;
}
