#include "gui_value_format.h"

#include <cstring>

#include "core/number_text.h"

void formatFixed2(float value, char* text, std::size_t size) {
    if (!text || size == 0) return;
    char buffer[400];
    writeFixed(value, 2, buffer);
    std::size_t length = std::strlen(buffer);
    if (length >= size) length = size - 1;
    std::memcpy(text, buffer, length);
    text[length] = '\0';
}
