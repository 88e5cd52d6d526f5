#include "win32_window.h"

#include <new>

#include "gui/gui_press_pointer.h"
#include "gdi_canvas.h"
#include "keyed_blit.h"
#include "win32_platform.h"
#include "win32_window_class.h"

namespace {
// WM_DPICHANGED_AFTERPARENT: reaches child windows in hosts that are
// per-monitor aware (version 2) when the window moves to another screen.
constexpr UINT kDpiChangedAfterParent = 0x02E3;
}  // namespace

std::unique_ptr<Win32Window> Win32Window::create(HWND parent, int32_t logicalWidth, int32_t logicalHeight,
                                                 GuiScale scale, GuiWindowClient& client) {
    const int32_t width = scale.toDevice(logicalWidth), height = scale.toDevice(logicalHeight);
    if (!parent || !IsWindow(parent)) return nullptr;
    const char* className = acquireWindowClass(&Win32Window::procedure);
    if (!className) return nullptr;
    HWND handle = CreateWindowExA(0, className, "Window", WS_CHILD | WS_VISIBLE, 0, 0, width,
                                  height, parent, nullptr, win32ModuleHandle(),
                                  nullptr);
    if (!handle) {
        releaseWindowClass();
        return nullptr;
    }
    auto* made = new (std::nothrow) Win32Window(handle, scale, client);
    if (!made) {
        DestroyWindow(handle);
        releaseWindowClass();
        return nullptr;
    }
    std::unique_ptr<Win32Window> window(made);
    // Out of memory already: no window rather than one without drops.
    if (!window->target) return nullptr;
    return window;
}

Win32Window::Win32Window(HWND handle, GuiScale scaleStep, GuiWindowClient& owner)
    : window(handle), scale(scaleStep), client(owner), livePointer(handle, scaleStep) {
    acquireTransparentBlt();
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    target = new (std::nothrow) OleDropTarget(*this);
    if (target) dropRegistered = RegisterDragDrop(window, target) == S_OK;
}

Win32Window::~Win32Window() {
    revokeDrop();
    if (target) {
        target->detach();
        target->Release();
    }
    if (!destroyed) {
        // Cleared first: the messages DestroyWindow sends find no object.
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    releaseWindowClass();
    releaseTransparentBlt();
}

void Win32Window::revokeDrop() {
    if (!dropRegistered) return;
    RevokeDragDrop(window);
    dropRegistered = false;
}

std::unique_ptr<GuiCanvas> Win32Window::makeCanvas() {
    if (destroyed) return nullptr;
    HDC dc = GetDC(window);
    if (!dc) return nullptr;
    auto canvas = std::unique_ptr<GdiCanvas>(new (std::nothrow) GdiCanvas(dc, window, scale));
    if (!canvas) ReleaseDC(window, dc);
    return canvas;
}

void Win32Window::processPendingPaint() {
    MSG message;
    if (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&message);
}

LRESULT CALLBACK Win32Window::procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    // The host's message loop called: nothing may unwind into its frames.
    try {
        return handleMessage(handle, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

LRESULT Win32Window::handleMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(handle, GWLP_USERDATA));
    if (!self) return DefWindowProcA(handle, message, wParam, lParam);
    switch (message) {
        case WM_PAINT: {
            RECT damaged;
            if (!GetUpdateRect(handle, &damaged, FALSE)) break;
            return self->paint();
        }
        case WM_LBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_RBUTTONDOWN:
            self->press(message, wParam, lParam);
            return 0;
        case WM_DESTROY:
            self->systemDestroyed();
            break;
        case kDpiChangedAfterParent:
            self->client.windowDpiChanged();
            return 0;
        default:
            break;
    }
    return DefWindowProcA(handle, message, wParam, lParam);
}

LRESULT Win32Window::paint() {
    PAINTSTRUCT paintInfo;
    HDC dc = BeginPaint(window, &paintInfo);
    if (dc) {
        const RECT& r = paintInfo.rcPaint;
        GdiCanvas canvas(dc, nullptr, scale);
        const GuiRect damaged{r.left, r.top, r.right, r.bottom};
        try {
            client.windowPaint(canvas, livePointer, scale.isIdentity() ? damaged : scale.toLogicalCovering(damaged));
        } catch (...) {
            // The paint is still ended below, or the system would ask again forever.
        }
    }
    EndPaint(window, &paintInfo);
    return 0;
}

void Win32Window::press(UINT message, WPARAM wParam, LPARAM lParam) {
    HDC dc = GetDC(window);
    if (!dc) return;
    // Signed: a press can arrive left of or above a child window's origin.
    const GuiPoint where{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    GdiCanvas canvas(dc, window, scale);
    // The press is handled with the buttons its message carried: by now a
    // quick click may be over, and the live state would read "up".
    GuiPressPointer pressPointer(livePointer, pressButtonsOf(message, wParam));
    client.windowPress(canvas, pressPointer, scale.toLogical(where));
}

void Win32Window::systemDestroyed() {
    // The host destroyed its window with ours inside: OLE must let go of the
    // window while it still exists, and the frame stops drawing.
    revokeDrop();
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    destroyed = true;
    client.windowDestroyed();
}

bool Win32Window::dropped(void** items, int32_t count, int32_t type) {
    return client.windowDrop(items, count, type, livePointer.location());
}
