// The CLAP plug-in interface as this project uses it, declared by us: the
// version, the exported entry, the plug-in factory and descriptor, the plug-in
// instance and the host, audio buffers, the process call and the events.
// The extensions are in clap/clap_extensions.h. Both the plug-in and
// velmora-host include these, so they share one definition of every layout.
//
// Layout rules that hold for every struct here: no packing, natural alignment
// (64-bit members 8-aligned also on 32-bit Windows), bool is one byte, every
// function pointer is cdecl on Windows. The static_asserts pin the sizes and
// offsets on x86_64 (Linux and Windows share them) and on 32-bit Windows.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define VCLAP_CALL __cdecl
#else
#define VCLAP_CALL
#endif

// Applied to the definition of the exported entry object. In C++ the
// definition must be written `extern "C" VCLAP_EXPORT const vclap::PluginEntry
// clap_entry = {...};`: a namespace-scope const object otherwise has internal
// linkage and the library exports nothing usable.
#if defined(_WIN32)
#define VCLAP_EXPORT __declspec(dllexport)
#else
#define VCLAP_EXPORT __attribute__((visibility("default")))
#endif

#if defined(__x86_64__) || defined(_M_X64)
#define VCLAP_LAYOUT(type, size64, size32) static_assert(sizeof(type) == (size64), #type " size")
#define VCLAP_OFFSET(type, field, off64, off32) static_assert(offsetof(type, field) == (off64), #type "." #field)
#elif (defined(__i386__) || defined(_M_IX86)) && defined(_WIN32)
#define VCLAP_LAYOUT(type, size64, size32) static_assert(sizeof(type) == (size32), #type " size")
#define VCLAP_OFFSET(type, field, off64, off32) static_assert(offsetof(type, field) == (off32), #type "." #field)
#else
// 32-bit Linux aligns 64-bit members to 4 and is not a target.
#define VCLAP_LAYOUT(type, size64, size32) static_assert(true)
#define VCLAP_OFFSET(type, field, off64, off32) static_assert(true)
#endif

