// Drives a plug-in DLL through the call orders real Windows hosts use and
// reports whether the process's handles, GDI/USER objects and memory stay
// flat over many rounds. The checks are made by the caller on the printed
// lines, so this program runs under Wine without a test framework inside.
//
// Usage: host_orders PLUGIN.dll ROUNDS [ORDER]
// Prints "round-trips ok", then "handles A B", "gdi A B", "user A B" and
// "commit A B" (before and after the measured rounds). Exit status 0, or 1
// with one sentence on stderr; a crash ends with status 3.
#include <windows.h>
#include <psapi.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "host/plugin_library.h"
#include "vst2/vst_abi.h"

namespace {

std::atomic<int> automations{0};

VstIntPtr VST_CALLBACK answerHost(AEffect*, int32_t opcode, int32_t, VstIntPtr, void*, float) {
    switch (opcode) {
        case audioMasterVersion:
            return 2400;
        case audioMasterAutomate:
            automations.fetch_add(1, std::memory_order_relaxed);
            return 0;
        case audioMasterGetSampleRate:
            return 44100;
        case audioMasterGetBlockSize:
            return 512;
        default:
            return 0;
    }
}

LONG WINAPI reportCrash(EXCEPTION_POINTERS* info) {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCSTR>(info->ExceptionRecord->ExceptionAddress), &module);
    char name[MAX_PATH] = "?";
    if (module != nullptr) GetModuleFileNameA(module, name, MAX_PATH);
    std::fprintf(stderr, "Crashed with exception 0x%08lX at offset 0x%llx in %s.\n",
                 info->ExceptionRecord->ExceptionCode,
                 static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(info->ExceptionRecord->ExceptionAddress) -
                                                 reinterpret_cast<uintptr_t>(module)),
                 name);
    std::fflush(stderr);
    ExitProcess(3);
}

