// The small host the VST 3 tests drive velmora.vst3 with: the module loaded
// by dlopen, a host context with a run loop whose timers the test fires, a
// component handler that records, memory streams with short reads and
// writes, and parameter change lists. Every host object outlives the
// plug-in, so reference counts are not kept.
#pragma once

#include <dlfcn.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "vst3/vst3_abi.h"

template <typename Interface>
class HostObject : public Interface {
public:
    vvst3::tresult VVST3_CALL queryInterface(const vvst3::TUID iid, void** obj) override {
        if (vvst3::sameUid(iid, vvst3::FUnknown::iid) || vvst3::sameUid(iid, Interface::iid)) {
            *obj = this;
            return vvst3::kResultOk;
        }
        *obj = nullptr;
        return vvst3::kNoInterface;
    }
    uint32_t VVST3_CALL addRef() override { return 1; }
    uint32_t VVST3_CALL release() override { return 1; }
};

class TestRunLoop : public HostObject<vvst3::IRunLoop> {
public:
    vvst3::tresult VVST3_CALL registerEventHandler(vvst3::IEventHandler* handler, vvst3::FileDescriptor fd) override {
        handlers[handler] = fd;
        return vvst3::kResultOk;
    }
    vvst3::tresult VVST3_CALL unregisterEventHandler(vvst3::IEventHandler* handler) override {
        handlers.erase(handler);
        return vvst3::kResultOk;
    }
    vvst3::tresult VVST3_CALL registerTimer(vvst3::ITimerHandler* handler, vvst3::TimerInterval) override {
        timers.push_back(handler);
        return vvst3::kResultOk;
    }
    vvst3::tresult VVST3_CALL unregisterTimer(vvst3::ITimerHandler* handler) override {
        std::erase(timers, handler);
        return vvst3::kResultOk;
    }
    void fireTimers() {
        for (vvst3::ITimerHandler* timer : std::vector(timers)) timer->onTimer();
    }

    std::map<vvst3::IEventHandler*, int> handlers;
    std::vector<vvst3::ITimerHandler*> timers;
};

// The context passed to initialize: the host application, with a run loop.
class TestHostContext : public HostObject<vvst3::IHostApplication> {
public:
    vvst3::tresult VVST3_CALL queryInterface(const vvst3::TUID iid, void** obj) override {
        if (vvst3::sameUid(iid, vvst3::IRunLoop::iid)) {
            *obj = static_cast<vvst3::IRunLoop*>(&runLoop);
            return vvst3::kResultOk;
        }
        return HostObject::queryInterface(iid, obj);
    }
    vvst3::tresult VVST3_CALL getName(vvst3::String128 name) override {
        name[0] = u'T';
        name[1] = 0;
        return vvst3::kResultOk;
    }
    vvst3::tresult VVST3_CALL createInstance(vvst3::TUID, vvst3::TUID, void** obj) override {
        *obj = nullptr;
        return vvst3::kNotImplemented;
    }

    TestRunLoop runLoop;
};

class TestHandler : public HostObject<vvst3::IComponentHandler> {
public:
    vvst3::tresult VVST3_CALL beginEdit(vvst3::ParamID id) override { return note("begin", id, 0.0); }
    vvst3::tresult VVST3_CALL performEdit(vvst3::ParamID id, vvst3::ParamValue value) override {
        return note("perform", id, value);
    }
    vvst3::tresult VVST3_CALL endEdit(vvst3::ParamID id) override { return note("end", id, 0.0); }
    vvst3::tresult VVST3_CALL restartComponent(int32_t flags) override {
        restarts.push_back(flags);
        return vvst3::kResultOk;
    }
    vvst3::tresult note(const char* kind, vvst3::ParamID id, double value) {
        edits.push_back({kind, id, value});
        return vvst3::kResultOk;
    }

    struct Edit {
        std::string kind;
        vvst3::ParamID id;
        double value;
    };
    std::vector<Edit> edits;
    std::vector<int32_t> restarts;
};

// At most `chunk` bytes per read or write, as some hosts' streams do.
class MemoryStream : public HostObject<vvst3::IBStream> {
public:
    explicit MemoryStream(std::vector<uint8_t> bytes = {}, int32_t chunk = 1 << 20)
        : bytes(std::move(bytes)), chunk(chunk) {}
    vvst3::tresult VVST3_CALL read(void* buffer, int32_t numBytes, int32_t* numBytesRead) override {
        const int32_t count = std::max(std::min({numBytes, chunk, static_cast<int32_t>(bytes.size()) - position}), 0);
        if (count > 0) std::memcpy(buffer, bytes.data() + position, static_cast<size_t>(count));
        position += count;
        if (numBytesRead != nullptr) *numBytesRead = count;
        return vvst3::kResultOk;
    }
    vvst3::tresult VVST3_CALL write(void* buffer, int32_t numBytes, int32_t* numBytesWritten) override {
        const int32_t count = std::min(numBytes, chunk);
        bytes.insert(bytes.end(), static_cast<uint8_t*>(buffer), static_cast<uint8_t*>(buffer) + count);
        if (numBytesWritten != nullptr) *numBytesWritten = count;
        return vvst3::kResultOk;
    }
    vvst3::tresult VVST3_CALL seek(int64_t, int32_t, int64_t*) override { return vvst3::kNotImplemented; }
    vvst3::tresult VVST3_CALL tell(int64_t* pos) override {
        *pos = position;
        return vvst3::kResultOk;
    }

    std::vector<uint8_t> bytes;
    int32_t position = 0;
    int32_t chunk;
};

