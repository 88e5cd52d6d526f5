#include "host/clap_event_lists.h"

#include <cstring>

ClapInputEvents::ClapInputEvents() : list_{this, size, get} {
    // Enough for every --set and a burst of editor edits without growing.
    events_.reserve(256);
}

void ClapInputEvents::addParamValue(vclap::Id id, void* cookie, double value, uint32_t time) {
    vclap::ParamValueEvent event{};
    event.header.size = sizeof event;
    event.header.time = time;
    event.header.space_id = vclap::kCoreEventSpace;
    event.header.type = vclap::event::kParamValue;
    event.header.flags = 0;
    event.param_id = id;
    event.cookie = cookie;
    event.note_id = -1;
    event.port_index = -1;
    event.channel = -1;
    event.key = -1;
    event.value = value;
    events_.push_back(event);
}

const vclap::ParamValueEvent* ClapInputEvents::lastFor(vclap::Id id) const {
    for (auto event = events_.rbegin(); event != events_.rend(); ++event) {
        if (event->param_id == id) return &*event;
    }
    return nullptr;
}

uint32_t VCLAP_CALL ClapInputEvents::size(const vclap::InputEvents* list) {
    return static_cast<uint32_t>(static_cast<const ClapInputEvents*>(list->ctx)->events_.size());
}

const vclap::EventHeader* VCLAP_CALL ClapInputEvents::get(const vclap::InputEvents* list, uint32_t index) {
    const auto& events = static_cast<const ClapInputEvents*>(list->ctx)->events_;
    return index < events.size() ? &events[index].header : nullptr;
}

ClapOutputEvents::ClapOutputEvents()
    : slots_(kCapacity), list_{this, tryPush} {}

const vclap::EventHeader& ClapOutputEvents::at(size_t index) const {
    return *reinterpret_cast<const vclap::EventHeader*>(slots_[index].bytes);
}

bool VCLAP_CALL ClapOutputEvents::tryPush(const vclap::OutputEvents* list, const vclap::EventHeader* event) {
    auto& self = *static_cast<ClapOutputEvents*>(list->ctx);
    if (event == nullptr || event->size < sizeof(vclap::EventHeader) || event->size > kSlotBytes) return false;
    if (self.count_ == kCapacity) return false;
    std::memcpy(self.slots_[self.count_].bytes, event, event->size);
    ++self.count_;
    return true;
}
