#include "host/vst3_text.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool isHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool isLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

// The next code point of a UTF-8 string, or the replacement for a broken one.
char32_t nextCodePoint(const std::string& text, size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (lead >= 0x80 && extra == 0) return kReplacement;
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (; extra > 0; --extra) {
        if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) return kReplacement;
        code = (code << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    }
    return code > 0x10FFFF ? kReplacement : code;
}

}  // namespace

std::string utf8FromUtf16(const char16_t* text, size_t capacity) {
    std::string out;
    for (size_t i = 0; i < capacity && text[i] != 0; ++i) {
        char32_t code = text[i];
        if (isHighSurrogate(code) && i + 1 < capacity && isLowSurrogate(text[i + 1])) {
            code = 0x10000 + ((code - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00);
            ++i;
        } else if (isHighSurrogate(code) || isLowSurrogate(code)) {
            code = kReplacement;
        }
        appendUtf8(out, code);
    }
    return out;
}

void copyToUtf16(const std::string& utf8, char16_t* out, size_t capacity) {
    if (capacity == 0) return;
    size_t written = 0;
    for (size_t at = 0; at < utf8.size();) {
        const char32_t code = nextCodePoint(utf8, at);
        const size_t units = code >= 0x10000 ? 2 : 1;
        if (written + units >= capacity) break;
        if (units == 2) {
            out[written++] = static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            out[written++] = static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            out[written++] = static_cast<char16_t>(code);
        }
    }
    out[written] = 0;
}

std::string textOfField(const char* field, size_t capacity) {
    size_t length = 0;
    while (length < capacity && field[length] != '\0') ++length;
    return std::string(field, length);
}
