// Velmora's editor: a 484 x 286 bitmap panel with a knob or switch for every
// parameter, a one-line value display that shows the parameter changed last,
// and a logo that opens the about box.
#pragma once

#include <atomic>

#include "dsp/distortion_processor.h"
#include "gui/gui_control.h"
#include "gui/gui_editor_base.h"

class GuiParamDisplay;
class GuiSplashScreen;

class DistortionEditor : public GuiEditorBase, public GuiControlListener {
public:
    static constexpr int32_t kWidth = 484;
    static constexpr int32_t kHeight = 286;
    static constexpr int32_t kAboutTag = 20;

    explicit DistortionEditor(PluginBaseExt* effect);
    ~DistortionEditor() override;

    int32_t open(void* parentWindow) override;
    void close() override;
    // Mirrors a parameter change on its control and in the value display;
    // nothing is drawn until the next idle.
    void setParameter(int32_t index, float value) override;
    // A control moved by the user: automate its parameter.
    void valueChanged(GuiDrawContext* context, GuiControl* control) override;

    GuiControl* getControl(int32_t index) const {
        return static_cast<uint32_t>(index) < kNumParameters ? controls[index] : nullptr;
    }
    GuiParamDisplay* getValueDisplay() const { return valueDisplay; }
    GuiSplashScreen* getAboutBox() const { return aboutBox; }

private:
    void clearControls();

    GuiControl* controls[kNumParameters] = {};
    GuiParamDisplay* valueDisplay = nullptr;
    GuiSplashScreen* aboutBox = nullptr;

    // setParameter may run on the host's audio or automation thread while
    // the UI thread opens or closes the editor. A setter reaches the views
    // only while they are ready, and close() waits for setters in flight
    // before it deletes them.
    std::atomic<bool> viewsReady{false};
    std::atomic<int> settersInFlight{0};
};
