#include "host/clap_library.h"

#include "host/errors.h"

ClapLibrary::ClapLibrary(const std::string& path, std::unique_ptr<PluginLibrary> library)
    : library_(std::move(library)) {
    entry_ = static_cast<const vclap::PluginEntry*>(library_->symbol(vclap::kEntrySymbol));
    if (entry_ == nullptr) throw HostError(path + " exports no clap_entry, so it is not a CLAP plug-in.");
    const vclap::Version& version = entry_->clap_version;
    if (!vclap::versionIsCompatible(version)) {
        throw HostError("The clap_entry of " + path + " declares CLAP " + std::to_string(version.major) + "." +
                        std::to_string(version.minor) + "." + std::to_string(version.revision) +
                        ", a development version this host cannot load.");
    }
    if (entry_->init == nullptr || entry_->deinit == nullptr || entry_->get_factory == nullptr) {
        throw HostError("The clap_entry of " + path + " lacks init, deinit or get_factory.");
    }
    if (!entry_->init(path.c_str())) throw HostError("The CLAP library " + path + " refused to initialise.");
    initialised_ = true;
    // From here on a failure must still deinitialise, which the destructor
    // does not do for a constructor that throws.
    try {
        factory_ = static_cast<const vclap::PluginFactory*>(entry_->get_factory(vclap::kPluginFactoryId));
        if (factory_ == nullptr) throw HostError(path + " offers no CLAP plug-in factory.");
        if (factory_->get_plugin_count == nullptr || factory_->get_plugin_descriptor == nullptr ||
            factory_->create_plugin == nullptr) {
            throw HostError("The plug-in factory of " + path + " lacks one of its three functions.");
        }
        if (factory_->get_plugin_count(factory_) == 0) throw HostError(path + " contains no CLAP plug-in.");
        descriptor_ = factory_->get_plugin_descriptor(factory_, 0);
        if (descriptor_ == nullptr || descriptor_->id == nullptr || descriptor_->id[0] == '\0') {
            throw HostError(path + " describes its first plug-in without an id.");
        }
    } catch (...) {
        entry_->deinit();
        throw;
    }
}

ClapLibrary::~ClapLibrary() {
    if (initialised_) entry_->deinit();
}
