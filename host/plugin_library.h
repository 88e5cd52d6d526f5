// The platform seam for loading a plug-in module: open the library and look up
// its entries. plugin_library_posix.cpp implements it with dlopen; a Windows
// build supplies the same class over LoadLibrary/GetProcAddress.
#pragma once

#include <memory>
#include <string>

#include "vst2/vst_abi.h"

class PluginLibrary {
public:
    // Throws HostError with the loader's reason when the file cannot be loaded.
    explicit PluginLibrary(const std::string& path);
    ~PluginLibrary();

    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // "VSTPluginMain" first (what current plug-ins export), then the older
    // "main". Null when the library has neither.
    VstPluginEntry findEntry() const;

    // Any exported symbol by name (CLAP's entry is a data object), or null.
    void* symbol(const char* name) const;

    // What dlopen or LoadLibrary returned (VST 3's Linux entry wants it).
    void* nativeHandle() const { return handle_; }

private:
    void* handle_ = nullptr;
};

// Checks that path names a readable regular file, then loads it. Throws
// HostError with one sentence for each way that fails.
std::unique_ptr<PluginLibrary> openPluginLibrary(const std::string& path);
