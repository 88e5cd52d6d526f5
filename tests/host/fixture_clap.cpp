// Small CLAP plug-ins that check the host as much as the host checks them.
// The gain kind is a stereo gain with a stepped polarity switch, whose
// parameter ids differ from their indices; its state is the two values; its
// X11 editor plays one knob gesture from a timer. Every call checks the
// instance state and the thread role the host reports, and a host that breaks
// a rule ends the process with a message. The other kinds are libraries
// whose factory is missing or whose plug-in refuses init.
// FIXTURE_CLAP_KIND picks the kind. The Windows build has no editor.
#define FIXTURE_CLAP_GAIN 1
#define FIXTURE_CLAP_NULL_FACTORY 2
#define FIXTURE_CLAP_REFUSING 3

#if !defined(_WIN32)
#include <X11/Xlib.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "clap/clap_extensions.h"

namespace {

using namespace vclap;

constexpr Id kGainId = 7;
constexpr Id kInvertId = 3;
constexpr uint32_t kLatency = 3;

void violation(const char* rule) {
    std::fprintf(stderr, "fixture: the host broke a rule: %s\n", rule);
    std::abort();
}

void require(bool condition, const char* rule) {
    if (!condition) violation(rule);
}

struct Instance {
    Plugin plugin;
    const Host* host = nullptr;
    const HostThreadCheck* threads = nullptr;
    const HostParams* hostParams = nullptr;
    const HostTimerSupport* timers = nullptr;
    const HostPosixFdSupport* fds = nullptr;
    bool initialised = false, active = false, processing = false;
    uint32_t maxFrames = 0;
    double gain = 1.0, invert = 0.0;
    bool gesturePending = false;
#if !defined(_WIN32)
    // The editor: a child window on our own connection, one timer, one fd.
    Display* display = nullptr;
    ::Window child = 0;
    Id timer = kInvalidId;
    int ticks = 0;
#endif
};

Instance& self(const Plugin* plugin) { return *static_cast<Instance*>(plugin->plugin_data); }
bool onMain(const Instance& i) { return i.threads->is_main_thread(i.host); }
bool onAudio(const Instance& i) { return i.threads->is_audio_thread(i.host); }
void requireMain(const Plugin* plugin, const char* rule) { require(onMain(self(plugin)), rule); }

void apply(Instance& i, const EventHeader* header) {
    if (header == nullptr || header->space_id != kCoreEventSpace || header->type != event::kParamValue) return;
    require(header->size == sizeof(ParamValueEvent), "a parameter event has its own size");
    ParamValueEvent event;
    std::memcpy(&event, header, sizeof event);
    if (event.param_id == kGainId) i.gain = event.value;
    else if (event.param_id == kInvertId) i.invert = event.value;
    else violation("events carry parameter ids, not indices");
}

// --- parameters -----------------------------------------------------------------

uint32_t paramCount(const Plugin*) { return 2; }

bool paramInfo(const Plugin* plugin, uint32_t index, ParamInfo* info) {
    requireMain(plugin, "param info on the main thread");
    if (index > 1) return false;
    *info = ParamInfo{};
    const bool gain = index == 0;
    info->id = gain ? kGainId : kInvertId;
    info->flags = param::kIsAutomatable | (gain ? 0 : param::kIsStepped);
    std::strcpy(info->name, gain ? "Gain" : "Invert");
    info->max_value = gain ? 2.0 : 1.0;
    info->default_value = gain ? 1.0 : 0.0;
    return true;
}

bool paramValue(const Plugin* plugin, Id id, double* value) {
    const Instance& i = self(plugin);
    if (id != kGainId && id != kInvertId) return false;
    *value = id == kGainId ? i.gain : i.invert;
    return true;
}

bool valueToText(const Plugin*, Id id, double value, char* text, uint32_t capacity) {
    if (id == kGainId) std::snprintf(text, capacity, "%.2f x", value);
    else if (id == kInvertId) std::snprintf(text, capacity, "%s", static_cast<int>(value) != 0 ? "on" : "off");
    else return false;
    return true;
}

bool textToValue(const Plugin*, Id, const char*, double*) { return false; }

void pushGesture(Instance& i, const OutputEvents* out) {
    ParamGestureEvent begin{{sizeof(ParamGestureEvent), 0, kCoreEventSpace, event::kParamGestureBegin, 0}, kGainId};
    ParamValueEvent value{{sizeof(ParamValueEvent), 0, kCoreEventSpace, event::kParamValue, 0}, kGainId, nullptr,
                          -1, -1, -1, -1, 0.5};
    ParamGestureEvent end = begin;
    end.header.type = event::kParamGestureEnd;
    out->try_push(out, &begin.header);
    out->try_push(out, &value.header);
    out->try_push(out, &end.header);
    i.gain = 0.5;
}

void flush(const Plugin* plugin, const InputEvents* in, const OutputEvents* out) {
    Instance& i = self(plugin);
    require(!i.processing, "no flush while processing");
    require(i.active ? onAudio(i) : onMain(i), "flush on the audio thread when active, else the main thread");
    for (uint32_t k = 0; k < in->size(in); ++k) apply(i, in->get(in, k));
    if (i.gesturePending) pushGesture(i, out);
    i.gesturePending = false;
}

const PluginParams kParams = {paramCount, paramInfo, paramValue, valueToText, textToValue, flush};

// --- ports, latency, state ----------------------------------------------------------

uint32_t portCount(const Plugin*, bool) { return 1; }

bool portInfo(const Plugin*, uint32_t index, bool, AudioPortInfo* info) {
    if (index != 0) return false;
    *info = AudioPortInfo{};
    std::strcpy(info->name, "Main");
    info->flags = audio_port::kIsMain;
    info->channel_count = 2;
    info->port_type = kPortStereo;
    info->in_place_pair = kInvalidId;
    return true;
}

const PluginAudioPorts kPorts = {portCount, portInfo};

uint32_t latency(const Plugin* plugin) {
    require(self(plugin).active, "latency is asked of an active instance");
    return kLatency;
}

const PluginLatency kLatencyExtension = {latency};

bool saveState(const Plugin* plugin, const OutputStream* stream) {
    const Instance& i = self(plugin);
    const double values[2] = {i.gain, i.invert};
    const auto* bytes = reinterpret_cast<const unsigned char*>(values);
    for (size_t done = 0; done < sizeof values;) {
        const int64_t wrote = stream->write(stream, bytes + done, sizeof values - done);
        if (wrote <= 0) return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

bool loadState(const Plugin* plugin, const InputStream* stream) {
    double values[2];
    auto* bytes = reinterpret_cast<unsigned char*>(values);
    size_t done = 0;
    for (int64_t got = 1; got > 0 && done < sizeof values; done += static_cast<size_t>(got > 0 ? got : 0)) {
        got = stream->read(stream, bytes + done, sizeof values - done);
        if (got < 0) return false;
    }
    unsigned char extra;
    if (done != sizeof values || stream->read(stream, &extra, 1) != 0) return false;
    self(plugin).gain = values[0];
    self(plugin).invert = values[1];
    return true;
}

const PluginState kState = {saveState, loadState};

#if !defined(_WIN32)
// --- the X11 editor ------------------------------------------------------------------

bool guiApi(const Plugin*, const char* api, bool floating) {
    return !floating && api != nullptr && std::strcmp(api, window_api::kX11) == 0;
}

bool guiCreate(const Plugin* plugin, const char* api, bool floating) {
    Instance& i = self(plugin);
    require(onMain(i) && guiApi(plugin, api, floating) && i.display == nullptr, "gui create as asked, once");
    i.display = XOpenDisplay(nullptr);
    if (i.display == nullptr) return false;
    if (i.timers != nullptr) i.timers->register_timer(i.host, 30, &i.timer);
    if (i.fds != nullptr) i.fds->register_fd(i.host, ConnectionNumber(i.display), posix_fd::kRead);
    i.ticks = 0;
    return true;
}

void guiDestroy(const Plugin* plugin) {
    Instance& i = self(plugin);
    requireMain(plugin, "gui destroy on the main thread");
    if (i.display == nullptr) return;
    if (i.timers != nullptr) i.timers->unregister_timer(i.host, i.timer);
    if (i.fds != nullptr) i.fds->unregister_fd(i.host, ConnectionNumber(i.display));
    if (i.child != 0) XDestroyWindow(i.display, i.child);
    XCloseDisplay(i.display);
    i.display = nullptr;
    i.child = 0;
}

bool guiScale(const Plugin*, double) { return false; }
bool guiSize(const Plugin* plugin, uint32_t* width, uint32_t* height) {
    require(self(plugin).display != nullptr, "gui size after create");
    *width = 200;
    *height = 100;
    return true;
}
bool guiCanResize(const Plugin*) { return false; }
bool guiHints(const Plugin*, GuiResizeHints*) { return false; }
bool guiAdjust(const Plugin*, uint32_t*, uint32_t*) { return false; }
bool guiSetSize(const Plugin*, uint32_t, uint32_t) { return false; }

// A green child window, so a capture shows the editor was embedded.
bool guiParent(const Plugin* plugin, const vclap::Window* window) {
    Instance& i = self(plugin);
    require(i.display != nullptr && window != nullptr && std::strcmp(window->api, window_api::kX11) == 0,
            "set_parent after create, with an x11 window");
    i.child = XCreateSimpleWindow(i.display, window->x11, 0, 0, 200, 100, 0, 0, 0x00FF00);
    XMapWindow(i.display, i.child);
    XFlush(i.display);
    return true;
}

bool guiTransient(const Plugin*, const vclap::Window*) { return false; }
void guiTitle(const Plugin*, const char*) {}
bool guiShow(const Plugin*) { return true; }
bool guiHide(const Plugin*) { return true; }
bool guiPreferred(const Plugin*, const char** api, bool* floating) {
    *api = window_api::kX11;
    *floating = false;
    return true;
}

const PluginGui kGui = {guiApi,   guiPreferred, guiCreate,  guiDestroy, guiScale,     guiSize,  guiCanResize,
                        guiHints, guiAdjust,    guiSetSize, guiParent,  guiTransient, guiTitle, guiShow,
                        guiHide};

void drainX(Instance& i) {
    while (i.display != nullptr && XPending(i.display) > 0) {
        XEvent event;
        XNextEvent(i.display, &event);
    }
}

// The second tick plays a knob gesture to the host, as a mouse drag would.
void onTimer(const Plugin* plugin, Id id) {
    Instance& i = self(plugin);
    require(onMain(i) && id == i.timer, "timers fire on the main thread with their id");
    drainX(i);
    if (++i.ticks != 2) return;
    i.gesturePending = true;
    if (i.hostParams != nullptr) i.hostParams->request_flush(i.host);
}

void onFd(const Plugin* plugin, int fd, uint32_t flags) {
    Instance& i = self(plugin);
    require(onMain(i) && i.display != nullptr && fd == ConnectionNumber(i.display) && flags != 0,
            "on_fd on the main thread for a registered, ready descriptor");
    drainX(i);
}

const PluginTimerSupport kTimers = {onTimer};
const PluginPosixFdSupport kFds = {onFd};
#endif

// --- the instance -------------------------------------------------------------------------

template <typename Extension>
const Extension* hostExtension(const Host* host, const char* id) {
    return static_cast<const Extension*>(host->get_extension(host, id));
}

bool init(const Plugin* plugin) {
    Instance& i = self(plugin);
    require(!i.initialised, "init once");
    i.threads = hostExtension<HostThreadCheck>(i.host, ext::kThreadCheck);
    require(i.threads != nullptr && i.threads->is_main_thread(i.host) && !i.threads->is_audio_thread(i.host),
            "init on the main thread, which the host's thread check knows");
    i.hostParams = hostExtension<HostParams>(i.host, ext::kParams);
    i.timers = hostExtension<HostTimerSupport>(i.host, ext::kTimerSupport);
    i.fds = hostExtension<HostPosixFdSupport>(i.host, ext::kPosixFdSupport);
    i.initialised = true;
    return FIXTURE_CLAP_KIND != FIXTURE_CLAP_REFUSING;
}

void destroy(const Plugin* plugin) {
    Instance& i = self(plugin);
    require(!i.active, "deactivate before destroy");
#if !defined(_WIN32)
    guiDestroy(plugin);
#endif
    delete &i;
}

bool activate(const Plugin* plugin, double rate, uint32_t minFrames, uint32_t maxFrames) {
    Instance& i = self(plugin);
    require(onMain(i) && i.initialised && !i.active, "activate an initialised, inactive instance on the main thread");
    require(rate > 0.0 && minFrames >= 1 && minFrames <= maxFrames, "activate with a sensible rate and frame range");
    i.maxFrames = maxFrames;
    i.active = true;
    return true;
}

void deactivate(const Plugin* plugin) {
    Instance& i = self(plugin);
    require(onMain(i) && i.active && !i.processing, "stop processing before deactivating on the main thread");
    i.active = false;
}

bool startProcessing(const Plugin* plugin) {
    Instance& i = self(plugin);
    require(onAudio(i) && i.active && !i.processing, "start processing an active instance on the audio thread");
    i.processing = true;
    return true;
}

void stopProcessing(const Plugin* plugin) {
    Instance& i = self(plugin);
    require(onAudio(i) && i.processing, "stop processing on the audio thread while processing");
    i.processing = false;
}

void reset(const Plugin* plugin) { require(onAudio(self(plugin)), "reset on the audio thread"); }

// Gain and polarity applied frame by frame, each event at its own frame.
ProcessStatus process(const Plugin* plugin, const vclap::Process* block) {
    Instance& i = self(plugin);
    require(onAudio(i) && i.processing, "process on the audio thread after start_processing");
    require(block->frames_count >= 1 && block->frames_count <= i.maxFrames, "blocks within the activated range");
    require(block->audio_inputs_count == 1 && block->audio_outputs_count == 1 &&
                block->audio_inputs[0].channel_count == 2 && block->audio_outputs[0].channel_count == 2,
            "one stereo buffer per declared port");
    const InputEvents* in = block->in_events;
    const uint32_t count = in->size(in);
    uint32_t next = 0, lastTime = 0;
    float* const* inputs = block->audio_inputs[0].data32;
    float* const* outputs = block->audio_outputs[0].data32;
    for (uint32_t frame = 0; frame < block->frames_count; ++frame) {
        for (; next < count && in->get(in, next)->time <= frame; ++next) {
            require(in->get(in, next)->time >= lastTime, "events sorted by time");
            lastTime = in->get(in, next)->time;
            apply(i, in->get(in, next));
        }
        // Stepped values are read by truncation, so a host must send whole numbers.
        const double factor = i.gain * (static_cast<int>(i.invert) != 0 ? -1.0 : 1.0);
        for (int c = 0; c < 2; ++c) outputs[c][frame] = static_cast<float>(factor * inputs[c][frame]);
    }
    for (; next < count; ++next) apply(i, in->get(in, next));
    return status::kContinue;
}

const void* getExtension(const Plugin* plugin, const char* id) {
    require(self(plugin).initialised, "no get_extension before init");
    if (std::strcmp(id, ext::kParams) == 0) return &kParams;
    if (std::strcmp(id, ext::kAudioPorts) == 0) return &kPorts;
    if (std::strcmp(id, ext::kLatency) == 0) return &kLatencyExtension;
    if (std::strcmp(id, ext::kState) == 0) return &kState;
#if !defined(_WIN32)
    if (std::strcmp(id, ext::kGui) == 0) return &kGui;
    if (std::strcmp(id, ext::kTimerSupport) == 0) return &kTimers;
    if (std::strcmp(id, ext::kPosixFdSupport) == 0) return &kFds;
#endif
    return nullptr;
}

void onMainThread(const Plugin* plugin) { requireMain(plugin, "on_main_thread on the main thread"); }

// --- factory and entry ------------------------------------------------------------------------

const char* const kFeatures[] = {feature::kAudioEffectFeature, feature::kUtility, feature::kStereo, nullptr};
const PluginDescriptor kDescriptor = {kVersion,     "test.fixture.gain", "Clap Fixture", "Test Bench", "", "", "",
                                      "1.0.0",      "A gain to test hosts with", kFeatures};

uint32_t pluginCount(const PluginFactory*) { return 1; }

const PluginDescriptor* descriptorAt(const PluginFactory*, uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}

const vclap::Plugin* createPlugin(const PluginFactory*, const Host* host, const char* id) {
    require(host != nullptr && versionIsCompatible(host->clap_version) && host->get_extension != nullptr,
            "a complete host of a compatible version");
    if (std::strcmp(id, kDescriptor.id) != 0) return nullptr;
    auto* i = new Instance;
    i->host = host;
    i->plugin = {&kDescriptor, i,       init,     destroy,      activate,     deactivate,
                 startProcessing, stopProcessing, reset, process, getExtension, onMainThread};
    return &i->plugin;
}

const PluginFactory kFactory = {pluginCount, descriptorAt, createPlugin};

int initCount = 0;

bool entryInit(const char* path) {
    require(path != nullptr && path[0] != '\0', "init with the library's path");
    ++initCount;
    return true;
}

void entryDeinit() {
    require(initCount > 0, "deinit only after init");
    --initCount;
}

const void* getFactory(const char* id) {
    require(initCount > 0, "get_factory only after init");
    if (FIXTURE_CLAP_KIND == FIXTURE_CLAP_NULL_FACTORY) return nullptr;
    return std::strcmp(id, kPluginFactoryId) == 0 ? &kFactory : nullptr;
}

}  // namespace

extern "C" VCLAP_EXPORT const vclap::PluginEntry clap_entry = {kVersion, entryInit, entryDeinit, getFactory};
