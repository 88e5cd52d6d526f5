// A VST 2 plug-in behind the format-free interface: a PluginInstance (owned,
// or borrowed from a caller that drives it directly) and a BlockProcessor.
#pragma once

#include <memory>

#include "host/block_processor.h"
#include "host/loaded_plugin.h"
#include "host/plugin_instance.h"

class Vst2Plugin final : public LoadedPlugin {
public:
    explicit Vst2Plugin(std::unique_ptr<PluginInstance> instance);
    explicit Vst2Plugin(PluginInstance& borrowed);

    PluginInstance& instance() { return vst_; }

    const std::string& path() const override { return vst_.path(); }
    std::string displayName() override { return vst_.displayName(); }
    std::vector<InfoField> identity() override;
    std::optional<ProgramListing> programs() override;
    int32_t programCount() override { return vst_.effect().numPrograms; }
    void selectProgram(int32_t program) override { vst_.selectProgram(program); }
    // The programs, by the names the plug-in tells.
    std::vector<PresetListing> presets() override;
    void loadPreset(size_t index) override { vst_.selectProgram(static_cast<int32_t>(index)); }

    int32_t parameterCount() override { return vst_.effect().numParams; }
    std::string parameterName(int32_t index) override { return vst_.parameterName(index); }
    std::string parameterDisplay(int32_t index) override { return vst_.parameterDisplay(index); }
    std::string parameterLabel(int32_t index) override { return vst_.parameterLabel(index); }
    float parameter(int32_t index) override { return vst_.parameter(index); }
    void setParameter(int32_t index, float value) override { vst_.setParameter(index, value); }

    void configure(double sampleRate, int32_t maxFrames) override;
    void prepareAudio() override;
    void start() override { vst_.resume(); }
    void stop() override { vst_.suspend(); }
    void process(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                 int32_t frames) override {
        processor_->process(inLeft, inRight, outLeft, outRight, frames);
    }
    int32_t latency() override { return vst_.effect().initialDelay; }

    bool hasEditor() override { return vst_.hasEditor(); }
    std::optional<EditorSize> editorSize() override;
    bool openEditor(void* parentWindow) override { return vst_.openEditor(parentWindow); }
    void idleEditor() override { vst_.idleEditor(); }
    void closeEditor() override { vst_.closeEditor(); }

private:
    std::unique_ptr<PluginInstance> owned_;
    PluginInstance& vst_;
    int32_t maxFrames_ = 512;
    std::unique_ptr<BlockProcessor> processor_;
};
