// What the commands need of a plug-in, whatever its format: identity,
// parameters, programs, presets, stereo processing, latency and the editor.
// vst2_plugin.h, clap_plugin.h and vst3_plugin.h implement it; loadPlugin()
// picks one by what the path names and the file exports.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// One line of `info` output: "Label:" and its value.
struct InfoField {
    std::string label;
    std::string value;
};

struct ProgramListing {
    int32_t count = 0;  // as declared, even if nonsense
    int32_t current = 0;
    std::string currentName;
    // Per program; empty when the plug-in does not tell that name.
    std::vector<std::optional<std::string>> names;
};

// One preset a plug-in offers: CLAP presets found through discovery, a
// VST 2 plug-in's programs.
struct PresetListing {
    std::string name;
    std::string key;          // CLAP: the load key; empty for VST 2
    std::string description;  // empty when the plug-in gives none
};

struct EditorSize {
    int width = 0;
    int height = 0;
};

// Resizes the window that holds the editor, for a plug-in that asks to be
// resized while open.
using EditorResizer = std::function<void(const EditorSize&)>;

class LoadedPlugin {
public:
    virtual ~LoadedPlugin() = default;

    virtual const std::string& path() const = 0;
    // The plug-in's name, or the file name when it gives none.
    virtual std::string displayName() = 0;
    // The rows `info` prints after the file, in order.
    virtual std::vector<InfoField> identity() = 0;
    // Empty for a format without programs.
    virtual std::optional<ProgramListing> programs() = 0;
    virtual int32_t programCount() = 0;
    virtual void selectProgram(int32_t program) = 0;
    // Every preset, in the plug-in's order; empty when it offers none.
    virtual std::vector<PresetListing> presets() = 0;
    // Applies presets()[index]; throws HostError when the plug-in refuses.
    virtual void loadPreset(size_t index) = 0;

    virtual int32_t parameterCount() = 0;
    virtual std::string parameterName(int32_t index) = 0;
    virtual std::string parameterDisplay(int32_t index) = 0;
    virtual std::string parameterLabel(int32_t index) = 0;
    // Values are normalised to 0..1 whatever the plug-in's own range. A value
    // set before processing starts applies from the first frame processed.
    virtual float parameter(int32_t index) = 0;
    virtual void setParameter(int32_t index, float value) = 0;
    // A text the user typed ("250 Hz", "On") as a normalised value, read by
    // the plug-in's own text-to-value where its format has one; nothing
    // when the plug-in cannot read it. This fallback finds a value whose
    // display text, with or without its label, is the text.
    virtual std::optional<float> parameterFromText(int32_t index, const std::string& text);

    // Sample rate and the largest block; before start().
    virtual void configure(double sampleRate, int32_t maxFrames) = 0;
    // Allocates what process() needs; throws HostError when the plug-in
    // cannot process audio at all.
    virtual void prepareAudio() = 0;
    virtual void start() = 0;  // ready to process (VST 2 resume, CLAP activate)
    virtual void stop() = 0;
    // Stereo in, stereo out, frames <= maxFrames; allocates nothing.
    virtual void process(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                         int32_t frames) = 0;
    virtual int32_t latency() = 0;  // in samples

    virtual bool hasEditor() = 0;
    // The editor's size, or nothing when the plug-in does not tell it yet.
    virtual std::optional<EditorSize> editorSize() = 0;
    // parentWindow is an X11 window id or an HWND.
    virtual bool openEditor(void* parentWindow) = 0;
    // The host's scale factor for the editor, before it is sized; plug-ins
    // of formats without one ignore it.
    virtual void setEditorScale(double /*factor*/) {}
    // Installed by the editor's window before the editor opens and cleared
    // after it closes; formats whose editors never ask to resize ignore it.
    virtual void setEditorResizer(EditorResizer /*resizer*/) {}
    // Called by the editor's window loop every 20 to 25 ms: the plug-in's idle
    // and whatever the host owes it on the main thread.
    virtual void idleEditor() = 0;
    virtual void closeEditor() = 0;
};

// Loads a VST 2, CLAP or VST 3 plug-in. A directory, or a file named *.vst3,
// is a VST 3 module (a directory as a bundle); any other file is chosen by its
// exports: clap_entry, VSTPluginMain/main, or GetPluginFactory. A file with
// both of the first two is CLAP when named *.clap. With a trace
// stream every call the plug-in makes to the host is written there. Throws
// HostError with one sentence when the file is no usable plug-in.
std::unique_ptr<LoadedPlugin> loadPlugin(const std::string& path, std::FILE* trace = nullptr);
