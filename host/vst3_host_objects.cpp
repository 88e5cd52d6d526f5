#include "host/vst3_host_objects.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <limits>

#include "host/fd_watch.h"
#include "host/trace_line.h"
#include "host/vst3_text.h"

namespace {

using Clock = std::chrono::steady_clock;

// Nobody needs a timer faster than the window loop's beat, and a zero
// period would make every tick call it.
constexpr std::chrono::milliseconds kShortestTimer{1};

}  // namespace

// --- host context --------------------------------------------------------------

vvst3::tresult Vst3HostContext::getName(vvst3::String128 name) {
    if (name == nullptr) return vvst3::kInvalidArgument;
    copyToUtf16("velmora-host", name, 128);
    return vvst3::kResultOk;
}

// Messages and attribute lists are for plug-ins whose processor and
// controller are separate objects that talk; this host connects them directly
// and has nothing of its own to make.
vvst3::tresult Vst3HostContext::createInstance(vvst3::TUID, vvst3::TUID, void** obj) {
    if (obj != nullptr) *obj = nullptr;
    return vvst3::kNotImplemented;
}

void Vst3HostContext::trace(const char* format, ...) const {
    va_list args;
    va_start(args, format);
    writeTraceLine(trace_, format, args);
    va_end(args);
}

#if !defined(_WIN32)

vvst3::tresult Vst3HostContext::registerEventHandler(vvst3::IEventHandler* handler, vvst3::FileDescriptor fd) {
    trace("registerEventHandler %d", fd);
    if (handler == nullptr || fd < 0) return vvst3::kInvalidArgument;
    handler->addRef();
    handlers_.push_back({handler, fd});
    return vvst3::kResultOk;
}

vvst3::tresult Vst3HostContext::unregisterEventHandler(vvst3::IEventHandler* handler) {
    trace("unregisterEventHandler");
    std::vector<vvst3::IEventHandler*> dropped;
    std::erase_if(handlers_, [&](const Watched& w) {
        if (w.handler == handler) dropped.push_back(w.handler);
        return w.handler == handler;
    });
    for (auto* gone : dropped) gone->release();
    return dropped.empty() ? vvst3::kInvalidArgument : vvst3::kResultOk;
}

vvst3::tresult Vst3HostContext::registerTimer(vvst3::ITimerHandler* handler, vvst3::TimerInterval milliseconds) {
    trace("registerTimer %llu", static_cast<unsigned long long>(milliseconds));
    if (handler == nullptr) return vvst3::kInvalidArgument;
    const auto capped = std::min<vvst3::TimerInterval>(milliseconds, std::numeric_limits<int32_t>::max());
    const auto period = std::max(std::chrono::milliseconds(capped), kShortestTimer);
    handler->addRef();
    timers_.push_back({handler, period, Clock::now() + period});
    return vvst3::kResultOk;
}

vvst3::tresult Vst3HostContext::unregisterTimer(vvst3::ITimerHandler* handler) {
    trace("unregisterTimer");
    std::vector<vvst3::ITimerHandler*> dropped;
    std::erase_if(timers_, [&](const Timer& t) {
        if (t.handler == handler) dropped.push_back(t.handler);
        return t.handler == handler;
    });
    for (auto* gone : dropped) gone->release();
    return dropped.empty() ? vvst3::kInvalidArgument : vvst3::kResultOk;
}

#endif

void Vst3HostContext::serviceRunLoop() {
    serviceTimers();
    serviceHandlers();
}

// The list may change inside onTimer, so the due ones are picked first and
// each is called only if still registered.
void Vst3HostContext::serviceTimers() {
    if (timers_.empty()) return;
    const auto now = Clock::now();
    std::vector<vvst3::ITimerHandler*> due;
    for (Timer& timer : timers_) {
        if (timer.due > now) continue;
        due.push_back(timer.handler);
        timer.due = now + timer.period;
    }
    for (vvst3::ITimerHandler* handler : due) {
        if (std::any_of(timers_.begin(), timers_.end(), [handler](const Timer& t) { return t.handler == handler; }))
            handler->onTimer();
    }
}

void Vst3HostContext::serviceHandlers() {
    if (handlers_.empty()) return;
    const std::vector<Watched> watched = handlers_;
    std::vector<int> fds;
    for (const Watched& w : watched) fds.push_back(w.fd);
    const std::vector<uint32_t> ready = readyFds(fds, std::vector<uint32_t>(fds.size(), fd_ready::kRead));
    for (size_t i = 0; i < watched.size(); ++i) {
        if (ready[i] == 0) continue;
        const Watched& w = watched[i];
        const bool still = std::any_of(handlers_.begin(), handlers_.end(),
                                       [&w](const Watched& h) { return h.handler == w.handler && h.fd == w.fd; });
        if (still) w.handler->onFDIsSet(w.fd);
    }
}

