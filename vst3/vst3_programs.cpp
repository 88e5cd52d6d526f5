// The factory presets as the root unit's one program list, chosen through
// the program parameter. A preset sets the 19 values and Mix; Quality (it
// moves the latency) and Bypass (a preset must not switch the effect back
// on) stay as they are.
#include <algorithm>
#include <limits>

#include "core/host_entry_guard.h"
#include "vst3/vst3_effect.h"
#include "vst3/vst3_host_reference.h"
#include "vst3/vst3_parameters.h"
#include "vst3/vst3_text16.h"

vvst3::tresult VVST3_CALL Vst3Effect::getUnitInfo(int32_t unitIndex, vvst3::UnitInfo& info) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (unitIndex != 0 || isNullReference(info)) return vvst3::kInvalidArgument;
        info = vvst3::UnitInfo{};
        info.id = vvst3::kRootUnitId;
        info.parentUnitId = vvst3::kNoParentUnitId;
        copyToText16("Root", info.name, std::size(info.name));
        info.programListId = kFactoryProgramListId;
        return vvst3::kResultOk;
    });
}

vvst3::tresult VVST3_CALL Vst3Effect::getProgramListInfo(int32_t listIndex, vvst3::ProgramListInfo& info) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (listIndex != 0 || isNullReference(info)) return vvst3::kInvalidArgument;
        info = vvst3::ProgramListInfo{};
        info.id = kFactoryProgramListId;
        copyToText16("Factory Presets", info.name, std::size(info.name));
        info.programCount = static_cast<int32_t>(kFactoryPresetCount);
        return vvst3::kResultOk;
    });
}

vvst3::tresult VVST3_CALL Vst3Effect::getProgramName(vvst3::ProgramListID listId, int32_t programIndex,
                                                     vvst3::String128 name) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (listId != kFactoryProgramListId || name == nullptr || programIndex < 0 ||
            programIndex >= static_cast<int32_t>(kFactoryPresetCount))
            return vvst3::kInvalidArgument;
        copyToText16(kFactoryPresets[static_cast<size_t>(programIndex)].name, name, 128);
        return vvst3::kResultOk;
    });
}

// Any thread: only atomics are written, nothing is allocated.
void Vst3Effect::loadProgram(int32_t index) {
    index = std::clamp(index, 0, kProgramStepCount);
    const FactoryPreset& preset = kFactoryPresets[static_cast<size_t>(index)];
    std::array<float, kHostParameterCount> values;
    values.fill(std::numeric_limits<float>::quiet_NaN());
    std::copy(preset.values.begin(), preset.values.end(), values.begin());
    values[kHostMixId] = preset.mix;
    currentProgram.store(index, std::memory_order_relaxed);
    effect.loadValues(values);
}

void Vst3Effect::reportProgramValues(vvst3::IParameterChanges* out, int32_t offset) {
    for (HostParameterId id = 0; id < kHostParameterCount; ++id) {
        double value = 0.0;
        if (id != kHostQualityId && id != kHostBypassId && effect.value(id, value))
            reportPoint(out, id, normalisedOf(id, value), offset);
    }
}
