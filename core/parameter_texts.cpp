#include "parameter_texts.h"

#include <cstdio>
#include <cstring>

#include "dsp/parameter_laws.h"
#include "dsp/shaper_type.h"
#include "number_text.h"
#include "parameter_table.h"

namespace {

bool isParameterIndex(int32_t index) { return static_cast<uint32_t>(index) < kNumParameters; }

}  // namespace

const char* parameterName(int32_t index) { return isParameterIndex(index) ? kParameterTable[index].name : ""; }

const char* parameterLabel(int32_t index) { return isParameterIndex(index) ? kParameterTable[index].label : ""; }

void writeParameterDisplay(int32_t index, float v, char* text) {
    if (!isParameterIndex(index) || !text) return;
    switch (index) {
        case kCross1:
        case kCross2: writeFixedForHost(laws::crossoverFrequency(v), 1, text); break;
        case kPFilter:
        case kSolo1:
        case kSolo2:
        case kSolo3: std::strcpy(text, v > 0.5f ? "On" : "Off"); break;
        case kBalance1:
        case kBalance2:
        case kBalance3: writeFixedForHost((v - 0.5) * 2.0, 2, text); break;
        case kGain1:
        case kGain2:
        case kGain3: writeDecibelText(static_cast<float>(laws::drive(v)), text); break;
        case kType1:
        case kType2:
        case kType3: std::strcpy(text, shaperTypeName(shaperTypeFor(v))); break;
        default: writeDecibelText(static_cast<float>(laws::level(v)), text); break;
    }
}

void writeParameterValueText(int32_t index, float value, char (&text)[kParameterValueTextSize]) {
    char display[kHostTextSize] = "";
    writeParameterDisplay(index, value, display);
    const char* label = parameterLabel(index);
    // Display and label together stay below 16 + 3 bytes, so nothing is cut.
    if (*label)
        std::snprintf(text, sizeof text, "%s %s", display, label);
    else
        std::snprintf(text, sizeof text, "%s", display);
}
