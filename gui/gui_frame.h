// GuiFrame: the root of the editor's view tree and the bridge to the window.
// It owns the child window in the host's window, keeps the views in the order
// they were added (later ones lie on top), paints them on window paints and
// on idle, routes presses, keys, wheel turns and drops, holds the modal view
// and the focus view, and forwards edit brackets and drag-time idle requests
// to its editor.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gui_platform.h"
#include "gui_view.h"

class GuiBitmap;
class GuiEditorBase;

class GuiFrame : public GuiView, private GuiWindowClient {
public:
    // With a parent window, creates the child window of the size rectangle's
    // width and height in it; without one the frame has no window (it can
    // still draw into any canvas through drawInto).
    // The window is made at the scale step; the frame and its views keep
    // working in the size rectangle's logical pixels.
    GuiFrame(const GuiRect& size, void* parentWindow, GuiEditorBase* editor, GuiScale scale = {});
    ~GuiFrame() override;

    void draw(GuiDrawContext* context) override;
    void drawRect(GuiDrawContext* context, const GuiRect& updateRect) override;
    void mouse(GuiDrawContext* context, GuiPoint& where) override;
    void update(GuiDrawContext* context) override;
    int32_t onKeyDown(GuiKeyCode& key) override;
    int32_t onKeyUp(GuiKeyCode& key) override;
    bool onDrop(void** items, int32_t count, int32_t type, GuiPoint& where) override;
    bool onWheel(GuiDrawContext* context, const GuiPoint& where, float distance) override;
    GuiEditorBase* getEditor() override;

    // Takes over the caller's reference; false if the view cannot be stored.
    virtual bool addView(GuiView* view);                                        // 32
    virtual bool removeView(GuiView* view, bool withRelease = true);            // 33
    virtual bool removeAll(bool withRelease = true);                            // 34
    virtual bool isChild(GuiView* view);                                        // 35
    virtual int32_t getViewCount();                                             // 36
    virtual GuiView* getView(int32_t index);                                    // 37

    // Repaints what is dirty (only the modal view while one is open);
    // nothing before the first paint or after the window went away.
    void idle();
    // Refused while another modal view is set.
    bool setModalView(GuiView* view);
    GuiView* getModalView() const { return modalView; }
    void setFocusView(GuiView* view);
    GuiView* getFocusView() const { return focusView; }

    void beginEdit(int32_t tag);
    void endEdit(int32_t tag);
    int32_t getKnobMode() const;
    // Pointer position relative to the window ((0, 0) without a window).
    void getCurrentLocation(GuiPoint& where);
    void setBackground(GuiBitmap* bitmap);
    GuiBitmap* getBackground() const { return background; }
    // Draws one child view (or, for any other view, the whole frame) at once.
    void drawView(GuiView* view);
    // Lets the editor do its throttled idle while a control tracks the mouse.
    void requestDragIdle();

    // Draws the whole frame into a canvas of the caller's (an offscreen image
    // for screenshots and tests).
    void drawInto(GuiCanvas& canvas);

    // Event delivery from the editor's idle and the drag-time idle.
    void processWindowEvents();
    void processPendingPaint();

    bool isOpen() const { return open; }
    bool hasPainted() const { return !firstDraw; }
    void* getParentWindow() const { return parentWindow; }
    GuiWindow* getWindow() const { return window.get(); }

private:
    void windowPaint(GuiCanvas& canvas, GuiPointer& pointer, const GuiRect& damaged) override;
    void windowPress(GuiCanvas& canvas, GuiPointer& pointer, const GuiPoint& where) override;
    void windowDestroyed() override;
    void windowDpiChanged() override;
    bool windowDrop(void** items, int32_t count, int32_t type, const GuiPoint& where) override;

    bool anyViewDirty();
    // The pointer a drawing context of this frame polls: the window's, or
    // the screen's when there is no window.
    GuiPointer* contextPointer() const;

    GuiEditorBase* editor;
    void* parentWindow;
    GuiBitmap* background = nullptr;
    std::vector<GuiView*> views;
    GuiView* modalView = nullptr;
    GuiView* focusView = nullptr;
    bool firstDraw = true;
    bool open = true;
    std::unique_ptr<GuiWindow> window;
};
