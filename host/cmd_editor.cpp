// screenshot and gui: both show the plug-in's editor in a window of ours.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/commands.h"
#include "host/editor_window.h"
#include "host/loaded_plugin.h"
#include "host/plugin_settings.h"
#include "host/png_writer.h"

namespace {

constexpr double kRate = 44100.0;
// Long enough for an editor to draw after it is shown.
constexpr double kSettleSeconds = 0.3;

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

}  // namespace

int runScreenshot(const Invocation& invocation) {
    // Checked first: without a display there is no point loading anything.
    EditorWindow::requireDisplay();
    const auto loaded = loadPlugin(invocation.plugins.front());
    LoadedPlugin& plugin = *loaded;
    plugin.configure(kRate, invocation.blockSize);
    applySettings(plugin, invocation);
    offerEditorScale(invocation, plugin);
    plugin.start();
    WindowImage image;
    {
        EditorWindow window(plugin, "velmora-host: " + plugin.displayName());
        window.idleFor(kSettleSeconds);
        image = window.capture();
    }
    writePng(image, invocation.outputPath);
    std::printf("Saved the %d x %d editor of %s as %s.\n", image.width, image.height, plugin.displayName().c_str(),
                invocation.outputPath.c_str());
    return 0;
}

int runGui(const Invocation& invocation) {
    EditorWindow::requireDisplay();
    const auto loaded = loadPlugin(invocation.plugins.front(), invocation.trace ? stdout : nullptr);
    LoadedPlugin& plugin = *loaded;
    plugin.configure(kRate, invocation.blockSize);
    applySettings(plugin, invocation);
    offerEditorScale(invocation, plugin);
    plugin.start();
    EditorWindow window(plugin, "velmora-host: " + plugin.displayName());
    window.runUntilClosed(invocation.quitAfter);
    return 0;
}
