// A CLAP plug-in behind the format-free interface, and the small host that
// drives it. Calls follow the instance's states: init, then activate (start),
// start_processing lazily before the first process, stop_processing and
// deactivate (stop), destroy. Parameter values set while not processing are
// queued as events at frame 0 of the next process call, or handed over by
// params.flush when the editor's loop runs without audio, or before the
// start. A restart the plug-in asks for happens after the block in which it
// asked.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/clap_buffers.h"
#include "host/clap_event_lists.h"
#include "host/clap_host.h"
#include "host/clap_library.h"
#include "host/clap_preset_index.h"
#include "host/loaded_plugin.h"

class ClapPlugin final : public LoadedPlugin {
public:
    // Creates and initialises the library's first plug-in. Throws HostError
    // with one sentence when that fails (see ClapLibrary for the library's
    // own refusals).
    ClapPlugin(const std::string& path, std::unique_ptr<PluginLibrary> library, std::FILE* trace = nullptr);
    ~ClapPlugin() override;

    const vclap::PluginDescriptor& descriptor() const { return library_->descriptor(); }
    const vclap::Plugin& plugin() const { return *plugin_; }
    ClapHost& host() { return host_; }
    bool active() const { return active_; }
    bool processing() const { return processing_; }

    // The plug-in's state through its state extension, moved at most
    // chunkBytes per stream call so that short reads and writes are
    // exercised. Empty / false when the plug-in has no state or refuses.
    std::optional<std::vector<uint8_t>> saveState(size_t chunkBytes = std::numeric_limits<size_t>::max());
    bool loadState(const std::vector<uint8_t>& bytes, size_t chunkBytes = std::numeric_limits<size_t>::max());

    // Queues a normalised value for frame `frame` of the next process call
    // (a flush takes every queued value at once). Calls come in frame order.
    void setParameterAt(int32_t index, float value, uint32_t frame);
    // Queues a plain value exactly as given, unclamped and unrounded: how a
    // careless host may send it.
    void queueRawValue(vclap::Id id, double plain, uint32_t frame) { pending_.addParamValue(id, nullptr, plain, frame); }
    // The value events the plug-in sent back (process and flush) since the
    // last call, in the order it sent them.
    std::vector<vclap::ParamValueEvent> takeProducedValues() { return std::move(producedValues_); }

    const std::string& path() const override { return path_; }
    std::string displayName() override;
    std::vector<InfoField> identity() override;
    std::optional<ProgramListing> programs() override { return std::nullopt; }
    int32_t programCount() override { return 0; }
    void selectProgram(int32_t) override {}
    // Found through the library's preset-discovery factory (once), applied
    // through the instance's preset-load extension.
    std::vector<PresetListing> presets() override;
    void loadPreset(size_t index) override;

    int32_t parameterCount() override { return static_cast<int32_t>(params_.size()); }
    std::string parameterName(int32_t index) override;
    std::string parameterDisplay(int32_t index) override;
    std::string parameterLabel(int32_t) override { return {}; }
    std::optional<float> parameterFromText(int32_t index, const std::string& text) override;
    float parameter(int32_t index) override;
    void setParameter(int32_t index, float value) override { setParameterAt(index, value, 0); }

    void configure(double sampleRate, int32_t maxFrames) override;
    void prepareAudio() override;
    void start() override;
    void stop() override;
    void process(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                 int32_t frames) override;
    int32_t latency() override;

    bool hasEditor() override;
    std::optional<EditorSize> editorSize() override;
    bool openEditor(void* parentWindow) override;
    void setEditorScale(double factor) override { editorScale_ = factor; }
    void idleEditor() override;
    void closeEditor() override;

private:
    struct Extensions {
        const vclap::PluginParams* params = nullptr;
        const vclap::PluginAudioPorts* audioPorts = nullptr;
        const vclap::PluginLatency* latency = nullptr;
        const vclap::PluginState* state = nullptr;
        const vclap::PluginGui* gui = nullptr;
        const vclap::PluginTimerSupport* timers = nullptr;
        const vclap::PluginPosixFdSupport* fds = nullptr;
        const vclap::PluginPresetLoad* presetLoad = nullptr;
    };

    void createInstance();
    void queryExtensions();
    void readParameters();
    double currentPlain(int32_t index);
    int32_t indexOf(vclap::Id id) const;
    std::string portSummary(bool isInput);
    bool activate();
    void deactivate();
    void processBlock(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int32_t frames);
    void restartIfAsked();
    bool createGui();
    // What the host owes the plug-in on the main thread: on_main_thread,
    // a flush, due timers and ready descriptors.
    void serviceMainThread();
    void flushIfDue();
    // Traces what the plug-in sent back and keeps its value events.
    void traceProduced();

    std::string path_;
    std::unique_ptr<ClapLibrary> library_;  // outlives everything below
    ClapHost host_;                         // valid until after destroy
    const vclap::Plugin* plugin_ = nullptr;
    Extensions ext_;
    std::vector<vclap::ParamInfo> params_;
    double sampleRate_ = 44100.0;
    int32_t maxFrames_ = 512;
    bool active_ = false;
    bool processing_ = false;
    bool guiCreated_ = false;
    double editorScale_ = 0.0;  // 0: none asked for
    int64_t steadyTime_ = 0;
    ClapInputEvents pending_;
    ClapOutputEvents produced_;
    std::vector<vclap::ParamValueEvent> producedValues_;
    std::unique_ptr<ClapBuffers> buffers_;
    std::optional<std::vector<ClapPresetEntry>> presets_;
};
