// The editor opened by the host (effEditOpen through the effect record)
// with the n-th allocation failing, for every n until an open needs fewer:
// each failed open answers 0 with no window and nothing left behind
// (memory, and on Windows GDI objects and the window class), and the next
// open succeeds. Built for Linux (a real X11 parent) and for Windows (a real
// Win32 parent, run under Wine); it replaces the global allocator, so it
// lives in an executable of its own.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "editor/distortion_editor.h"
#include "vst2/distortion_effect.h"

#if defined(_WIN32)
#include "gui/win32/gdi_objects.h"
#include "gui/win32/win32_window_class.h"
#include "win32_test_support.h"
#else
// Last: Xlib's macros collide with names inside GoogleTest.
#include <X11/Xlib.h>
#endif

namespace {
// 0: allocations succeed; k > 0: the k-th allocation from now fails.
std::atomic<long> countdown{0};
std::atomic<bool> injected{false};
// Allocations made through the replaced operators and not yet freed.
std::atomic<long> live{0};

void* allocate(std::size_t size) noexcept {
    if (countdown.load() > 0 && countdown.fetch_sub(1) == 1) {
        injected = true;
        return nullptr;
    }
    void* pointer = std::malloc(size ? size : 1);
    if (pointer) ++live;
    return pointer;
}

void release(void* pointer) noexcept {
    if (!pointer) return;
    --live;
    std::free(pointer);
}
}  // namespace

void* operator new(std::size_t size) {
    if (void* pointer = allocate(size)) return pointer;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    if (void* pointer = allocate(size)) return pointer;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* pointer) noexcept { release(pointer); }
void operator delete[](void* pointer) noexcept { release(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { release(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { release(pointer); }
void operator delete(void* pointer, const std::nothrow_t&) noexcept { release(pointer); }
void operator delete[](void* pointer, const std::nothrow_t&) noexcept { release(pointer); }

namespace {

VstIntPtr VST_CALLBACK quietHost(AEffect*, int32_t opcode, int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

VstIntPtr call(AEffect* record, int32_t opcode, void* ptr = nullptr) {
    return record->dispatcher(record, opcode, 0, 0, ptr, 0.0f);
}

#if defined(_WIN32)
struct Parent {
    HostWindow host;
    void* handle() const { return host.handle; }
    bool valid() const { return host.handle != nullptr; }
    bool hasChild() const { return GetWindow(host.handle, GW_CHILD) != nullptr; }
};
#else
struct Parent {
    Parent() : display(XOpenDisplay(nullptr)) {
        if (!display) return;
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 484, 286, 0, 0, 0);
        XMapWindow(display, window);
        XSync(display, False);
    }
    ~Parent() {
        if (!display) return;
        XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
    void* handle() const { return reinterpret_cast<void*>(window); }
    bool valid() const { return display != nullptr; }
    bool hasChild() const {
        XSync(display, False);
        ::Window root = 0, parent = 0;
        ::Window* children = nullptr;
        unsigned int count = 0;
        XQueryTree(display, window, &root, &parent, &children, &count);
        if (children) XFree(children);
        return count > 0;
    }
    Display* display;
    ::Window window = 0;
};
#endif

}  // namespace

TEST(EditorOpen, EveryFailedAllocationFailsTheOpenCleanlyAndTheNextOpenSucceeds) {
    Parent parent;
    if (!parent.valid()) GTEST_SKIP() << "no display";
    DistortionEffect effect(quietHost);
    AEffect* record = effect.getAeffect();
    auto* editor = static_cast<DistortionEditor*>(effect.getEditorObject());
    ASSERT_NE(editor, nullptr);
    // What the first opens make once and keep (caches of the system and the
    // toolkit) is not counted as left behind.
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(call(record, effEditOpen, parent.handle()), 1);
        call(record, effEditIdle);
        call(record, effEditClose);
    }
    const long liveBefore = live.load();
#if defined(_WIN32)
    const int32_t gdiBefore = liveGdiObjectCount();
#endif

    int failedOpens = 0;
    for (long n = 1;; ++n) {
        ASSERT_LT(n, 100000) << "open never got through";
        injected = false;
        countdown = n;
        const VstIntPtr opened = call(record, effEditOpen, parent.handle());
        countdown = 0;
        if (!injected) {
            // Fewer allocations than n: the open went through untouched.
            EXPECT_EQ(opened, 1) << n;
            call(record, effEditClose);
            break;
        }
        ++failedOpens;
        EXPECT_EQ(opened, 0) << "allocation " << n;
        EXPECT_EQ(editor->getFrame(), nullptr) << "allocation " << n;
        EXPECT_FALSE(parent.hasChild()) << "allocation " << n;
        EXPECT_EQ(live.load(), liveBefore) << "allocation " << n;
#if defined(_WIN32)
        EXPECT_EQ(liveGdiObjectCount(), gdiBefore) << "allocation " << n;
        WNDCLASSA info{};
        EXPECT_FALSE(GetClassInfoA(static_cast<HINSTANCE>(moduleInstance), windowClassName(), &info))
            << "allocation " << n;
#endif
        // The host tries again: this one opens.
        ASSERT_EQ(call(record, effEditOpen, parent.handle()), 1) << "after allocation " << n;
        EXPECT_TRUE(parent.hasChild()) << "after allocation " << n;
        call(record, effEditIdle);
        call(record, effEditClose);
        EXPECT_EQ(live.load(), liveBefore) << "after allocation " << n;
        if (HasFailure()) break;
    }
    // The frame, the bitmaps and every view: dozens of allocations.
    std::printf("%d opens failed, one for each allocation of an open\n", failedOpens);
    EXPECT_GT(failedOpens, 20);
    EXPECT_EQ(live.load(), liveBefore);
}
