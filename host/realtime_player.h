// --play: a signal looped through a plug-in on a thread of its own, one
// block at a time at the pace a sound card would ask for them (no device is
// opened; the output is dropped). For editors that show the sound.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "host/demo_signal.h"
#include "host/loaded_plugin.h"

// "demo" is the built-in demo signal at `demoRate`; anything else names a
// sound file, read whole. Throws HostError when it cannot be read.
StereoSignal loadPlaySignal(const std::string& source, double demoRate);

class RealtimePlayer {
public:
    // plugin must be prepared and started, and safe to call from another
    // thread (see turn_taking_plugin.h); playing starts at once.
    RealtimePlayer(LoadedPlugin& plugin, StereoSignal signal, double sampleRate, int32_t blockFrames);
    // Stops after the block in flight.
    ~RealtimePlayer();
    RealtimePlayer(const RealtimePlayer&) = delete;
    RealtimePlayer& operator=(const RealtimePlayer&) = delete;

    // Blocks processed so far.
    uint64_t blocks() const { return processed.load(std::memory_order_relaxed); }

private:
    void play();

    LoadedPlugin& plugin;
    const StereoSignal signal;
    const double rate;
    const int32_t block;
    std::atomic<bool> stopping{false};
    std::atomic<uint64_t> processed{0};
    std::thread thread;
};
