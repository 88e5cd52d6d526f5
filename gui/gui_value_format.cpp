#include "gui_value_format.h"

#include <charconv>
#include <cstring>

void formatFixed2(float value, char* text, std::size_t size) {
    if (!text || size == 0) return;
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer - 1, static_cast<double>(value),
                      std::chars_format::fixed, 2);
    std::size_t length = result.ec == std::errc{} ? static_cast<std::size_t>(result.ptr - buffer) : 0;
    if (length >= size) length = size - 1;
    std::memcpy(text, buffer, length);
    text[length] = '\0';
}
