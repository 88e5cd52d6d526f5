// A loaded VST 3 module: the binary found (inside a bundle folder, or named
// directly), its entry function called, and its factory. Destroying it
// releases the factory, calls the module's exit function and unloads it.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "host/plugin_library.h"
#include "vst3/vst3_abi.h"

// The binary a path names: for a bundle folder NAME.vst3 the file for this
// machine inside it (Contents/x86_64-linux/NAME.so, Contents/x86_64-win/
// NAME.vst3, ...); any other path unchanged. Throws HostError when a bundle
// holds no binary for this machine.
std::string vst3BinaryPath(const std::string& path);

class Vst3Module {
public:
    // Takes the loaded binary. Throws HostError with one sentence when its
    // entry function is missing or refuses, or it gives no factory.
    Vst3Module(const std::string& path, std::unique_ptr<PluginLibrary> library);
    ~Vst3Module();
    Vst3Module(const Vst3Module&) = delete;
    Vst3Module& operator=(const Vst3Module&) = delete;

    vvst3::IPluginFactory& factory() { return *factory_; }
    // Null when the factory is older than these.
    vvst3::IPluginFactory2* factory2() { return factory2_; }
    vvst3::IPluginFactory3* factory3() { return factory3_; }

    // The first class in the "Audio Module Class" category, with its
    // extended description when the factory gives one. Throws HostError
    // when there is none.
    struct AudioClass {
        vvst3::PClassInfo info{};
        std::optional<vvst3::PClassInfo2> info2;
    };
    AudioClass findAudioClass();

    // Vendor, address and e-mail; empty fields when the factory tells none.
    vvst3::PFactoryInfo factoryInfo();

private:
    void enter();
    void leave();
    void queryFactories();

    std::string path_;
    std::unique_ptr<PluginLibrary> library_;
    bool entered_ = false;
    vvst3::IPluginFactory* factory_ = nullptr;
    vvst3::IPluginFactory2* factory2_ = nullptr;
    vvst3::IPluginFactory3* factory3_ = nullptr;
};
