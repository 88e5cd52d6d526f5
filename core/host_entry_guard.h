// What every function a host calls directly (the entry point, the effect
// record's callbacks, the LV2 descriptors' functions, the CLAP entry and
// extension calls) wraps its work in: nothing may unwind into the host's frames. On i686 Windows (DWARF
// unwinding, no SEH) an exception leaving our module ends in std::terminate,
// and the host dies with the user's session; elsewhere it unwinds through
// code that was never built for it. A failed call gives the neutral answer
// instead: 0 or null, and nothing changed.
#pragma once

#include <utility>

// The body's result, or neutral when the body throws.
template <typename Result, typename Body>
Result guardedHostEntry(Result neutral, Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        return neutral;
    }
}

// Runs the body; an exception ends it and is dropped.
template <typename Body>
void guardedHostEntry(Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
    } catch (...) {
    }
}
