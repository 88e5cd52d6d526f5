#include "vst3/vst3_parameters.h"

#include <algorithm>
#include <cmath>

#include "core/host_units.h"
#include "core/host_value_text.h"
#include "dsp/shaper_type.h"
#include "vst3/vst3_text16.h"

namespace {

constexpr int32_t kCurveSteps = 6;  // seven curves

bool isCurveType(vvst3::ParamID id) { return id == kType1 || id == kType2 || id == kType3; }

int32_t stepCountOf(vvst3::ParamID id) {
    if (id == kProgramParameterId) return kProgramStepCount;
    if (isCurveType(id)) return kCurveSteps;
    const HostParameter* parameter = hostParameter(id);
    return parameter != nullptr ? parameter->stepCount() : 0;
}

int32_t stepOf(double normalised, int32_t steps) {
    const double clamped = std::clamp(normalised, 0.0, 1.0);
    return std::min(steps, static_cast<int32_t>(std::floor(clamped * (steps + 1))));
}

int32_t flagsOf(vvst3::ParamID id) {
    using Info = vvst3::ParameterInfo;
    // Not automatable: the presets' contents are, and a lane of both would fight.
    if (id == kProgramParameterId) return Info::kIsProgramChange | Info::kIsList;
    const HostParameterTraits& traits = kHostParameters[id].traits;
    int32_t flags = traits.automatable ? Info::kCanAutomate : 0;
    if (traits.enumeration || traits.bypass || isCurveType(id)) flags |= Info::kIsList;
    if (traits.bypass) flags |= Info::kIsBypass;
    return flags;
}

}  // namespace

bool isVst3Parameter(vvst3::ParamID id) { return id < static_cast<vvst3::ParamID>(kVst3ParameterCount); }

bool describeVst3Parameter(int32_t index, vvst3::ParameterInfo& info) {
    if (index < 0 || index >= kVst3ParameterCount) return false;
    const auto id = static_cast<vvst3::ParamID>(index);
    info = vvst3::ParameterInfo{};
    info.id = id;
    const char* name = id == kProgramParameterId ? "Program" : kHostParameters[id].name;
    copyToText16(name, info.title, std::size(info.title));
    copyToText16(name, info.shortTitle, std::size(info.shortTitle));
    // The value texts carry their unit ("250 Hz"), as in the other formats.
    info.units[0] = 0;
    info.stepCount = stepCountOf(id);
    info.defaultNormalizedValue = id == kProgramParameterId ? 0.0 : normalisedOf(id, kHostParameters[id].defaultValue);
    info.unitId = vvst3::kRootUnitId;
    info.flags = flagsOf(id);
    return true;
}

bool coreValueOf(vvst3::ParamID id, double normalised, double& coreValue) {
    const HostParameter* parameter = hostParameter(id);
    if (parameter == nullptr || std::isnan(normalised)) return false;
    const int32_t steps = stepCountOf(id);
    // A curve's step is the middle of the values that select it, as in LV2,
    // so the editor's knob shows that curve's image.
    if (isCurveType(id))
        coreValue = static_cast<float>(hostValueOfUnit(id, stepOf(normalised, steps)));
    else if (steps > 0)
        coreValue = parameter->minValue + stepOf(normalised, steps);
    else
        coreValue = parameter->minValue + std::clamp(normalised, 0.0, 1.0) * (parameter->maxValue - parameter->minValue);
    return true;
}

double normalisedOf(vvst3::ParamID id, double coreValue) {
    const HostParameter* parameter = hostParameter(id);
    if (parameter == nullptr) return 0.0;
    const double valid = validHostValue(*parameter, coreValue);
    if (isCurveType(id)) return static_cast<double>(shaperTypeFor(static_cast<float>(valid))) / kCurveSteps;
    const double span = parameter->maxValue - parameter->minValue;
    return span > 0.0 ? (valid - parameter->minValue) / span : 0.0;
}

double plainOf(vvst3::ParamID id, double normalised) {
    if (!isVst3Parameter(id)) return 0.0;
    const int32_t steps = stepCountOf(id);
    if (steps > 0) return stepOf(normalised, steps);
    double coreValue = 0.0;
    return coreValueOf(id, normalised, coreValue) ? coreValue : 0.0;
}

double normalisedOfPlain(vvst3::ParamID id, double plain) {
    if (!isVst3Parameter(id) || std::isnan(plain)) return 0.0;
    const int32_t steps = stepCountOf(id);
    if (steps > 0) return std::clamp(std::round(plain), 0.0, static_cast<double>(steps)) / steps;
    return normalisedOf(id, plain);
}

int32_t programIndexOf(double normalised) { return stepOf(std::isnan(normalised) ? 0.0 : normalised, kProgramStepCount); }

double normalisedOfProgram(int32_t index) {
    return static_cast<double>(std::clamp(index, 0, kProgramStepCount)) / kProgramStepCount;
}

bool writeVst3ValueText(vvst3::ParamID id, double normalised, vvst3::String128 text) {
    if (text == nullptr) return false;
    if (id == kProgramParameterId) {
        copyToText16(kFactoryPresets[static_cast<size_t>(programIndexOf(normalised))].name, text, 128);
        return true;
    }
    double coreValue = 0.0;
    char buffer[128] = "";
    if (!coreValueOf(id, normalised, coreValue) || !writeHostValueText(kHostParameters[id], coreValue, buffer, sizeof buffer))
        return false;
    copyToText16(buffer, text, 128);
    return true;
}

bool readVst3ValueText(vvst3::ParamID id, const vvst3::Char16* text, double& normalised) {
    char buffer[128] = "";
    if (!isVst3Parameter(id) || !copyFromText16(text, buffer, sizeof buffer)) return false;
    if (id == kProgramParameterId) {
        const FactoryPreset* preset = findFactoryPreset(buffer);
        if (preset == nullptr) return false;
        normalised = normalisedOfProgram(static_cast<int32_t>(preset - kFactoryPresets.data()));
        return true;
    }
    double coreValue = 0.0;
    if (!readHostValueText(kHostParameters[id], buffer, coreValue)) return false;
    normalised = normalisedOf(id, coreValue);
    return true;
}
