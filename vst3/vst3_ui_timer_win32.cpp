#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <array>

#include "core/host_entry_guard.h"
#include "vst3/vst3_ui_timer.h"

namespace {

// Thread timers carry no user pointer: each running timer is found by its id.
// All of them live on the one UI thread, so the table needs no lock.
struct TimerSlot {
    UINT_PTR id = 0;
    Vst3UiTimer* timer = nullptr;
};
std::array<TimerSlot, 256> slots;

void CALLBACK timerProc(HWND, UINT, UINT_PTR id, DWORD) {
    guardedHostEntry([&] {
        for (const TimerSlot& slot : slots)
            if (slot.id == id && slot.timer != nullptr) return slot.timer->tick();
    });
}

}  // namespace

bool Vst3UiTimer::start(vvst3::FUnknown*, uint32_t periodMs) {
    stop();
    for (TimerSlot& slot : slots) {
        if (slot.timer != nullptr) continue;
        const UINT_PTR id = SetTimer(nullptr, 0, periodMs, timerProc);
        if (id == 0) return false;
        slot = {id, this};
        timerId = id;
        isRunning = true;
        return true;
    }
    return false;
}

void Vst3UiTimer::stop() {
    if (!isRunning) return;
    KillTimer(nullptr, timerId);
    for (TimerSlot& slot : slots)
        if (slot.timer == this) slot = {};
    timerId = 0;
    isRunning = false;
}
