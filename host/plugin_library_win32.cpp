#include <windows.h>

#include "host/errors.h"
#include "host/plugin_library.h"

PluginLibrary::PluginLibrary(const std::string& path) {
    handle_ = LoadLibraryA(path.c_str());
    if (handle_ == nullptr) {
        throw HostError("Cannot load " + path + " as a plug-in library (Windows error " +
                        std::to_string(GetLastError()) + ").");
    }
}

PluginLibrary::~PluginLibrary() {
    if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
}

VstPluginEntry PluginLibrary::findEntry() const {
    for (const char* name : {"VSTPluginMain", "main"}) {
        if (FARPROC symbol = GetProcAddress(static_cast<HMODULE>(handle_), name)) {
            return reinterpret_cast<VstPluginEntry>(reinterpret_cast<void*>(symbol));
        }
    }
    return nullptr;
}

void* PluginLibrary::symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}
