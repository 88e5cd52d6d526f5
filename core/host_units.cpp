#include "core/host_units.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "dsp/parameter_laws.h"
#include "dsp/shaper_type.h"

namespace {

constexpr double kBalanceSteps = 128.0;
constexpr int kLastCurve = static_cast<int>(ShaperType::Crackler);

constexpr HostUnitScale kScales[kHostBypassId] = {
    {HostUnit::Hertz, "Low/mid crossover", 20.0, 20000.0},
    {HostUnit::Hertz, "Mid/high crossover", 20.0, 20000.0},
    {HostUnit::Toggle, "Post filter", 0.0, 1.0},
    {HostUnit::Toggle, "Low solo", 0.0, 1.0},
    {HostUnit::Toggle, "Mid solo", 0.0, 1.0},
    {HostUnit::Toggle, "High solo", 0.0, 1.0},
    {HostUnit::Balance, "Low balance", -64.0, 64.0},
    {HostUnit::Balance, "Mid balance", -64.0, 64.0},
    {HostUnit::Balance, "High balance", -64.0, 64.0},
    {HostUnit::Decibels, "Low drive", -20.0, 60.0},
    {HostUnit::Decibels, "Mid drive", -20.0, 60.0},
    {HostUnit::Decibels, "High drive", -20.0, 60.0},
    {HostUnit::Curve, "Low curve", 0.0, kLastCurve},
    {HostUnit::Curve, "Mid curve", 0.0, kLastCurve},
    {HostUnit::Curve, "High curve", 0.0, kLastCurve},
    {HostUnit::Level, "Low level", kSilenceDecibels, 0.0},
    {HostUnit::Level, "Mid level", kSilenceDecibels, 0.0},
    {HostUnit::Level, "High level", kSilenceDecibels, 0.0},
    {HostUnit::Level, "Master", kSilenceDecibels, 0.0},
    {HostUnit::Quality, "Quality", 0.0, 3.0},
    {HostUnit::Percent, "Mix", 0.0, 100.0},
};

double clampedUnit(double value) { return value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value); }

double decibels(double gain) {
    return gain > 0.0 ? 20.0 * std::log10(gain) : -std::numeric_limits<double>::infinity();
}

// The law of levels has no closed inverse; it rises strictly, so halving
// the interval 60 times finds the value to double precision.
double levelValueOf(double db) {
    if (!(db > kSilenceDecibels)) return 0.0;
    if (db >= 0.0) return 1.0;
    const double target = std::pow(10.0, db / 20.0);
    double low = 0.0, high = 1.0;
    for (int step = 0; step < 60; ++step) {
        const double middle = 0.5 * (low + high);
        (laws::level(static_cast<float>(middle)) < target ? low : high) = middle;
    }
    return 0.5 * (low + high);
}

// The middle of the values that select a curve (the top one: 1), so that a
// host or editor that moves the value a little keeps the curve, and the
// editor's knob shows that curve's image.
double curveValueOf(double curve) {
    const int index = curve <= 0.0 ? 0 : (curve >= kLastCurve ? kLastCurve : static_cast<int>(curve + 0.5));
    if (index == kLastCurve) return 1.0;
    const double lowest = index == 0 ? 0.0 : kShaperThresholds[index - 1];
    return 0.5 * (lowest + kShaperThresholds[index]);
}

}  // namespace

bool hasHostUnitScale(HostParameterId id) { return id < kHostBypassId; }

const HostUnitScale& hostUnitScale(HostParameterId id) { return kScales[hasHostUnitScale(id) ? id : 0]; }

double unitValue(HostParameterId id, double hostValue) {
    const auto p = static_cast<float>(hostValue);
    switch (hostUnitScale(id).unit) {
        case HostUnit::Hertz: return laws::crossoverFrequency(p);
        case HostUnit::Decibels: return decibels(laws::drive(p));
        case HostUnit::Level: return decibels(laws::level(p));
        case HostUnit::Balance: return (static_cast<double>(p) - 0.5) * kBalanceSteps;
        case HostUnit::Curve: return static_cast<double>(shaperTypeFor(p));
        case HostUnit::Toggle:
            return (id == kPFilter ? laws::postFilterOn(p) : laws::soloOn(p)) ? 1.0 : 0.0;
        case HostUnit::Quality: return static_cast<double>(hostQualitySetting(hostValue));
        case HostUnit::Percent: return 100.0 * hostValue;
    }
    return hostValue;
}

double hostValueOfUnit(HostParameterId id, double unit) {
    const HostUnitScale& scale = hostUnitScale(id);
    if (unit != unit) return validHostValue(kHostParameters[id], unit);
    switch (scale.unit) {
        case HostUnit::Hertz: return unit > scale.minimum ? clampedUnit(std::log(unit / 20.0) / laws::kLn1000) : 0.0;
        case HostUnit::Decibels:
            return clampedUnit((unit - scale.minimum) / (scale.maximum - scale.minimum));
        case HostUnit::Level: return levelValueOf(unit);
        case HostUnit::Balance: return clampedUnit(0.5 + unit / kBalanceSteps);
        case HostUnit::Curve: return curveValueOf(unit);
        case HostUnit::Toggle: return unit >= 0.5 ? 1.0 : 0.0;
        case HostUnit::Quality: return static_cast<double>(hostQualitySetting(unit));
        case HostUnit::Percent: return clampedUnit(unit / 100.0);
    }
    return unit;
}

float unitFloat(HostParameterId id, float hostValue) {
    const HostUnitScale& scale = hostUnitScale(id);
    const double unit = unitValue(id, hostValue);
    return static_cast<float>(unit < scale.minimum ? scale.minimum : (unit > scale.maximum ? scale.maximum : unit));
}

float hostFloatOfUnit(HostParameterId id, float unit) {
    const HostUnitScale& scale = hostUnitScale(id);
    if (unit != unit) return static_cast<float>(kHostParameters[id].defaultValue);
    const float inRange = std::clamp(unit, static_cast<float>(scale.minimum), static_cast<float>(scale.maximum));
    const auto nearest = static_cast<float>(hostValueOfUnit(id, inRange));
    // The inverse in double lands within a few steps of float of the value
    // the unit was written from; the nearest one whose unit rounds to this
    // float is it.
    constexpr int kReach = 4;
    float below = nearest, above = nearest;
    for (int k = 0; k <= kReach; ++k) {
        if (unitFloat(id, above) == inRange) return above;
        if (below >= 0.0f && unitFloat(id, below) == inRange) return below;
        above = std::nextafter(above, 4.0f);
        below = std::nextafter(below, -1.0f);
    }
    return nearest;
}
