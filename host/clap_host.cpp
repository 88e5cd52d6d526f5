#include "host/clap_host.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

#include "host/trace_line.h"

namespace {

using Clock = std::chrono::steady_clock;

// Readiness goes from the platform seam to the plug-in unchanged.
static_assert(fd_ready::kRead == vclap::posix_fd::kRead && fd_ready::kWrite == vclap::posix_fd::kWrite &&
              fd_ready::kError == vclap::posix_fd::kError);

thread_local bool inAudioRole = false;

const char* severityName(int32_t severity) {
    static constexpr const char* names[] = {"debug", "info",  "warning",         "error",
                                            "fatal", "host-misbehaving", "plugin-misbehaving"};
    return severity >= 0 && severity < 7 ? names[severity] : "unknown";
}

}  // namespace

ClapHost::AudioScope::AudioScope() { inAudioRole = true; }
ClapHost::AudioScope::~AudioScope() { inAudioRole = false; }

const vclap::HostThreadCheck ClapHost::kThreadCheck = {
    [](const vclap::Host* host) -> bool {
        return std::this_thread::get_id() == of(host).mainThread_ && !inAudioRole;
    },
    [](const vclap::Host*) -> bool { return inAudioRole; },
};

const vclap::HostLog ClapHost::kLog = {
    [](const vclap::Host* host, int32_t severity, const char* msg) {
        const char* text = msg != nullptr ? msg : "";
        of(host).trace("log %s %s", severityName(severity), text);
        // A plug-in that says the host broke a rule is worth a line even
        // without tracing: it is how a host fault shows up in a test.
        if (severity == vclap::log_severity::kHostMisbehaving || severity == vclap::log_severity::kFatal) {
            std::fprintf(stderr, "The plug-in reports (%s): %s\n", severityName(severity), text);
        }
    },
};

const vclap::HostParams ClapHost::kParams = {
    [](const vclap::Host* host, uint32_t flags) { of(host).trace("params_rescan %u", flags); },
    [](const vclap::Host* host, vclap::Id id, uint32_t flags) { of(host).trace("params_clear %u %u", id, flags); },
    [](const vclap::Host* host) {
        of(host).flushRequested_.store(true, std::memory_order_relaxed);
        of(host).trace("request_flush");
    },
};

const vclap::HostLatency ClapHost::kLatency = {
    [](const vclap::Host* host) { of(host).trace("latency_changed"); },
};

// The host's window keeps the editor's first size, so resizing is refused.
const vclap::HostGui ClapHost::kGui = {
    [](const vclap::Host* host) { of(host).trace("resize_hints_changed"); },
    [](const vclap::Host* host, uint32_t width, uint32_t height) -> bool {
        of(host).trace("request_resize %u %u", width, height);
        return false;
    },
    [](const vclap::Host* host) -> bool {
        of(host).trace("request_show");
        return true;
    },
    [](const vclap::Host* host) -> bool {
        of(host).trace("request_hide");
        return true;
    },
    [](const vclap::Host* host, bool wasDestroyed) {
        of(host).trace("gui_closed %d", wasDestroyed ? 1 : 0);
        if (wasDestroyed) of(host).guiDestroyRequested_.store(true, std::memory_order_relaxed);
    },
};

const vclap::HostState ClapHost::kState = {
    [](const vclap::Host* host) { of(host).trace("mark_dirty"); },
};

const vclap::HostTimerSupport ClapHost::kTimerSupport = {
    [](const vclap::Host* host, uint32_t periodMs, vclap::Id* timerId) -> bool {
        if (timerId == nullptr) return false;
        ClapHost& self = of(host);
        const auto period = std::chrono::milliseconds(std::max<uint32_t>(periodMs, 1));
        *timerId = self.nextTimerId_++;
        self.timers_.push_back({*timerId, period, Clock::now() + period});
        self.trace("register_timer %u", periodMs);
        return true;
    },
    [](const vclap::Host* host, vclap::Id timerId) -> bool {
        ClapHost& self = of(host);
        self.trace("unregister_timer");
        return std::erase_if(self.timers_, [timerId](const Timer& timer) { return timer.id == timerId; }) > 0;
    },
};

