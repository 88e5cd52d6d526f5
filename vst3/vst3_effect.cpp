#include "vst3/vst3_effect.h"

#include <new>

#include "core/denormal_mode.h"
#include "core/editor_factory.h"
#include "core/host_entry_guard.h"
#include "vst3/vst3_factory.h"
#include "vst3/vst3_module_handle.h"
#include "vst3/vst3_parameters.h"

namespace {

// Often enough that a host hears of a restart or a program change promptly,
// rarely enough to cost nothing while idle.
constexpr uint32_t kNotifierPeriodMs = 50;

bool isLinkIndex(int32_t index) { return index >= 0 && index < static_cast<int32_t>(kHostParameterCount); }

}  // namespace

Vst3Effect* Vst3Effect::create() { return new (std::nothrow) Vst3Effect(); }

Vst3Effect::Vst3Effect() : denormalBits(DenormalModeScope::flushToZeroBits()) { effect.setListener(this); }

// A host may release without terminate: whatever terminate would drop goes here.
Vst3Effect::~Vst3Effect() {
    notifier.stop();
    if (componentHandler != nullptr) componentHandler->release();
    if (hostContext != nullptr) hostContext->release();
    editorInstance.reset();
    effect.setListener(nullptr);
}

vvst3::tresult VVST3_CALL Vst3Effect::queryInterface(const vvst3::TUID iid, void** obj) {
    return guardedHostEntry(vvst3::kNoInterface, [&] {
        if (obj == nullptr) return vvst3::kInvalidArgument;
        *obj = nullptr;
        void* found = nullptr;
        if (vvst3::sameUid(iid, vvst3::FUnknown::iid) || vvst3::sameUid(iid, vvst3::IPluginBase::iid) ||
            vvst3::sameUid(iid, vvst3::IComponent::iid))
            found = static_cast<vvst3::IComponent*>(this);
        else if (vvst3::sameUid(iid, vvst3::IAudioProcessor::iid))
            found = static_cast<vvst3::IAudioProcessor*>(this);
        else if (vvst3::sameUid(iid, vvst3::IProcessContextRequirements::iid))
            found = static_cast<vvst3::IProcessContextRequirements*>(this);
        else if (vvst3::sameUid(iid, vvst3::IEditController::iid))
            found = static_cast<vvst3::IEditController*>(this);
        else if (vvst3::sameUid(iid, vvst3::IEditController2::iid))
            found = static_cast<vvst3::IEditController2*>(this);
        else if (vvst3::sameUid(iid, vvst3::IUnitInfo::iid))
            found = static_cast<vvst3::IUnitInfo*>(this);
        if (found == nullptr) return vvst3::kNoInterface;
        addRef();
        *obj = found;
        return vvst3::kResultOk;
    });
}

uint32_t VVST3_CALL Vst3Effect::addRef() { return references.fetch_add(1, std::memory_order_relaxed) + 1; }

uint32_t VVST3_CALL Vst3Effect::release() {
    const uint32_t before = references.fetch_sub(1, std::memory_order_acq_rel);
    if (before == 1) guardedHostEntry([&] { delete this; });
    return before - 1;
}

// The editor is made now, once: the core tells it of values from any thread,
// so it lives as long as the instance.
vvst3::tresult VVST3_CALL Vst3Effect::initialize(vvst3::FUnknown* context) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (initialised) return vvst3::kResultFalse;
        if (context != nullptr) {
            context->addRef();
            hostContext = context;
        }
        editorInstance = createEditor(
            EditorServices{*this, vst3ModuleHandle(), EditorFooter::QualityMixBypass, &effect.core().analyser()});
        if (!notifier.start(hostContext, kNotifierPeriodMs)) notifier.start(vst3FactoryHostContext(), kNotifierPeriodMs);
        initialised = true;
        return vvst3::kResultOk;
    });
}

vvst3::tresult VVST3_CALL Vst3Effect::terminate() {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (!initialised) return vvst3::kNotInitialized;
        notifier.stop();
        if (componentHandler != nullptr) componentHandler->release();
        componentHandler = nullptr;
        if (hostContext != nullptr) hostContext->release();
        hostContext = nullptr;
        effect.deactivate();
        initialised = false;
        return vvst3::kResultOk;
    });
}

// A latency restart asked for here is answered by the next activation.
void Vst3Effect::deliverHostNotifications() {
    if (componentHandler == nullptr) return;
    const int32_t flags = pendingRestart.exchange(0, std::memory_order_relaxed);
    if (flags == 0) return;
    if ((flags & vvst3::restart::kLatencyChanged) != 0) latencyRestartAsked = true;
    componentHandler->restartComponent(flags);
}

void Vst3Effect::parameterChanged(int32_t index, float value) {
    if (editorInstance) editorInstance->parameterChanged(index, value);
}

// --- the editor's link (UI thread) ---------------------------------------------

void Vst3Effect::beginEdit(int32_t index) {
    if (componentHandler != nullptr && isLinkIndex(index)) componentHandler->beginEdit(static_cast<vvst3::ParamID>(index));
}

// The value is the plug-in's at once; the host records it and sends it back
// through process, which then changes nothing. A crossover pushed along is an
// edit of its own.
void Vst3Effect::setValue(int32_t index, float value) {
    if (!isLinkIndex(index)) return;
    const auto id = static_cast<HostParameterId>(index);
    const HostValueReports reports = effect.applyEditorValue(id, value);
    for (uint32_t k = 0; k < reports.count && componentHandler != nullptr; ++k) {
        const HostValueReports::Report& report = reports.reports[k];
        const bool partner = report.id != id;
        if (partner) componentHandler->beginEdit(report.id);
        componentHandler->performEdit(report.id, normalisedOf(report.id, report.value));
        if (partner) componentHandler->endEdit(report.id);
    }
    if (reports.restartNeeded) {
        requestRestart(vvst3::restart::kLatencyChanged);
        deliverHostNotifications();
    }
}

void Vst3Effect::endEdit(int32_t index) {
    if (componentHandler != nullptr && isLinkIndex(index)) componentHandler->endEdit(static_cast<vvst3::ParamID>(index));
}

float Vst3Effect::currentValue(int32_t index) {
    double value = 0.0;
    return index >= 0 && effect.value(static_cast<HostParameterId>(index), value) ? static_cast<float>(value) : 0.0f;
}
