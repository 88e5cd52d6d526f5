// GuiEditorBase: the editor base for bitmap editors built with the toolkit.
// It owns the frame while the editor is open, repaints on the host's idle
// calls, gives controls a throttled idle while they track the mouse, and
// holds the process-wide knob drag mode.
//
// A concrete editor derives from it, sets `editorSize` in its constructor, builds
// its frame and controls in open() (calling GuiEditorBase::open first) and
// tears them down in close() with destroyFrame().
#pragma once

#include <cstdint>

#include "core/editor.h"
#include "core/parameter_link.h"
#include "core/relaxed_atomic.h"
#include "gui_scale.h"

class GuiFrame;

class GuiEditorBase : public Editor {
public:
    // Parameters go through the link, which must outlive the editor.
    explicit GuiEditorBase(ParameterLink& link);
    ~GuiEditorBase() override;                                                  // 0

    // editorSize at the scale step: the host's, the environment's or the
    // desktop's (see gui_scale_choice.h), looked up when first needed.
    EditorSize size() const override;                                           // 1
    bool setScale(double factor) override;
    // Stores the parent window and asks for an update; returns 0. An editor
    // still open from an earlier open() is closed first, so a second open
    // replaces the first window.
    int32_t open(void* parentWindow) override;                                  // 2
    void close() override;                                                      // 3
    // Delivers pending window events and repaints what is dirty.
    void idle() override;                                                       // 4
    virtual void update();                                                      // 5
    // Any thread: the next idle calls update().
    virtual void requestUpdate();                                               // 6
    int32_t keyDown(int32_t character, uint8_t virtualKey, uint8_t modifiers) override;  // 7
    int32_t keyUp(int32_t character, uint8_t virtualKey, uint8_t modifiers) override;    // 8
    int32_t setKnobDragMode(int32_t mode) override;                             // 9
    int32_t wheel(float distance) override;                                     // 10
    // Any thread: only asks for an update.
    void parameterChanged(int32_t index, float value) override;                 // 11
    virtual void redrawAll();                                                   // 12
    // Called by controls on every pass of their mouse loops: repaints and
    // lets the host idle at most about every 50 ms, and yields 4 ms when early.
    virtual void idleDuringDrag();                                              // 13
    // The open window's event descriptor, -1 without one.
    int eventDescriptor() const override;

    GuiFrame* getFrame() const { return frame; }
    GuiScale getScale() const;
    // The window's DPI changed: the next idle chooses the step again and
    // reopens the editor at it when it differs.
    void requestRescale() { rescaleRequested = true; }
    void* getParentWindow() const { return parentWindow; }
    ParameterLink& getParameterLink() const { return *parameterLink; }
    bool isUpdateRequested() const { return updateRequested; }

    static int32_t getKnobDragMode() { return knobDragMode; }

protected:
    // Deletes the frame (and with it every view and the window) and clears
    // the pointer; what a close() replacement calls.
    void destroyFrame();

    ParameterLink* parameterLink;
    GuiFrame* frame = nullptr;
    void* parentWindow = nullptr;
    uint32_t nextIdleTick;
    bool insideDragIdle = false;
    // In logical pixels.
    EditorSize editorSize{0, 0};
    // Set from whichever thread changes a parameter, cleared by idle.
    RelaxedAtomic<bool> updateRequested{false};

    double hostScale = 0.0;
    // Chosen at the first size() or open(), and anew at every open (the
    // desktop may have changed, and the parent tells which screen it is).
    mutable GuiScale scale;
    mutable bool scaleChosen = false;
    bool rescaleRequested = false;

    // Shared by every editor in the process; 2 is linear.
    static int32_t knobDragMode;
};
