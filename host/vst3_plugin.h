// A VST 3 plug-in behind the format-free interface. The host makes the calls
// in the order the format describes:
//   load: module entry, factory (setHostContext when it is a third-version
//     factory), the first "Audio Module Class" class, createInstance as
//     IComponent, initialize, IAudioProcessor; the controller is the same
//     object when it answers IEditController, otherwise the class named by
//     getControllerClassId, created and initialized; setComponentHandler;
//     separate objects are connected both ways; the processor's state is
//     handed to the controller (getState, setComponentState);
//   start: setBusArrangements (stereo in, stereo out), setupProcessing,
//     activateBus for every bus, setActive(true), setProcessing(true);
//   stop: setProcessing(false), setActive(false); teardown in reverse.
// Parameter values set between process calls reach the processor as points
// at frame 0 of the next call (or in a call of no frames while only the
// editor runs) and the controller through setParamNormalized. A restart the
// plug-in asks for happens after the block in which it asked.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/loaded_plugin.h"
#include "host/plugin_library.h"
#include "host/vst3_buffers.h"
#include "host/vst3_host_objects.h"
#include "host/vst3_module.h"
#include "host/vst3_parameter_changes.h"
#include "vst3/vst3_abi.h"

class Vst3Plugin final : public LoadedPlugin {
public:
    // Creates and initialises the module's first audio effect. Throws
    // HostError with one sentence when that fails.
    Vst3Plugin(const std::string& path, std::unique_ptr<PluginLibrary> library, std::FILE* trace = nullptr);
    ~Vst3Plugin() override;

    vvst3::IComponent& component() { return *component_; }
    vvst3::IEditController* controller() { return controller_; }
    bool separateController() const { return separateController_; }
    bool active() const { return active_; }

    // Queues a normalised value for frame `frame` of the next process call.
    // Calls come in frame order.
    void setParameterAt(int32_t index, float value, int32_t frame);

    // The processor's and the controller's state; empty when refused.
    std::optional<std::vector<uint8_t>> saveComponentState();
    bool loadComponentState(const std::vector<uint8_t>& bytes);

    const std::string& path() const override { return path_; }
    std::string displayName() override;
    std::vector<InfoField> identity() override;
    std::optional<ProgramListing> programs() override { return std::nullopt; }
    int32_t programCount() override { return 0; }
    void selectProgram(int32_t) override {}
    // The names of the controller's program list; loading one sets the
    // program-change parameter.
    std::vector<PresetListing> presets() override;
    void loadPreset(size_t index) override;

    int32_t parameterCount() override { return static_cast<int32_t>(params_.size()); }
    std::string parameterName(int32_t index) override;
    std::string parameterDisplay(int32_t index) override;
    std::optional<float> parameterFromText(int32_t index, const std::string& text) override;
    std::string parameterLabel(int32_t index) override;
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
    void setEditorResizer(EditorResizer resizer) override { frame_.setResizer(std::move(resizer)); }
    void idleEditor() override;
    void closeEditor() override;

private:
    struct ProgramList {
        vvst3::ProgramListID id = vvst3::kNoProgramListId;
        std::vector<std::string> names;
    };

    void createComponent();
    void findController();
    void connectParts();
    void syncControllerState();
    void readParameters();
    void readProgramList();
    void releaseParts();
    int32_t indexOf(vvst3::ParamID id) const;
    // To the controller now and the processor with the next call.
    void queueValue(int32_t index, double value, int32_t frame);
    const vvst3::ParameterInfo& info(int32_t index) const { return params_.at(static_cast<size_t>(index)); }
    std::vector<int32_t> busChannels(vvst3::BusDirection direction);
    std::string busSummary(vvst3::BusDirection direction);
    void negotiateBuses();
    void setUp();
    bool activate();
    void beginProcessing();
    void deactivate();
    void processBlock(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int32_t frames);
    void flushIfDue();
    void forwardProduced();
    void restartIfAsked();
    bool createView();
    void prepareView();

    std::string path_;
    // The host's objects outlive the module and every plug-in object.
    Vst3HostContext context_;
    Vst3ComponentHandler handler_;
    Vst3PlugFrame frame_;
    Vst3ParameterChanges pending_;
    Vst3ParameterChanges produced_;
    std::unique_ptr<Vst3Module> module_;
    Vst3Module::AudioClass class_;

    vvst3::IComponent* component_ = nullptr;
    vvst3::IAudioProcessor* processor_ = nullptr;
    vvst3::IEditController* controller_ = nullptr;
    bool separateController_ = false;
    vvst3::IConnectionPoint* componentPoint_ = nullptr;
    vvst3::IConnectionPoint* controllerPoint_ = nullptr;
    vvst3::IUnitInfo* units_ = nullptr;

    std::vector<vvst3::ParameterInfo> params_;
    int32_t programChangeIndex_ = -1;
    ProgramList programList_;

    double sampleRate_ = 44100.0;
    int32_t maxFrames_ = 512;
    bool setUp_ = false;
    bool active_ = false;
    bool processing_ = false;
    std::unique_ptr<Vst3Buffers> buffers_;

    vvst3::IPlugView* view_ = nullptr;
    bool viewPrepared_ = false;
    bool viewAttached_ = false;
    double editorScale_ = 0.0;  // 0: none asked for
};
