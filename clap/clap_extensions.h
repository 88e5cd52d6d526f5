// The CLAP extensions a stereo effect and a small host need, declared by us.
// An extension is a struct of function pointers that one side hands the
// other for an id string; every one of them may be missing, so callers check
// the struct and each pointer before use. Plug-in functions take the
// instance first, host functions the host.
#pragma once

#include "clap/clap_abi.h"

namespace vclap {

// The id strings, exactly as both sides spell them.
namespace ext {
constexpr const char kAudioPorts[] = "clap.audio-ports";
constexpr const char kParams[] = "clap.params";
constexpr const char kState[] = "clap.state";
constexpr const char kGui[] = "clap.gui";
constexpr const char kTimerSupport[] = "clap.timer-support";
constexpr const char kPosixFdSupport[] = "clap.posix-fd-support";
constexpr const char kLatency[] = "clap.latency";
constexpr const char kLog[] = "clap.log";
constexpr const char kThreadCheck[] = "clap.thread-check";
constexpr const char kRender[] = "clap.render";
constexpr const char kStateContext[] = "clap.state-context/2";
constexpr const char kTail[] = "clap.tail";
}  // namespace ext

// --- audio ports -------------------------------------------------------------

constexpr const char kPortMono[] = "mono";
constexpr const char kPortStereo[] = "stereo";

namespace audio_port {
constexpr uint32_t kIsMain = 1;
constexpr uint32_t kSupports64Bits = 2;
constexpr uint32_t kPrefers64Bits = 4;
constexpr uint32_t kRequiresCommonSampleSize = 8;
// Host rescan flags.
constexpr uint32_t kRescanNames = 1;
constexpr uint32_t kRescanFlags = 2;
constexpr uint32_t kRescanChannelCount = 4;
constexpr uint32_t kRescanPortType = 8;
constexpr uint32_t kRescanInPlacePair = 16;
constexpr uint32_t kRescanList = 32;
}  // namespace audio_port

struct AudioPortInfo {
    Id id;
    char name[kNameSize];
    uint32_t flags;
    uint32_t channel_count;
    const char* port_type;  // static string, or null for unspecified
    Id in_place_pair;       // kInvalidId for none
};
VCLAP_LAYOUT(AudioPortInfo, 288, 276);
VCLAP_OFFSET(AudioPortInfo, flags, 260, 260);
VCLAP_OFFSET(AudioPortInfo, port_type, 272, 268);
VCLAP_OFFSET(AudioPortInfo, in_place_pair, 280, 272);

struct PluginAudioPorts {
    uint32_t(VCLAP_CALL* count)(const Plugin* plugin, bool is_input);
    bool(VCLAP_CALL* get)(const Plugin* plugin, uint32_t index, bool is_input, AudioPortInfo* info);
};
VCLAP_LAYOUT(PluginAudioPorts, 16, 8);

struct HostAudioPorts {
    bool(VCLAP_CALL* is_rescan_flag_supported)(const Host* host, uint32_t flag);
    void(VCLAP_CALL* rescan)(const Host* host, uint32_t flags);
};
VCLAP_LAYOUT(HostAudioPorts, 16, 8);

// --- parameters ----------------------------------------------------------------

namespace param {
constexpr uint32_t kIsStepped = 1u << 0;
constexpr uint32_t kIsPeriodic = 1u << 1;
constexpr uint32_t kIsHidden = 1u << 2;
constexpr uint32_t kIsReadonly = 1u << 3;
constexpr uint32_t kIsBypass = 1u << 4;
constexpr uint32_t kIsAutomatable = 1u << 5;
constexpr uint32_t kIsAutomatablePerNoteId = 1u << 6;
constexpr uint32_t kIsAutomatablePerKey = 1u << 7;
constexpr uint32_t kIsAutomatablePerChannel = 1u << 8;
constexpr uint32_t kIsAutomatablePerPort = 1u << 9;
constexpr uint32_t kIsModulatable = 1u << 10;
constexpr uint32_t kIsModulatablePerNoteId = 1u << 11;
constexpr uint32_t kIsModulatablePerKey = 1u << 12;
constexpr uint32_t kIsModulatablePerChannel = 1u << 13;
constexpr uint32_t kIsModulatablePerPort = 1u << 14;
constexpr uint32_t kRequiresProcess = 1u << 15;
constexpr uint32_t kIsEnum = 1u << 16;
// Host rescan flags.
constexpr uint32_t kRescanValues = 1;
constexpr uint32_t kRescanText = 2;
constexpr uint32_t kRescanInfo = 4;
constexpr uint32_t kRescanAll = 8;
// Host clear flags.
constexpr uint32_t kClearAll = 1;
constexpr uint32_t kClearAutomations = 2;
constexpr uint32_t kClearModulations = 4;
}  // namespace param

struct ParamInfo {
    Id id;
    uint32_t flags;
    void* cookie;
    char name[kNameSize];
    char module[kPathSize];
    double min_value;
    double max_value;
    double default_value;
};
VCLAP_LAYOUT(ParamInfo, 1320, 1320);
VCLAP_OFFSET(ParamInfo, cookie, 8, 8);
VCLAP_OFFSET(ParamInfo, name, 16, 12);
VCLAP_OFFSET(ParamInfo, module, 272, 268);
VCLAP_OFFSET(ParamInfo, min_value, 1296, 1296);
VCLAP_OFFSET(ParamInfo, default_value, 1312, 1312);

// get_info takes an index; every other call takes the parameter's id.
struct PluginParams {
    uint32_t(VCLAP_CALL* count)(const Plugin* plugin);
    bool(VCLAP_CALL* get_info)(const Plugin* plugin, uint32_t param_index, ParamInfo* param_info);
    bool(VCLAP_CALL* get_value)(const Plugin* plugin, Id param_id, double* out_value);
    bool(VCLAP_CALL* value_to_text)(const Plugin* plugin, Id param_id, double value, char* out_buffer,
                                    uint32_t out_buffer_capacity);
    bool(VCLAP_CALL* text_to_value)(const Plugin* plugin, Id param_id, const char* param_value_text,
                                    double* out_value);
    void(VCLAP_CALL* flush)(const Plugin* plugin, const InputEvents* in, const OutputEvents* out);
};
VCLAP_LAYOUT(PluginParams, 48, 24);
VCLAP_OFFSET(PluginParams, value_to_text, 24, 12);
VCLAP_OFFSET(PluginParams, flush, 40, 20);

struct HostParams {
    void(VCLAP_CALL* rescan)(const Host* host, uint32_t flags);
    void(VCLAP_CALL* clear)(const Host* host, Id param_id, uint32_t flags);
    void(VCLAP_CALL* request_flush)(const Host* host);
};
VCLAP_LAYOUT(HostParams, 24, 12);

// --- state and streams -----------------------------------------------------------

// Both may move fewer bytes than asked: loop. read returns 0 at the end and
// a negative count on error.
struct InputStream {
    void* ctx;
    int64_t(VCLAP_CALL* read)(const InputStream* stream, void* buffer, uint64_t size);
};
VCLAP_LAYOUT(InputStream, 16, 8);

struct OutputStream {
    void* ctx;
    int64_t(VCLAP_CALL* write)(const OutputStream* stream, const void* buffer, uint64_t size);
};
VCLAP_LAYOUT(OutputStream, 16, 8);

struct PluginState {
    bool(VCLAP_CALL* save)(const Plugin* plugin, const OutputStream* stream);
    bool(VCLAP_CALL* load)(const Plugin* plugin, const InputStream* stream);
};
VCLAP_LAYOUT(PluginState, 16, 8);

struct HostState {
    void(VCLAP_CALL* mark_dirty)(const Host* host);
};
VCLAP_LAYOUT(HostState, 8, 4);

namespace state_context {
constexpr uint32_t kForPreset = 1;
constexpr uint32_t kForDuplicate = 2;
constexpr uint32_t kForProject = 3;
}  // namespace state_context

struct PluginStateContext {
    bool(VCLAP_CALL* save)(const Plugin* plugin, const OutputStream* stream, uint32_t context_type);
    bool(VCLAP_CALL* load)(const Plugin* plugin, const InputStream* stream, uint32_t context_type);
};
VCLAP_LAYOUT(PluginStateContext, 16, 8);

// --- GUI -------------------------------------------------------------------------

namespace window_api {
constexpr const char kX11[] = "x11";
constexpr const char kWin32[] = "win32";
constexpr const char kCocoa[] = "cocoa";
constexpr const char kWayland[] = "wayland";
}  // namespace window_api

struct Window {
    const char* api;
    // One pointer-sized slot; which member is meant follows from api. On
    // 64-bit Windows x11 is only 4 bytes, the pointers keep the slot's size.
    union {
        void* cocoa;
        void* uikit;
        unsigned long x11;
        void* win32;
        void* ptr;
    };
};
VCLAP_LAYOUT(Window, 16, 8);
VCLAP_OFFSET(Window, x11, 8, 4);
VCLAP_OFFSET(Window, win32, 8, 4);

struct GuiResizeHints {
    bool can_resize_horizontally;
    bool can_resize_vertically;
    bool preserve_aspect_ratio;
    uint32_t aspect_ratio_width;
    uint32_t aspect_ratio_height;
};
VCLAP_LAYOUT(GuiResizeHints, 12, 12);
VCLAP_OFFSET(GuiResizeHints, aspect_ratio_width, 4, 4);

// An embedded editor is opened in this order: is_api_supported, create,
// set_scale, can_resize, get_size, set_parent, show; closed by destroy.
struct PluginGui {
    bool(VCLAP_CALL* is_api_supported)(const Plugin* plugin, const char* api, bool is_floating);
    bool(VCLAP_CALL* get_preferred_api)(const Plugin* plugin, const char** api, bool* is_floating);
    bool(VCLAP_CALL* create)(const Plugin* plugin, const char* api, bool is_floating);
    void(VCLAP_CALL* destroy)(const Plugin* plugin);
    bool(VCLAP_CALL* set_scale)(const Plugin* plugin, double scale);
    bool(VCLAP_CALL* get_size)(const Plugin* plugin, uint32_t* width, uint32_t* height);
    bool(VCLAP_CALL* can_resize)(const Plugin* plugin);
    bool(VCLAP_CALL* get_resize_hints)(const Plugin* plugin, GuiResizeHints* hints);
    bool(VCLAP_CALL* adjust_size)(const Plugin* plugin, uint32_t* width, uint32_t* height);
    bool(VCLAP_CALL* set_size)(const Plugin* plugin, uint32_t width, uint32_t height);
    bool(VCLAP_CALL* set_parent)(const Plugin* plugin, const Window* window);
    bool(VCLAP_CALL* set_transient)(const Plugin* plugin, const Window* window);
    void(VCLAP_CALL* suggest_title)(const Plugin* plugin, const char* title);
    bool(VCLAP_CALL* show)(const Plugin* plugin);
    bool(VCLAP_CALL* hide)(const Plugin* plugin);
};
VCLAP_LAYOUT(PluginGui, 120, 60);
VCLAP_OFFSET(PluginGui, create, 16, 8);
VCLAP_OFFSET(PluginGui, set_parent, 80, 40);
VCLAP_OFFSET(PluginGui, hide, 112, 56);

struct HostGui {
    void(VCLAP_CALL* resize_hints_changed)(const Host* host);
    bool(VCLAP_CALL* request_resize)(const Host* host, uint32_t width, uint32_t height);
    bool(VCLAP_CALL* request_show)(const Host* host);
    bool(VCLAP_CALL* request_hide)(const Host* host);
    void(VCLAP_CALL* closed)(const Host* host, bool was_destroyed);
};
VCLAP_LAYOUT(HostGui, 40, 20);
VCLAP_OFFSET(HostGui, closed, 32, 16);

// --- timers and file descriptors -----------------------------------------------------

struct PluginTimerSupport {
    void(VCLAP_CALL* on_timer)(const Plugin* plugin, Id timer_id);
};
VCLAP_LAYOUT(PluginTimerSupport, 8, 4);

struct HostTimerSupport {
    bool(VCLAP_CALL* register_timer)(const Host* host, uint32_t period_ms, Id* timer_id);
    bool(VCLAP_CALL* unregister_timer)(const Host* host, Id timer_id);
};
VCLAP_LAYOUT(HostTimerSupport, 16, 8);

namespace posix_fd {
constexpr uint32_t kRead = 1;
constexpr uint32_t kWrite = 2;
constexpr uint32_t kError = 4;
}  // namespace posix_fd

// Level-triggered: on_fd comes again while the condition lasts.
struct PluginPosixFdSupport {
    void(VCLAP_CALL* on_fd)(const Plugin* plugin, int fd, uint32_t flags);
};
VCLAP_LAYOUT(PluginPosixFdSupport, 8, 4);

struct HostPosixFdSupport {
    bool(VCLAP_CALL* register_fd)(const Host* host, int fd, uint32_t flags);
    bool(VCLAP_CALL* modify_fd)(const Host* host, int fd, uint32_t flags);
    bool(VCLAP_CALL* unregister_fd)(const Host* host, int fd);
};
VCLAP_LAYOUT(HostPosixFdSupport, 24, 12);

// --- latency, tail, render -----------------------------------------------------------

// Asked only during activate or while active.
struct PluginLatency {
    uint32_t(VCLAP_CALL* get)(const Plugin* plugin);
};
VCLAP_LAYOUT(PluginLatency, 8, 4);

// Only from inside activate.
struct HostLatency {
    void(VCLAP_CALL* changed)(const Host* host);
};
VCLAP_LAYOUT(HostLatency, 8, 4);

struct PluginTail {
    uint32_t(VCLAP_CALL* get)(const Plugin* plugin);  // >= INT32_MAX: infinite
};
VCLAP_LAYOUT(PluginTail, 8, 4);

struct HostTail {
    void(VCLAP_CALL* changed)(const Host* host);
};
VCLAP_LAYOUT(HostTail, 8, 4);

namespace render_mode {
constexpr int32_t kRealtime = 0;
constexpr int32_t kOffline = 1;
}  // namespace render_mode

struct PluginRender {
    bool(VCLAP_CALL* has_hard_realtime_requirement)(const Plugin* plugin);
    bool(VCLAP_CALL* set)(const Plugin* plugin, int32_t mode);
};
VCLAP_LAYOUT(PluginRender, 16, 8);

// --- host log and thread check -----------------------------------------------------------

namespace log_severity {
constexpr int32_t kDebug = 0;
constexpr int32_t kInfo = 1;
constexpr int32_t kWarning = 2;
constexpr int32_t kError = 3;
constexpr int32_t kFatal = 4;
constexpr int32_t kHostMisbehaving = 5;
constexpr int32_t kPluginMisbehaving = 6;
}  // namespace log_severity

struct HostLog {
    void(VCLAP_CALL* log)(const Host* host, int32_t severity, const char* msg);
};
VCLAP_LAYOUT(HostLog, 8, 4);

struct HostThreadCheck {
    bool(VCLAP_CALL* is_main_thread)(const Host* host);
    bool(VCLAP_CALL* is_audio_thread)(const Host* host);
};
VCLAP_LAYOUT(HostThreadCheck, 16, 8);

}  // namespace vclap
