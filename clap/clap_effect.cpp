#include "clap/clap_effect.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <limits>
#include <new>

#include "clap/clap_module_handle.h"
#include "core/denormal_mode.h"
#include "core/editor_factory.h"

namespace {

bool usableStereo(const vclap::AudioBuffer* buffer) {
    return buffer != nullptr && buffer->data32 != nullptr && buffer->channel_count >= 2 &&
           buffer->data32[0] != nullptr && buffer->data32[1] != nullptr;
}

}  // namespace

ClapEffect* ClapEffect::create(const vclap::Host* host) { return new (std::nothrow) ClapEffect(host); }

ClapEffect* ClapEffect::of(const vclap::Plugin* plugin) {
    return plugin != nullptr ? static_cast<ClapEffect*>(plugin->plugin_data) : nullptr;
}

ClapEffect::ClapEffect(const vclap::Host* host) : host(host), denormalBits(DenormalModeScope::flushToZeroBits()) {
    clapPlugin = makeClapPlugin(this);
    effect.setListener(this);
}

ClapEffect::~ClapEffect() {
    // The window goes first, then the editor that reads values through us.
    editorGui.destroy();
    editorGui.setEditor(nullptr);
    editor.reset();
    effect.setListener(nullptr);
}

bool ClapEffect::init() {
    if (initialised) return true;
    const auto* params = host != nullptr && host->get_extension != nullptr
                             ? static_cast<const vclap::HostParams*>(host->get_extension(host, vclap::ext::kParams))
                             : nullptr;
    hostParams = params;
    if (host != nullptr && host->get_extension != nullptr)
        hostLatency = static_cast<const vclap::HostLatency*>(host->get_extension(host, vclap::ext::kLatency));
    editorGui.connect(host);
    // Made now, once: the core's listener may tell it of values from any
    // thread, so it lives as long as the instance.
    editor = createEditor(
        EditorServices{*this, clapModuleHandle(), EditorFooter::QualityMixBypass, &effect.core().analyser()});
    editorGui.setEditor(editor.get());
    initialised = true;
    return true;
}

// A new activation starts from a fresh audio path, as the format asks,
// with every value the host set kept (they are not audio state).
bool ClapEffect::activate(double sampleRate) {
    if (effect.isActive() || !(sampleRate > 0.0)) return false;
    if (effect.activate(sampleRate) && hostLatency != nullptr && hostLatency->changed != nullptr)
        hostLatency->changed(host);
    return true;
}

void ClapEffect::deactivate() {
    stopProcessing();
    effect.deactivate();
}

bool ClapEffect::startProcessing() {
    if (!effect.isActive()) return false;
    processing.store(true, std::memory_order_relaxed);
    return true;
}

void ClapEffect::stopProcessing() { processing.store(false, std::memory_order_relaxed); }

// Audio thread: the state of a fresh activation at the same rate and values,
// built in place (nothing allocated).
void ClapEffect::reset() {
    if (effect.isActive()) effect.clearAudioState();
}

// Each value event applies at its frame: the frames before it are processed
// with the values before it, as a VST 2 host splitting the block there would.
// Only value events split the block, so other events leave the bits as a
// host without them would give. A value's reports go out at the frame where
// it takes effect: inside the block and in time order even when a careless
// host sends an event beyond the block or out of order.
vclap::ProcessStatus ClapEffect::process(const vclap::Process& block) {
    const uint32_t frames = block.frames_count;
    const vclap::AudioBuffer* in = block.audio_inputs_count > 0 ? block.audio_inputs : nullptr;
    const vclap::AudioBuffer* out = block.audio_outputs_count > 0 ? block.audio_outputs : nullptr;
    const bool audio = effect.isActive() && usableStereo(in) && usableStereo(out);
    const DenormalModeScope denormals(denormalBits);
    const vclap::InputEvents* events = block.in_events;
    const bool haveEvents = events != nullptr && events->size != nullptr && events->get != nullptr;
    const uint32_t eventCount = haveEvents ? events->size(events) : 0;
    // The editor's edits first: they carry time 0, and output events go out
    // in time order.
    deliverEdits(block.out_events);
    uint32_t done = 0;
    for (uint32_t k = 0; k < eventCount; ++k) {
        vclap::ParamValueEvent event;
        if (!readValueEvent(events->get(events, k), event)) continue;
        // A time beyond the block (a host's mistake) applies at its end.
        const uint32_t at = std::min(event.header.time, frames);
        if (audio && at > done) runAudio(*in, *out, done, at);
        done = std::max(done, at);
        applyHostValue(event, block.out_events, std::min(done, frames > 0 ? frames - 1 : 0));
    }
    if (audio && done < frames) runAudio(*in, *out, done, frames);
    return audio || frames == 0 ? vclap::status::kContinue : vclap::status::kError;
}

void ClapEffect::runAudio(const vclap::AudioBuffer& in, const vclap::AudioBuffer& out, uint32_t from, uint32_t to) {
    while (from < to) {
        const auto count = static_cast<int32_t>(std::min<uint32_t>(to - from, INT32_MAX));
        float* inputs[2] = {in.data32[0] + from, in.data32[1] + from};
        float* outputs[2] = {out.data32[0] + from, out.data32[1] + from};
        effect.process(inputs, outputs, count);
        from += static_cast<uint32_t>(count);
    }
}

