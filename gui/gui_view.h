// GuiView: a rectangle of the editor window that draws itself, takes mouse,
// key and wheel input and says whether it needs repainting. Views are
// reference counted; the frame that holds them paints them and routes input.
// Virtual operations are declared in their slot order.
#pragma once

#include <cstdint>

#include "gui_types.h"

class GuiDrawContext;
class GuiEditorBase;
class GuiFrame;

class GuiView {
public:
    explicit GuiView(const GuiRect& size);
    virtual ~GuiView() = default;                                               // 0

    GuiView(const GuiView&) = delete;
    GuiView& operator=(const GuiView&) = delete;

    virtual void draw(GuiDrawContext* context);                                 // 1
    virtual void drawRect(GuiDrawContext* context, const GuiRect& updateRect);  // 2
    virtual bool checkUpdate(const GuiRect& rect);                              // 3
    // Called once per button press; a control that tracks the mouse polls it.
    virtual void mouse(GuiDrawContext* context, GuiPoint& where);               // 4
    // Draws the view now if it is dirty (and a context is given).
    virtual void update(GuiDrawContext* context);                               // 5
    virtual int32_t notify(GuiView* sender, const char* message);               // 6
    virtual int32_t onKeyDown(GuiKeyCode& key);                                 // 7
    virtual int32_t onKeyUp(GuiKeyCode& key);                                   // 8
    virtual bool onDrop(void** items, int32_t count, int32_t type, GuiPoint& where);  // 9
    virtual bool onWheel(GuiDrawContext* context, const GuiPoint& where, float distance);  // 10
    virtual void loseFocus(GuiDrawContext* context);                            // 11
    virtual void takeFocus(GuiDrawContext* context);                            // 12
    virtual bool isDirty();                                                     // 13
    virtual void setDirty(bool state = true);                                   // 14
    virtual void setMouseEnabled(bool enabled);                                 // 15
    virtual bool getMouseEnabled();                                             // 16
    virtual void setMouseRect(const GuiRect& rect);                             // 17
    virtual GuiRect& getMouseRect(GuiRect& rect);                               // 18
    // Borders included on every side.
    virtual bool hitTest(const GuiPoint& where, int32_t buttons = -1);          // 19
    virtual void setTransparency(bool state);                                   // 20
    virtual bool getTransparency();                                             // 21
    virtual void setViewSize(const GuiRect& rect);                              // 22
    virtual GuiRect& getViewSize(GuiRect& rect);                                // 23
    virtual void setParentView(GuiView* parent);                                // 24
    virtual void setFrame(GuiFrame* owner);                                     // 25
    virtual GuiEditorBase* getEditor();                                         // 26
    virtual bool removed(GuiView* parent);                                      // 27
    virtual bool attached(GuiView* parent);                                     // 28
    // Deletes the view when the last reference goes; a count of 0 stays.
    virtual void release();                                                     // 29
    virtual void addRef();                                                      // 30
    virtual int32_t getRefCount();                                              // 31

    GuiFrame* getFrame() const { return frame; }
    GuiView* getParentView() const { return parentView; }

protected:
    int32_t refCount = 1;
    GuiRect size;
    GuiRect mouseSize;
    GuiFrame* frame = nullptr;
    GuiView* parentView = nullptr;
    bool dirty = false;
    bool mouseEnabled = true;
    bool transparencyEnabled = false;
};
