#include "host/clap_plugin.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "host/errors.h"

namespace {

std::string text(const char* value) { return value != nullptr ? value : ""; }

template <typename Extension>
const Extension* ask(const vclap::Plugin* plugin, const char* id) {
    return static_cast<const Extension*>(plugin->get_extension(plugin, id));
}

// An extension with a missing function counts as absent: calling through
// half a table is never safe.
template <typename Extension, typename... Functions>
const Extension* complete(const Extension* extension, Functions... functions) {
    if (extension == nullptr) return nullptr;
    return ((extension->*functions != nullptr) && ...) ? extension : nullptr;
}

}  // namespace

ClapPlugin::ClapPlugin(const std::string& path, std::unique_ptr<PluginLibrary> library, std::FILE* trace)
    : path_(path), library_(std::make_unique<ClapLibrary>(path, std::move(library))), host_(trace) {
    createInstance();
    queryExtensions();
    readParameters();
}

ClapPlugin::~ClapPlugin() {
    closeEditor();
    stop();
    plugin_->destroy(plugin_);
}

void ClapPlugin::createInstance() {
    const vclap::PluginFactory& factory = library_->factory();
    const std::string id = descriptor().id;
    plugin_ = factory.create_plugin(&factory, host_.host(), id.c_str());
    if (plugin_ == nullptr) throw HostError(path_ + " did not create its plug-in " + id + ".");
    const vclap::Plugin& p = *plugin_;
    if (p.destroy == nullptr) throw HostError("The plug-in " + id + " in " + path_ + " cannot be destroyed.");
    const bool callable = p.init && p.activate && p.deactivate && p.start_processing && p.stop_processing &&
                          p.process && p.get_extension;
    if (!callable || !p.init(plugin_)) {
        p.destroy(plugin_);
        plugin_ = nullptr;
        throw HostError("The plug-in " + id + " in " + path_ +
                        (callable ? " refused to initialise." : " lacks functions every plug-in has."));
    }
}

void ClapPlugin::queryExtensions() {
    using namespace vclap;
    ext_.params = complete(ask<PluginParams>(plugin_, ext::kParams), &PluginParams::count, &PluginParams::get_info,
                           &PluginParams::get_value, &PluginParams::value_to_text, &PluginParams::text_to_value,
                           &PluginParams::flush);
    ext_.audioPorts =
        complete(ask<PluginAudioPorts>(plugin_, ext::kAudioPorts), &PluginAudioPorts::count, &PluginAudioPorts::get);
    ext_.latency = complete(ask<PluginLatency>(plugin_, ext::kLatency), &PluginLatency::get);
    ext_.state = complete(ask<PluginState>(plugin_, ext::kState), &PluginState::save, &PluginState::load);
    ext_.gui = complete(ask<PluginGui>(plugin_, ext::kGui), &PluginGui::is_api_supported, &PluginGui::create,
                        &PluginGui::destroy, &PluginGui::set_scale, &PluginGui::get_size, &PluginGui::can_resize,
                        &PluginGui::set_parent, &PluginGui::show, &PluginGui::hide);
    ext_.timers = complete(ask<PluginTimerSupport>(plugin_, ext::kTimerSupport), &PluginTimerSupport::on_timer);
    ext_.fds = complete(ask<PluginPosixFdSupport>(plugin_, ext::kPosixFdSupport), &PluginPosixFdSupport::on_fd);
    // A plug-in built against the draft answers only to its id.
    ext_.presetLoad = complete(ask<PluginPresetLoad>(plugin_, ext::kPresetLoad), &PluginPresetLoad::from_location);
    if (ext_.presetLoad == nullptr)
        ext_.presetLoad =
            complete(ask<PluginPresetLoad>(plugin_, ext::kPresetLoadCompat), &PluginPresetLoad::from_location);
}

void ClapPlugin::readParameters() {
    if (ext_.params == nullptr) return;
    const uint32_t count = ext_.params->count(plugin_);
    for (uint32_t i = 0; i < count; ++i) {
        vclap::ParamInfo info{};
        if (!ext_.params->get_info(plugin_, i, &info)) continue;
        info.name[vclap::kNameSize - 1] = '\0';
        info.module[vclap::kPathSize - 1] = '\0';
        params_.push_back(info);
    }
}

std::string ClapPlugin::displayName() {
    const std::string name = text(descriptor().name);
    return name.empty() ? std::filesystem::path(path_).filename().string() : name;
}

