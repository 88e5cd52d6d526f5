#include "gui_view.h"

#include "gui_frame.h"

GuiView::GuiView(const GuiRect& rect) : size(rect), mouseSize(rect) {}

void GuiView::draw(GuiDrawContext*) { setDirty(false); }

void GuiView::drawRect(GuiDrawContext* context, const GuiRect&) { draw(context); }

bool GuiView::checkUpdate(const GuiRect& rect) {
    // Touching edges count as overlap.
    return !(rect.right < size.left || size.right < rect.left || rect.bottom < size.top ||
             size.bottom < rect.top);
}

void GuiView::mouse(GuiDrawContext*, GuiPoint&) {}

void GuiView::update(GuiDrawContext* context) {
    // Without a context (keyboard input) nothing can be drawn now; the view
    // stays dirty and the next idle pass paints it.
    if (context && isDirty()) {
        draw(context);
        setDirty(false);
    }
}

int32_t GuiView::notify(GuiView*, const char*) { return 0; }
int32_t GuiView::onKeyDown(GuiKeyCode&) { return -1; }
int32_t GuiView::onKeyUp(GuiKeyCode&) { return -1; }
bool GuiView::onDrop(void**, int32_t, int32_t, GuiPoint&) { return false; }
bool GuiView::onWheel(GuiDrawContext*, const GuiPoint&, float) { return false; }
void GuiView::loseFocus(GuiDrawContext*) {}
void GuiView::takeFocus(GuiDrawContext*) {}
bool GuiView::isDirty() { return dirty; }
void GuiView::setDirty(bool state) { dirty = state; }
void GuiView::setMouseEnabled(bool enabled) { mouseEnabled = enabled; }
bool GuiView::getMouseEnabled() { return mouseEnabled; }
void GuiView::setMouseRect(const GuiRect& rect) { mouseSize = rect; }

GuiRect& GuiView::getMouseRect(GuiRect& rect) {
    rect = mouseSize;
    return rect;
}

bool GuiView::hitTest(const GuiPoint& where, int32_t) { return size.contains(where); }
void GuiView::setTransparency(bool state) { transparencyEnabled = state; }
bool GuiView::getTransparency() { return transparencyEnabled; }

void GuiView::setViewSize(const GuiRect& rect) {
    size = rect;
    setDirty(true);
}

GuiRect& GuiView::getViewSize(GuiRect& rect) {
    rect = size;
    return rect;
}

void GuiView::setParentView(GuiView* parent) { parentView = parent; }
void GuiView::setFrame(GuiFrame* owner) { frame = owner; }
GuiEditorBase* GuiView::getEditor() { return frame ? frame->getEditor() : nullptr; }
bool GuiView::removed(GuiView*) { return true; }
bool GuiView::attached(GuiView*) { return true; }

void GuiView::release() {
    if (refCount <= 0) return;
    if (--refCount == 0) delete this;
}

void GuiView::addRef() { ++refCount; }
int32_t GuiView::getRefCount() { return refCount; }
