#include "vst3/vst3_view.h"

#include <cmath>
#include <cstring>
#include <new>

#include "core/editor.h"
#include "core/host_entry_guard.h"
#include "vst3/vst3_effect.h"

namespace {

// Often enough that a knob follows automation smoothly.
constexpr uint32_t kIdlePeriodMs = 25;

#if defined(_WIN32)
constexpr const char* kPlatformType = vvst3::kPlatformTypeHWND;
#else
constexpr const char* kPlatformType = vvst3::kPlatformTypeX11EmbedWindowID;
#endif

bool ourPlatform(vvst3::FIDString type) { return type != nullptr && std::strcmp(type, kPlatformType) == 0; }

// Without a window of its own (a bad parent, no display) the X11 editor has
// no connection either; a Win32 window is made or the open fails.
bool windowMade(const Editor& editor) {
#if defined(_WIN32)
    (void)editor;
    return true;
#else
    return editor.eventDescriptor() >= 0;
#endif
}

}  // namespace

Vst3View* Vst3View::create(Vst3Effect& effect) { return new (std::nothrow) Vst3View(effect); }

Vst3View::Vst3View(Vst3Effect& effect) : owner(effect), editor(*effect.editor()) { owner.addRef(); }

Vst3View::~Vst3View() {
    closeEditor();
    if (frame != nullptr) frame->release();
    owner.release();
}

vvst3::tresult VVST3_CALL Vst3View::queryInterface(const vvst3::TUID iid, void** obj) {
    return guardedHostEntry(vvst3::kNoInterface, [&] {
        if (obj == nullptr) return vvst3::kInvalidArgument;
        *obj = nullptr;
        if (vvst3::sameUid(iid, vvst3::FUnknown::iid) || vvst3::sameUid(iid, vvst3::IPlugView::iid))
            *obj = static_cast<vvst3::IPlugView*>(this);
        else if (vvst3::sameUid(iid, vvst3::IPlugViewContentScaleSupport::iid))
            *obj = static_cast<vvst3::IPlugViewContentScaleSupport*>(this);
#if !defined(_WIN32)
        else if (vvst3::sameUid(iid, vvst3::IEventHandler::iid))
            *obj = static_cast<vvst3::IEventHandler*>(this);
#endif
        if (*obj == nullptr) return vvst3::kNoInterface;
        addRef();
        return vvst3::kResultOk;
    });
}

uint32_t VVST3_CALL Vst3View::addRef() { return references.fetch_add(1, std::memory_order_relaxed) + 1; }

uint32_t VVST3_CALL Vst3View::release() {
    const uint32_t before = references.fetch_sub(1, std::memory_order_acq_rel);
    if (before == 1) guardedHostEntry([&] { delete this; });
    return before - 1;
}

vvst3::tresult VVST3_CALL Vst3View::isPlatformTypeSupported(vvst3::FIDString type) {
    return ourPlatform(type) ? vvst3::kResultTrue : vvst3::kResultFalse;
}

vvst3::tresult VVST3_CALL Vst3View::attached(void* parent, vvst3::FIDString type) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (parent == nullptr || !ourPlatform(type)) return vvst3::kInvalidArgument;
        if (open || !owner.claimEditor()) return vvst3::kResultFalse;
        if (editor.open(parent) != 1 || !windowMade(editor)) {
            editor.close();
            owner.releaseEditor();
            return vvst3::kResultFalse;
        }
        open = true;
        startServices();
        return vvst3::kResultOk;
    });
}

vvst3::tresult VVST3_CALL Vst3View::removed() {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        closeEditor();
        return vvst3::kResultOk;
    });
}

void Vst3View::closeEditor() {
    stopServices();
    if (!open) return;
    editor.close();
    owner.releaseEditor();
    open = false;
}

vvst3::tresult VVST3_CALL Vst3View::onWheel(float distance) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        return open && std::isfinite(distance) && editor.wheel(distance) == 1 ? vvst3::kResultTrue
                                                                                : vvst3::kResultFalse;
    });
}

