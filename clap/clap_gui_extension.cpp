// The GUI extension and the host's callbacks that keep the editor running
// (timer and descriptor), handed to the instance's ClapGui.
#include "clap/clap_effect.h"
#include "core/host_entry_guard.h"
#include "clap/clap_offered_extensions.h"

namespace {

ClapGui* guiOf(const vclap::Plugin* plugin) {
    ClapEffect* effect = ClapEffect::of(plugin);
    return effect != nullptr ? &effect->gui() : nullptr;
}

bool VCLAP_CALL isApiSupported(const vclap::Plugin*, const char* api, bool floating) {
    return ClapGui::supports(api, floating);
}

bool VCLAP_CALL preferredApi(const vclap::Plugin*, const char** api, bool* floating) {
    if (api == nullptr || floating == nullptr) return false;
    *api = ClapGui::api();
    *floating = false;
    return true;
}

bool VCLAP_CALL create(const vclap::Plugin* plugin, const char* api, bool floating) {
    return guardedHostEntry(false, [&] {
        ClapGui* gui = guiOf(plugin);
        return gui != nullptr && gui->create(api, floating);
    });
}

void VCLAP_CALL destroy(const vclap::Plugin* plugin) {
    guardedHostEntry([&] {
        if (ClapGui* gui = guiOf(plugin)) gui->destroy();
    });
}

// Sizes are device pixels; the editor has fixed steps and takes the nearest.
bool VCLAP_CALL setScale(const vclap::Plugin* plugin, double factor) {
    return guardedHostEntry(false, [&] {
        ClapGui* gui = guiOf(plugin);
        return gui != nullptr && gui->setScale(factor);
    });
}

bool VCLAP_CALL size(const vclap::Plugin* plugin, uint32_t* width, uint32_t* height) {
    return guardedHostEntry(false, [&] {
        ClapGui* gui = guiOf(plugin);
        return gui != nullptr && width != nullptr && height != nullptr && gui->size(*width, *height);
    });
}

bool VCLAP_CALL canResize(const vclap::Plugin*) { return false; }
bool VCLAP_CALL resizeHints(const vclap::Plugin*, vclap::GuiResizeHints*) { return false; }
bool VCLAP_CALL adjustSize(const vclap::Plugin*, uint32_t*, uint32_t*) { return false; }

// Only the size it has.
bool VCLAP_CALL setSize(const vclap::Plugin* plugin, uint32_t width, uint32_t height) {
    uint32_t ownWidth = 0, ownHeight = 0;
    return size(plugin, &ownWidth, &ownHeight) && width == ownWidth && height == ownHeight;
}

bool VCLAP_CALL setParent(const vclap::Plugin* plugin, const vclap::Window* window) {
    return guardedHostEntry(false, [&] {
        ClapGui* gui = guiOf(plugin);
        return gui != nullptr && gui->setParent(window);
    });
}

bool VCLAP_CALL setTransient(const vclap::Plugin*, const vclap::Window*) { return false; }
void VCLAP_CALL suggestTitle(const vclap::Plugin*, const char*) {}
// The embedded window is shown with its parent.
bool VCLAP_CALL show(const vclap::Plugin*) { return true; }
bool VCLAP_CALL hide(const vclap::Plugin*) { return true; }

void VCLAP_CALL onTimer(const vclap::Plugin* plugin, vclap::Id id) {
    guardedHostEntry([&] {
        if (ClapGui* gui = guiOf(plugin)) gui->onTimer(id);
    });
}

void VCLAP_CALL onFd(const vclap::Plugin* plugin, int fd, uint32_t) {
    guardedHostEntry([&] {
        if (ClapGui* gui = guiOf(plugin)) gui->onFd(fd);
    });
}

}  // namespace

const vclap::PluginGui kClapGui = {isApiSupported, preferredApi, create,    destroy,      setScale,
                                   size,           canResize,    resizeHints, adjustSize, setSize,
                                   setParent,      setTransient, suggestTitle, show,      hide};
const vclap::PluginTimerSupport kClapTimerSupport = {onTimer};
const vclap::PluginPosixFdSupport kClapPosixFdSupport = {onFd};
