// Several calls take a C++ reference where the host really passes a pointer,
// and a careless host may pass null. A reference is never null as far as the
// compiler knows, so the check would be optimised away; the address is first
// hidden from the optimiser.
#pragma once

#include <cstdint>

template <typename T>
bool isNullReference(const T& reference) {
    uintptr_t address = reinterpret_cast<uintptr_t>(&reference);
    __asm__("" : "+r"(address));
    return address == 0;
}
