// The two event lists a CLAP plug-in sees in process and flush: parameter
// values the host queued on the main thread, and a fixed store for what the
// plug-in pushes back, so neither list allocates on the audio thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "clap/clap_abi.h"

class ClapInputEvents {
public:
    ClapInputEvents();
    ClapInputEvents(const ClapInputEvents&) = delete;
    ClapInputEvents& operator=(const ClapInputEvents&) = delete;

    // Main thread, between calls. Events must be added in time order.
    void addParamValue(vclap::Id id, void* cookie, double value, uint32_t time);
    void clear() { events_.clear(); }
    bool empty() const { return events_.empty(); }
    // The latest queued value for a parameter, if any.
    const vclap::ParamValueEvent* lastFor(vclap::Id id) const;

    const vclap::InputEvents* list() const { return &list_; }

private:
    static uint32_t VCLAP_CALL size(const vclap::InputEvents* list);
    static const vclap::EventHeader* VCLAP_CALL get(const vclap::InputEvents* list, uint32_t index);

    std::vector<vclap::ParamValueEvent> events_;
    vclap::InputEvents list_;
};

class ClapOutputEvents {
public:
    // Room per event; larger events are refused. The transport event, the
    // largest core one, fits.
    static constexpr size_t kSlotBytes = 128;
    static constexpr size_t kCapacity = 1024;

    ClapOutputEvents();
    ClapOutputEvents(const ClapOutputEvents&) = delete;
    ClapOutputEvents& operator=(const ClapOutputEvents&) = delete;

    size_t size() const { return count_; }
    const vclap::EventHeader& at(size_t index) const;
    void clear() { count_ = 0; }

    const vclap::OutputEvents* list() const { return &list_; }

private:
    static bool VCLAP_CALL tryPush(const vclap::OutputEvents* list, const vclap::EventHeader* event);

    // Byte arrays may hold objects of any type; 8-aligned because events
    // hold doubles.
    struct alignas(8) Slot {
        unsigned char bytes[kSlotBytes];
    };
    std::vector<Slot> slots_;
    size_t count_ = 0;
    vclap::OutputEvents list_;
};
