// Number formatting for drawn texts that must not depend on the host's C
// locale (a host running with a comma locale would otherwise show "0,50").
#pragma once

#include <cstddef>

// Writes value with two decimals (as "%2.2f" in the C locale) into text,
// which holds size bytes; always NUL-terminated when size > 0.
void formatFixed2(float value, char* text, std::size_t size);
