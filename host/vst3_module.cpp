#include "host/vst3_module.h"

#include <filesystem>

#include "host/errors.h"
#include "host/vst3_query.h"
#include "host/vst3_text.h"

namespace {

namespace fs = std::filesystem;

// The folder inside Contents/ that holds this build's binary, and the
// binary's extension.
#if defined(_WIN32) && (defined(__x86_64__) || defined(_M_X64))
constexpr const char* kArchitectureFolder = "x86_64-win";
constexpr const char* kBinaryExtension = ".vst3";
#elif defined(_WIN32)
constexpr const char* kArchitectureFolder = "x86-win";
constexpr const char* kBinaryExtension = ".vst3";
#elif defined(__x86_64__)
constexpr const char* kArchitectureFolder = "x86_64-linux";
constexpr const char* kBinaryExtension = ".so";
#elif defined(__aarch64__)
constexpr const char* kArchitectureFolder = "aarch64-linux";
constexpr const char* kBinaryExtension = ".so";
#else
constexpr const char* kArchitectureFolder = "i386-linux";
constexpr const char* kBinaryExtension = ".so";
#endif

template <typename Function>
Function lookUp(const PluginLibrary& library, const char* name) {
    // The loader hands back an object pointer; both systems guarantee it
    // converts to the function's type.
    return reinterpret_cast<Function>(library.symbol(name));
}

}  // namespace

std::string vst3BinaryPath(const std::string& path) {
    std::error_code error;
    if (!fs::is_directory(path, error)) return path;
    fs::path bundle = fs::path(path).lexically_normal();
    if (bundle.filename().empty()) bundle = bundle.parent_path();  // a trailing separator
    const fs::path binary =
        bundle / "Contents" / kArchitectureFolder / (bundle.stem().string() + kBinaryExtension);
    if (!fs::exists(binary, error)) {
        throw HostError("The folder " + path + " is no VST 3 bundle for this machine: it holds no " +
                        binary.lexically_relative(bundle.parent_path()).string() + ".");
    }
    return binary.string();
}

Vst3Module::Vst3Module(const std::string& path, std::unique_ptr<PluginLibrary> library)
    : path_(path), library_(std::move(library)) {
    const auto getFactory = lookUp<vvst3::GetPluginFactoryFunction>(*library_, vvst3::kGetPluginFactorySymbol);
    if (getFactory == nullptr) throw HostError(path_ + " does not export GetPluginFactory, so it is no VST 3 module.");
    enter();
    factory_ = getFactory();
    if (factory_ == nullptr) {
        leave();
        throw HostError(path_ + " gave no plug-in factory.");
    }
    queryFactories();
}

Vst3Module::~Vst3Module() { leave(); }

void Vst3Module::leave() {
    if (factory3_ != nullptr) factory3_->release();
    if (factory2_ != nullptr) factory2_->release();
    if (factory_ != nullptr) factory_->release();
    factory_ = nullptr;
    factory2_ = nullptr;
    factory3_ = nullptr;
    if (!entered_) return;
    entered_ = false;
#if defined(_WIN32)
    if (const auto exit = lookUp<vvst3::ExitDllFunction>(*library_, vvst3::kExitDllSymbol)) exit();
#else
    if (const auto exit = lookUp<vvst3::ModuleExitFunction>(*library_, vvst3::kModuleExitSymbol)) exit();
#endif
}

// Linux modules must export ModuleEntry and get the loader's handle; on
// Windows InitDll is optional.
void Vst3Module::enter() {
#if defined(_WIN32)
    const auto init = lookUp<vvst3::InitDllFunction>(*library_, vvst3::kInitDllSymbol);
    if (init == nullptr) return;
    if (!init()) throw HostError(path_ + " refused to initialise (InitDll returned false).");
#else
    const auto entry = lookUp<vvst3::ModuleEntryFunction>(*library_, vvst3::kModuleEntrySymbol);
    if (entry == nullptr) throw HostError(path_ + " does not export ModuleEntry, which every Linux VST 3 module must.");
    if (!entry(library_->nativeHandle())) throw HostError(path_ + " refused to initialise (ModuleEntry returned false).");
#endif
    entered_ = true;
}

void Vst3Module::queryFactories() {
    factory2_ = queryAs<vvst3::IPluginFactory2>(factory_);
    factory3_ = queryAs<vvst3::IPluginFactory3>(factory_);
}

vvst3::PFactoryInfo Vst3Module::factoryInfo() {
    vvst3::PFactoryInfo info{};
    if (factory_->getFactoryInfo(&info) != vvst3::kResultOk) info = {};
    return info;
}

Vst3Module::AudioClass Vst3Module::findAudioClass() {
    const int32_t count = factory_->countClasses();
    for (int32_t i = 0; i < count; ++i) {
        AudioClass found;
        if (factory_->getClassInfo(i, &found.info) != vvst3::kResultOk) continue;
        if (textOfField(found.info.category, sizeof found.info.category) != vvst3::kAudioEffectClass) continue;
        vvst3::PClassInfo2 info2{};
        if (factory2_ != nullptr && factory2_->getClassInfo2(i, &info2) == vvst3::kResultOk) found.info2 = info2;
        return found;
    }
    throw HostError(path_ + " offers no class of the category \"" + std::string(vvst3::kAudioEffectClass) +
                    "\", so it holds no audio effect.");
}
