// GuiEditorBase: the editor base for bitmap editors built with the toolkit.
// It owns the frame while the editor is open, repaints on the host's idle
// calls, gives controls a throttled idle while they track the mouse, and
// holds the process-wide knob drag mode.
//
// A concrete editor derives from it, sets `rect` in its constructor, builds
// its frame and controls in open() (calling GuiEditorBase::open first) and
// tears them down in close() with destroyFrame().
#pragma once

#include <cstdint>

#include "plugin/editor_base.h"
#include "plugin/effect_parameter_link.h"

class GuiFrame;
class PluginBaseExt;

class GuiEditorBase : public EditorBase {
public:
    // Registers itself with the effect as its editor; parameters go through
    // the effect.
    explicit GuiEditorBase(PluginBaseExt* effect);
    // For a format without an effect object here: parameters go through the
    // link, which must outlive the editor.
    explicit GuiEditorBase(ParameterLink& link);
    ~GuiEditorBase() override;                                                  // 0

    // Points at the stored rectangle; returns 1.
    int32_t getRect(ERect** rect) override;                                     // 1
    // Stores the parent window and asks for an update; returns 0. An editor
    // still open from an earlier open() is closed first, so a second open
    // replaces the first window.
    int32_t open(void* parentWindow) override;                                  // 2
    void close() override;                                                      // 3
    // Delivers pending window events and repaints what is dirty.
    void idle() override;                                                       // 4
    void update() override;                                                     // 5
    void requestUpdate() override;                                              // 6
    int32_t onKeyDown(VstKeyCode& key) override;                                // 7
    int32_t onKeyUp(VstKeyCode& key) override;                                  // 8
    int32_t setKnobDragMode(int32_t mode) override;                             // 9
    int32_t onWheel(float distance) override;                                   // 10
    void setParameter(int32_t index, float value) override;                     // 11
    virtual void redrawAll();                                                   // 12
    // Called by controls on every pass of their mouse loops: repaints and
    // lets the host idle at most about every 50 ms, and yields 4 ms when early.
    virtual void idleDuringDrag();                                              // 13

    GuiFrame* getFrame() const { return frame; }
    PluginBaseExt* getPluginEffect() const { return pluginEffect; }
    ParameterLink& getParameterLink() const { return *parameterLink; }
    bool isUpdateRequested() const { return updateRequested; }

    static int32_t getKnobDragMode() { return knobDragMode; }

protected:
    // Deletes the frame (and with it every view and the window) and clears
    // the pointer; what a close() replacement calls.
    void destroyFrame();

    PluginBaseExt* pluginEffect;
    EffectParameterLink effectLink;
    ParameterLink* parameterLink;
    GuiFrame* frame = nullptr;
    uint32_t nextIdleTick;
    bool insideDragIdle = false;
    ERect rect{};

    // Shared by every editor in the process; 2 is linear.
    static int32_t knobDragMode;
};
