// The editor's host window on Windows: a top-level window whose client area
// is the editor's parent, and a message loop that idles the editor about
// every 20 ms the way Windows hosts do.
#include <windows.h>

#include <chrono>

#include "host/editor_window.h"
#include "host/errors.h"
#include "host/loaded_plugin.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kIdleInterval = std::chrono::milliseconds(20);
constexpr char kClassName[] = "VelmoraHostWindow";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// Set by the window procedure; read by the loop on the same thread.
struct WindowState {
    bool closed = false;
    bool destroyed = false;
};

LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<WindowState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
        case WM_CLOSE:
            // The editor is closed before the window goes, so the loop only
            // notes the request here and the destructor does the rest.
            if (state != nullptr) state->closed = true;
            return 0;
        case WM_DESTROY:
            if (state != nullptr) state->destroyed = state->closed = true;
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

void registerClassOnce() {
    WNDCLASSA existing;
    if (GetClassInfoA(GetModuleHandleA(nullptr), kClassName, &existing)) return;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = hostWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    if (RegisterClassA(&windowClass) == 0) {
        throw HostError("Cannot register the host's window class (Windows error " +
                        std::to_string(GetLastError()) + ").");
    }
}

}  // namespace

struct EditorWindow::Impl {
    explicit Impl(LoadedPlugin& p) : plugin(p) {}

    LoadedPlugin& plugin;
    HWND window = nullptr;
    WindowState state;
    int width = kFallbackWidth;
    int height = kFallbackHeight;

    void pumpMessages() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    void tick() {
        pumpMessages();
        if (!state.closed) plugin.idleEditor();
    }

    // Sizes the whole window so that its client area is width x height.
    void fitToClient() {
        RECT frame{0, 0, width, height};
        AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void teardown() {
        plugin.closeEditor();
        plugin.setEditorResizer({});
        if (window != nullptr && !state.destroyed) DestroyWindow(window);
        pumpMessages();
        window = nullptr;
    }
};

void EditorWindow::requireDisplay() {
    // Every Windows session has a desktop; a failure to create the window is
    // reported where it happens.
}

EditorWindow::EditorWindow(LoadedPlugin& plugin, const std::string& title) : impl_(std::make_unique<Impl>(plugin)) {
    Impl& w = *impl_;
    if (!plugin.hasEditor()) throw HostError(plugin.displayName() + " has no editor.");
    registerClassOnce();

    const std::optional<EditorSize> rect = plugin.editorSize();
    if (rect) {
        w.width = rect->width;
        w.height = rect->height;
    }
    RECT frame{0, 0, w.width, w.height};
    AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    w.window = CreateWindowExA(0, kClassName, title.c_str(), kStyle, 0, 0, frame.right - frame.left,
                               frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (w.window == nullptr) {
        throw HostError("Cannot create the editor's window (Windows error " + std::to_string(GetLastError()) + ").");
    }
    SetWindowLongPtrA(w.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&w.state));

    // The plug-in asked for another size while open.
    plugin.setEditorResizer([&w](const EditorSize& size) {
        w.width = size.width;
        w.height = size.height;
        w.fitToClient();
    });
    if (!plugin.openEditor(w.window)) {
        w.teardown();
        throw HostError("The editor of " + plugin.displayName() + " did not open.");
    }
    // Some editors only know their size once open.
    if (!rect) {
        if (const auto late = plugin.editorSize()) {
            w.width = late->width;
            w.height = late->height;
            w.fitToClient();
        }
    }
    ShowWindow(w.window, SW_SHOWNORMAL);
    UpdateWindow(w.window);
    w.tick();
    if (!IsWindowVisible(w.window)) {
        w.teardown();
        throw HostError("The editor window never appeared on the screen.");
    }
}

EditorWindow::~EditorWindow() { impl_->teardown(); }

int EditorWindow::width() const { return impl_->width; }
int EditorWindow::height() const { return impl_->height; }

bool EditorWindow::idleFor(double seconds) {
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    auto next = Clock::now();
    while (!impl_->state.closed) {
        impl_->tick();
        next += kIdleInterval;
        if (next >= end) break;
        // Input is handled as it arrives; the editor idles on the beat.
        for (auto now = Clock::now(); now < next && !impl_->state.closed; now = Clock::now()) {
            const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(next - now).count();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(wait), QS_ALLINPUT);
            impl_->pumpMessages();
        }
    }
    return !impl_->state.closed;
}

void EditorWindow::runUntilClosed(std::optional<double> limitSeconds) {
    if (limitSeconds) {
        idleFor(*limitSeconds);
        return;
    }
    while (idleFor(3600.0)) {
    }
}

WindowImage EditorWindow::capture() {
    Impl& w = *impl_;
    if (w.state.closed || !IsWindowVisible(w.window)) {
        throw HostError("The editor window is not on screen, so it cannot be captured.");
    }
    // The client area as the screen shows it, the editor's child window included.
    HDC source = GetDC(w.window);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w.width;
    info.bmiHeader.biHeight = -w.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (bitmap != nullptr && bits != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, w.width, w.height, source, 0, 0, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memory, previous);
    }
    WindowImage result;
    if (copied) {
        result.width = w.width;
        result.height = w.height;
        const auto* pixels = static_cast<const uint32_t*>(bits);
        result.pixels.assign(pixels, pixels + static_cast<size_t>(w.width) * static_cast<size_t>(w.height));
        for (uint32_t& pixel : result.pixels) pixel |= 0xFF000000u;
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(w.window, source);
    if (!copied) throw HostError("Reading the editor window's pixels failed.");
    return result;
}
