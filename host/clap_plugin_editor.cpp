// The CLAP plug-in's editor and the main-thread services its window loop
// runs: on_main_thread, flushes, timers and file descriptors.
#include <cstdint>
#include <cstring>

#include "host/clap_plugin.h"

namespace {

#if defined(_WIN32)
constexpr bool kX11 = false;
#else
constexpr bool kX11 = true;
#endif
constexpr const char* kApi = kX11 ? vclap::window_api::kX11 : vclap::window_api::kWin32;

vclap::Window parentOf(void* parentWindow) {
    vclap::Window window{};
    window.api = kApi;
    if (kX11) {
        window.x11 = static_cast<unsigned long>(reinterpret_cast<uintptr_t>(parentWindow));
    } else {
        window.win32 = parentWindow;
    }
    return window;
}

}  // namespace

bool ClapPlugin::hasEditor() { return ext_.gui != nullptr && ext_.gui->is_api_supported(plugin_, kApi, false); }

bool ClapPlugin::createGui() {
    if (guiCreated_) return true;
    if (!hasEditor()) return false;
    // Values set before the editor opens are the plug-in's before it draws.
    flushIfDue();
    if (!ext_.gui->create(plugin_, kApi, false)) return false;
    guiCreated_ = true;
    // Only a scale asked for: otherwise the plug-in finds the desktop's.
    if (editorScale_ > 0.0) ext_.gui->set_scale(plugin_, editorScale_);
    // Asked in the usual order; the host's window keeps its first size anyway.
    ext_.gui->can_resize(plugin_);
    return true;
}

std::optional<EditorSize> ClapPlugin::editorSize() {
    // CLAP tells the size only once the editor exists, so asking creates it.
    if (!createGui()) return std::nullopt;
    uint32_t width = 0, height = 0;
    if (!ext_.gui->get_size(plugin_, &width, &height) || width == 0 || height == 0) return std::nullopt;
    if (width > INT32_MAX || height > INT32_MAX) return std::nullopt;
    return EditorSize{static_cast<int>(width), static_cast<int>(height)};
}

bool ClapPlugin::openEditor(void* parentWindow) {
    if (!createGui()) return false;
    const vclap::Window window = parentOf(parentWindow);
    if (!ext_.gui->set_parent(plugin_, &window)) {
        closeEditor();
        return false;
    }
    ext_.gui->show(plugin_);
    return true;
}

void ClapPlugin::idleEditor() { serviceMainThread(); }

void ClapPlugin::closeEditor() {
    if (!guiCreated_) return;
    ext_.gui->destroy(plugin_);
    guiCreated_ = false;
}

void ClapPlugin::serviceMainThread() {
    if (host_.takeCallbackRequest() && plugin_->on_main_thread != nullptr) plugin_->on_main_thread(plugin_);
    if (host_.takeGuiDestroyRequest()) closeEditor();
    host_.serviceTimers(plugin_, ext_.timers);
    host_.serviceFds(plugin_, ext_.fds);
    // Last, so edits made in a timer or fd callback reach the host this tick.
    flushIfDue();
}

void ClapPlugin::flushIfDue() {
    const bool requested = host_.takeFlushRequest();
    // While processing, process itself carries the events both ways.
    if ((!requested && pending_.empty()) || processing_ || ext_.params == nullptr) return;
    if (active_) {
        ClapHost::AudioScope audio;
        ext_.params->flush(plugin_, pending_.list(), produced_.list());
    } else {
        ext_.params->flush(plugin_, pending_.list(), produced_.list());
    }
    pending_.clear();
    traceProduced();
    produced_.clear();
}

// The plug-in's edits in the lines a VST 2 trace uses, with the parameter's
// index and its value normalised, so one reader serves both formats.
void ClapPlugin::traceProduced() {
    for (size_t i = 0; i < produced_.size(); ++i) {
        const vclap::EventHeader& header = produced_.at(i);
        if (header.space_id != vclap::kCoreEventSpace) continue;
        if (header.type == vclap::event::kParamValue && header.size >= sizeof(vclap::ParamValueEvent)) {
            vclap::ParamValueEvent event;
            std::memcpy(&event, &header, sizeof event);
            producedValues_.push_back(event);
            const int32_t index = indexOf(event.param_id);
            const vclap::ParamInfo* info = index >= 0 ? &params_[static_cast<size_t>(index)] : nullptr;
            const double span = info != nullptr ? info->max_value - info->min_value : 0.0;
            const double normalised = span > 0.0 ? (event.value - info->min_value) / span : event.value;
            host_.trace("automate %d %.3f", index, normalised);
        } else if ((header.type == vclap::event::kParamGestureBegin || header.type == vclap::event::kParamGestureEnd) &&
                   header.size >= sizeof(vclap::ParamGestureEvent)) {
            vclap::ParamGestureEvent event;
            std::memcpy(&event, &header, sizeof event);
            host_.trace("%s %d", header.type == vclap::event::kParamGestureBegin ? "beginEdit" : "endEdit",
                        indexOf(event.param_id));
        }
    }
}
