// The host a CLAP plug-in talks to: the host struct handed to
// create_plugin, the host-side extensions it may ask for, and the requests
// and registrations they record for the main thread to service.
//
// velmora-host drives each plug-in from one OS thread. It calls process,
// start/stop_processing and an active flush inside an AudioScope, and the
// thread check reports that role: the audio thread while inside one, the
// main thread otherwise, so a plug-in's own checks see the roles it expects.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "clap/clap_extensions.h"
#include "clap/clap_preset_abi.h"
#include "host/fd_watch.h"

class ClapHost {
public:
    // With a trace stream every call the plug-in makes is written there.
    explicit ClapHost(std::FILE* trace);
    ClapHost(const ClapHost&) = delete;
    ClapHost& operator=(const ClapHost&) = delete;

    const vclap::Host* host() const { return &host_; }

    // Marks the calling thread as the plug-in's audio thread while alive.
    class AudioScope {
    public:
        AudioScope();
        ~AudioScope();
        AudioScope(const AudioScope&) = delete;
        AudioScope& operator=(const AudioScope&) = delete;
    };

    // Requests made from any thread; each take* answers once per request.
    bool takeCallbackRequest() { return callbackRequested_.exchange(false, std::memory_order_relaxed); }
    bool takeFlushRequest() { return flushRequested_.exchange(false, std::memory_order_relaxed); }
    bool takeGuiDestroyRequest() { return guiDestroyRequested_.exchange(false, std::memory_order_relaxed); }
    int restartRequests() const { return restartRequests_.load(std::memory_order_relaxed); }
    bool takeRestartRequest() { return restartPending_.exchange(false, std::memory_order_relaxed); }

    // Main thread: calls on_timer for every timer that is due and on_fd for
    // every watched descriptor that is ready.
    void serviceTimers(const vclap::Plugin* plugin, const vclap::PluginTimerSupport* timers);
    void serviceFds(const vclap::Plugin* plugin, const vclap::PluginPosixFdSupport* fds);
    size_t timerCount() const { return timers_.size(); }
    size_t fdCount() const { return fds_.size(); }

    // What the plug-in last reported through preset-load's on_error.
    const std::string& presetError() const { return presetError_; }
    void clearPresetError() { presetError_.clear(); }

    // One trace line (printf format), when tracing.
    void trace(const char* format, ...) const;

private:
    struct Timer {
        vclap::Id id;
        std::chrono::milliseconds period;
        std::chrono::steady_clock::time_point due;
    };
    struct WatchedFd {
        int fd;
        uint32_t flags;
    };

    static ClapHost& of(const vclap::Host* host) { return *static_cast<ClapHost*>(host->host_data); }
    static const void* VCLAP_CALL getExtension(const vclap::Host* host, const char* id);

    static const vclap::HostThreadCheck kThreadCheck;
    static const vclap::HostLog kLog;
    static const vclap::HostParams kParams;
    static const vclap::HostLatency kLatency;
    static const vclap::HostGui kGui;
    static const vclap::HostState kState;
    static const vclap::HostTimerSupport kTimerSupport;
    static const vclap::HostPosixFdSupport kPosixFdSupport;
    static const vclap::HostPresetLoad kPresetLoad;

    vclap::Host host_;
    std::FILE* trace_;
    std::thread::id mainThread_;
    std::atomic<bool> callbackRequested_{false};
    std::atomic<bool> flushRequested_{false};
    std::atomic<bool> guiDestroyRequested_{false};
    std::atomic<int> restartRequests_{0};
    std::atomic<bool> restartPending_{false};
    std::vector<Timer> timers_;
    vclap::Id nextTimerId_ = 1;
    std::vector<WatchedFd> fds_;
    std::string presetError_;
};
