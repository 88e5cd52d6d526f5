// The controller's side: the parameter list, values and texts, and the host
// setting values outside process (automation shown, its generic editor).
#include <cmath>
#include <cstring>

#include "core/host_entry_guard.h"
#include "vst3/vst3_effect.h"
#include "vst3/vst3_host_reference.h"
#include "vst3/vst3_parameters.h"
#include "vst3/vst3_view.h"

int32_t VVST3_CALL Vst3Effect::getParameterCount() { return kVst3ParameterCount; }

vvst3::tresult VVST3_CALL Vst3Effect::getParameterInfo(int32_t paramIndex, vvst3::ParameterInfo& info) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (isNullReference(info)) return vvst3::kInvalidArgument;
        return describeVst3Parameter(paramIndex, info) ? vvst3::kResultOk : vvst3::kInvalidArgument;
    });
}

vvst3::tresult VVST3_CALL Vst3Effect::getParamStringByValue(vvst3::ParamID id, vvst3::ParamValue valueNormalized,
                                                            vvst3::String128 string) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (string == nullptr || !isVst3Parameter(id) || std::isnan(valueNormalized)) return vvst3::kInvalidArgument;
        return writeVst3ValueText(id, valueNormalized, string) ? vvst3::kResultOk : vvst3::kResultFalse;
    });
}

vvst3::tresult VVST3_CALL Vst3Effect::getParamValueByString(vvst3::ParamID id, vvst3::Char16* string,
                                                            vvst3::ParamValue& valueNormalized) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (string == nullptr || isNullReference(valueNormalized) || !isVst3Parameter(id))
            return vvst3::kInvalidArgument;
        double value = 0.0;
        if (!readVst3ValueText(id, string, value)) return vvst3::kResultFalse;
        valueNormalized = value;
        return vvst3::kResultOk;
    });
}

vvst3::ParamValue VVST3_CALL Vst3Effect::normalizedParamToPlain(vvst3::ParamID id, vvst3::ParamValue valueNormalized) {
    return guardedHostEntry(0.0, [&] { return plainOf(id, valueNormalized); });
}

vvst3::ParamValue VVST3_CALL Vst3Effect::plainParamToNormalized(vvst3::ParamID id, vvst3::ParamValue plainValue) {
    return guardedHostEntry(0.0, [&] { return normalisedOfPlain(id, plainValue); });
}

vvst3::ParamValue VVST3_CALL Vst3Effect::getParamNormalized(vvst3::ParamID id) {
    return guardedHostEntry(0.0, [&] {
        if (id == kProgramParameterId) return normalisedOfProgram(currentProgram.load(std::memory_order_relaxed));
        double value = 0.0;
        return effect.value(id, value) ? normalisedOf(id, value) : 0.0;
    });
}

// While audio runs, the value reaches the sound through process (the host
// sends it there too, in time order); applying it here as well could put an
// older value over a newer one, so the editor only shows it. Otherwise
// nothing else will apply it, so it is applied now. A program is applied at
// once either way.
vvst3::tresult VVST3_CALL Vst3Effect::setParamNormalized(vvst3::ParamID id, vvst3::ParamValue value) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (!isVst3Parameter(id) || std::isnan(value)) return vvst3::kInvalidArgument;
        // The host is inside its own program change here, and a host may hold
        // a lock of its own across this call that telling it of the new values
        // would wait on (measured: one hangs for good). So the notice goes out
        // from the next UI tick, never from within the host's call.
        if (id == kProgramParameterId) {
            loadProgram(programIndexOf(value));
            requestRestart(vvst3::restart::kParamValuesChanged);
            return vvst3::kResultOk;
        }
        double coreValue = 0.0;
        coreValueOf(id, value, coreValue);
        if (processing.load(std::memory_order_relaxed)) {
            if (editorInstance) editorInstance->parameterChanged(static_cast<int32_t>(id), static_cast<float>(coreValue));
            return vvst3::kResultOk;
        }
        if (effect.applyHostValue(id, coreValue).restartNeeded) requestRestart(vvst3::restart::kLatencyChanged);
        return vvst3::kResultOk;
    });
}

vvst3::tresult VVST3_CALL Vst3Effect::setComponentHandler(vvst3::IComponentHandler* handler) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (handler != nullptr) handler->addRef();
        if (componentHandler != nullptr) componentHandler->release();
        componentHandler = handler;
        return vvst3::kResultOk;
    });
}

vvst3::IPlugView* VVST3_CALL Vst3Effect::createView(vvst3::FIDString name) {
    return guardedHostEntry(static_cast<vvst3::IPlugView*>(nullptr), [&]() -> vvst3::IPlugView* {
        if (name == nullptr || std::strcmp(name, vvst3::kEditorViewType) != 0 || !editorInstance) return nullptr;
        return Vst3View::create(*this);
    });
}

vvst3::tresult VVST3_CALL Vst3Effect::setKnobMode(vvst3::KnobMode mode) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (mode < vvst3::kCircularMode || mode > vvst3::kLinearMode || !editorInstance) return vvst3::kResultFalse;
        return editorInstance->setKnobDragMode(mode) == 1 ? vvst3::kResultOk : vvst3::kResultFalse;
    });
}

vvst3::tresult VVST3_CALL Vst3Effect::openHelp(vvst3::TBool) { return vvst3::kResultFalse; }
vvst3::tresult VVST3_CALL Vst3Effect::openAboutBox(vvst3::TBool) { return vvst3::kResultFalse; }
