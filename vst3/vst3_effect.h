// One VST 3 instance of Velmora: a single object that is both the processor
// (IComponent, IAudioProcessor) and the controller (IEditController,
// IUnitInfo) around one HostedEffect, so there is one store of values and
// nothing to keep in step between two halves. The host finds the controller
// by asking the component for it; there is no controller class.
//
// Threads: process (and setProcessing) come on the audio thread, everything
// else on the UI thread. The plug-in calls the host back only on the UI
// thread: what the audio thread has to tell (a restart, new values) waits
// in an atomic until the next UI tick or UI call.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "core/editor.h"
#include "core/factory_presets.h"
#include "core/hosted_effect.h"
#include "core/parameter_link.h"
#include "core/parameter_listener.h"
#include "vst3/vst3_abi.h"
#include "vst3/vst3_ui_timer.h"

// IComponent and IEditController both have setState and getState in
// different slots with different meanings; each side gets its own names.
class Vst3ComponentSide : public vvst3::IComponent {
public:
    vvst3::tresult VVST3_CALL setState(vvst3::IBStream* state) final { return loadProcessorState(state); }
    vvst3::tresult VVST3_CALL getState(vvst3::IBStream* state) final { return saveProcessorState(state); }

protected:
    virtual vvst3::tresult loadProcessorState(vvst3::IBStream* state) = 0;
    virtual vvst3::tresult saveProcessorState(vvst3::IBStream* state) = 0;
};

class Vst3ControllerSide : public vvst3::IEditController {
public:
    vvst3::tresult VVST3_CALL setState(vvst3::IBStream* state) final { return loadControllerState(state); }
    vvst3::tresult VVST3_CALL getState(vvst3::IBStream* state) final { return saveControllerState(state); }

protected:
    virtual vvst3::tresult loadControllerState(vvst3::IBStream* state) = 0;
    virtual vvst3::tresult saveControllerState(vvst3::IBStream* state) = 0;
};

