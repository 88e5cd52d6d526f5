// The objects velmora-host hands a VST 3 plug-in: the host context
// (application, and on Linux the run loop its editor lives on), the component
// handler that receives the controller's edits and restart requests, a memory
// stream for state, and the frame the editor's view resizes through.
//
// Each lives as long as the Vst3Plugin that owns it, which releases the
// plug-in's objects first, so references are counted but never free anything.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include "host/loaded_plugin.h"
#include "vst3/vst3_abi.h"

// FUnknown for a host object implementing these interfaces: queryInterface
// answers FUnknown and each of them with the pointer adjusted to that base,
// and references are counted without owning the object.
template <typename First, typename... Rest>
class Vst3HostObject : public First, public Rest... {
public:
    vvst3::tresult VVST3_CALL queryInterface(const vvst3::TUID iid, void** obj) override {
        if (obj == nullptr) return vvst3::kInvalidArgument;
        void* found = nullptr;
        if (vvst3::sameUid(iid, vvst3::FUnknown::iid) || vvst3::sameUid(iid, First::iid))
            found = static_cast<First*>(this);
        ((found == nullptr && vvst3::sameUid(iid, Rest::iid) ? (found = static_cast<Rest*>(this)) : nullptr), ...);
        *obj = found;
        if (found == nullptr) return vvst3::kNoInterface;
        ++references_;
        return vvst3::kResultOk;
    }
    uint32_t VVST3_CALL addRef() override { return ++references_; }
    uint32_t VVST3_CALL release() override { return references_ > 0 ? --references_ : 0; }

private:
    uint32_t references_ = 1;
};

#if defined(_WIN32)
using Vst3HostContextBase = Vst3HostObject<vvst3::IHostApplication>;
#else
using Vst3HostContextBase = Vst3HostObject<vvst3::IHostApplication, vvst3::IRunLoop>;
#endif

// The host context given to initialize and setHostContext. On Linux it is
// also the run loop: handlers and timers registered here are serviced by
// serviceRunLoop(), which the editor's window loop calls.
class Vst3HostContext final : public Vst3HostContextBase {
public:
    explicit Vst3HostContext(std::FILE* trace) : trace_(trace) {}
    Vst3HostContext(const Vst3HostContext&) = delete;
    Vst3HostContext& operator=(const Vst3HostContext&) = delete;

    vvst3::FUnknown* unknown() { return static_cast<vvst3::IHostApplication*>(this); }

    vvst3::tresult VVST3_CALL getName(vvst3::String128 name) override;
    vvst3::tresult VVST3_CALL createInstance(vvst3::TUID classId, vvst3::TUID interfaceId, void** obj) override;

#if !defined(_WIN32)
    vvst3::tresult VVST3_CALL registerEventHandler(vvst3::IEventHandler* handler, vvst3::FileDescriptor fd) override;
    vvst3::tresult VVST3_CALL unregisterEventHandler(vvst3::IEventHandler* handler) override;
    vvst3::tresult VVST3_CALL registerTimer(vvst3::ITimerHandler* handler, vvst3::TimerInterval milliseconds) override;
    vvst3::tresult VVST3_CALL unregisterTimer(vvst3::ITimerHandler* handler) override;
#endif

    // Main thread: calls every due timer and every handler whose descriptor
    // is readable. Handlers may unregister from inside their call.
    void serviceRunLoop();
    // Releases whatever is still registered; called while the module is
    // still loaded (after an editor closes, and at teardown).
    void dropRunLoopRegistrations();
    size_t runLoopRegistrations() const { return handlers_.size() + timers_.size(); }

    // One trace line (printf format), when tracing.
    void trace(const char* format, ...) const;

private:
    struct Watched {
        vvst3::IEventHandler* handler;
        int fd;
    };
    struct Timer {
        vvst3::ITimerHandler* handler;
        std::chrono::milliseconds period;
        std::chrono::steady_clock::time_point due;
    };

    void serviceTimers();
    void serviceHandlers();

    std::FILE* trace_;
    std::vector<Watched> handlers_;
    std::vector<Timer> timers_;
};

// Receives the controller's edits and restart requests. Each performEdit is
// handed on so that the next process call carries it; restart flags gather
// until the owner takes them.
class Vst3ComponentHandler final : public Vst3HostObject<vvst3::IComponentHandler> {
public:
    using EditSink = std::function<void(vvst3::ParamID id, vvst3::ParamValue value)>;
    // Index of a parameter id for trace lines; -1 when unknown.
    using IndexOf = std::function<int32_t(vvst3::ParamID id)>;

    Vst3ComponentHandler(const Vst3HostContext& context, EditSink sink, IndexOf indexOf)
        : context_(context), sink_(std::move(sink)), indexOf_(std::move(indexOf)) {}

    vvst3::tresult VVST3_CALL beginEdit(vvst3::ParamID id) override;
    vvst3::tresult VVST3_CALL performEdit(vvst3::ParamID id, vvst3::ParamValue valueNormalized) override;
    vvst3::tresult VVST3_CALL endEdit(vvst3::ParamID id) override;
    vvst3::tresult VVST3_CALL restartComponent(int32_t flags) override;

    int32_t takeRestartFlags() { return std::exchange(restartFlags_, 0); }

private:
    const Vst3HostContext& context_;
    EditSink sink_;
    IndexOf indexOf_;
    int32_t restartFlags_ = 0;
};

// A growable byte stream with one position for reading and writing.
class Vst3MemoryStream final : public Vst3HostObject<vvst3::IBStream> {
public:
    Vst3MemoryStream() = default;
    explicit Vst3MemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    vvst3::tresult VVST3_CALL read(void* buffer, int32_t numBytes, int32_t* numBytesRead) override;
    vvst3::tresult VVST3_CALL write(void* buffer, int32_t numBytes, int32_t* numBytesWritten) override;
    vvst3::tresult VVST3_CALL seek(int64_t pos, int32_t mode, int64_t* result) override;
    vvst3::tresult VVST3_CALL tell(int64_t* pos) override;

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    void rewind() { position_ = 0; }

private:
    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
};

// The editor's frame: resizeView resizes the host's window through the
// resizer the window installed, then tells the view its new size. On Linux
// it also answers the run loop, which is the host context's.
class Vst3PlugFrame final : public Vst3HostObject<vvst3::IPlugFrame> {
public:
    explicit Vst3PlugFrame(Vst3HostContext& context) : context_(context) {}

    void setResizer(EditorResizer resizer) { resizer_ = std::move(resizer); }

    // Also answers the run loop (Linux).
    vvst3::tresult VVST3_CALL queryInterface(const vvst3::TUID iid, void** obj) override;

    vvst3::tresult VVST3_CALL resizeView(vvst3::IPlugView* view, vvst3::ViewRect* newSize) override;

private:
    Vst3HostContext& context_;
    EditorResizer resizer_;
};