std::string ClapPlugin::portSummary(bool isInput) {
    const uint32_t count = ext_.audioPorts ? ext_.audioPorts->count(plugin_, isInput) : 0;
    std::string summary = std::to_string(count) + (count == 1 ? " port" : " ports");
    for (uint32_t i = 0; i < count; ++i) {
        vclap::AudioPortInfo info{};
        if (!ext_.audioPorts->get(plugin_, i, isInput, &info)) continue;
        info.name[vclap::kNameSize - 1] = '\0';
        summary += (i == 0 ? ": " : ", ") + std::string(info.name) + " (" + std::to_string(info.channel_count) +
                   " ch" + ((info.flags & vclap::audio_port::kIsMain) != 0 ? ", main" : "") + ")";
    }
    return summary;
}

std::vector<InfoField> ClapPlugin::identity() {
    const vclap::PluginDescriptor& d = descriptor();
    const vclap::Version& v = library_->entry().clap_version;
    std::string features;
    for (const char* const* feature = d.features; feature != nullptr && *feature != nullptr; ++feature) {
        features += (features.empty() ? "" : ", ") + std::string(*feature);
    }
    return {
        {"Format", "CLAP " + std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
                       std::to_string(v.revision)},
        {"Plug-in id", text(d.id)},
        {"Name", text(d.name)},
        {"Vendor", text(d.vendor)},
        {"Version", text(d.version)},
        {"Description", text(d.description)},
        {"Features", features},
        {"Audio inputs", portSummary(true)},
        {"Audio outputs", portSummary(false)},
        {"Latency", std::to_string(latency()) + " samples"},
    };
}

std::vector<PresetListing> ClapPlugin::presets() {
    if (!presets_) {
        std::vector<std::string> problems;
        presets_ = discoverClapPresets(library_->entry(), descriptor().id, problems);
        for (const std::string& problem : problems) std::fprintf(stderr, "%s\n", problem.c_str());
    }
    std::vector<PresetListing> listing;
    for (const ClapPresetEntry& preset : *presets_) listing.push_back({preset.name, preset.loadKey, preset.description});
    return listing;
}

void ClapPlugin::loadPreset(size_t index) {
    if (!presets_) presets();
    const ClapPresetEntry& preset = presets_->at(index);
    if (ext_.presetLoad == nullptr)
        throw HostError("The plug-in " + displayName() +
                        " lists presets but cannot load them: it lacks the preset-load extension.");
    host_.clearPresetError();
    const char* location = preset.location ? preset.location->c_str() : nullptr;
    if (!ext_.presetLoad->from_location(plugin_, preset.locationKind, location, preset.loadKey.c_str())) {
        const std::string reason = host_.presetError();
        throw HostError("The plug-in " + displayName() + " did not load its preset \"" + preset.name + "\"" +
                        (reason.empty() ? "." : ": " + reason));
    }
}

int32_t ClapPlugin::indexOf(vclap::Id id) const {
    for (size_t i = 0; i < params_.size(); ++i) {
        if (params_[i].id == id) return static_cast<int32_t>(i);
    }
    return -1;
}

double ClapPlugin::currentPlain(int32_t index) {
    const vclap::ParamInfo& info = params_.at(static_cast<size_t>(index));
    if (const auto* queued = pending_.lastFor(info.id)) return queued->value;
    double value = info.default_value;
    ext_.params->get_value(plugin_, info.id, &value);
    return value;
}

std::string ClapPlugin::parameterName(int32_t index) { return params_.at(static_cast<size_t>(index)).name; }