class Vst3Effect final : public Vst3ComponentSide,
                         public vvst3::IAudioProcessor,
                         public vvst3::IProcessContextRequirements,
                         public Vst3ControllerSide,
                         public vvst3::IEditController2,
                         public vvst3::IUnitInfo,
                         private ParameterListener,
                         private ParameterLink,
                         private UiTickTarget {
public:
    // With one reference; null when out of memory.
    static Vst3Effect* create();

    // FUnknown, for every interface of the object (vst3_effect.cpp).
    vvst3::tresult VVST3_CALL queryInterface(const vvst3::TUID iid, void** obj) override;
    uint32_t VVST3_CALL addRef() override;
    uint32_t VVST3_CALL release() override;

    // IPluginBase, once for both sides (vst3_effect.cpp).
    vvst3::tresult VVST3_CALL initialize(vvst3::FUnknown* context) override;
    vvst3::tresult VVST3_CALL terminate() override;

    // IComponent (vst3_component.cpp).
    vvst3::tresult VVST3_CALL getControllerClassId(vvst3::TUID classId) override;
    vvst3::tresult VVST3_CALL setIoMode(vvst3::IoMode mode) override;
    int32_t VVST3_CALL getBusCount(vvst3::MediaType type, vvst3::BusDirection dir) override;
    vvst3::tresult VVST3_CALL getBusInfo(vvst3::MediaType type, vvst3::BusDirection dir, int32_t index,
                                         vvst3::BusInfo& bus) override;
    vvst3::tresult VVST3_CALL getRoutingInfo(vvst3::RoutingInfo& inInfo, vvst3::RoutingInfo& outInfo) override;
    vvst3::tresult VVST3_CALL activateBus(vvst3::MediaType type, vvst3::BusDirection dir, int32_t index,
                                          vvst3::TBool state) override;
    vvst3::tresult VVST3_CALL setActive(vvst3::TBool state) override;

    // IAudioProcessor (vst3_component.cpp; process in vst3_process.cpp).
    vvst3::tresult VVST3_CALL setBusArrangements(vvst3::SpeakerArrangement* inputs, int32_t numIns,
                                                 vvst3::SpeakerArrangement* outputs, int32_t numOuts) override;
    vvst3::tresult VVST3_CALL getBusArrangement(vvst3::BusDirection dir, int32_t index,
                                                vvst3::SpeakerArrangement& arr) override;
    vvst3::tresult VVST3_CALL canProcessSampleSize(int32_t symbolicSampleSize) override;
    uint32_t VVST3_CALL getLatencySamples() override;
    vvst3::tresult VVST3_CALL setupProcessing(vvst3::ProcessSetup& setup) override;
    vvst3::tresult VVST3_CALL setProcessing(vvst3::TBool state) override;
    vvst3::tresult VVST3_CALL process(vvst3::ProcessData& data) override;
    uint32_t VVST3_CALL getTailSamples() override;
    uint32_t VVST3_CALL getProcessContextRequirements() override { return 0; }

    // IEditController (vst3_controller.cpp; states in vst3_state.cpp).
    vvst3::tresult VVST3_CALL setComponentState(vvst3::IBStream* state) override;
    int32_t VVST3_CALL getParameterCount() override;
    vvst3::tresult VVST3_CALL getParameterInfo(int32_t paramIndex, vvst3::ParameterInfo& info) override;
    vvst3::tresult VVST3_CALL getParamStringByValue(vvst3::ParamID id, vvst3::ParamValue valueNormalized,
                                                    vvst3::String128 string) override;
    vvst3::tresult VVST3_CALL getParamValueByString(vvst3::ParamID id, vvst3::Char16* string,
                                                    vvst3::ParamValue& valueNormalized) override;
    vvst3::ParamValue VVST3_CALL normalizedParamToPlain(vvst3::ParamID id, vvst3::ParamValue valueNormalized) override;
    vvst3::ParamValue VVST3_CALL plainParamToNormalized(vvst3::ParamID id, vvst3::ParamValue plainValue) override;
    vvst3::ParamValue VVST3_CALL getParamNormalized(vvst3::ParamID id) override;
    vvst3::tresult VVST3_CALL setParamNormalized(vvst3::ParamID id, vvst3::ParamValue value) override;
    vvst3::tresult VVST3_CALL setComponentHandler(vvst3::IComponentHandler* handler) override;
    vvst3::IPlugView* VVST3_CALL createView(vvst3::FIDString name) override;

    // IEditController2 (vst3_controller.cpp).
    vvst3::tresult VVST3_CALL setKnobMode(vvst3::KnobMode mode) override;
    vvst3::tresult VVST3_CALL openHelp(vvst3::TBool onlyCheck) override;
    vvst3::tresult VVST3_CALL openAboutBox(vvst3::TBool onlyCheck) override;

    // IUnitInfo: the root unit and its factory presets (vst3_programs.cpp).
    int32_t VVST3_CALL getUnitCount() override { return 1; }
    vvst3::tresult VVST3_CALL getUnitInfo(int32_t unitIndex, vvst3::UnitInfo& info) override;
    int32_t VVST3_CALL getProgramListCount() override { return 1; }
    vvst3::tresult VVST3_CALL getProgramListInfo(int32_t listIndex, vvst3::ProgramListInfo& info) override;
    vvst3::tresult VVST3_CALL getProgramName(vvst3::ProgramListID listId, int32_t programIndex,
                                             vvst3::String128 name) override;
    vvst3::tresult VVST3_CALL getProgramInfo(vvst3::ProgramListID, int32_t, vvst3::CString,
                                             vvst3::String128) override {
        return vvst3::kResultFalse;
    }
    vvst3::tresult VVST3_CALL hasProgramPitchNames(vvst3::ProgramListID, int32_t) override {
        return vvst3::kResultFalse;
    }
    vvst3::tresult VVST3_CALL getProgramPitchName(vvst3::ProgramListID, int32_t, int16_t, vvst3::String128) override {
        return vvst3::kResultFalse;
    }
    vvst3::UnitID VVST3_CALL getSelectedUnit() override { return vvst3::kRootUnitId; }
    vvst3::tresult VVST3_CALL selectUnit(vvst3::UnitID) override { return vvst3::kResultOk; }
    vvst3::tresult VVST3_CALL getUnitByBus(vvst3::MediaType, vvst3::BusDirection, int32_t, int32_t,
                                           vvst3::UnitID&) override {
        return vvst3::kResultFalse;
    }
    vvst3::tresult VVST3_CALL setUnitProgramData(int32_t, int32_t, vvst3::IBStream*) override {
        return vvst3::kNotImplemented;
    }

    // For the view (UI thread): the editor made in initialize, or null.
    Editor* editor() { return editorInstance.get(); }
    // One editor per instance: the view that opens it holds it until removed.
    bool claimEditor() { return !editorClaimed && (editorClaimed = true); }
    void releaseEditor() { editorClaimed = false; }
    // Hands on what the audio thread left for the host (UI thread only).
    void deliverHostNotifications();

private:
    Vst3Effect();
    ~Vst3Effect() override;
    Vst3Effect(const Vst3Effect&) = delete;
    Vst3Effect& operator=(const Vst3Effect&) = delete;

    vvst3::tresult loadProcessorState(vvst3::IBStream* state) override;
    vvst3::tresult saveProcessorState(vvst3::IBStream* state) override;
    vvst3::tresult loadControllerState(vvst3::IBStream* state) override;
    vvst3::tresult saveControllerState(vvst3::IBStream* state) override;

    // process, split at each value's frame (vst3_process.cpp).
    struct ProcessBuffers;
    void applyPoint(vvst3::ParamID id, double normalised, int32_t offset, vvst3::IParameterChanges* out);
    static void reportPoint(vvst3::IParameterChanges* out, vvst3::ParamID id, double normalised, int32_t offset);
    // A preset's 19 values and Mix; Quality and Bypass stay (vst3_programs.cpp).
    void loadProgram(int32_t index);
    void reportProgramValues(vvst3::IParameterChanges* out, int32_t offset);
    // Asks the UI thread to call restartComponent with these flags.
    void requestRestart(int32_t flags) { pendingRestart.fetch_or(flags, std::memory_order_relaxed); }
    vvst3::tresult applyState(vvst3::IBStream* state);

    // The core tells of every value it stored: the editor shows it.
    void parameterChanged(int32_t index, float value) override;
    // The editor's side of the link (UI thread): edits go to the host.
    void beginEdit(int32_t index) override;
    void setValue(int32_t index, float value) override;
    void endEdit(int32_t index) override;
    float currentValue(int32_t index) override;
    void onUiTick() override { deliverHostNotifications(); }

    std::atomic<uint32_t> references{1};
    HostedEffect effect;
    std::unique_ptr<Editor> editorInstance;
    vvst3::FUnknown* hostContext = nullptr;
    vvst3::IComponentHandler* componentHandler = nullptr;
    Vst3UiTimer notifier{*this};
    unsigned denormalBits;
    bool initialised = false;
    bool editorClaimed = false;
    bool setupDone = false;
    double sampleRate = 0.0;
    // Whether the host is inside a setProcessing(true) .. (false) run; read
    // by the UI thread to decide who applies a host's value.
    std::atomic<bool> processing{false};
    // The restart we asked for is answered by the next activation.
    bool latencyRestartAsked = false;
    std::atomic<int32_t> pendingRestart{0};
    std::atomic<int32_t> currentProgram{0};
};
