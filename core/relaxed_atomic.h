// A value that one thread writes and another reads without a lock (the
// automation thread setting what the editor shows). Every access is a relaxed
// atomic load or store: no data race, and still a plain load or store in the
// generated code. Read-modify-write is a load then a store, as with a plain
// variable that has a single writer at a time.
#pragma once

#include <atomic>

template <typename T>
class RelaxedAtomic {
public:
    constexpr RelaxedAtomic(T initial = T{}) noexcept : stored(initial) {}
    RelaxedAtomic(const RelaxedAtomic&) = delete;
    RelaxedAtomic& operator=(const RelaxedAtomic&) = delete;

    operator T() const noexcept { return stored.load(std::memory_order_relaxed); }
    T load() const noexcept { return stored.load(std::memory_order_relaxed); }
    RelaxedAtomic& operator=(T newValue) noexcept {
        stored.store(newValue, std::memory_order_relaxed);
        return *this;
    }
    RelaxedAtomic& operator+=(T delta) noexcept { return *this = load() + delta; }
    RelaxedAtomic& operator-=(T delta) noexcept { return *this = load() - delta; }

private:
    std::atomic<T> stored;
};
