#include <dlfcn.h>

#include "host/errors.h"
#include "host/plugin_library.h"

PluginLibrary::PluginLibrary(const std::string& path) {
    // A bare file name would make dlopen search the library path instead of
    // the current directory, which is never what the user meant.
    const std::string target = path.find('/') == std::string::npos ? "./" + path : path;
    dlerror();
    handle_ = dlopen(target.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* reason = dlerror();
        throw HostError("Cannot load " + path + " as a plug-in library (" +
                        (reason != nullptr ? reason : "unknown reason") + ").");
    }
}

PluginLibrary::~PluginLibrary() {
    if (handle_ != nullptr) dlclose(handle_);
}

VstPluginEntry PluginLibrary::findEntry() const {
    for (const char* name : {"VSTPluginMain", "main"}) {
        // dlsym hands back an object pointer; POSIX guarantees it converts to a
        // function pointer of the right type.
        if (void* symbol = dlsym(handle_, name)) return reinterpret_cast<VstPluginEntry>(symbol);
    }
    return nullptr;
}

void* PluginLibrary::symbol(const char* name) const { return dlsym(handle_, name); }
