// Velmora's editor: a 484 x 286 bitmap panel with a knob or switch for every
// parameter, a one-line value display that shows the parameter changed last,
// and a logo that opens the about box; optionally an analyser strip below it
// (the spectra with the crossovers as handles) and a footer strip with
// Quality, Mix and Bypass, for the formats that offer them.
#pragma once

#include <atomic>

#include "core/editor_factory.h"
#include "core/extended_parameters.h"
#include "dsp/parameter_index.h"
#include "gui/gui_bitmap.h"
#include "gui/gui_control.h"
#include "gui/gui_editor_base.h"

class AnalyserView;
class GuiParamDisplay;
class GuiSplashScreen;

class DistortionEditor : public GuiEditorBase, public GuiControlListener {
public:
    static constexpr int32_t kWidth = 484;
    static constexpr int32_t kHeight = 286;
    static constexpr int32_t kFooterHeight = 40;
    static constexpr int32_t kAnalyserHeight = 120;
    static constexpr int32_t kAboutTag = 20;

    // Parameters are read and set through link, which outlives the editor.
    explicit DistortionEditor(ParameterLink& link, EditorFooter footer = EditorFooter::None);
    // The same with the services a format offers; services.link and
    // services.analysis outlive the editor.
    explicit DistortionEditor(const EditorServices& services);
    ~DistortionEditor() override;

    int32_t open(void* parentWindow) override;
    void close() override;
    // Shows the parameter changes noted since the last idle, then repaints.
    void idle() override;
    // Notes a parameter change for the next idle. Safe from any thread at any
    // time, even while the window opens or closes on another: it touches no
    // control, only atomics that live as long as the editor.
    void parameterChanged(int32_t index, float value) override;
    // A control moved by the user: automate its parameter.
    void valueChanged(GuiDrawContext* context, GuiControl* control) override;

    GuiControl* getControl(int32_t index) const {
        return static_cast<uint32_t>(index) < kNumExtendedParameters ? controls[index] : nullptr;
    }
    GuiParamDisplay* getValueDisplay() const { return valueDisplay; }
    GuiSplashScreen* getAboutBox() const { return aboutBox; }
    AnalyserView* getAnalyserView() const { return analyserView; }

private:
    // open() without the catch: false when the frame got no window.
    bool build(void* parentWindow);
    void addAnalyser(GuiBitmap* plate);
    // The indices this editor shows: the 19, and with the footer its three.
    int32_t shownParameters() const;
    void clearControls();
    // UI thread: the noted changes reach their controls and the value display.
    void applyParameterChanges();
    void forgetParameterChanges();

    // One bit per parameter changed since the last idle, and the parameter
    // changed last (-1 for none): written by parameterChanged on any thread.
    std::atomic<uint32_t> changedParameters{0};
    std::atomic<int32_t> lastChangedParameter{-1};
    // Whether changes are noted at all: only while the window is open.
    std::atomic<bool> windowOpen{false};

    const EditorFooter footer;
    AnalysisSource* const analysis;
    // Where the footer starts: below the analyser when there is one.
    const int32_t footerTop;
    GuiControl* controls[kNumExtendedParameters] = {};
    GuiParamDisplay* valueDisplay = nullptr;
    GuiSplashScreen* aboutBox = nullptr;
    AnalyserView* analyserView = nullptr;
};
