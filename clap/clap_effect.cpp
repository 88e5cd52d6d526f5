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

int32_t indexOf(vclap::Id id) {
    const ClapParameter* parameter = clapParameter(id);
    return parameter ? static_cast<int32_t>(parameter - kClapParameters.data()) : -1;
}

bool usableStereo(const vclap::AudioBuffer* buffer) {
    return buffer != nullptr && buffer->data32 != nullptr && buffer->channel_count >= 2 &&
           buffer->data32[0] != nullptr && buffer->data32[1] != nullptr;
}

}  // namespace

ClapEffect* ClapEffect::create(const vclap::Host* host) {
    ClapEffect* effect = new (std::nothrow) ClapEffect(host);
    if (effect != nullptr && !effect->buildCore()) {
        delete effect;
        return nullptr;
    }
    return effect;
}

ClapEffect* ClapEffect::of(const vclap::Plugin* plugin) {
    return plugin != nullptr ? static_cast<ClapEffect*>(plugin->plugin_data) : nullptr;
}

ClapEffect::ClapEffect(const vclap::Host* host) : host(host), denormalBits(DenormalModeScope::flushToZeroBits()) {
    clapPlugin = makeClapPlugin(this);
}

ClapEffect::~ClapEffect() {
    // The window goes first, then the editor that reads values through us.
    editorGui.destroy();
    editorGui.setEditor(nullptr);
    editor.reset();
    if (core) core->parameters().setListener(nullptr);
}

// A fresh audio path holding the current values (the defaults at first).
bool ClapEffect::buildCore() {
    std::unique_ptr<EffectCore> fresh(new (std::nothrow) EffectCore);
    if (!fresh) return false;
    if (core) {
        for (int32_t i = 0; i < kNumParameters; ++i) fresh->parameters().store(i, core->parameters().get(i));
        fresh->setSampleRate(core->sampleRate());
        core->parameters().setListener(nullptr);
    }
    fresh->parameters().setListener(this);
    core = std::move(fresh);
    return true;
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
    editor = createEditor(*this, clapModuleHandle(), EditorFooter::QualityMixBypass);
    editorGui.setEditor(editor.get());
    initialised = true;
    return true;
}

bool ClapEffect::activate(double sampleRate) {
    if (active || !(sampleRate > 0.0)) return false;
    // A later activation starts from a fresh path, as the format asks.
    if (activatedBefore && !buildCore()) return false;
    core->setSampleRate(static_cast<float>(sampleRate));
    // The Quality asked for while active, if it waited for this restart,
    // takes effect now, and the host hears of the new latency.
    const Oversampling quality = qualityAsked.load(std::memory_order_relaxed);
    core->setOversampling(quality);
    qualityInEffect.store(quality, std::memory_order_relaxed);
    restartAsked.store(false, std::memory_order_relaxed);
    activatedBefore = true;
    active = true;
    const int64_t latency = latencyFrames();
    if (latency != latencyReported && hostLatency != nullptr && hostLatency->changed != nullptr)
        hostLatency->changed(host);
    latencyReported = latency;
    return true;
}

void ClapEffect::deactivate() {
    stopProcessing();
    active = false;
}

bool ClapEffect::startProcessing() {
    if (!active) return false;
    processing.store(true, std::memory_order_relaxed);
    return true;
}

void ClapEffect::stopProcessing() { processing.store(false, std::memory_order_relaxed); }

// Audio thread: the state of a fresh activation at the same rate and values,
// built in place (nothing allocated).
void ClapEffect::reset() {
    if (active) core->clearAudioState();
}

// Each value event applies at its frame: the frames before it are processed
// with the values before it, as a VST 2 host splitting the block there would.
// Only value events split the block, so other events leave the bits as a
// host without them would give.
vclap::ProcessStatus ClapEffect::process(const vclap::Process& block) {
    const uint32_t frames = block.frames_count;
    const vclap::AudioBuffer* in = block.audio_inputs_count > 0 ? block.audio_inputs : nullptr;
    const vclap::AudioBuffer* out = block.audio_outputs_count > 0 ? block.audio_outputs : nullptr;
    const bool audio = active && usableStereo(in) && usableStereo(out);
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
        applyHostValue(event, block.out_events, at);
    }
    if (audio && done < frames) runAudio(*in, *out, done, frames);
    return audio || frames == 0 ? vclap::status::kContinue : vclap::status::kError;
}

