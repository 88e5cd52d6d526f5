// A loaded CLAP library: its entry checked and initialised, and its plug-in
// factory. Destruction deinitialises the entry, then unloads the file.
#pragma once

#include <memory>
#include <string>

#include "clap/clap_abi.h"
#include "host/plugin_library.h"

class ClapLibrary {
public:
    // Throws HostError with one sentence for an entry of an incompatible
    // version or with missing functions, an init that fails, a missing
    // factory and a factory without plug-ins.
    ClapLibrary(const std::string& path, std::unique_ptr<PluginLibrary> library);
    ~ClapLibrary();

    ClapLibrary(const ClapLibrary&) = delete;
    ClapLibrary& operator=(const ClapLibrary&) = delete;

    const vclap::PluginEntry& entry() const { return *entry_; }
    const vclap::PluginFactory& factory() const { return *factory_; }
    // The first plug-in the factory describes; velmora-host hosts that one.
    const vclap::PluginDescriptor& descriptor() const { return *descriptor_; }

private:
    std::unique_ptr<PluginLibrary> library_;
    const vclap::PluginEntry* entry_ = nullptr;
    bool initialised_ = false;
    const vclap::PluginFactory* factory_ = nullptr;
    const vclap::PluginDescriptor* descriptor_ = nullptr;
};
