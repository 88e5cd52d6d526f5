#include "core/host_value_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "core/host_units.h"
#include "core/number_text.h"
#include "dsp/shaper_type.h"

namespace {

constexpr size_t kTextSize = 32;
constexpr double kKilo = 1000.0;

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

// Removes a unit from the end of the text, in any letter case.
bool strippedSuffix(std::string_view& text, std::string_view unit) {
    if (text.size() < unit.size() || !sameIgnoringCase(text.substr(text.size() - unit.size()), unit)) return false;
    text = trimmed(text.substr(0, text.size() - unit.size()));
    return true;
}

// Locale-independent, like the texts themselves; "-inf" is minus infinity.
bool readNumber(std::string_view text, double& number) {
    if (sameIgnoringCase(text, "-inf") || text == "-oo") {
        number = -std::numeric_limits<double>::infinity();
        return true;
    }
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() && !std::isnan(number);
}

// Without printf's "-0.0": a musician reads a value that rounds to zero as 0.
std::string fixed(double number, int decimals) {
    if (std::round(std::abs(number) * std::pow(10.0, decimals)) == 0.0) number = 0.0;
    char digits[kHostTextSize];
    writeFixedForHost(number, decimals, digits);
    return digits;
}

std::string decibelText(double db) { return std::isinf(db) && db < 0.0 ? "-inf dB" : fixed(db, 1) + " dB"; }

std::string balanceText(double steps) {
    const int whole = saturatingTruncate(steps);
    if (whole == 0) return "C";
    return std::to_string(whole < 0 ? -whole : whole) + (whole < 0 ? " L" : " R");
}

// "632 Hz" below a kilohertz (as the number is rounded), "3.50 kHz" above.
std::string frequencyText(double hz) {
    return hz < kKilo - 0.5 ? fixed(hz, 0) + " Hz" : fixed(hz / kKilo, 2) + " kHz";
}

std::string displayText(HostParameterId id, double value) {
    if (id == kHostBypassId) return validHostValue(kHostParameters[id], value) > 0.0 ? "On" : "Off";
    const double unit = unitValue(id, value);
    switch (hostUnitScale(id).unit) {
        case HostUnit::Hertz: return frequencyText(unit);
        case HostUnit::Decibels:
        case HostUnit::Level: return decibelText(unit);
        case HostUnit::Balance: return balanceText(unit);
        case HostUnit::Curve: return shaperTypeName(static_cast<ShaperType>(static_cast<int>(unit)));
        case HostUnit::Toggle: return unit > 0.0 ? "On" : "Off";
        case HostUnit::Quality: return qualityLabel(static_cast<Oversampling>(static_cast<int>(unit)));
        case HostUnit::Percent: return fixed(unit, 0) + " %";
    }
    return {};
}

// The number a text shows, in the unit's own measure (Hz for "3.50 kHz",
// -32 for "32 L"): it rises with the value for every continuous parameter.
bool shownNumber(HostUnit unit, std::string_view text, double& number) {
    text = trimmed(text);
    switch (unit) {
        case HostUnit::Hertz: {
            const bool kilo = strippedSuffix(text, "kHz");
            if (!kilo) strippedSuffix(text, "Hz");
            if (!readNumber(text, number)) return false;
            if (kilo) number *= kKilo;
            return true;
        }
        case HostUnit::Balance: {
            if (sameIgnoringCase(text, "C")) return (number = 0.0, true);
            const bool left = strippedSuffix(text, "L");
            if (!left) strippedSuffix(text, "R");
            if (!readNumber(text, number)) return false;
            if (left) number = -number;
            return true;
        }
        case HostUnit::Percent: strippedSuffix(text, "%"); return readNumber(text, number);
        default: strippedSuffix(text, "dB"); return readNumber(text, number);
    }
}

double shownNumberOf(HostParameterId id, float value) {
    double number = 0.0;
    return shownNumber(hostUnitScale(id).unit, displayText(id, value), number) ? number : 0.0;
}

// The smallest value (as float bits, 0..1) whose shown number passes the
// target: reaches it, or exceeds it when `beyond`. Every shown number grows
// with the value, so halving the range of bits finds it.
uint32_t firstBitsShowing(HostParameterId id, double target, bool beyond) {
    constexpr uint32_t kOneBits = 0x3F800000u;  // 1.0f; positive floats order as their bits
    uint32_t low = 0, high = kOneBits + 1;
    while (low < high) {
        const uint32_t middle = low + (high - low) / 2;
        const double number = shownNumberOf(id, std::bit_cast<float>(middle));
        if (beyond ? number > target : number >= target)
            high = middle;
        else
            low = middle + 1;
    }
    return std::min(low, kOneBits);
}

// A value that shows the text the user typed when the parameter writes
// such a text (the first or last of the run of values that show it), else
// the nearest value at or above the typed number.
double valueShowing(HostParameterId id, std::string_view typed, double target) {
    const uint32_t first = firstBitsShowing(id, target, false);
    const uint32_t last = std::max(first, firstBitsShowing(id, target, true) - 1);
    for (const uint32_t bits : {first, last})
        if (displayText(id, std::bit_cast<float>(bits)) == typed) return std::bit_cast<float>(bits);
    return std::bit_cast<float>(first);
}

// A named step (curves, Quality, switches): the value whose text is the name.
bool valueNamed(HostParameterId id, std::string_view name, double& value) {
    const HostParameter& parameter = kHostParameters[id];
    const bool curve = hasHostUnitScale(id) && hostUnitScale(id).unit == HostUnit::Curve;
    const int32_t steps = curve ? static_cast<int32_t>(ShaperType::Crackler)
                                : static_cast<int32_t>(parameter.maxValue - parameter.minValue);
    for (int32_t step = 0; step <= steps; ++step) {
        const double candidate = curve ? hostValueOfUnit(id, step) : parameter.minValue + step;
        if (!sameIgnoringCase(displayText(id, candidate), name)) continue;
        value = candidate;
        return true;
    }
    return false;
}

}  // namespace

bool writeHostValueText(const HostParameter& parameter, double value, char* text, uint32_t capacity) {
    if (text == nullptr || capacity == 0) return false;
    const std::string full = displayText(parameter.id, value);
    const size_t length = std::min<size_t>(full.size(), capacity - 1);
    std::memcpy(text, full.data(), length);
    text[length] = '\0';
    return true;
}

bool readHostValueText(const HostParameter& parameter, const char* text, double& value) {
    if (text == nullptr) return false;
    const std::string_view typed = trimmed(text);
    const HostParameterId id = parameter.id;
    double number = 0.0;
    if (parameter.traits.stepped || parameter.kind == ParameterKind::CurveChoice) {
        if (valueNamed(id, typed, value)) return true;
        // A number typed for a step: the step it names in the unit's measure.
        if (!readNumber(typed, number)) return false;
        value = id == kHostBypassId ? (number >= 0.5 ? 1.0 : 0.0) : hostValueOfUnit(id, number);
        return true;
    }
    if (!shownNumber(hostUnitScale(id).unit, typed, number)) return false;
    if (id == kHostMixId) {
        value = validHostValue(parameter, number / 100.0);
        return true;
    }
    // The value of exactly the number typed ("20 dB" is 20 dB), unless the
    // text is one the plug-in shows and that value would show another.
    const auto exact = static_cast<float>(hostValueOfUnit(id, number));
    if (displayText(id, exact) == typed) return (value = exact, true);
    const double showing = valueShowing(id, typed, number);
    value = displayText(id, showing) == typed ? showing : exact;
    return true;
}