// Copies a value event of the core space; false for every other kind, which
// is skipped. Copied, because a host's event may sit at any address.
bool ClapEffect::readValueEvent(const vclap::EventHeader* header, vclap::ParamValueEvent& event) {
    if (header == nullptr || header->space_id != vclap::kCoreEventSpace || header->type != vclap::event::kParamValue ||
        header->size < sizeof(vclap::ParamValueEvent))
        return false;
    std::memcpy(&event, header, sizeof event);
    return true;
}

// A value from the host. Whatever the plug-in changes beyond what the host
// asked for (a value clamped into range, a crossover pushed along by the
// other) is reported back at once as a value event at the same time, so the
// host's lanes, controls and saved project hold what is heard.
void ClapEffect::applyHostValue(const vclap::ParamValueEvent& event, const vclap::OutputEvents* out, uint32_t time) {
    const HostValueReports reports = effect.applyHostValue(event.param_id, event.value);
    for (uint32_t k = 0; k < reports.count; ++k) reportValue(out, reports.reports[k].id, reports.reports[k].value, time);
    if (reports.restartNeeded) requestRestart();
}

void ClapEffect::requestRestart() {
    if (host != nullptr && host->request_restart != nullptr) host->request_restart(host);
}

void ClapEffect::reportValue(const vclap::OutputEvents* out, vclap::Id id, double value, uint32_t time) {
    if (out == nullptr || out->try_push == nullptr) return;
    vclap::ParamValueEvent event{{sizeof(vclap::ParamValueEvent), time, vclap::kCoreEventSpace,
                                  vclap::event::kParamValue, 0},
                                 id, nullptr, -1, -1, -1, -1, value};
    out->try_push(out, &event.header);
}

bool ClapEffect::parameterValue(vclap::Id id, double& value) const { return effect.value(id, value); }

void ClapEffect::flush(const vclap::InputEvents* in, const vclap::OutputEvents* out) {
    if (in != nullptr && in->size != nullptr && in->get != nullptr) {
        const uint32_t count = in->size(in);
        deliverEdits(out);
        for (uint32_t k = 0; k < count; ++k)
            if (vclap::ParamValueEvent event; readValueEvent(in->get(in, k), event)) applyHostValue(event, out, 0);
        return;
    }
    deliverEdits(out);
}

void ClapEffect::loadValues(const std::array<float, kHostParameterCount>& values) {
    if (effect.loadValues(values)) requestRestart();
    if (hostParams != nullptr && hostParams->rescan != nullptr) hostParams->rescan(host, vclap::param::kRescanValues);
}

void ClapEffect::loadPreset(const FactoryPreset& preset) {
    std::array<float, kHostParameterCount> values;
    values.fill(std::numeric_limits<float>::quiet_NaN());
    std::copy(preset.values.begin(), preset.values.end(), values.begin());
    values[kHostMixId] = preset.mix;
    loadValues(values);
}

void ClapEffect::deliverEdits(const vclap::OutputEvents* out) {
    if (out == nullptr || out->try_push == nullptr) return;
    for (GuiEdit edit; edits.pop(edit);) {
        const vclap::EventHeader header{0, 0, vclap::kCoreEventSpace, 0, 0};
        if (edit.kind == GuiEdit::Kind::Value) {
            vclap::ParamValueEvent event{header, edit.id, nullptr, -1, -1, -1, -1, edit.value};
            event.header.size = sizeof event;
            event.header.type = vclap::event::kParamValue;
            out->try_push(out, &event.header);
        } else {
            vclap::ParamGestureEvent event{header, edit.id};
            event.header.size = sizeof event;
            event.header.type = edit.kind == GuiEdit::Kind::Begin ? vclap::event::kParamGestureBegin
                                                                   : vclap::event::kParamGestureEnd;
            out->try_push(out, &event.header);
        }
    }
}

void ClapEffect::parameterChanged(int32_t index, float value) {
    if (editor) editor->parameterChanged(index, value);
}

// --- the editor's link (UI thread) ---------------------------------------------

void ClapEffect::queueEdit(GuiEdit::Kind kind, int32_t index, double value) {
    if (!ParameterValues::isIndex(index) && !isExtendedIndex(index)) return;
    edits.push({kind, kHostParameters[static_cast<size_t>(index)].id, value});
    // While processing, the next block carries the edits anyway.
    if (!processing.load(std::memory_order_relaxed) && hostParams != nullptr && hostParams->request_flush != nullptr)
        hostParams->request_flush(host);
}

void ClapEffect::beginEdit(int32_t index) { queueEdit(GuiEdit::Kind::Begin, index, 0.0); }

void ClapEffect::setValue(int32_t index, float value) {
    if (!ParameterValues::isIndex(index) && !isExtendedIndex(index)) return;
    const HostValueReports reports = effect.applyEditorValue(static_cast<HostParameterId>(index), value);
    for (uint32_t k = 0; k < reports.count; ++k)
        queueEdit(GuiEdit::Kind::Value, static_cast<int32_t>(reports.reports[k].id), reports.reports[k].value);
    if (reports.restartNeeded) requestRestart();
}

void ClapEffect::endEdit(int32_t index) { queueEdit(GuiEdit::Kind::End, index, 0.0); }

float ClapEffect::currentValue(int32_t index) {
    double value = 0.0;
    return index >= 0 && parameterValue(static_cast<vclap::Id>(index), value) ? static_cast<float>(value) : 0.0f;
}
