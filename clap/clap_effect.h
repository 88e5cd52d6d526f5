// One CLAP instance of Velmora: the format-free HostedEffect behind the
// plug-in struct a host holds. It turns the host's parameter events into the
// effect's setter at their frame, runs the audio path on the frames between
// them, and carries the editor's edits and the effect's reports back to the
// host as events. The extensions
// (clap_*_extension.cpp) reach it through ClapEffect::of().
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "clap/clap_extensions.h"
#include "clap/clap_gui.h"
#include "core/editor.h"
#include "core/factory_presets.h"
#include "core/gui_edit_queue.h"
#include "core/host_parameters.h"
#include "core/hosted_effect.h"
#include "core/parameter_link.h"
#include "core/parameter_listener.h"

class ClapEffect final : private ParameterListener, private ParameterLink {
public:
    // Calls nothing on the host (it may not be called yet). Null when out of
    // memory.
    static ClapEffect* create(const vclap::Host* host);
    // The instance behind a plug-in pointer a host passes; null for null.
    static ClapEffect* of(const vclap::Plugin* plugin);
    ~ClapEffect() override;
    ClapEffect(const ClapEffect&) = delete;
    ClapEffect& operator=(const ClapEffect&) = delete;

    const vclap::Plugin* plugin() const { return &clapPlugin; }

    // Main thread, in the order the format allows.
    bool init();
    bool activate(double sampleRate);
    void deactivate();
    // Audio thread.
    bool startProcessing();
    void stopProcessing();
    void reset();
    vclap::ProcessStatus process(const vclap::Process& block);

    // Parameters by id: false for an id that is no parameter.
    bool parameterValue(vclap::Id id, double& value) const;
    // Host events outside process: values applied at once, the editor's edits
    // handed over.
    void flush(const vclap::InputEvents* in, const vclap::OutputEvents* out);
    std::array<float, kHostParameterCount> allValues() const { return effect.allValues(); }
    // Every value at once, from a loaded state; the editor and the host are
    // told. NaN leaves a value as it is.
    void loadValues(const std::array<float, kHostParameterCount>& values);

    // Main thread: the preset's 19 values and Mix, Quality and Bypass left
    // as they are; the host rescans the values.
    void loadPreset(const FactoryPreset& preset);
    const vclap::Host* clapHost() const { return host; }

    ClapGui& gui() { return editorGui; }
    bool isActive() const { return effect.isActive(); }
    // The delay of the Quality in effect: fixed while active, as the format
    // asks (the setting asked for when inactive).
    uint32_t latencyFrames() const { return effect.latencyFrames(); }

private:
    explicit ClapEffect(const vclap::Host* host);
    // The plug-in struct whose calls reach this instance (clap_plugin_calls.cpp).
    static vclap::Plugin makeClapPlugin(ClapEffect* effect);
    static bool readValueEvent(const vclap::EventHeader* header, vclap::ParamValueEvent& event);
    void runAudio(const vclap::AudioBuffer& in, const vclap::AudioBuffer& out, uint32_t from, uint32_t to);
    void applyHostValue(const vclap::ParamValueEvent& event, const vclap::OutputEvents* out, uint32_t time);
    static void reportValue(const vclap::OutputEvents* out, vclap::Id id, double value, uint32_t time);
    void requestRestart();
    void deliverEdits(const vclap::OutputEvents* out);
    void queueEdit(GuiEdit::Kind kind, int32_t index, double value);

    // The core tells of every value it stored: the editor shows it.
    void parameterChanged(int32_t index, float value) override;
    // The editor's side of the link (UI thread).
    void beginEdit(int32_t index) override;
    void setValue(int32_t index, float value) override;
    void endEdit(int32_t index) override;
    float currentValue(int32_t index) override;

    vclap::Plugin clapPlugin;
    const vclap::Host* host;
    const vclap::HostParams* hostParams = nullptr;
    const vclap::HostLatency* hostLatency = nullptr;
    HostedEffect effect;
    std::unique_ptr<Editor> editor;
    ClapGui editorGui;
    GuiEditQueue edits;
    unsigned denormalBits;
    bool initialised = false;
    // Read by the UI thread to decide whether the host needs a flush request.
    std::atomic<bool> processing{false};
};
