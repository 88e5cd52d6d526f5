#include "value_texts.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "dsp/distortion_processor.h"
#include "dsp/parameter_laws.h"
#include "dsp/shaper_type.h"
#include "core/extended_parameters.h"
#include "core/number_text.h"
#include "core/quality_choice.h"

namespace {

// "%.1f" followed by two blanks and the unit, locale-independent, with
// printf's sign of zero ("-0.0" for a small negative number).
void writeWithUnit(double number, const char* unit, char* text) {
    if (std::isinf(number) && number < 0) {
        std::snprintf(text, 256, "-oo  %s", unit);
        return;
    }
    char digits[400];
    writeFixed(number, 1, digits);
    const char* shown = digits;
    if (std::strlen(shown) > 200) shown = "?";  // far outside any parameter's range
    std::strcpy(text, shown);
    std::strcat(text, "  ");
    std::strcat(text, unit);
}

}  // namespace

void freqToText(float value, char* text) { writeWithUnit(laws::crossoverFrequency(value), "Hz", text); }

void onOffToText(float value, char* text) { std::strcpy(text, value > 0.5f ? "On" : "Off"); }

void balanceToText(float value, char* text) {
    constexpr float centre = 0.5f;
    constexpr float steps = 128.0f;
    const bool right = value > centre;
    const double offset = right ? (static_cast<double>(value) - centre) : (centre - static_cast<double>(value));
    std::snprintf(text, 256, "%d%s", saturatingTruncate(offset * steps), right ? "R" : "L");
}

void gainToText(float value, char* text) { writeWithUnit(20.0 * std::log10(laws::drive(value)), "dB", text); }

void typeToText(float value, char* text) { std::strcpy(text, shaperTypeName(shaperTypeFor(value))); }

void levelToText(float value, char* text) { writeWithUnit(20.0 * std::log10(laws::level(value)), "dB", text); }

void qualityToText(float setting, char* text) { std::strcpy(text, qualityLabel(nearestQuality(setting))); }

void mixToText(float value, char* text) { writeWithUnit(100.0 * static_cast<double>(value), "%", text); }

ValueTextConverter converterForParameter(int index) {
    switch (index) {
        case kCross1:
        case kCross2: return freqToText;
        case kPFilter:
        case kSolo1:
        case kSolo2:
        case kSolo3: return onOffToText;
        case kBalance1:
        case kBalance2:
        case kBalance3: return balanceToText;
        case kGain1:
        case kGain2:
        case kGain3: return gainToText;
        case kType1:
        case kType2:
        case kType3: return typeToText;
        case kLevel1:
        case kLevel2:
        case kLevel3:
        case kMaster: return levelToText;
        case kQualityIndex: return qualityToText;
        case kMixIndex: return mixToText;
        case kBypassIndex: return onOffToText;
        default: return nullptr;
    }
}
