// Loads the built plug-in library and looks up its entries, as a host does:
// dlopen on Linux, LoadLibraryA on Windows.
#pragma once

#include <string>

#include "vst2/vst_abi.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// The DLL is found by its file name in the folder the tests run in.
inline const char* pluginPath() { return VELMORA_PLUGIN_FILE; }
inline void* openPluginLibrary(const char* path) { return LoadLibraryA(path); }
inline void* pluginSymbol(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}
inline void closePluginLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }
inline std::string pluginLoadError() { return "LoadLibraryA error " + std::to_string(GetLastError()); }
#else
#include <dlfcn.h>

inline const char* pluginPath() { return VELMORA_PLUGIN_PATH; }
// Kept loaded: unloading cairo (a dependency) strands blocks that its own
// load allocated, which LeakSanitizer would report against us.
inline void* openPluginLibrary(const char* path) {
    return dlopen(path, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
}
inline void* pluginSymbol(void* library, const char* name) { return dlsym(library, name); }
inline void closePluginLibrary(void* library) { dlclose(library); }
inline std::string pluginLoadError() {
    const char* error = dlerror();
    return error ? error : "";
}
#endif

template <typename Function>
Function pluginEntry(void* library, const char* name) {
    return reinterpret_cast<Function>(pluginSymbol(library, name));
}
