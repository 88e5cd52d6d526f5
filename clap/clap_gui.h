// The editor inside a CLAP host's window: "x11" embedded with set_parent
// and idled from the host's timer (and its descriptor watch, where offered),
// or "win32" in the host's HWND. Fixed size (one per scale step), never
// floating. Main thread only.
#pragma once

#include <cstdint>

#include "clap/clap_extensions.h"
#include "core/editor.h"

class ClapGui {
public:
    // The window API of this build.
    static const char* api();
    static bool supports(const char* api, bool floating);

    // The host's timer and descriptor services, asked for in init (either may
    // be missing).
    void connect(const vclap::Host* host);
    // editor may be null (it could not be made): then no GUI is offered.
    void setEditor(Editor* editor) { this->editor = editor; }
    bool available() const { return editor != nullptr; }

    bool create(const char* api, bool floating);
    // Closes the window and stops the timer and the watch; safe at any time.
    void destroy();
    bool size(uint32_t& width, uint32_t& height) const;
    // The host's factor, snapped to the editor's steps; an open editor asks
    // the host to resize it when its size changes.
    bool setScale(double factor);
    bool setParent(const vclap::Window* window);
    void onTimer(vclap::Id id);
    void onFd(int fd);

private:
    void idle();
    void startServices();
    void stopServices();

    const vclap::Host* host = nullptr;
    const vclap::HostTimerSupport* timers = nullptr;
    const vclap::HostPosixFdSupport* fds = nullptr;
    const vclap::HostGui* hostGui = nullptr;
    Editor* editor = nullptr;
    bool created = false;
    bool open = false;
    vclap::Id timer = vclap::kInvalidId;
    int watchedFd = -1;
};
