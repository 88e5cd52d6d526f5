#include "core/host_entry_guard.h"
#include "vst3/vst3_ui_timer.h"

vvst3::tresult VVST3_CALL Vst3UiTimer::Handler::queryInterface(const vvst3::TUID iid, void** obj) {
    if (obj == nullptr) return vvst3::kInvalidArgument;
    if (vvst3::sameUid(iid, vvst3::FUnknown::iid) || vvst3::sameUid(iid, vvst3::ITimerHandler::iid)) {
        *obj = static_cast<vvst3::ITimerHandler*>(this);
        return vvst3::kResultOk;
    }
    *obj = nullptr;
    return vvst3::kNoInterface;
}

void VVST3_CALL Vst3UiTimer::Handler::onTimer() {
    guardedHostEntry([&] { owner.tick(); });
}

bool Vst3UiTimer::start(vvst3::FUnknown* hostObject, uint32_t periodMs) {
    stop();
    if (hostObject == nullptr) return false;
    void* found = nullptr;
    if (hostObject->queryInterface(vvst3::IRunLoop::iid.bytes, &found) != vvst3::kResultOk || found == nullptr)
        return false;
    runLoop = static_cast<vvst3::IRunLoop*>(found);
    if (runLoop->registerTimer(&handler, periodMs) != vvst3::kResultOk) {
        runLoop->release();
        runLoop = nullptr;
        return false;
    }
    isRunning = true;
    return true;
}

void Vst3UiTimer::stop() {
    if (runLoop == nullptr) return;
    if (isRunning) runLoop->unregisterTimer(&handler);
    runLoop->release();
    runLoop = nullptr;
    isRunning = false;
}
