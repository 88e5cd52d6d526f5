// The UTF-16 strings of VST 3 structs and calls, to and from the UTF-8 the
// host prints. Both directions stop at the buffer's end whether or not the
// plug-in wrote a terminating NUL.
#pragma once

#include <cstddef>
#include <string>

std::string utf8FromUtf16(const char16_t* text, size_t capacity);

// Writes at most capacity - 1 units and the NUL.
void copyToUtf16(const std::string& utf8, char16_t* out, size_t capacity);

// An 8-bit string field of a struct, up to its first NUL or its end.
std::string textOfField(const char* field, size_t capacity);