void Vst3HostContext::dropRunLoopRegistrations() {
    if (!handlers_.empty() || !timers_.empty()) trace("dropped %zu run loop registrations", runLoopRegistrations());
    for (const Watched& w : std::exchange(handlers_, {})) w.handler->release();
    for (const Timer& t : std::exchange(timers_, {})) t.handler->release();
}

// --- component handler ------------------------------------------------------------

vvst3::tresult Vst3ComponentHandler::beginEdit(vvst3::ParamID id) {
    context_.trace("beginEdit %d", indexOf_(id));
    return vvst3::kResultOk;
}

vvst3::tresult Vst3ComponentHandler::performEdit(vvst3::ParamID id, vvst3::ParamValue valueNormalized) {
    context_.trace("automate %d %.3f", indexOf_(id), valueNormalized);
    if (indexOf_(id) < 0) return vvst3::kInvalidArgument;
    sink_(id, valueNormalized);
    return vvst3::kResultOk;
}

vvst3::tresult Vst3ComponentHandler::endEdit(vvst3::ParamID id) {
    context_.trace("endEdit %d", indexOf_(id));
    return vvst3::kResultOk;
}

vvst3::tresult Vst3ComponentHandler::restartComponent(int32_t flags) {
    context_.trace("restartComponent %d", flags);
    restartFlags_ |= flags;
    return vvst3::kResultOk;
}

// --- memory stream ------------------------------------------------------------------

vvst3::tresult Vst3MemoryStream::read(void* buffer, int32_t numBytes, int32_t* numBytesRead) {
    if (numBytesRead != nullptr) *numBytesRead = 0;
    if (numBytes < 0 || (buffer == nullptr && numBytes > 0)) return vvst3::kInvalidArgument;
    const size_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
    const size_t count = std::min(available, static_cast<size_t>(numBytes));
    if (count > 0) std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    if (numBytesRead != nullptr) *numBytesRead = static_cast<int32_t>(count);
    return vvst3::kResultOk;
}

vvst3::tresult Vst3MemoryStream::write(void* buffer, int32_t numBytes, int32_t* numBytesWritten) {
    if (numBytesWritten != nullptr) *numBytesWritten = 0;
    if (numBytes < 0 || (buffer == nullptr && numBytes > 0)) return vvst3::kInvalidArgument;
    const auto count = static_cast<size_t>(numBytes);
    if (bytes_.size() < position_ + count) bytes_.resize(position_ + count);
    if (count > 0) std::memcpy(bytes_.data() + position_, buffer, count);
    position_ += count;
    if (numBytesWritten != nullptr) *numBytesWritten = numBytes;
    return vvst3::kResultOk;
}

vvst3::tresult Vst3MemoryStream::seek(int64_t pos, int32_t mode, int64_t* result) {
    int64_t base = 0;
    if (mode == kIBSeekCur) {
        base = static_cast<int64_t>(position_);
    } else if (mode == kIBSeekEnd) {
        base = static_cast<int64_t>(bytes_.size());
    } else if (mode != kIBSeekSet) {
        return vvst3::kInvalidArgument;
    }
    // Past the end is allowed (a later write fills the gap); before the start is not.
    if (pos < -base || pos > std::numeric_limits<int32_t>::max()) return vvst3::kInvalidArgument;
    position_ = static_cast<size_t>(base + pos);
    if (result != nullptr) *result = static_cast<int64_t>(position_);
    return vvst3::kResultOk;
}

vvst3::tresult Vst3MemoryStream::tell(int64_t* pos) {
    if (pos == nullptr) return vvst3::kInvalidArgument;
    *pos = static_cast<int64_t>(position_);
    return vvst3::kResultOk;
}

// --- plug frame ------------------------------------------------------------------------

vvst3::tresult Vst3PlugFrame::queryInterface(const vvst3::TUID iid, void** obj) {
#if !defined(_WIN32)
    if (obj != nullptr && vvst3::sameUid(iid, vvst3::IRunLoop::iid)) {
        vvst3::IRunLoop* loop = &context_;
        loop->addRef();
        *obj = loop;
        return vvst3::kResultOk;
    }
#endif
    return Vst3HostObject<vvst3::IPlugFrame>::queryInterface(iid, obj);
}

vvst3::tresult Vst3PlugFrame::resizeView(vvst3::IPlugView* view, vvst3::ViewRect* newSize) {
    if (view == nullptr || newSize == nullptr) return vvst3::kInvalidArgument;
    const int width = newSize->right - newSize->left;
    const int height = newSize->bottom - newSize->top;
    context_.trace("resizeView %d %d", width, height);
    if (width <= 0 || height <= 0) return vvst3::kInvalidArgument;
    if (resizer_) resizer_(EditorSize{width, height});
    // The view resizes its own window only when told, in this same call.
    view->onSize(newSize);
    return vvst3::kResultOk;
}
