// A loaded plug-in shared by the window's thread and an audio thread of the
// host's own (--play): each call takes the one lock, so the two take turns.
// velmora-host's format hosts are written for one thread; this keeps them
// so, at the price of the sound pausing while the editor holds a call (a
// control tracking the mouse).
#pragma once

#include <mutex>

#include "host/loaded_plugin.h"

class TurnTakingPlugin final : public LoadedPlugin {
    template <typename Call>
    auto turn(Call&& call) {
        const std::lock_guard<std::mutex> hold(lock);
        return call();
    }

    LoadedPlugin& plugin;
    std::mutex lock;

public:
    explicit TurnTakingPlugin(LoadedPlugin& plugin) : plugin(plugin) {}

    const std::string& path() const override { return plugin.path(); }
    std::string displayName() override { return turn([&] { return plugin.displayName(); }); }
    std::vector<InfoField> identity() override { return turn([&] { return plugin.identity(); }); }
    std::optional<ProgramListing> programs() override { return turn([&] { return plugin.programs(); }); }
    int32_t programCount() override { return turn([&] { return plugin.programCount(); }); }
    void selectProgram(int32_t program) override { turn([&] { plugin.selectProgram(program); }); }
    std::vector<PresetListing> presets() override { return turn([&] { return plugin.presets(); }); }
    void loadPreset(size_t index) override { turn([&] { plugin.loadPreset(index); }); }
    int32_t parameterCount() override { return turn([&] { return plugin.parameterCount(); }); }
    std::string parameterName(int32_t i) override { return turn([&] { return plugin.parameterName(i); }); }
    std::string parameterDisplay(int32_t i) override { return turn([&] { return plugin.parameterDisplay(i); }); }
    std::string parameterLabel(int32_t i) override { return turn([&] { return plugin.parameterLabel(i); }); }
    float parameter(int32_t i) override { return turn([&] { return plugin.parameter(i); }); }
    void setParameter(int32_t i, float value) override { turn([&] { plugin.setParameter(i, value); }); }
    std::optional<float> parameterFromText(int32_t i, const std::string& text) override {
        return turn([&] { return plugin.parameterFromText(i, text); });
    }
    void configure(double rate, int32_t maxFrames) override { turn([&] { plugin.configure(rate, maxFrames); }); }
    void prepareAudio() override { turn([&] { plugin.prepareAudio(); }); }
    void start() override { turn([&] { plugin.start(); }); }
    void stop() override { turn([&] { plugin.stop(); }); }
    void process(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int32_t frames) override {
        turn([&] { plugin.process(inLeft, inRight, outLeft, outRight, frames); });
    }
    int32_t latency() override { return turn([&] { return plugin.latency(); }); }
    bool hasEditor() override { return turn([&] { return plugin.hasEditor(); }); }
    std::optional<EditorSize> editorSize() override { return turn([&] { return plugin.editorSize(); }); }
    bool openEditor(void* parent) override { return turn([&] { return plugin.openEditor(parent); }); }
    void setEditorScale(double factor) override { turn([&] { plugin.setEditorScale(factor); }); }
    void setEditorResizer(EditorResizer resizer) override { turn([&] { plugin.setEditorResizer(resizer); }); }
    void idleEditor() override { turn([&] { plugin.idleEditor(); }); }
    void closeEditor() override { turn([&] { plugin.closeEditor(); }); }

};
