#include "number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

constexpr int kFieldWidth = 8;
constexpr double kPowersOfTen[] = {1.0, 10.0, 100.0, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};

char digitOf(double value) {
    // value is in [0, 10): fmod of a finite non-negative number.
    int digit = static_cast<int>(value);
    if (digit < 0) digit = 0;
    if (digit > 9) digit = 9;
    return static_cast<char>('0' + digit);
}

}  // namespace

void writeFixedWidthNumber(float x, char* text) {
    if (!text) return;
    double v = x;
    if (std::isnan(v)) {
        std::strcpy(text, "nan");
        return;
    }
    if (std::isinf(v)) {
        std::strcpy(text, v < 0 ? "-oo" : "oo");
        return;
    }
    int count = 0;
    char* out = text;
    if (v < 0) {
        count = 1;
        v = -v;
        *out++ = '-';
    }

    // Integer digits, least significant first; the divisions are not
    // truncated, so fmod sees the remaining digits with their fraction.
    char integerDigits[kFieldWidth];
    int integerCount = 0;
    double n = std::floor(v);
    integerDigits[integerCount++] = digitOf(std::fmod(n, 10.0));
    n /= 10.0;
    count += 2;
    while (n >= 1.0 && count < kFieldWidth) {
        integerDigits[integerCount++] = digitOf(std::fmod(n, 10.0));
        n /= 10.0;
        ++count;
    }
    while (integerCount > 0) *out++ = integerDigits[--integerCount];
    *out++ = '.';

    // Fraction digits, truncated rather than rounded.
    if (count < kFieldWidth) {
        int fractionCount = kFieldWidth - count;
        char fractionDigits[kFieldWidth];
        double m = std::fmod(v, 1.0) * kPowersOfTen[fractionCount];
        for (int i = fractionCount - 1; i >= 0; --i) {
            if (m > 0.0) {
                fractionDigits[i] = digitOf(std::fmod(m, 10.0));
                m /= 10.0;
            } else {
                fractionDigits[i] = '0';
            }
        }
        std::memcpy(out, fractionDigits, static_cast<size_t>(fractionCount));
        out += fractionCount;
    }
    *out = '\0';
}

void writeDecibelText(float value, char* text) {
    if (!text) return;
    if (value > 0.0f) {
        writeFixedWidthNumber(static_cast<float>(20.0 * std::log10(static_cast<double>(value))), text);
    } else {
        std::strcpy(text, "-oo");
    }
}

void writeFixed(double value, int decimals, char* text) {
    if (!text) return;
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) {
        std::strcpy(text, "?");
        return;
    }
    *result.ptr = '\0';
    std::strcpy(text, buffer);
}

void writeFixedForHost(double value, int decimals, char* text) {
    if (!text) return;
    char buffer[400];
    writeFixed(value, decimals, buffer);
    if (std::strlen(buffer) < static_cast<size_t>(kHostTextSize)) {
        std::strcpy(text, buffer);
        return;
    }
    // At most "-1.8e+308": nine characters.
    auto result = std::to_chars(text, text + kHostTextSize - 1, value, std::chars_format::scientific, 1);
    *result.ptr = '\0';
}

int saturatingTruncate(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return 2147483647;
    if (value <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(value);
}
