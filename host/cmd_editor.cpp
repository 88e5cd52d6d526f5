// screenshot and gui: both show the plug-in's editor in a window of ours,
// optionally with a signal playing through the plug-in (--play).
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "host/commands.h"
#include "host/editor_window.h"
#include "host/loaded_plugin.h"
#include "host/plugin_settings.h"
#include "host/png_writer.h"
#include "host/realtime_player.h"
#include "host/turn_taking_plugin.h"

namespace {

constexpr double kRate = 44100.0;
// Long enough for an editor to draw after it is shown.
constexpr double kSettleSeconds = 0.3;
// With --play: long enough for an analyser to show the sound.
constexpr double kPlayingSeconds = 2.0;

// A VST 2 host cannot pass a scale: Velmora's VST 2 build reads this
// variable. CLAP and VST 3 plug-ins are told as well (set_scale, the
// view's content scale).
void offerEditorScale(const Invocation& invocation, LoadedPlugin& plugin) {
    if (!invocation.editorScale) return;
    static std::string setting;  // putenv keeps the pointer
    setting = "VELMORA_UI_SCALE=" + std::to_string(*invocation.editorScale);
    putenv(setting.data());
    plugin.setEditorScale(*invocation.editorScale);
}

// The plug-in set up as the command line asks, and with --play the signal
// and the thread that plays it (started before the editor opens, so the
// plug-in is processing from the start).
struct ShownPlugin {
    std::unique_ptr<LoadedPlugin> loaded;
    std::unique_ptr<TurnTakingPlugin> shared;
    std::unique_ptr<RealtimePlayer> player;

    LoadedPlugin& plugin() { return shared ? *shared : *loaded; }
};

ShownPlugin showPlugin(const Invocation& invocation, std::FILE* trace) {
    ShownPlugin shown;
    StereoSignal sound;
    if (!invocation.playPath.empty()) sound = loadPlaySignal(invocation.playPath, kRate);
    const double rate = invocation.playPath.empty() ? kRate : sound.sampleRate;
    shown.loaded = loadPlugin(invocation.plugins.front(), trace);
    LoadedPlugin& plugin = *shown.loaded;
    plugin.configure(rate, invocation.blockSize);
    applySettings(plugin, invocation);
    offerEditorScale(invocation, plugin);
    if (!invocation.playPath.empty()) plugin.prepareAudio();
    plugin.start();
    if (!invocation.playPath.empty()) {
        shown.shared = std::make_unique<TurnTakingPlugin>(plugin);
        shown.player = std::make_unique<RealtimePlayer>(*shown.shared, std::move(sound), rate, invocation.blockSize);
    }
    return shown;
}

}  // namespace

int runScreenshot(const Invocation& invocation) {
    // Checked first: without a display there is no point loading anything.
    EditorWindow::requireDisplay();
    ShownPlugin shown = showPlugin(invocation, nullptr);
    LoadedPlugin& plugin = shown.plugin();
    const double settle = invocation.playPath.empty() ? kSettleSeconds : invocation.after.value_or(kPlayingSeconds);
    WindowImage image;
    {
        EditorWindow window(plugin, "velmora-host: " + plugin.displayName());
        window.idleFor(settle);
        image = window.capture();
    }
    shown.player.reset();
    writePng(image, invocation.outputPath);
    std::printf("Saved the %d x %d editor of %s as %s.\n", image.width, image.height, plugin.displayName().c_str(),
                invocation.outputPath.c_str());
    return 0;
}

int runGui(const Invocation& invocation) {
    EditorWindow::requireDisplay();
    ShownPlugin shown = showPlugin(invocation, invocation.trace ? stdout : nullptr);
    LoadedPlugin& plugin = shown.plugin();
    {
        EditorWindow window(plugin, "velmora-host: " + plugin.displayName());
        window.runUntilClosed(invocation.quitAfter);
    }
    shown.player.reset();
    return 0;
}
