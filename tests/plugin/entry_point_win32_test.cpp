// The Windows DLL as a Windows host meets it: its two exports, its bitmap
// resources, and its editor window in a real parent window, opened and
// closed many times in one process.
#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

#include "host_recorder.h"
#include "plugin_library.h"
#include "win32_test_support.h"

namespace {

struct LoadedDll {
    explicit LoadedDll(const char* path) : module(LoadLibraryA(path)) {}
    ~LoadedDll() {
        if (module) FreeLibrary(module);
    }
    AEffect* create() {
        auto entry = pluginEntry<VstPluginEntry>(module, "VSTPluginMain");
        return entry ? entry(recordingHost) : nullptr;
    }
    HMODULE module;
};

VstIntPtr call(AEffect* effect, int32_t opcode, VstIntPtr value = 0, void* ptr = nullptr) {
    return effect->dispatcher(effect, opcode, 0, value, ptr, 0.0f);
}

HWND childOf(HWND parent) { return GetWindow(parent, GW_CHILD); }

}  // namespace

TEST(Win32Dll, BothExportsAreOneFunctionAndTheBitmapsAreResources) {
    LoadedDll dll(pluginPath());
    ASSERT_NE(dll.module, nullptr) << pluginLoadError();
    void* main = pluginSymbol(dll.module, "main");
    void* vstMain = pluginSymbol(dll.module, "VSTPluginMain");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main, vstMain);

    const struct {
        int id;
        LONG width;
        LONG height;
    } bitmaps[] = {{1001, 484, 286}, {1002, 60, 22},   {1003, 48, 6144}, {1004, 48, 336},
                   {1005, 30, 3840}, {1006, 36, 28},   {1007, 289, 179}, {1008, 132, 15}};
    for (const auto& expected : bitmaps) {
        HBITMAP bitmap = LoadBitmapA(dll.module, MAKEINTRESOURCEA(expected.id));
        ASSERT_NE(bitmap, nullptr) << expected.id;
        BITMAP info{};
        GetObjectA(bitmap, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, expected.width) << expected.id;
        EXPECT_EQ(info.bmHeight, expected.height) << expected.id;
        DeleteObject(bitmap);
    }
}

TEST(Win32Dll, EditorWindowIsAChildOfItsModulesClassUnregisteredAfterTheLastClose) {
    HostWindow host;
    ASSERT_NE(host.handle, nullptr);
    LoadedDll dll(pluginPath());
    ASSERT_NE(dll.module, nullptr) << pluginLoadError();
    AEffect* first = dll.create();
    AEffect* second = dll.create();
    ASSERT_TRUE(first && second);
    EXPECT_FALSE(windowClassRegistered(dll.module));

    EXPECT_EQ(call(first, effEditOpen, 0, host.handle), 1);
    HWND child = childOf(host.handle);
    ASSERT_NE(child, nullptr);
    char className[64] = "";
    GetClassNameA(child, className, sizeof className);
    EXPECT_EQ(className, windowClassNameOf(dll.module));
    WNDCLASSA info{};
    ASSERT_TRUE(GetClassInfoA(dll.module, className, &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_GLOBALCLASS));
    EXPECT_EQ(GetWindowLongA(child, GWL_STYLE) & (WS_CHILD | WS_VISIBLE),
              WS_CHILD | WS_VISIBLE);
    char title[32] = "";
    GetWindowTextA(child, title, sizeof title);
    EXPECT_STREQ(title, "Window");
    RECT area{};
    GetClientRect(child, &area);
    EXPECT_EQ(area.right, 484);
    EXPECT_EQ(area.bottom, 286);
    EXPECT_NE(GetWindowLongPtrA(child, GWLP_USERDATA), 0);
    pumpMessages();

    // A second editor of the same module reuses the class; it goes with the last.
    HostWindow otherHost;
    EXPECT_EQ(call(second, effEditOpen, 0, otherHost.handle), 1);
    call(first, effEditClose);
    EXPECT_EQ(childOf(host.handle), nullptr);
    EXPECT_TRUE(windowClassRegistered(dll.module));
    call(second, effEditClose);
    EXPECT_FALSE(windowClassRegistered(dll.module));

    EXPECT_EQ(call(first, effClose), 1);
    EXPECT_EQ(call(second, effClose), 1);
}

