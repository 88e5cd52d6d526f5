// The seven distortion curves and their selection from a Type value. The same
// thresholds pick the curve in the audio path and the name in every text.
#pragma once

enum class ShaperType { Saturation1, Saturation2, Saturation3, HardClip, Puncher, Sinus, Crackler };

constexpr float kShaperThresholds[6] = {0.1666f, 0.3333f, 0.5f, 0.6666f, 0.8333f, 0.9999f};

// Each boundary belongs to the upper type; below 0 is Saturation1, above 1 and
// NaN are Crackler.
inline ShaperType shaperTypeFor(float t) {
    if (t < kShaperThresholds[0]) return ShaperType::Saturation1;
    if (t < kShaperThresholds[1]) return ShaperType::Saturation2;
    if (t < kShaperThresholds[2]) return ShaperType::Saturation3;
    if (t < kShaperThresholds[3]) return ShaperType::HardClip;
    if (t < kShaperThresholds[4]) return ShaperType::Puncher;
    if (t < kShaperThresholds[5]) return ShaperType::Sinus;
    return ShaperType::Crackler;
}

inline const char* shaperTypeName(ShaperType type) {
    switch (type) {
        case ShaperType::Saturation1: return "Saturation1";
        case ShaperType::Saturation2: return "Saturation2";
        case ShaperType::Saturation3: return "Saturation3";
        case ShaperType::HardClip: return "HardClip";
        case ShaperType::Puncher: return "Puncher";
        case ShaperType::Sinus: return "Sinus";
        case ShaperType::Crackler: return "Crackler";
    }
    return "Crackler";
}