class TestQueue : public HostObject<vvst3::IParamValueQueue> {
public:
    explicit TestQueue(vvst3::ParamID id) : id(id) {}
    vvst3::ParamID VVST3_CALL getParameterId() override { return id; }
    int32_t VVST3_CALL getPointCount() override { return static_cast<int32_t>(points.size()); }
    vvst3::tresult VVST3_CALL getPoint(int32_t index, int32_t& offset, vvst3::ParamValue& value) override {
        if (index < 0 || index >= getPointCount()) return vvst3::kInvalidArgument;
        std::tie(offset, value) = points[static_cast<size_t>(index)];
        return vvst3::kResultOk;
    }
    vvst3::tresult VVST3_CALL addPoint(int32_t offset, vvst3::ParamValue value, int32_t& index) override {
        index = getPointCount();
        points.push_back({offset, value});
        return vvst3::kResultOk;
    }

    vvst3::ParamID id;
    std::vector<std::pair<int32_t, double>> points;
};

class TestChanges : public HostObject<vvst3::IParameterChanges> {
public:
    int32_t VVST3_CALL getParameterCount() override { return static_cast<int32_t>(queues.size()); }
    vvst3::IParamValueQueue* VVST3_CALL getParameterData(int32_t index) override {
        return index >= 0 && index < getParameterCount() ? &queues[static_cast<size_t>(index)] : nullptr;
    }
    vvst3::IParamValueQueue* VVST3_CALL addParameterData(const vvst3::ParamID& id, int32_t& index) override {
        for (size_t k = 0; k < queues.size(); ++k)
            if (queues[k].id == id) return index = static_cast<int32_t>(k), &queues[k];
        index = getParameterCount();
        return &queues.emplace_back(id);
    }
    void add(vvst3::ParamID id, int32_t offset, double value) {
        int32_t index = 0;
        addParameterData(id, index)->addPoint(offset, value, index);
    }
    // The last value sent back for an id, if any.
    bool last(vvst3::ParamID id, double& value) const {
        for (const TestQueue& queue : queues)
            if (queue.id == id && !queue.points.empty()) return value = queue.points.back().second, true;
        return false;
    }

    std::vector<TestQueue> queues;
};

// The built bundle's module, loaded and entered as a host does (kept mapped
// after dlclose, so a leak checker can still name its frames); the
// instance's interfaces, with initialize done and the handler set.
class LoadedVst3Module {
public:
    explicit LoadedVst3Module(const char* path) : handle(dlopen(path, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) {
        if (handle == nullptr) return;
        auto entry = reinterpret_cast<vvst3::ModuleEntryFunction>(dlsym(handle, vvst3::kModuleEntrySymbol));
        auto getFactory = reinterpret_cast<vvst3::GetPluginFactoryFunction>(dlsym(handle, vvst3::kGetPluginFactorySymbol));
        if (entry != nullptr && entry(handle) && getFactory != nullptr) factory = getFactory();
    }
    ~LoadedVst3Module() {
        if (factory != nullptr) factory->release();
        if (handle == nullptr) return;
        if (auto exit = reinterpret_cast<vvst3::ModuleExitFunction>(dlsym(handle, vvst3::kModuleExitSymbol))) exit();
        dlclose(handle);
    }

    void* handle;
    vvst3::IPluginFactory* factory = nullptr;
};

template <typename Interface>
Interface* queried(vvst3::FUnknown* object) {
    void* found = nullptr;
    return object->queryInterface(Interface::iid.bytes, &found) == vvst3::kResultOk ? static_cast<Interface*>(found)
                                                                                     : nullptr;
}

struct TestVst3Instance {
    TestVst3Instance(vvst3::IPluginFactory& factory, const vvst3::Uid& classId) {
        void* made = nullptr;
        if (factory.createInstance(classId.bytes, vvst3::IComponent::iid.bytes, &made) != vvst3::kResultOk) return;
        component = static_cast<vvst3::IComponent*>(made);
        component->initialize(&context);
        processor = queried<vvst3::IAudioProcessor>(component);
        controller = queried<vvst3::IEditController>(component);
        if (controller != nullptr) controller->setComponentHandler(&handler);
    }
    ~TestVst3Instance() {
        if (component == nullptr) return;
        component->setActive(0);
        component->terminate();
        for (vvst3::FUnknown* held : {static_cast<vvst3::FUnknown*>(processor), static_cast<vvst3::FUnknown*>(controller)})
            if (held != nullptr) held->release();
        component->release();
    }
    bool ready() const { return component != nullptr && processor != nullptr && controller != nullptr; }
    bool start(double rate, int32_t maxFrames) {
        vvst3::ProcessSetup setup{vvst3::kRealtime, vvst3::kSample32, maxFrames, rate};
        return processor->setupProcessing(setup) == vvst3::kResultOk && component->setActive(1) == vvst3::kResultOk &&
               processor->setProcessing(1) == vvst3::kResultOk;
    }
    // One stereo block; in and out may be the same buffers.
    vvst3::tresult process(float* const* in, float* const* out, int32_t frames, TestChanges* changes,
                           TestChanges* produced = nullptr) {
        vvst3::AudioBusBuffers inBus{2, 0, {const_cast<float**>(in)}};
        vvst3::AudioBusBuffers outBus{2, 0, {const_cast<float**>(out)}};
        vvst3::ProcessData data{vvst3::kRealtime, vvst3::kSample32, frames, 1, 1, &inBus, &outBus,
                                changes, produced, nullptr, nullptr, nullptr};
        return processor->process(data);
    }

    TestHostContext context;
    TestHandler handler;
    vvst3::IComponent* component = nullptr;
    vvst3::IAudioProcessor* processor = nullptr;
    vvst3::IEditController* controller = nullptr;
};