vvst3::ViewRect Vst3View::editorRect() const {
    const EditorSize size = editor.size();
    return {0, 0, size.width, size.height};
}

vvst3::tresult VVST3_CALL Vst3View::getSize(vvst3::ViewRect* size) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (size == nullptr) return vvst3::kInvalidArgument;
        *size = editorRect();
        return vvst3::kResultOk;
    });
}

// The window keeps the size of its scale step: the host may only confirm it.
vvst3::tresult VVST3_CALL Vst3View::onSize(vvst3::ViewRect* newSize) {
    return newSize != nullptr ? vvst3::kResultOk : vvst3::kInvalidArgument;
}

vvst3::tresult VVST3_CALL Vst3View::checkSizeConstraint(vvst3::ViewRect* rect) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (rect == nullptr) return vvst3::kInvalidArgument;
        const vvst3::ViewRect own = editorRect();
        rect->right = rect->left + own.right;
        rect->bottom = rect->top + own.bottom;
        return vvst3::kResultTrue;
    });
}

// A new frame may bring another run loop: the services move to it.
vvst3::tresult VVST3_CALL Vst3View::setFrame(vvst3::IPlugFrame* newFrame) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        stopServices();
        if (newFrame != nullptr) newFrame->addRef();
        if (frame != nullptr) frame->release();
        frame = newFrame;
        if (open) startServices();
        return vvst3::kResultOk;
    });
}

// The host's factor wins over the desktop's and the environment's. An open
// editor reopens at its new step (with a new connection on X11), and the
// host is asked for the new size.
vvst3::tresult VVST3_CALL Vst3View::setContentScaleFactor(vvst3::ScaleFactor factor) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (!(factor > 0.0f) || !std::isfinite(factor)) return vvst3::kInvalidArgument;
        const vvst3::ViewRect before = editorRect();
        if (open) stopServices();
        editor.setScale(factor);
        if (!open) return vvst3::kResultOk;
        if (!windowMade(editor)) {
            closeEditor();
            return vvst3::kResultOk;
        }
        startServices();
        vvst3::ViewRect after = editorRect();
        if (frame != nullptr && (after.right != before.right || after.bottom != before.bottom))
            frame->resizeView(this, &after);
        return vvst3::kResultOk;
    });
}

void Vst3View::startServices() {
    if (!open) return;
#if defined(_WIN32)
    idleTimer.start(nullptr, kIdlePeriodMs);
#else
    if (frame == nullptr) return;
    idleTimer.start(frame, kIdlePeriodMs);
    // Xlib may already hold events read from the socket, so the timer stays
    // as a backstop even when the descriptor is watched.
    void* found = nullptr;
    const int fd = editor.eventDescriptor();
    if (fd < 0 || frame->queryInterface(vvst3::IRunLoop::iid.bytes, &found) != vvst3::kResultOk || found == nullptr)
        return;
    watchingLoop = static_cast<vvst3::IRunLoop*>(found);
    if (watchingLoop->registerEventHandler(this, fd) != vvst3::kResultOk) {
        watchingLoop->release();
        watchingLoop = nullptr;
    }
#endif
}

// Before the editor closes the connection the descriptor belongs to.
void Vst3View::stopServices() {
    idleTimer.stop();
#if !defined(_WIN32)
    if (watchingLoop != nullptr) {
        watchingLoop->unregisterEventHandler(this);
        watchingLoop->release();
        watchingLoop = nullptr;
    }
#endif
}

void Vst3View::onUiTick() {
    if (open) editor.idle();
    owner.deliverHostNotifications();
}

#if !defined(_WIN32)
void VVST3_CALL Vst3View::onFDIsSet(vvst3::FileDescriptor) {
    guardedHostEntry([&] {
        if (open) editor.idle();
    });
}
#endif
