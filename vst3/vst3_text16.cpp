#include "vst3/vst3_text16.h"

void copyToText16(const char* text, vvst3::Char16* out, size_t capacity) {
    if (out == nullptr || capacity == 0) return;
    size_t i = 0;
    for (; text != nullptr && text[i] != '\0' && i + 1 < capacity; ++i)
        out[i] = static_cast<vvst3::Char16>(static_cast<unsigned char>(text[i]));
    out[i] = 0;
}

bool copyFromText16(const vvst3::Char16* text, char* out, size_t capacity) {
    if (text == nullptr || out == nullptr || capacity == 0) return false;
    for (size_t i = 0; i < capacity; ++i) {
        if (text[i] == 0) {
            out[i] = '\0';
            return true;
        }
        if (text[i] > 0x7F || i + 1 == capacity) break;
        out[i] = static_cast<char>(text[i]);
    }
    out[0] = '\0';
    return false;
}

void copyToField(const char* text, char* out, size_t capacity) {
    if (out == nullptr || capacity == 0) return;
    size_t i = 0;
    for (; text != nullptr && text[i] != '\0' && i + 1 < capacity; ++i) out[i] = text[i];
    out[i] = '\0';
}
