// The names, unit labels and value texts the host shows for each parameter.
#include <cstring>

#include "distortion_effect.h"
#include "dsp/parameter_laws.h"
#include "dsp/shaper_type.h"
#include "number_text.h"

void DistortionEffect::getParameterName(int32_t index, char* text) {
    if (isParameterIndex(index) && text) std::strcpy(text, kParameterTable[index].name);
}

void DistortionEffect::getParameterLabel(int32_t index, char* label) {
    if (isParameterIndex(index) && label) std::strcpy(label, kParameterTable[index].label);
}

void DistortionEffect::getParameterDisplay(int32_t index, char* text) {
    if (!isParameterIndex(index) || !text) return;
    const float v = value(index);
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
        case kGain3: dB2string(static_cast<float>(laws::drive(v)), text); break;
        case kType1:
        case kType2:
        case kType3: std::strcpy(text, shaperTypeName(shaperTypeFor(v))); break;
        default: dB2string(static_cast<float>(laws::level(v)), text); break;
    }
}
