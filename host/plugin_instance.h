// One loaded plug-in: the library, the effect record its entry returned and
// typed wrappers around the dispatcher. Construction is the version-checked
// load followed by effOpen; destruction suspends if needed, sends effClose
// and unloads.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "host/host_callback.h"
#include "host/plugin_library.h"
#include "vst2/vst_abi.h"

class PluginInstance {
public:
    // Throws HostError for a missing or unreadable file, a file that does not
    // load, a library without entry, an entry that returns null and a record
    // without the effect magic. With a trace stream every host call the
    // plug-in makes, from its entry on, is written there.
    explicit PluginInstance(const std::string& path, std::FILE* trace = nullptr);
    // The same for a library already loaded (to see which format it is).
    PluginInstance(const std::string& path, std::unique_ptr<PluginLibrary> library, std::FILE* trace = nullptr);
    ~PluginInstance();

    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    const std::string& path() const { return path_; }
    AEffect& effect() { return *effect_; }
    const AEffect& effect() const { return *effect_; }
    HostContext& host() { return host_; }

    // effSetSampleRate and effSetBlockSize; the callback answers the same values.
    void configure(double sampleRate, int32_t blockSize);
    void resume();   // effMainsChanged 1
    void suspend();  // effMainsChanged 0
    bool resumed() const { return resumed_; }

    // Texts; each empty when the plug-in does not answer.
    std::string effectName();
    std::string vendorString();
    std::string productString();
    VstIntPtr vendorVersion();
    VstIntPtr vstVersion();
    std::string parameterName(int32_t index);
    std::string parameterDisplay(int32_t index);
    std::string parameterLabel(int32_t index);

    float parameter(int32_t index);
    void setParameter(int32_t index, float value);

    int32_t currentProgram();
    void selectProgram(int32_t program);
    std::string currentProgramName();
    // Null when the plug-in does not support the indexed query.
    std::optional<std::string> programName(int32_t program);

    bool hasEditor() const { return (effect_->flags & effFlagsHasEditor) != 0; }
    // The editor's size as the plug-in reports it, or nothing for no answer,
    // a null rectangle or an empty one.
    std::optional<ERect> editorRect();
    bool openEditor(void* parentWindow);
    void idleEditor();
    void closeEditor();

    // A display name for messages and tables: the effect name, or the file name.
    std::string displayName();

    VstIntPtr dispatch(int32_t opcode, int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);

private:
    std::string text(int32_t opcode, int32_t index = 0);

    std::string path_;
    HostContext host_;
    std::unique_ptr<PluginLibrary> library_;
    AEffect* effect_ = nullptr;
    bool resumed_ = false;
    bool editorOpen_ = false;
};
