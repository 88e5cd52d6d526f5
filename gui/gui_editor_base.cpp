#include "gui_editor_base.h"

#include <cstdlib>

#include "gui_frame.h"
#include "gui_platform.h"
#include "gui_scale_choice.h"
#include "gui_types.h"

int32_t GuiEditorBase::knobDragMode = kGuiLinearMode;

namespace {
// Tick comparison that survives the 32-bit wrap of the clock.
bool tickBefore(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) < 0; }

constexpr uint32_t kEarlySleep = 4;
constexpr uint32_t kIdleSlack = 50;
constexpr uint32_t kIdleInterval = 100;
}  // namespace

GuiEditorBase::GuiEditorBase(ParameterLink& link)
    : parameterLink(&link),
      nextIdleTick(guiPlatform().tickCount()) {
    guiPlatform().beginThreadUse();
}

GuiEditorBase::~GuiEditorBase() {
    destroyFrame();
    guiPlatform().endThreadUse();
}

int32_t GuiEditorBase::open(void* parent) {
    if (frame) {
        close();
        destroyFrame();  // for a close() that left the frame in place
    }
    requestUpdate();
    parentWindow = parent;
    scale.percent = chooseScaleStep(hostScale, std::getenv("VELMORA_UI_SCALE"), guiPlatform().desktopScale(parent));
    scaleChosen = true;
    return 0;
}

GuiScale GuiEditorBase::getScale() const {
    if (!scaleChosen) {
        scale.percent =
            chooseScaleStep(hostScale, std::getenv("VELMORA_UI_SCALE"), guiPlatform().desktopScale(nullptr));
        scaleChosen = true;
    }
    return scale;
}

EditorSize GuiEditorBase::size() const {
    const GuiScale step = getScale();
    return EditorSize{step.toDevice(editorSize.width), step.toDevice(editorSize.height)};
}

bool GuiEditorBase::setScale(double factor) {
    hostScale = factor;
    scaleChosen = false;
    if (frame) {
        // Reopened in the same parent at the new step.
        void* parent = parentWindow;
        close();
        open(parent);
    }
    return true;
}

void GuiEditorBase::close() {}

void GuiEditorBase::idle() {
    if (insideDragIdle) return;
    if (rescaleRequested && frame) {
        // Not from the window procedure that reported it: the window goes.
        rescaleRequested = false;
        const int32_t before = scale.percent;
        if (chooseScaleStep(hostScale, std::getenv("VELMORA_UI_SCALE"), guiPlatform().desktopScale(parentWindow)) !=
            before) {
            void* parent = parentWindow;
            close();
            open(parent);
        }
    }
    if (updateRequested) {
        updateRequested = false;
        update();
    }
    if (frame) {
        frame->processWindowEvents();
        frame->idle();
    }
}

int GuiEditorBase::eventDescriptor() const {
    const GuiWindow* window = frame ? frame->getWindow() : nullptr;
    return window ? window->eventDescriptor() : -1;
}

void GuiEditorBase::update() {}

void GuiEditorBase::requestUpdate() { updateRequested = true; }

int32_t GuiEditorBase::keyDown(int32_t character, uint8_t virtualKey, uint8_t modifiers) {
    GuiKeyCode key{character, virtualKey, modifiers};
    return frame ? frame->onKeyDown(key) : -1;
}

int32_t GuiEditorBase::keyUp(int32_t character, uint8_t virtualKey, uint8_t modifiers) {
    GuiKeyCode key{character, virtualKey, modifiers};
    return frame ? frame->onKeyUp(key) : -1;
}

int32_t GuiEditorBase::setKnobDragMode(int32_t mode) {
    knobDragMode = mode;
    return 1;
}

int32_t GuiEditorBase::wheel(float distance) {
    if (!frame) return 0;
    GuiPoint where;
    return frame->onWheel(nullptr, where, distance) ? 1 : 0;
}

void GuiEditorBase::parameterChanged(int32_t, float) { requestUpdate(); }

void GuiEditorBase::redrawAll() {
    if (frame) frame->drawView(frame);
}

void GuiEditorBase::idleDuringDrag() {
    GuiPlatform& platform = guiPlatform();
    uint32_t now = platform.tickCount();
    if (tickBefore(now, nextIdleTick)) {
        platform.sleep(kEarlySleep);
        now += kEarlySleep;
        if (tickBefore(now, nextIdleTick - kIdleSlack)) return;
    }
    idle();
    if (frame) frame->processPendingPaint();
    nextIdleTick = now + kIdleInterval;
    insideDragIdle = true;
    parameterLink->hostIdle();
    insideDragIdle = false;
}

void GuiEditorBase::destroyFrame() {
    delete frame;
    frame = nullptr;
}
