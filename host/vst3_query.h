// Asking a VST 3 object for another of its interfaces.
#pragma once

#include "vst3/vst3_abi.h"

// The interface with one reference the caller releases; null when the
// object does not have it.
template <typename Interface>
Interface* queryAs(vvst3::FUnknown* object) {
    void* found = nullptr;
    if (object == nullptr || object->queryInterface(Interface::iid.bytes, &found) != vvst3::kResultOk) return nullptr;
    return static_cast<Interface*>(found);
}
