#include "gui_frame.h"

#include <algorithm>
#include <new>

#include "gui_bitmap.h"
#include "gui_draw_context.h"
#include "gui_editor_base.h"

namespace {
constexpr std::size_t kViewGrowth = 20;
}

GuiFrame::GuiFrame(const GuiRect& rect, void* parent, GuiEditorBase* owner, GuiScale scale)
    : GuiView(rect), editor(owner), parentWindow(parent) {
    guiPlatform().beginThreadUse();
    if (!parentWindow) return;
    try {
        window = guiPlatform().createWindow(parentWindow, size.width(), size.height(), scale, *this);
    } catch (...) {
        guiPlatform().endThreadUse();  // no destructor runs for a frame never made
        throw;
    }
}

GuiFrame::~GuiFrame() {
    setFocusView(nullptr);
    modalView = nullptr;
    for (GuiView* view : views) {
        view->removed(this);
        view->release();
    }
    views.clear();
    if (background) background->release();
    window.reset();
    guiPlatform().endThreadUse();
}

void GuiFrame::draw(GuiDrawContext* context) {
    firstDraw = false;
    if (background) {
        background->draw(context, GuiRect{0, 0, background->getWidth(), background->getHeight()});
    }
    for (GuiView* view : views) view->draw(context);
    if (modalView) modalView->draw(context);
}

void GuiFrame::drawRect(GuiDrawContext* context, const GuiRect& updateRect) {
    firstDraw = false;
    if (background) {
        background->draw(context, updateRect, GuiPoint{updateRect.left, updateRect.top});
    }
    for (GuiView* view : views) {
        if (view->checkUpdate(updateRect)) view->drawRect(context, updateRect);
    }
    if (modalView && modalView->checkUpdate(updateRect)) modalView->draw(context);
}

void GuiFrame::mouse(GuiDrawContext* context, GuiPoint& where) {
    if (focusView) {
        GuiView* previous = focusView;
        focusView = nullptr;
        previous->loseFocus(nullptr);
    }
    const int32_t buttons = context ? context->getMouseButtons() : -1;
    if (modalView) {
        if (modalView->hitTest(where, buttons)) modalView->mouse(context, where);
        return;
    }
    for (auto it = views.rbegin(); it != views.rend(); ++it) {
        GuiView* view = *it;
        if (view->getMouseEnabled() && view->hitTest(where, buttons)) {
            view->mouse(context, where);
            return;
        }
    }
}

void GuiFrame::update(GuiDrawContext* context) {
    if (!open) return;
    if (modalView) {
        modalView->update(context);
    } else if (isDirty()) {
        draw(context);
        setDirty(false);
    } else {
        for (GuiView* view : views) view->update(context);
    }
}

int32_t GuiFrame::onKeyDown(GuiKeyCode& key) {
    int32_t result = -1;
    if (focusView) result = focusView->onKeyDown(key);
    if (result == -1 && modalView) result = modalView->onKeyDown(key);
    for (auto it = views.rbegin(); result == -1 && it != views.rend(); ++it) {
        result = (*it)->onKeyDown(key);
    }
    return result;
}

int32_t GuiFrame::onKeyUp(GuiKeyCode& key) {
    int32_t result = -1;
    if (focusView) result = focusView->onKeyUp(key);
    if (result == -1 && modalView) result = modalView->onKeyUp(key);
    for (auto it = views.rbegin(); result == -1 && it != views.rend(); ++it) {
        result = (*it)->onKeyUp(key);
    }
    return result;
}

bool GuiFrame::onDrop(void** items, int32_t count, int32_t type, GuiPoint& where) {
    if (modalView || focusView) return false;
    for (auto it = views.rbegin(); it != views.rend(); ++it) {
        GuiView* view = *it;
        GuiRect viewSize;
        view->getViewSize(viewSize);
        if (view->getMouseEnabled() && viewSize.contains(where) &&
            view->onDrop(items, count, type, where)) {
            return true;
        }
    }
    return false;
}

bool GuiFrame::onWheel(GuiDrawContext* context, const GuiPoint&, float distance) {
    GuiView* target = modalView;
    if (!target) {
        GuiPoint cursor;
        getCurrentLocation(cursor);
        for (auto it = views.rbegin(); it != views.rend(); ++it) {
            GuiRect viewSize;
            (*it)->getViewSize(viewSize);
            if (viewSize.contains(cursor)) {
                target = *it;
                break;
            }
        }
    }
    if (!target) return false;

    GuiPoint position;
    getCurrentLocation(position);
    if (context) return target->onWheel(context, position, distance);
    std::unique_ptr<GuiCanvas> canvas = window ? window->makeCanvas() : nullptr;
    GuiDrawContext own(this, canvas.get(), contextPointer());
    return target->onWheel(&own, position, distance);
}

