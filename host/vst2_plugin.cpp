#include "host/vst2_plugin.h"

#include <cstdio>

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

std::string formatted(const char* format, auto... values) {
    char text[128];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

}  // namespace

Vst2Plugin::Vst2Plugin(std::unique_ptr<PluginInstance> instance) : owned_(std::move(instance)), vst_(*owned_) {}

Vst2Plugin::Vst2Plugin(PluginInstance& borrowed) : vst_(borrowed) {}

std::vector<InfoField> Vst2Plugin::identity() {
    const AEffect& effect = vst_.effect();
    return {
        {"Effect name", vst_.effectName()},
        {"Vendor", vst_.vendorString()},
        {"Product", vst_.productString()},
        {"Vendor version", std::to_string(static_cast<long long>(vst_.vendorVersion()))},
        {"Unique ID", formatted("'%s' (0x%08X)", fourChars(effect.uniqueID).c_str(),
                                static_cast<uint32_t>(effect.uniqueID))},
        {"VST version", std::to_string(static_cast<long long>(vst_.vstVersion()))},
        {"Record version", std::to_string(effect.version)},
        {"Flags", formatted("0x%X (%s)", static_cast<uint32_t>(effect.flags), flagNames(effect.flags).c_str())},
        {"Inputs", std::to_string(effect.numInputs)},
        {"Outputs", std::to_string(effect.numOutputs)},
        {"Initial delay", std::to_string(effect.initialDelay) + " samples"},
    };
}

std::optional<ProgramListing> Vst2Plugin::programs() {
    ProgramListing listing;
    listing.count = vst_.effect().numPrograms;
    // Asked in the order the host always asked: current first, then by index.
    listing.current = vst_.currentProgram();
    listing.currentName = vst_.currentProgramName();
    for (int32_t i = 0; i < vst_.effect().numPrograms; ++i) listing.names.push_back(vst_.programName(i));
    return listing;
}

std::vector<PresetListing> Vst2Plugin::presets() {
    std::vector<PresetListing> listing;
    for (int32_t i = 0; i < vst_.effect().numPrograms; ++i) {
        const std::optional<std::string> name = vst_.programName(i);
        listing.push_back({name.value_or("Program " + std::to_string(i)), "", ""});
    }
    return listing;
}

void Vst2Plugin::configure(double sampleRate, int32_t maxFrames) {
    maxFrames_ = maxFrames;
    vst_.configure(sampleRate, maxFrames);
}

void Vst2Plugin::prepareAudio() {
    if (!processor_) processor_ = std::make_unique<BlockProcessor>(vst_, maxFrames_);
}

std::optional<EditorSize> Vst2Plugin::editorSize() {
    const std::optional<ERect> rect = vst_.editorRect();
    if (!rect) return std::nullopt;
    return EditorSize{rect->right - rect->left, rect->bottom - rect->top};
}