namespace vclap {

using Id = uint32_t;
using ProcessStatus = int32_t;
using BeatTime = int64_t;  // beats x 2^31
using SecTime = int64_t;   // seconds x 2^31

constexpr Id kInvalidId = 0xFFFFFFFFu;
constexpr uint32_t kNameSize = 256;
constexpr uint32_t kPathSize = 1024;
constexpr int64_t kBeatTimeFactor = int64_t{1} << 31;
constexpr int64_t kSecTimeFactor = int64_t{1} << 31;

// The name of the data symbol every CLAP library exports.
constexpr const char kEntrySymbol[] = "clap_entry";

// --- version -------------------------------------------------------------

struct Version {
    uint32_t major;
    uint32_t minor;
    uint32_t revision;
};
VCLAP_LAYOUT(Version, 12, 12);

// What this project was written against.
constexpr Version kVersion{1, 2, 10};

// Only the major version decides: every 1.x side talks to every other.
constexpr bool versionIsCompatible(const Version& version) { return version.major >= 1; }

// --- host ------------------------------------------------------------------

struct Host {
    Version clap_version;
    void* host_data;
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    const void*(VCLAP_CALL* get_extension)(const Host* host, const char* extension_id);
    void(VCLAP_CALL* request_restart)(const Host* host);
    void(VCLAP_CALL* request_process)(const Host* host);
    void(VCLAP_CALL* request_callback)(const Host* host);
};
VCLAP_LAYOUT(Host, 88, 48);
VCLAP_OFFSET(Host, host_data, 16, 12);
VCLAP_OFFSET(Host, version, 48, 28);
VCLAP_OFFSET(Host, get_extension, 56, 32);
VCLAP_OFFSET(Host, request_callback, 80, 44);

// --- descriptor, entry, factory ---------------------------------------------

struct PluginDescriptor {
    Version clap_version;
    const char* id;
    const char* name;
    const char* vendor;
    const char* url;
    const char* manual_url;
    const char* support_url;
    const char* version;
    const char* description;
    const char* const* features;  // ends with a null pointer
};
VCLAP_LAYOUT(PluginDescriptor, 88, 48);
VCLAP_OFFSET(PluginDescriptor, id, 16, 12);
VCLAP_OFFSET(PluginDescriptor, version, 64, 36);
VCLAP_OFFSET(PluginDescriptor, features, 80, 44);

namespace feature {
constexpr const char kAudioEffectFeature[] = "audio-effect";
constexpr const char kInstrument[] = "instrument";
constexpr const char kNoteEffect[] = "note-effect";
constexpr const char kAnalyzer[] = "analyzer";
constexpr const char kDistortion[] = "distortion";
constexpr const char kFilter[] = "filter";
constexpr const char kEqualizer[] = "equalizer";
constexpr const char kMultiEffects[] = "multi-effects";
constexpr const char kUtility[] = "utility";
constexpr const char kMixing[] = "mixing";
constexpr const char kMastering[] = "mastering";
constexpr const char kMono[] = "mono";
constexpr const char kStereo[] = "stereo";
constexpr const char kSurround[] = "surround";
}  // namespace feature

struct PluginEntry {
    Version clap_version;
    bool(VCLAP_CALL* init)(const char* plugin_path);
    void(VCLAP_CALL* deinit)();
    const void*(VCLAP_CALL* get_factory)(const char* factory_id);
};
VCLAP_LAYOUT(PluginEntry, 40, 24);
VCLAP_OFFSET(PluginEntry, init, 16, 12);
VCLAP_OFFSET(PluginEntry, get_factory, 32, 20);

struct Plugin;

constexpr const char kPluginFactoryId[] = "clap.plugin-factory";

struct PluginFactory {
    uint32_t(VCLAP_CALL* get_plugin_count)(const PluginFactory* factory);
    const PluginDescriptor*(VCLAP_CALL* get_plugin_descriptor)(const PluginFactory* factory, uint32_t index);
    const Plugin*(VCLAP_CALL* create_plugin)(const PluginFactory* factory, const Host* host, const char* plugin_id);
};
VCLAP_LAYOUT(PluginFactory, 24, 12);
VCLAP_OFFSET(PluginFactory, create_plugin, 16, 8);

// --- events ----------------------------------------------------------------

struct EventHeader {
    uint32_t size;  // of the whole event, header included
    uint32_t time;  // frame offset in the block
    uint16_t space_id;
    uint16_t type;
    uint32_t flags;
};
VCLAP_LAYOUT(EventHeader, 16, 16);
VCLAP_OFFSET(EventHeader, space_id, 8, 8);
VCLAP_OFFSET(EventHeader, type, 10, 10);
VCLAP_OFFSET(EventHeader, flags, 12, 12);

constexpr uint16_t kCoreEventSpace = 0;

namespace event {
constexpr uint16_t kNoteOn = 0;
constexpr uint16_t kNoteOff = 1;
constexpr uint16_t kNoteChoke = 2;
constexpr uint16_t kNoteEnd = 3;
constexpr uint16_t kNoteExpression = 4;
constexpr uint16_t kParamValue = 5;
constexpr uint16_t kParamMod = 6;
constexpr uint16_t kParamGestureBegin = 7;
constexpr uint16_t kParamGestureEnd = 8;
constexpr uint16_t kTransport = 9;
constexpr uint16_t kMidi = 10;
constexpr uint16_t kMidiSysex = 11;
constexpr uint16_t kMidi2 = 12;
// Header flags.
constexpr uint32_t kIsLive = 1u << 0;
constexpr uint32_t kDontRecord = 1u << 1;
}  // namespace event

// Values are plain, in the parameter's own range; -1 in the note, port,
// channel and key fields means "any".
struct ParamValueEvent {
    EventHeader header;
    Id param_id;
    void* cookie;
    int32_t note_id;
    int16_t port_index;
    int16_t channel;
    int16_t key;
    double value;
};
VCLAP_LAYOUT(ParamValueEvent, 56, 48);
VCLAP_OFFSET(ParamValueEvent, param_id, 16, 16);
VCLAP_OFFSET(ParamValueEvent, cookie, 24, 20);
VCLAP_OFFSET(ParamValueEvent, note_id, 32, 24);
VCLAP_OFFSET(ParamValueEvent, key, 40, 32);
VCLAP_OFFSET(ParamValueEvent, value, 48, 40);

struct ParamModEvent {
    EventHeader header;
    Id param_id;
    void* cookie;
    int32_t note_id;
    int16_t port_index;
    int16_t channel;
    int16_t key;
    double amount;
};
VCLAP_LAYOUT(ParamModEvent, 56, 48);
VCLAP_OFFSET(ParamModEvent, amount, 48, 40);

struct ParamGestureEvent {
    EventHeader header;
    Id param_id;
};
VCLAP_LAYOUT(ParamGestureEvent, 20, 20);
VCLAP_OFFSET(ParamGestureEvent, param_id, 16, 16);

namespace transport {
constexpr uint32_t kHasTempo = 1;
constexpr uint32_t kHasBeatsTimeline = 2;
constexpr uint32_t kHasSecondsTimeline = 4;
constexpr uint32_t kHasTimeSignature = 8;
constexpr uint32_t kIsPlaying = 16;
constexpr uint32_t kIsRecording = 32;
constexpr uint32_t kIsLoopActive = 64;
constexpr uint32_t kIsWithinPreRoll = 128;
}  // namespace transport

struct TransportEvent {
    EventHeader header;
    uint32_t flags;
    BeatTime song_pos_beats;
    SecTime song_pos_seconds;
    double tempo;
    double tempo_inc;
    BeatTime loop_start_beats;
    BeatTime loop_end_beats;
    SecTime loop_start_seconds;
    SecTime loop_end_seconds;
    BeatTime bar_start;
    int32_t bar_number;
    uint16_t tsig_num;
    uint16_t tsig_denom;
};
VCLAP_LAYOUT(TransportEvent, 104, 104);
VCLAP_OFFSET(TransportEvent, song_pos_beats, 24, 24);
VCLAP_OFFSET(TransportEvent, tempo, 40, 40);
VCLAP_OFFSET(TransportEvent, bar_number, 96, 96);
VCLAP_OFFSET(TransportEvent, tsig_denom, 102, 102);

struct InputEvents {
    void* ctx;
    uint32_t(VCLAP_CALL* size)(const InputEvents* list);
    const EventHeader*(VCLAP_CALL* get)(const InputEvents* list, uint32_t index);
};
VCLAP_LAYOUT(InputEvents, 24, 12);
VCLAP_OFFSET(InputEvents, get, 16, 8);

struct OutputEvents {
    void* ctx;
    // The host copies event->size bytes; false when it could not.
    bool(VCLAP_CALL* try_push)(const OutputEvents* list, const EventHeader* event);
};
VCLAP_LAYOUT(OutputEvents, 16, 8);
VCLAP_OFFSET(OutputEvents, try_push, 8, 4);

// --- processing ------------------------------------------------------------

struct AudioBuffer {
    float** data32;
    double** data64;
    uint32_t channel_count;
    uint32_t latency;
    uint64_t constant_mask;  // a hint only; ignoring it is always correct
};
VCLAP_LAYOUT(AudioBuffer, 32, 24);
VCLAP_OFFSET(AudioBuffer, channel_count, 16, 8);
VCLAP_OFFSET(AudioBuffer, constant_mask, 24, 16);

struct Process {
    int64_t steady_time;  // -1 when unknown
    uint32_t frames_count;
    const TransportEvent* transport;  // may be null
    const AudioBuffer* audio_inputs;
    AudioBuffer* audio_outputs;
    uint32_t audio_inputs_count;
    uint32_t audio_outputs_count;
    const InputEvents* in_events;
    const OutputEvents* out_events;
};
VCLAP_LAYOUT(Process, 64, 40);
VCLAP_OFFSET(Process, frames_count, 8, 8);
VCLAP_OFFSET(Process, transport, 16, 12);
VCLAP_OFFSET(Process, audio_outputs, 32, 20);
VCLAP_OFFSET(Process, audio_inputs_count, 40, 24);
VCLAP_OFFSET(Process, in_events, 48, 32);
VCLAP_OFFSET(Process, out_events, 56, 36);

namespace status {
constexpr ProcessStatus kError = 0;
constexpr ProcessStatus kContinue = 1;
constexpr ProcessStatus kContinueIfNotQuiet = 2;
constexpr ProcessStatus kTail = 3;
constexpr ProcessStatus kSleep = 4;
}  // namespace status

// --- the plug-in instance ----------------------------------------------------

// Call order: init, then (inactive) activate, then on the audio thread
// start_processing, process..., stop_processing, then deactivate, destroy.
struct Plugin {
    const PluginDescriptor* desc;
    void* plugin_data;
    bool(VCLAP_CALL* init)(const Plugin* plugin);
    void(VCLAP_CALL* destroy)(const Plugin* plugin);
    bool(VCLAP_CALL* activate)(const Plugin* plugin, double sample_rate, uint32_t min_frames_count,
                               uint32_t max_frames_count);
    void(VCLAP_CALL* deactivate)(const Plugin* plugin);
    bool(VCLAP_CALL* start_processing)(const Plugin* plugin);
    void(VCLAP_CALL* stop_processing)(const Plugin* plugin);
    void(VCLAP_CALL* reset)(const Plugin* plugin);
    ProcessStatus(VCLAP_CALL* process)(const Plugin* plugin, const Process* process);
    const void*(VCLAP_CALL* get_extension)(const Plugin* plugin, const char* id);
    void(VCLAP_CALL* on_main_thread)(const Plugin* plugin);
};
VCLAP_LAYOUT(Plugin, 96, 48);
VCLAP_OFFSET(Plugin, init, 16, 8);
VCLAP_OFFSET(Plugin, activate, 32, 16);
VCLAP_OFFSET(Plugin, process, 72, 36);
VCLAP_OFFSET(Plugin, get_extension, 80, 40);
VCLAP_OFFSET(Plugin, on_main_thread, 88, 44);

}  // namespace vclap