// A top-level host window, never shown: the editor lives inside it hidden,
// as in hosts that prepare the editor before the user asks for it.
class HostWindow {
public:
    explicit HostWindow(DWORD style = WS_OVERLAPPEDWINDOW) {
        static bool registered = false;
        if (!registered) {
            WNDCLASSA c{};
            c.lpfnWndProc = DefWindowProcA;
            c.hInstance = GetModuleHandleA(nullptr);
            c.lpszClassName = "HostOrdersWindow";
            registered = RegisterClassA(&c) != 0;
        }
        window_ = CreateWindowExA(0, "HostOrdersWindow", "host orders", style, 0, 0, 600, 400,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (window_ == nullptr) {
            throw std::runtime_error("Cannot create a host window (Windows error " + std::to_string(GetLastError()) + ").");
        }
    }
    ~HostWindow() { destroy(); }
    HWND handle() const { return window_; }
    void destroy() {
        if (window_ != nullptr) DestroyWindow(window_);
        window_ = nullptr;
    }

private:
    HWND window_ = nullptr;
};

void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

class Plugin {
public:
    explicit Plugin(const std::string& path) : library_(path) {
        const VstPluginEntry entry = library_.findEntry();
        if (entry == nullptr) throw std::runtime_error("The DLL has no entry.");
        effect_ = entry(answerHost);
        if (effect_ == nullptr || effect_->magic != kEffectMagic) throw std::runtime_error("The entry gave no effect.");
        call(effOpen);
        call(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        call(effSetBlockSize, 0, 256);
    }
    VstIntPtr call(int32_t opcode, int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f) {
        return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
    }
    AEffect* effect() { return effect_; }
    // effClose deletes the effect; the record must not be used afterwards.
    void close() {
        call(effClose);
        effect_ = nullptr;
    }
    ~Plugin() {
        if (effect_ != nullptr) close();
    }

private:
    PluginLibrary library_;
    AEffect* effect_ = nullptr;
};

void checkRect(Plugin& plugin) {
    ERect* rect = nullptr;
    if (plugin.call(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr || rect->right - rect->left <= 0 ||
        rect->bottom - rect->top <= 0) {
        throw std::runtime_error("effEditGetRect gave no size.");
    }
}

void idle(Plugin& plugin, int times) {
    for (int i = 0; i < times; ++i) {
        pump();
        plugin.call(effEditIdle);
        Sleep(2);
    }
}

// The orders, one round each.
void openRightAfterLoadingAndKeepHidden(const std::string& path) {
    Plugin plugin(path);
    HostWindow window;
    plugin.call(effEditOpen, 0, 0, window.handle());
    checkRect(plugin);
    for (int i = 0; i < 20; ++i) {
        plugin.effect()->setParameter(plugin.effect(), 9, static_cast<float>(i) / 20.0f);
        idle(plugin, 2);
    }
    plugin.call(effEditClose);
}

void rectBeforeAnyOpen(const std::string& path) {
    Plugin plugin(path);
    checkRect(plugin);
    // A shown window; a pop-up, so that no window manager is waited for.
    HostWindow window(WS_POPUP);
    ShowWindow(window.handle(), SW_SHOWNOACTIVATE);
    plugin.call(effEditOpen, 0, 0, window.handle());
    checkRect(plugin);
    idle(plugin, 5);
    plugin.call(effEditClose);
    // A second open in the same window, as after the user reopens the editor.
    plugin.call(effEditOpen, 0, 0, window.handle());
    idle(plugin, 3);
    plugin.call(effEditClose);
}

void closeWithEditorOpen(const std::string& path) {
    HostWindow window;
    Plugin plugin(path);
    plugin.call(effEditOpen, 0, 0, window.handle());
    idle(plugin, 3);
    plugin.close();  // no effEditClose first
    window.destroy();
    pump();
}

void editorCloseAfterParentDestroyed(const std::string& path) {
    Plugin plugin(path);
    HostWindow window;
    plugin.call(effEditOpen, 0, 0, window.handle());
    idle(plugin, 3);
    window.destroy();
    pump();
    plugin.call(effEditClose);
}

void processOnAnotherThread(const std::string& path) {
    Plugin plugin(path);
    AEffect* effect = plugin.effect();
    plugin.call(effMainsChanged, 0, 1);
    std::atomic<bool> running{true};
    std::thread audio([&] {
        std::vector<float> inL(256, 0.25f), inR(256, -0.25f), outL(256), outR(256);
        float* inputs[2] = {inL.data(), inR.data()};
        float* outputs[2] = {outL.data(), outR.data()};
        int block = 0;
        while (running.load(std::memory_order_relaxed)) {
            effect->setParameter(effect, 10, static_cast<float>(block % 100) / 100.0f);
            effect->processReplacing(effect, inputs, outputs, 256);
            ++block;
        }
    });
    HostWindow window;
    for (int i = 0; i < 3; ++i) {
        plugin.call(effEditOpen, 0, 0, window.handle());
        idle(plugin, 5);
        effect->setParameter(effect, 11, static_cast<float>(i) / 3.0f);
        plugin.call(effEditClose);
    }
    running.store(false, std::memory_order_relaxed);
    audio.join();
    plugin.call(effMainsChanged, 0, 0);
}

using Order = void (*)(const std::string&);
constexpr Order kOrders[] = {openRightAfterLoadingAndKeepHidden, rectBeforeAnyOpen, closeWithEditorOpen,
                             editorCloseAfterParentDestroyed, processOnAnotherThread};

// All orders, or only the one numbered `only` (for finding which one fails).
void round(const std::string& path, int only) {
    for (int i = 0; i < static_cast<int>(std::size(kOrders)); ++i) {
        if (only < 0 || only == i) kOrders[i](path);
    }
    pump();
}

struct Usage {
    unsigned long handles = 0;
    unsigned long gdi = 0;
    unsigned long user = 0;
    unsigned long long commitBytes = 0;
};

// Kernel handles go to the lowest free slot, so the value of a fresh handle
// rises with every handle left open. (Wine reports no handle count.)
unsigned long handleWatermark() {
    HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    const auto value = static_cast<unsigned long>(reinterpret_cast<uintptr_t>(probe));
    CloseHandle(probe);
    return value / 4;
}

Usage measure() {
    Usage usage;
    HANDLE self = GetCurrentProcess();
    usage.handles = handleWatermark();
    // Zero where the system does not count them (Wine); the editor side
    // counts its own GDI objects in its tests.
    usage.gdi = GetGuiResources(self, GR_GDIOBJECTS);
    usage.user = GetGuiResources(self, GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(self, &memory, sizeof memory)) usage.commitBytes = memory.PagefileUsage;
    return usage;
}

}  // namespace

int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(reportCrash);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "Usage: host_orders PLUGIN.dll ROUNDS [ORDER]\n");
        return 2;
    }
    try {
        const std::string path = argv[1];
        const int rounds = std::stoi(argv[2]);
        const int only = argc == 4 ? std::stoi(argv[3]) : -1;
        // Hosts keep a plug-in's DLL loaded while its instances come and go;
        // the rounds measure the instances. (Unloading a DLL that carries the
        // static threads runtime leaves two of that runtime's handles behind,
        // which is the toolchain's, not the plug-in's.)
        const PluginLibrary keptLoaded(path);
        // Warm-up: one-time allocations (class registration, fonts, the
        // runtime's own pools) happen here, not in the measured rounds.
        for (int i = 0; i < 5; ++i) round(path, only);
        std::printf("round-trips ok\n");
        const Usage before = measure();
        for (int i = 0; i < rounds; ++i) round(path, only);
        const Usage after = measure();
        std::printf("handles %lu %lu\ngdi %lu %lu\nuser %lu %lu\n", before.handles, after.handles, before.gdi,
                    after.gdi, before.user, after.user);
        std::printf("commit %llu %llu\n", before.commitBytes, after.commitBytes);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