GuiEditorBase* GuiFrame::getEditor() { return editor; }

bool GuiFrame::addView(GuiView* view) {
    if (!view) return false;
    if (views.size() == views.capacity()) {
        try {
            views.reserve(views.size() + kViewGrowth);
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    views.push_back(view);
    view->setFrame(this);
    view->attached(this);
    return true;
}

bool GuiFrame::removeView(GuiView* view, bool withRelease) {
    const auto count = std::count(views.begin(), views.end(), view);
    if (count == 0) return true;
    std::erase(views, view);
    if (focusView == view) focusView = nullptr;
    if (modalView == view) modalView = nullptr;
    for (auto i = 0; i < count; ++i) {
        view->removed(this);
        if (withRelease) view->release();
    }
    return true;
}

bool GuiFrame::removeAll(bool withRelease) {
    setFocusView(nullptr);
    modalView = nullptr;
    std::vector<GuiView*> old;
    old.swap(views);
    for (GuiView* view : old) {
        view->removed(this);
        if (withRelease) view->release();
    }
    return true;
}

bool GuiFrame::isChild(GuiView* view) {
    return view && std::find(views.begin(), views.end(), view) != views.end();
}

int32_t GuiFrame::getViewCount() { return static_cast<int32_t>(views.size()); }

GuiView* GuiFrame::getView(int32_t index) {
    if (index < 0 || index >= getViewCount()) return nullptr;
    return views[static_cast<std::size_t>(index)];
}

bool GuiFrame::anyViewDirty() {
    return std::any_of(views.begin(), views.end(), [](GuiView* v) { return v->isDirty(); });
}

void GuiFrame::idle() {
    if (!open || firstDraw || !window) return;
    if (!modalView && !isDirty() && !anyViewDirty()) return;
    std::unique_ptr<GuiCanvas> canvas = window->makeCanvas();
    if (!canvas) return;
    GuiDrawContext context(this, canvas.get(), &window->pointer());
    update(&context);
}

bool GuiFrame::setModalView(GuiView* view) {
    if (view && modalView) return false;
    if (modalView) modalView->removed(this);
    modalView = view;
    if (modalView) modalView->attached(this);
    return true;
}

void GuiFrame::setFocusView(GuiView* view) {
    GuiView* previous = focusView;
    focusView = view;
    if (previous && previous != view) previous->loseFocus(nullptr);
}

void GuiFrame::beginEdit(int32_t tag) {
    if (editor) editor->getParameterLink().beginEdit(tag);
}

void GuiFrame::endEdit(int32_t tag) {
    if (editor) editor->getParameterLink().endEdit(tag);
}

int32_t GuiFrame::getKnobMode() const { return GuiEditorBase::getKnobDragMode(); }

void GuiFrame::getCurrentLocation(GuiPoint& where) {
    where = window ? window->pointer().location() : GuiPoint{};
}

GuiPointer* GuiFrame::contextPointer() const {
    return window ? &window->pointer() : guiPlatform().screenPointer();
}

void GuiFrame::setBackground(GuiBitmap* bitmap) {
    if (bitmap) bitmap->addRef();
    if (background) background->release();
    background = bitmap;
}

void GuiFrame::drawView(GuiView* view) {
    if (!window) return;
    std::unique_ptr<GuiCanvas> canvas = window->makeCanvas();
    if (!canvas) return;
    GuiDrawContext context(this, canvas.get(), &window->pointer());
    if (isChild(view)) {
        view->draw(&context);
    } else {
        draw(&context);
    }
}

void GuiFrame::requestDragIdle() {
    if (editor) editor->idleDuringDrag();
}

void GuiFrame::drawInto(GuiCanvas& canvas) {
    GuiDrawContext context(this, &canvas, contextPointer());
    draw(&context);
}

void GuiFrame::processWindowEvents() {
    if (window) window->processEvents();
}

void GuiFrame::processPendingPaint() {
    if (window) window->processPendingPaint();
}

void GuiFrame::windowPaint(GuiCanvas& canvas, GuiPointer& pointer, const GuiRect& damaged) {
    GuiDrawContext context(this, &canvas, &pointer);
    drawRect(&context, damaged);
}

void GuiFrame::windowPress(GuiCanvas& canvas, GuiPointer& pointer, const GuiPoint& where) {
    GuiDrawContext context(this, &canvas, &pointer);
    GuiPoint point = where;
    mouse(&context, point);
}

bool GuiFrame::windowDrop(void** items, int32_t count, int32_t type, const GuiPoint& where) {
    GuiPoint point = where;
    return onDrop(items, count, type, point);
}

void GuiFrame::windowDpiChanged() {
    if (editor) editor->requestRescale();
}

void GuiFrame::windowDestroyed() {
    open = false;
    parentWindow = nullptr;
}
