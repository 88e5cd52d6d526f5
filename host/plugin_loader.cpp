#include <string>

#include "clap/clap_abi.h"
#include "host/clap_plugin.h"
#include "host/errors.h"
#include "host/loaded_plugin.h"
#include "host/vst2_plugin.h"

std::unique_ptr<LoadedPlugin> loadPlugin(const std::string& path, std::FILE* trace) {
    auto library = openPluginLibrary(path);
    const bool clap = library->symbol(vclap::kEntrySymbol) != nullptr;
    const bool vst2 = library->findEntry() != nullptr;
    if (clap && (!vst2 || path.ends_with(".clap"))) {
        return std::make_unique<ClapPlugin>(path, std::move(library), trace);
    }
    if (vst2) return std::make_unique<Vst2Plugin>(std::make_unique<PluginInstance>(path, std::move(library), trace));
    throw HostError(path + " exports neither clap_entry nor VSTPluginMain or main, so it is not a plug-in.");
}