std::string ClapPlugin::parameterDisplay(int32_t index) {
    char buffer[vclap::kNameSize] = {};
    const double value = currentPlain(index);
    if (!ext_.params->value_to_text(plugin_, params_[static_cast<size_t>(index)].id, value, buffer, sizeof buffer)) {
        std::snprintf(buffer, sizeof buffer, "%g", value);
    }
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

std::optional<float> ClapPlugin::parameterFromText(int32_t index, const std::string& text) {
    const vclap::ParamInfo& info = params_.at(static_cast<size_t>(index));
    double plain = 0.0;
    if (ext_.params->text_to_value == nullptr || !ext_.params->text_to_value(plugin_, info.id, text.c_str(), &plain))
        return std::nullopt;
    const double span = info.max_value - info.min_value;
    return span > 0.0 ? static_cast<float>(std::clamp((plain - info.min_value) / span, 0.0, 1.0)) : 0.0f;
}

float ClapPlugin::parameter(int32_t index) {
    const vclap::ParamInfo& info = params_.at(static_cast<size_t>(index));
    const double span = info.max_value - info.min_value;
    if (!(span > 0.0)) return 0.0f;
    return static_cast<float>(std::clamp((currentPlain(index) - info.min_value) / span, 0.0, 1.0));
}

void ClapPlugin::setParameterAt(int32_t index, float value, uint32_t frame) {
    const vclap::ParamInfo& info = params_.at(static_cast<size_t>(index));
    double plain = info.min_value + static_cast<double>(value) * (info.max_value - info.min_value);
    // A stepped parameter takes whole numbers only.
    if ((info.flags & vclap::param::kIsStepped) != 0) plain = std::round(plain);
    pending_.addParamValue(info.id, info.cookie, std::clamp(plain, info.min_value, info.max_value), frame);
}

void ClapPlugin::configure(double sampleRate, int32_t maxFrames) {
    sampleRate_ = sampleRate;
    maxFrames_ = maxFrames;
}

void ClapPlugin::prepareAudio() {
    if (!buffers_) buffers_ = std::make_unique<ClapBuffers>(plugin_, ext_.audioPorts, maxFrames_);
}

bool ClapPlugin::activate() {
    if (!active_) active_ = plugin_->activate(plugin_, sampleRate_, 1, static_cast<uint32_t>(maxFrames_));
    return active_;
}

void ClapPlugin::deactivate() {
    if (!active_) return;
    plugin_->deactivate(plugin_);
    active_ = false;
}

void ClapPlugin::start() {
    // Values set before the start are handed over first, so the plug-in
    // activates with them (a latency among them is then right from the start).
    if (!active_) flushIfDue();
    if (!activate()) {
        throw HostError("The plug-in " + displayName() + " did not activate at " +
                        std::to_string(static_cast<long>(sampleRate_)) + " Hz.");
    }
}

void ClapPlugin::stop() {
    if (processing_) {
        ClapHost::AudioScope audio;
        plugin_->stop_processing(plugin_);
        processing_ = false;
    }
    deactivate();
}

int32_t ClapPlugin::latency() {
    if (ext_.latency == nullptr) return 0;
    // The plug-in only knows its latency once activated.
    const bool wasActive = active_;
    if (!activate()) return 0;
    const uint32_t samples = ext_.latency->get(plugin_);
    if (!wasActive) deactivate();
    return static_cast<int32_t>(std::min<uint32_t>(samples, INT32_MAX));
}

void ClapPlugin::process(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int32_t frames) {
    processBlock(inLeft, inRight, outLeft, outRight, frames);
    restartIfAsked();
}

void ClapPlugin::processBlock(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                              int32_t frames) {
    ClapHost::AudioScope audio;
    if (!processing_) processing_ = active_ && plugin_->start_processing(plugin_);
    if (!processing_) {
        // A plug-in that will not start gives silence, as a host plays it.
        std::fill_n(outLeft, frames, 0.0f);
        std::fill_n(outRight, frames, 0.0f);
        return;
    }
    buffers_->load(inLeft, inRight, frames);
    vclap::Process block{};
    block.steady_time = steadyTime_;
    block.frames_count = static_cast<uint32_t>(frames);
    block.transport = nullptr;
    block.audio_inputs = buffers_->inputs();
    block.audio_outputs = buffers_->outputs();
    block.audio_inputs_count = buffers_->inputCount();
    block.audio_outputs_count = buffers_->outputCount();
    block.in_events = pending_.list();
    block.out_events = produced_.list();
    const vclap::ProcessStatus status = plugin_->process(plugin_, &block);
    steadyTime_ += frames;
    pending_.clear();
    traceProduced();
    produced_.clear();
    if (status == vclap::status::kError) {
        std::fill_n(outLeft, frames, 0.0f);
        std::fill_n(outRight, frames, 0.0f);
    } else {
        buffers_->store(outLeft, outRight, frames);
    }
}

// Between blocks, as a host does when the plug-in asks: stop, deactivate,
// activate (where the plug-in reports its new latency) and start again with
// the next block.
void ClapPlugin::restartIfAsked() {
    if (!host_.takeRestartRequest() || !active_) return;
    stop();
    start();
    host_.trace("restarted with latency %d", static_cast<int>(latency()));
}
