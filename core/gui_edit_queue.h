// The editor's edits on their way to the host: the UI thread queues gesture
// begins, values and gesture ends; the next process (audio thread) or flush
// takes them out and hands them to the host in its format. One writer and one
// reader at a time, no lock and no allocation. The two positions are
// published with release and read with acquire, because each one tells the
// other side that the entries before it are complete.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "core/host_parameters.h"

struct GuiEdit {
    enum class Kind : uint8_t { Begin, Value, End };
    Kind kind;
    HostParameterId id;
    double value;
};

class GuiEditQueue {
public:
    // UI thread. False when full (the host has not taken edits for a long
    // time); the value itself is already the plug-in's.
    bool push(const GuiEdit& edit) {
        const uint32_t tail = written.load(std::memory_order_relaxed);
        if (tail - read.load(std::memory_order_acquire) == kCapacity) return false;
        entries[tail % kCapacity] = edit;
        written.store(tail + 1, std::memory_order_release);
        return true;
    }

    // The side that delivers to the host.
    bool pop(GuiEdit& edit) {
        const uint32_t head = read.load(std::memory_order_relaxed);
        if (head == written.load(std::memory_order_acquire)) return false;
        edit = entries[head % kCapacity];
        read.store(head + 1, std::memory_order_release);
        return true;
    }

private:
    // A power of two, so the positions may wrap around 2^32.
    static constexpr uint32_t kCapacity = 1024;

    std::array<GuiEdit, kCapacity> entries{};
    std::atomic<uint32_t> written{0};
    std::atomic<uint32_t> read{0};
};