const vclap::HostPosixFdSupport ClapHost::kPosixFdSupport = {
    [](const vclap::Host* host, int fd, uint32_t flags) -> bool {
        ClapHost& self = of(host);
        self.trace("register_fd %u", flags);
        if (fd < 0 || std::any_of(self.fds_.begin(), self.fds_.end(), [fd](const WatchedFd& w) { return w.fd == fd; }))
            return false;
        self.fds_.push_back({fd, flags});
        return true;
    },
    [](const vclap::Host* host, int fd, uint32_t flags) -> bool {
        ClapHost& self = of(host);
        self.trace("modify_fd %u", flags);
        for (auto& watched : self.fds_) {
            if (watched.fd != fd) continue;
            watched.flags = flags;
            return true;
        }
        return false;
    },
    [](const vclap::Host* host, int fd) -> bool {
        ClapHost& self = of(host);
        self.trace("unregister_fd");
        return std::erase_if(self.fds_, [fd](const WatchedFd& w) { return w.fd == fd; }) > 0;
    },
};

const vclap::HostPresetLoad ClapHost::kPresetLoad = {
    [](const vclap::Host* host, uint32_t, const char*, const char* key, int32_t, const char* msg) {
        of(host).presetError_ = msg != nullptr ? msg : "";
        of(host).trace("preset_error %s %s", key != nullptr ? key : "(null)", of(host).presetError_.c_str());
    },
    [](const vclap::Host* host, uint32_t, const char*, const char* key) {
        of(host).trace("preset_loaded %s", key != nullptr ? key : "(null)");
    },
};

ClapHost::ClapHost(std::FILE* trace) : trace_(trace), mainThread_(std::this_thread::get_id()) {
    host_.clap_version = vclap::kVersion;
    host_.host_data = this;
    host_.name = "velmora-host";
    host_.vendor = "Quorvane";
    host_.url = "";
    host_.version = "1.0.0";
    host_.get_extension = getExtension;
    host_.request_restart = [](const vclap::Host* host) {
        of(host).restartRequests_.fetch_add(1, std::memory_order_relaxed);
        of(host).restartPending_.store(true, std::memory_order_relaxed);
        of(host).trace("request_restart");
    };
    host_.request_process = [](const vclap::Host* host) { of(host).trace("request_process"); };
    host_.request_callback = [](const vclap::Host* host) {
        of(host).callbackRequested_.store(true, std::memory_order_relaxed);
        of(host).trace("request_callback");
    };
}

const void* VCLAP_CALL ClapHost::getExtension(const vclap::Host*, const char* id) {
    if (id == nullptr) return nullptr;
    const struct {
        const char* id;
        const void* extension;
    } offered[] = {
        {vclap::ext::kThreadCheck, &kThreadCheck}, {vclap::ext::kLog, &kLog},
        {vclap::ext::kParams, &kParams},           {vclap::ext::kLatency, &kLatency},
        {vclap::ext::kGui, &kGui},                 {vclap::ext::kState, &kState},
        {vclap::ext::kTimerSupport, &kTimerSupport},
        {vclap::ext::kPresetLoad, &kPresetLoad},   {vclap::ext::kPresetLoadCompat, &kPresetLoad},
        {vclap::ext::kPosixFdSupport, fdWatchingAvailable() ? &kPosixFdSupport : nullptr},
    };
    for (const auto& extension : offered) {
        if (std::strcmp(id, extension.id) == 0) return extension.extension;
    }
    return nullptr;
}

void ClapHost::serviceTimers(const vclap::Plugin* plugin, const vclap::PluginTimerSupport* timers) {
    if (timers == nullptr || timers->on_timer == nullptr || timers_.empty()) return;
    const auto now = Clock::now();
    std::vector<vclap::Id> due;
    for (auto& timer : timers_) {
        if (timer.due > now) continue;
        due.push_back(timer.id);
        timer.due = now + timer.period;
    }
    // The plug-in may unregister timers from inside on_timer, so the list is
    // not walked while it runs.
    for (const vclap::Id id : due) {
        if (std::any_of(timers_.begin(), timers_.end(), [id](const Timer& t) { return t.id == id; }))
            timers->on_timer(plugin, id);
    }
}

void ClapHost::serviceFds(const vclap::Plugin* plugin, const vclap::PluginPosixFdSupport* fds) {
    if (fds == nullptr || fds->on_fd == nullptr || fds_.empty()) return;
    std::vector<int> watched;
    std::vector<uint32_t> interest;
    for (const auto& entry : fds_) {
        watched.push_back(entry.fd);
        interest.push_back(entry.flags);
    }
    const std::vector<uint32_t> ready = readyFds(watched, interest);
    for (size_t i = 0; i < watched.size(); ++i) {
        const int fd = watched[i];
        const bool stillWatched = std::any_of(fds_.begin(), fds_.end(), [fd](const WatchedFd& w) { return w.fd == fd; });
        if (ready[i] != 0 && stillWatched) fds->on_fd(plugin, fd, ready[i]);
    }
}

void ClapHost::trace(const char* format, ...) const {
    va_list args;
    va_start(args, format);
    writeTraceLine(trace_, format, args);
    va_end(args);
}
