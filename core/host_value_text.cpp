#include "core/host_value_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string_view>

#include "core/parameter_texts.h"

namespace {

constexpr uint32_t kOneBits = 0x3F800000u;  // 1.0f; positive floats order as their bits

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The text without the parameter's unit, if it ends with it.
std::string_view withoutLabel(std::string_view text, const HostParameter& parameter) {
    const std::string_view label = parameterLabel(static_cast<int32_t>(parameter.id));
    if (!label.empty() && text.size() >= label.size() &&
        sameIgnoringCase(text.substr(text.size() - label.size()), label))
        text.remove_suffix(label.size());
    return trimmed(text);
}

// Locale-independent, like the texts themselves; "-oo" is minus infinity.
bool readNumber(std::string_view text, double& number) {
    if (text == "-oo") {
        number = -std::numeric_limits<double>::infinity();
        return true;
    }
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() && !std::isnan(number);
}

std::string_view display(const HostParameter& parameter, float value, char (&text)[kParameterValueTextSize]) {
    writeParameterDisplay(static_cast<int32_t>(parameter.id), value, text);
    return text;
}

double displayedNumber(const HostParameter& parameter, float value) {
    char text[kParameterValueTextSize] = "";
    double number = 0.0;
    return readNumber(display(parameter, value, text), number) ? number : 0.0;
}

// The smallest value (as float bits) whose shown number passes the target:
// reaches it, or exceeds it when `beyond`. Every shown number grows with the
// value, so halving the range of bits finds it.
uint32_t firstBitsShowing(const HostParameter& parameter, double target, bool beyond) {
    uint32_t low = 0, high = kOneBits + 1;
    while (low < high) {
        const uint32_t middle = low + (high - low) / 2;
        const double number = displayedNumber(parameter, std::bit_cast<float>(middle));
        if (beyond ? number > target : number >= target)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

// A value that shows the text when the parameter writes such a text: the
// values showing its number form one run, at whose ends "-0.00" and "0.00"
// (the two texts of zero) lie. Otherwise the nearest value at or above the
// number.
double valueShowing(const HostParameter& parameter, std::string_view shown, double target) {
    const uint32_t first = firstBitsShowing(parameter, target, false);
    if (first > kOneBits) return 1.0;
    const uint32_t last = firstBitsShowing(parameter, target, true) - 1;
    for (const uint32_t bits : {first, last}) {
        char text[kParameterValueTextSize] = "";
        if (bits >= first && display(parameter, std::bit_cast<float>(bits), text) == shown)
            return std::bit_cast<float>(bits);
    }
    return std::bit_cast<float>(first);
}

// The first of a thousand steps across the range that shows the name.
bool valueNamed(const HostParameter& parameter, std::string_view name, double& value) {
    constexpr int kSteps = 1000;
    for (int step = 0; step <= kSteps; ++step) {
        const float candidate = static_cast<float>(step) / kSteps;
        char text[kParameterValueTextSize] = "";
        if (!sameIgnoringCase(display(parameter, candidate, text), name)) continue;
        value = candidate;
        return true;
    }
    return false;
}

// Quality's settings by their labels, in any letter case.
bool qualityNamed(std::string_view name, double& value) {
    for (int setting = 0; setting < kQualitySettings; ++setting) {
        if (!sameIgnoringCase(name, kQualityLabels[setting])) continue;
        value = setting;
        return true;
    }
    return false;
}

}  // namespace

bool writeHostValueText(const HostParameter& parameter, double value, char* text, uint32_t capacity) {
    if (text == nullptr || capacity == 0) return false;
    char full[kParameterValueTextSize] = "";
    if (parameter.id == kHostQualityId)
        std::snprintf(full, sizeof full, "%s", qualityLabel(hostQualitySetting(value)));
    else if (parameter.id == kHostMixId)
        std::snprintf(full, sizeof full, "%.0f %%", 100.0 * validHostValue(parameter, value));
    else if (parameter.id == kHostBypassId)
        std::snprintf(full, sizeof full, "%s", validHostValue(parameter, value) > 0.0 ? "On" : "Off");
    else
        writeParameterValueText(static_cast<int32_t>(parameter.id), static_cast<float>(value), full);
    const size_t length = std::min<size_t>(std::strlen(full), capacity - 1);
    std::memcpy(text, full, length);
    text[length] = '\0';
    return true;
}

bool readHostValueText(const HostParameter& parameter, const char* text, double& value) {
    if (text == nullptr) return false;
    if (parameter.id == kHostQualityId) return qualityNamed(trimmed(text), value);
    if (parameter.id == kHostMixId) {
        std::string_view shown = trimmed(text);
        if (!shown.empty() && shown.back() == '%') shown = trimmed(shown.substr(0, shown.size() - 1));
        double percent = 0.0;
        if (!readNumber(shown, percent)) return false;
        value = validHostValue(parameter, percent / 100.0);
        return true;
    }
    const std::string_view shown = withoutLabel(trimmed(text), parameter);
    double number = 0.0;
    switch (parameter.kind) {
        case ParameterKind::Switch:
            // The stepped ends, whatever was typed: a name or a number.
            if (sameIgnoringCase(shown, "On")) value = 1.0;
            else if (sameIgnoringCase(shown, "Off")) value = 0.0;
            else if (readNumber(shown, number)) value = number > 0.5 ? 1.0 : 0.0;
            else return false;
            return true;
        case ParameterKind::CurveChoice: return valueNamed(parameter, shown, value);
        case ParameterKind::Continuous:
            if (!readNumber(shown, number)) return false;
            value = valueShowing(parameter, shown, number);
            return true;
    }
    return false;
}