void ClapEffect::runAudio(const vclap::AudioBuffer& in, const vclap::AudioBuffer& out, uint32_t from, uint32_t to) {
    while (from < to) {
        const auto count = static_cast<int32_t>(std::min<uint32_t>(to - from, INT32_MAX));
        float* inputs[2] = {in.data32[0] + from, in.data32[1] + from};
        float* outputs[2] = {out.data32[0] + from, out.data32[1] + from};
        core->processReplacing(inputs, outputs, count);
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

// Stores a value clamped to the parameter's range (NaN as its default), so
// that everything stored is a value a saved state may hold.
void ClapEffect::setParameter(vclap::Id id, double value) {
    const ClapParameter* parameter = clapParameter(id);
    if (parameter == nullptr) return;
    const double valid = clampedClapValue(*parameter, value);
    if (id == kClapQualityId)
        setQuality(valid);
    else if (id == kClapMixId)
        core->setMix(static_cast<float>(valid));
    else if (id == kClapBypassId)
        core->setBypassed(valid >= 0.5);
    else
        core->parameters().set(indexOf(id), static_cast<float>(valid));
    if (editor && id >= kNumParameters) editor->parameterChanged(static_cast<int32_t>(id), static_cast<float>(valid));
}

// A value from the host. Whatever the plug-in changes beyond what the host
// asked for (a value clamped into range, a crossover pushed along by the
// other) is reported back at once as a value event at the same time, so the
// host's lanes, controls and saved project hold what is heard.
void ClapEffect::applyHostValue(const vclap::ParamValueEvent& event, const vclap::OutputEvents* out, uint32_t time) {
    const vclap::Id id = event.param_id;
    const ClapParameter* parameter = clapParameter(id);
    if (parameter == nullptr) return;
    const float crossovers[2] = {core->parameters().get(kCross1), core->parameters().get(kCross2)};
    setParameter(id, event.value);
    // Only a value moved into the range is news: the float a value in range
    // is stored as is what the host's double means.
    const double valid = clampedClapValue(*parameter, event.value);
    if (!(valid == event.value)) {
        double stored = valid;
        parameterValue(id, stored);
        reportValue(out, id, stored, time);
    }
    for (int32_t partner : {kCross1, kCross2}) {
        const float now = core->parameters().get(partner);
        if (static_cast<vclap::Id>(partner) != id &&
            std::bit_cast<uint32_t>(now) != std::bit_cast<uint32_t>(crossovers[partner - kCross1]))
            reportValue(out, static_cast<vclap::Id>(partner), now, time);
    }
}

void ClapEffect::reportValue(const vclap::OutputEvents* out, vclap::Id id, double value, uint32_t time) {
    if (out == nullptr || out->try_push == nullptr) return;
    vclap::ParamValueEvent event{{sizeof(vclap::ParamValueEvent), time, vclap::kCoreEventSpace,
                                  vclap::event::kParamValue, 0},
                                 id, nullptr, -1, -1, -1, -1, value};
    out->try_push(out, &event.header);
}

// Any thread. The latency may not change while the plug-in is active, so a
// setting with another delay waits for the restart the host is asked for
// (once), and the delay the host compensates always matches the sound. A
// setting with the same delay, or any setting while inactive, needs no
// restart and is taken up at once (within a sub-block).
void ClapEffect::setQuality(double value) {
    const Oversampling asked = clapQualitySetting(value);
    qualityAsked.store(asked, std::memory_order_relaxed);
    const Oversampling running = qualityInEffect.load(std::memory_order_relaxed);
    if (!active || DistortionProcessor::latencyFrames(asked) == DistortionProcessor::latencyFrames(running)) {
        core->setOversampling(asked);
        qualityInEffect.store(asked, std::memory_order_relaxed);
    } else if (!restartAsked.exchange(true, std::memory_order_relaxed) && host != nullptr &&
               host->request_restart != nullptr) {
        host->request_restart(host);
    }
}

uint32_t ClapEffect::latencyFrames() const {
    const Oversampling setting = (active ? qualityInEffect : qualityAsked).load(std::memory_order_relaxed);
    return static_cast<uint32_t>(DistortionProcessor::latencyFrames(setting));
}

bool ClapEffect::parameterValue(vclap::Id id, double& value) const {
    if (id == kClapQualityId) {
        value = static_cast<double>(qualityAsked.load(std::memory_order_relaxed));
        return true;
    }
    if (id == kClapMixId || id == kClapBypassId) {
        value = id == kClapMixId ? core->mix() : (core->bypassed() ? 1.0 : 0.0);
        return true;
    }
    const int32_t index = indexOf(id);
    if (index < 0) return false;
    value = core->parameters().get(index);
    return true;
}

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

std::array<float, kClapParameterCount> ClapEffect::allValues() const {
    std::array<float, kClapParameterCount> values{};
    for (uint32_t i = 0; i < kClapParameterCount; ++i) {
        double value = 0.0;
        parameterValue(kClapParameters[i].id, value);
        values[i] = static_cast<float>(value);
    }
    return values;
}

void ClapEffect::loadValues(const std::array<float, kClapParameterCount>& values) {
    // In id order through the setter: a saved pair of crossovers is in order,
    // so pushing one past the other leaves both as saved.
    for (uint32_t i = 0; i < kClapParameterCount; ++i)
        if (values[i] == values[i]) setParameter(kClapParameters[i].id, static_cast<double>(values[i]));
    if (hostParams != nullptr && hostParams->rescan != nullptr) hostParams->rescan(host, vclap::param::kRescanValues);
}

void ClapEffect::loadPreset(const FactoryPreset& preset) {
    std::array<float, kClapParameterCount> values;
    values.fill(std::numeric_limits<float>::quiet_NaN());
    std::copy(preset.values.begin(), preset.values.end(), values.begin());
    values[kClapMixId] = preset.mix;
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
    edits.push({kind, kClapParameters[static_cast<size_t>(index)].id, value});
    // While processing, the next block carries the edits anyway.
    if (!processing.load(std::memory_order_relaxed) && hostParams != nullptr && hostParams->request_flush != nullptr)
        hostParams->request_flush(host);
}

void ClapEffect::beginEdit(int32_t index) { queueEdit(GuiEdit::Kind::Begin, index, 0.0); }

void ClapEffect::setValue(int32_t index, float value) {
    if (isExtendedIndex(index)) {
        setParameter(static_cast<vclap::Id>(index), value);
        double stored = 0.0;
        parameterValue(static_cast<vclap::Id>(index), stored);
        queueEdit(GuiEdit::Kind::Value, index, stored);
        return;
    }
    if (!ParameterValues::isIndex(index)) return;
    value = static_cast<float>(clampedClapValue(kClapParameters[static_cast<size_t>(index)], value));
    ParameterValues& values = core->parameters();
    const float before[2] = {values.get(kCross1), values.get(kCross2)};
    values.set(index, value);
    // A crossover pushed along is a change the host must hear of too.
    for (int32_t partner : {kCross1, kCross2}) {
        const float now = values.get(partner);
        if (partner != index && std::bit_cast<uint32_t>(now) != std::bit_cast<uint32_t>(before[partner - kCross1]))
            queueEdit(GuiEdit::Kind::Value, partner, now);
    }
    queueEdit(GuiEdit::Kind::Value, index, value);
}

void ClapEffect::endEdit(int32_t index) { queueEdit(GuiEdit::Kind::End, index, 0.0); }

float ClapEffect::currentValue(int32_t index) {
    double value = 0.0;
    return index >= 0 && parameterValue(static_cast<vclap::Id>(index), value) ? static_cast<float>(value) : 0.0f;
}
