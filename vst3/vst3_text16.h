// The 8-bit texts of the core into the UTF-16 buffers of the interfaces and
// back. Every text the plug-in writes is ASCII, so a unit is a byte; a unit
// beyond ASCII read from a host makes the text unreadable instead of being
// guessed at.
#pragma once

#include <cstddef>
#include <cstdint>

#include "vst3/vst3_abi.h"

// Writes at most capacity - 1 units and the NUL (nothing for capacity 0).
void copyToText16(const char* text, vvst3::Char16* out, size_t capacity);

// At most capacity - 1 bytes and the NUL; false for a null text, a unit
// beyond ASCII, or a text longer than the buffer.
bool copyFromText16(const vvst3::Char16* text, char* out, size_t capacity);

// An 8-bit field of a struct, truncated to fit with its NUL.
void copyToField(const char* text, char* out, size_t capacity);
