#include "clap/clap_gui.h"

#include <cstring>

namespace {

// Often enough that a knob follows automation smoothly; hosts may lengthen it.
constexpr uint32_t kIdlePeriodMs = 25;

#if defined(_WIN32)
constexpr const char* kApi = vclap::window_api::kWin32;
#else
constexpr const char* kApi = vclap::window_api::kX11;
#endif

template <typename Extension>
const Extension* hostExtension(const vclap::Host* host, const char* id) {
    if (host == nullptr || host->get_extension == nullptr) return nullptr;
    return static_cast<const Extension*>(host->get_extension(host, id));
}

void* parentHandle(const vclap::Window& window) {
#if defined(_WIN32)
    return window.win32;
#else
    return reinterpret_cast<void*>(static_cast<uintptr_t>(window.x11));
#endif
}

// Without a window of its own (a bad parent, no display) the X11 editor has
// no connection either; a Win32 window is made or the open fails.
bool windowMade(const Editor& editor) {
#if defined(_WIN32)
    (void)editor;
    return true;
#else
    return editor.eventDescriptor() >= 0;
#endif
}

}  // namespace

const char* ClapGui::api() { return kApi; }

bool ClapGui::supports(const char* api, bool floating) {
    return !floating && api != nullptr && std::strcmp(api, kApi) == 0;
}

void ClapGui::connect(const vclap::Host* newHost) {
    host = newHost;
    timers = hostExtension<vclap::HostTimerSupport>(host, vclap::ext::kTimerSupport);
    if (timers != nullptr && (timers->register_timer == nullptr || timers->unregister_timer == nullptr))
        timers = nullptr;
    fds = hostExtension<vclap::HostPosixFdSupport>(host, vclap::ext::kPosixFdSupport);
    if (fds != nullptr && (fds->register_fd == nullptr || fds->unregister_fd == nullptr)) fds = nullptr;
    hostGui = hostExtension<vclap::HostGui>(host, vclap::ext::kGui);
    if (hostGui != nullptr && hostGui->request_resize == nullptr) hostGui = nullptr;
}

bool ClapGui::create(const char* requestedApi, bool floating) {
    if (created || editor == nullptr || !supports(requestedApi, floating)) return false;
#if !defined(_WIN32)
    // An X11 editor's events are handled only when the host calls it back.
    if (timers == nullptr) return false;
#endif
    created = true;
    return true;
}

bool ClapGui::size(uint32_t& width, uint32_t& height) const {
    if (!created) return false;
    const EditorSize editorSize = editor->size();
    width = static_cast<uint32_t>(editorSize.width);
    height = static_cast<uint32_t>(editorSize.height);
    return true;
}

bool ClapGui::setScale(double factor) {
    if (!created || !(factor > 0.0)) return false;
    const EditorSize before = editor->size();
    if (open) stopServices();  // the reopened window has a connection of its own
    editor->setScale(factor);
    const EditorSize after = editor->size();
    if (open) {
        if (!windowMade(*editor)) {
            open = false;
            return true;
        }
        startServices();
        if ((after.width != before.width || after.height != before.height) && hostGui != nullptr)
            hostGui->request_resize(host, static_cast<uint32_t>(after.width), static_cast<uint32_t>(after.height));
    }
    return true;
}

bool ClapGui::setParent(const vclap::Window* window) {
    if (!created || open || window == nullptr || window->api == nullptr || std::strcmp(window->api, kApi) != 0)
        return false;
    if (editor->open(parentHandle(*window)) != 1 || !windowMade(*editor)) {
        editor->close();
        return false;
    }
    open = true;
    startServices();
    return true;
}

void ClapGui::startServices() {
    if (timers != nullptr && !timers->register_timer(host, kIdlePeriodMs, &timer)) timer = vclap::kInvalidId;
    // Xlib may already hold events read from the socket, so the timer stays
    // as a backstop even when the descriptor is watched.
    const int fd = editor->eventDescriptor();
    if (fds != nullptr && fd >= 0 && fds->register_fd(host, fd, vclap::posix_fd::kRead)) watchedFd = fd;
}

void ClapGui::stopServices() {
    if (timer != vclap::kInvalidId && timers != nullptr) timers->unregister_timer(host, timer);
    timer = vclap::kInvalidId;
    // Before the editor closes the connection the descriptor belongs to.
    if (watchedFd >= 0 && fds != nullptr) fds->unregister_fd(host, watchedFd);
    watchedFd = -1;
}

void ClapGui::destroy() {
    stopServices();
    if (open) editor->close();
    open = false;
    created = false;
}

void ClapGui::idle() {
    if (open) editor->idle();
}

void ClapGui::onTimer(vclap::Id id) {
    if (id == timer) idle();
}

void ClapGui::onFd(int fd) {
    if (fd == watchedFd) idle();
}
