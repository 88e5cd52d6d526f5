// A wait-free ring between one producer thread and one consumer thread: no
// lock, no allocation, no loop that waits for the other side. The producer
// may fill slots before it publishes them (the audio thread writes a block's
// input, processes, then adds its output to the same slots), and the
// consumer may look at slots before it frees them.
//
// Each side owns one position and only reads the other's. A position is
// published with release and read with acquire, because it tells the other
// side that the slots before it are complete (written, or read and free).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

template <typename T, uint32_t Capacity>
class SpscRing {
    // A power of two, so the positions may wrap around 2^32.
    static_assert(Capacity > 0 && (Capacity & (Capacity - 1)) == 0, "the capacity must be a power of two");

public:
    static constexpr uint32_t kCapacity = Capacity;

    // Producer: slots it may fill now.
    uint32_t writable() const {
        return Capacity - (written.load(std::memory_order_relaxed) - read.load(std::memory_order_acquire));
    }
    // Producer: the slot `offset` places after the last one published.
    T& slotToWrite(uint32_t offset) { return entries[(written.load(std::memory_order_relaxed) + offset) % Capacity]; }
    // Producer: the next `count` slots (count <= writable()) are complete.
    void publish(uint32_t count) {
        written.store(written.load(std::memory_order_relaxed) + count, std::memory_order_release);
    }

    // Consumer: slots published and not yet freed.
    uint32_t readable() const {
        return written.load(std::memory_order_acquire) - read.load(std::memory_order_relaxed);
    }
    const T& slotToRead(uint32_t offset) const {
        return entries[(read.load(std::memory_order_relaxed) + offset) % Capacity];
    }
    // Consumer: the next `count` slots (count <= readable()) are free again.
    void release(uint32_t count) { read.store(read.load(std::memory_order_relaxed) + count, std::memory_order_release); }

    // One entry at a time. False when full or empty.
    bool push(const T& entry) {
        if (writable() == 0) return false;
        slotToWrite(0) = entry;
        publish(1);
        return true;
    }
    bool pop(T& entry) {
        if (readable() == 0) return false;
        entry = slotToRead(0);
        release(1);
        return true;
    }

private:
    std::array<T, Capacity> entries{};
    std::atomic<uint32_t> written{0};
    std::atomic<uint32_t> read{0};
};
