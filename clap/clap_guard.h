// Every call a host makes into the plug-in passes through here: no exception
// may cross into the host, so each entry catches everything and gives the
// neutral answer instead (false, zero, null, nothing done).
#pragma once

#include <type_traits>
#include <utility>

template <typename Body>
auto guarded(std::invoke_result_t<Body> fallback, Body&& body) noexcept -> std::invoke_result_t<Body> {
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        return fallback;
    }
}

template <typename Body>
void guardedCall(Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
    } catch (...) {
    }
}
