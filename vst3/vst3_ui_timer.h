// A tick on the host's UI thread, the only thread on which the plug-in may
// call the host back or touch its editor. On Linux it is a timer of the
// host's run loop (asked of a host object, the plug-in runs no loop of its
// own); on Windows a thread timer that the host's message loop dispatches.
#pragma once

#include <cstdint>

#include "vst3/vst3_abi.h"

class UiTickTarget {
public:
    virtual void onUiTick() = 0;

protected:
    ~UiTickTarget() = default;
};

class Vst3UiTimer {
public:
    explicit Vst3UiTimer(UiTickTarget& target) : target(target) {}
    ~Vst3UiTimer() { stop(); }
    Vst3UiTimer(const Vst3UiTimer&) = delete;
    Vst3UiTimer& operator=(const Vst3UiTimer&) = delete;

    // UI thread. hostObject is where Linux finds the run loop (a plug frame
    // or a host context; unused on Windows). False when there is no way to
    // tick; a running timer is stopped first.
    bool start(vvst3::FUnknown* hostObject, uint32_t periodMs);
    void stop();
    bool running() const { return isRunning; }

    // The platform's timer calls this.
    void tick() { target.onUiTick(); }

private:
    UiTickTarget& target;
    bool isRunning = false;
#if defined(_WIN32)
    uintptr_t timerId = 0;
#else
    // The handler object the run loop calls; it lives inside the timer.
    class Handler final : public vvst3::ITimerHandler {
    public:
        explicit Handler(Vst3UiTimer& owner) : owner(owner) {}
        vvst3::tresult VVST3_CALL queryInterface(const vvst3::TUID iid, void** obj) override;
        uint32_t VVST3_CALL addRef() override { return 1; }
        uint32_t VVST3_CALL release() override { return 1; }
        void VVST3_CALL onTimer() override;

    private:
        Vst3UiTimer& owner;
    };
    Handler handler{*this};
    vvst3::IRunLoop* runLoop = nullptr;
#endif
};