TEST(Win32Dll, TwoModulesRegisterTwoClasses) {
    char copy[MAX_PATH];
    GetTempPathA(MAX_PATH, copy);
    lstrcatA(copy, "velmora-second-module.dll");
    ASSERT_TRUE(CopyFileA(pluginPath(), copy, FALSE));
    {
        HostWindow host;
        LoadedDll one(pluginPath());
        LoadedDll two(copy);
        ASSERT_TRUE(one.module && two.module);
        ASSERT_NE(one.module, two.module);
        AEffect* a = one.create();
        AEffect* b = two.create();
        ASSERT_TRUE(a && b);
        call(a, effEditOpen, 0, host.handle);
        call(b, effEditOpen, 0, host.handle);
        EXPECT_NE(windowClassNameOf(one.module), windowClassNameOf(two.module));
        EXPECT_TRUE(windowClassRegistered(one.module));
        EXPECT_TRUE(windowClassRegistered(two.module));
        call(a, effEditClose);
        EXPECT_FALSE(windowClassRegistered(one.module));
        EXPECT_TRUE(windowClassRegistered(two.module));
        call(b, effEditClose);
        EXPECT_FALSE(windowClassRegistered(two.module));
        call(a, effClose);
        call(b, effClose);
    }
    DeleteFileA(copy);
}

// A module whose class name is already registered (the low half of a 64-bit
// handle named another module's class the same) cannot make its window:
// effEditOpen says so, and the host sees no half-open editor.
TEST(Win32Dll, AClassNameAlreadyTakenFailsEffEditOpen) {
    HostWindow host;
    LoadedDll dll(pluginPath());
    ASSERT_NE(dll.module, nullptr) << pluginLoadError();
    AEffect* effect = dll.create();
    ASSERT_NE(effect, nullptr);
    const std::string name = windowClassNameOf(dll.module);
#if defined(_WIN64)
    EXPECT_EQ(name.size(), 6u + 16u) << name;  // "Plugin" and the whole handle
#else
    EXPECT_EQ(name.size(), 6u + 8u) << name;
#endif
    WNDCLASSA other{};
    other.style = CS_GLOBALCLASS;
    other.lpfnWndProc = DefWindowProcA;
    other.hInstance = GetModuleHandleA(nullptr);
    other.lpszClassName = name.c_str();
    ASSERT_NE(RegisterClassA(&other), 0);

    EXPECT_EQ(call(effect, effEditOpen, 0, host.handle), 0);
    EXPECT_EQ(childOf(host.handle), nullptr);
    call(effect, effEditIdle);
    call(effect, effEditClose);

    ASSERT_TRUE(UnregisterClassA(name.c_str(), other.hInstance));
    EXPECT_EQ(call(effect, effEditOpen, 0, host.handle), 1);
    EXPECT_NE(childOf(host.handle), nullptr);
    call(effect, effEditClose);
    EXPECT_FALSE(windowClassRegistered(dll.module));
    EXPECT_EQ(call(effect, effClose), 1);
}

TEST(Win32Dll, TwoHundredEditorCyclesKeepHandlesFlat) {
    HostWindow host;
    LoadedDll dll(pluginPath());
    AEffect* effect = dll.create();
    ASSERT_NE(effect, nullptr);
    const auto cycle = [&] {
        ASSERT_EQ(call(effect, effEditOpen, 0, host.handle), 1);
        UpdateWindow(host.handle);
        pumpMessages();
        call(effect, effEditIdle);
        effect->setParameter(effect, 9, 0.25f);
        call(effect, effEditIdle);
        call(effect, effEditClose);
        pumpMessages();
    };
    for (int i = 0; i < 10; ++i) cycle();  // whatever the system caches on first use
    DWORD handlesBefore = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
    for (int i = 0; i < 190; ++i) cycle();
    DWORD handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_LE(handlesAfter, handlesBefore + 5);
    EXPECT_FALSE(windowClassRegistered(dll.module));
    EXPECT_EQ(call(effect, effClose), 1);
}

TEST(Win32Dll, HostDestroyingItsWindowFirstLeavesACleanClose) {
    LoadedDll dll(pluginPath());
    AEffect* effect = dll.create();
    ASSERT_NE(effect, nullptr);
    {
        HostWindow host;
        ASSERT_EQ(call(effect, effEditOpen, 0, host.handle), 1);
        pumpMessages();
    }  // the host's window, and ours inside it, are gone
    call(effect, effEditIdle);
    call(effect, effEditClose);
    EXPECT_FALSE(windowClassRegistered(dll.module));
    // Closing with the editor still open works too.
    HostWindow host;
    ASSERT_EQ(call(effect, effEditOpen, 0, host.handle), 1);
    EXPECT_EQ(call(effect, effClose), 1);
    EXPECT_FALSE(windowClassRegistered(dll.module));
}
