#include <filesystem>
#include <string>

#include "clap/clap_abi.h"
#include "host/clap_plugin.h"
#include "host/errors.h"
#include "host/loaded_plugin.h"
#include "host/vst2_plugin.h"
#include "host/vst3_module.h"
#include "host/vst3_plugin.h"
#include "vst3/vst3_abi.h"

std::unique_ptr<LoadedPlugin> loadPlugin(const std::string& path, std::FILE* trace) {
    std::error_code error;
    const bool bundle = std::filesystem::is_directory(path, error);
    if (bundle || path.ends_with(".vst3")) {
        auto library = openPluginLibrary(vst3BinaryPath(path));
        return std::make_unique<Vst3Plugin>(path, std::move(library), trace);
    }
    auto library = openPluginLibrary(path);
    const bool clap = library->symbol(vclap::kEntrySymbol) != nullptr;
    const bool vst2 = library->findEntry() != nullptr;
    if (clap && (!vst2 || path.ends_with(".clap"))) {
        return std::make_unique<ClapPlugin>(path, std::move(library), trace);
    }
    if (vst2) return std::make_unique<Vst2Plugin>(std::make_unique<PluginInstance>(path, std::move(library), trace));
    if (library->symbol(vvst3::kGetPluginFactorySymbol) != nullptr)
        return std::make_unique<Vst3Plugin>(path, std::move(library), trace);
    throw HostError(path + " exports neither clap_entry nor VSTPluginMain, main or GetPluginFactory, so it is not a plug-in.");
}
