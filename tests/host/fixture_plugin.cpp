// Small stand-in plug-ins that exercise the host's edges: odd channel counts,
// the accumulating entry, the older "main" entry name, an editor without a
// size, and libraries whose entry is missing, returns null or returns a
// record without the magic. FIXTURE_KIND picks which one is built.
#define FIXTURE_MONO 1
#define FIXTURE_WIDE 2
#define FIXTURE_EDITOR 3
#define FIXTURE_NO_ENTRY 4
#define FIXTURE_NULL_ENTRY 5
#define FIXTURE_BAD_MAGIC 6

#include <cstring>

#include "vst2/vst_abi.h"

#if FIXTURE_KIND == FIXTURE_EDITOR
#include <X11/Xlib.h>
#endif


#define EXPORT extern "C" __attribute__((visibility("default")))

#if FIXTURE_KIND != FIXTURE_NO_ENTRY && FIXTURE_KIND != FIXTURE_NULL_ENTRY
namespace {

AudioMasterCallback host = nullptr;
AEffect record;
float gain = 0.5f;

#if FIXTURE_KIND == FIXTURE_EDITOR
Display* display = nullptr;
Window child = 0;
int idleCalls = 0;
#endif

void copyText(void* ptr, const char* text) { std::strcpy(static_cast<char*>(ptr), text); }

VstIntPtr dispatcher(AEffect*, int32_t opcode, int32_t index, VstIntPtr, void* ptr, float) {
    switch (opcode) {
        case effGetEffectName:
            copyText(ptr, "Fixture");
            return 1;
        case effGetVendorString:
            copyText(ptr, "Test Bench");
            return 1;
        case effGetParamName:
            if (index == 0) copyText(ptr, "Gain");
            return 0;
        case effGetParamLabel:
            if (index == 0) copyText(ptr, "x");
            return 0;
        case effGetParamDisplay:
            if (index == 0) copyText(ptr, gain < 0.5f ? "low" : "high");
            return 0;
#if FIXTURE_KIND == FIXTURE_EDITOR
        case effEditGetRect:
            // No size: the host has to choose one.
            return 0;
        case effEditOpen: {
            // A coloured child window inside the host's, as real editors make,
            // so a capture of the host window must include it.
            display = XOpenDisplay(nullptr);
            if (display == nullptr) return 0;
            const Window parent = static_cast<Window>(reinterpret_cast<uintptr_t>(ptr));
            child = XCreateSimpleWindow(display, parent, 10, 20, 100, 50, 0, 0, 0xFF0000);
            XMapWindow(display, child);
            XFlush(display);
            idleCalls = 0;
            return 1;
        }
        case effEditIdle:
            // The first idle plays one knob gesture to the host.
            if (++idleCalls == 1) {
                host(&record, audioMasterBeginEdit, 3, 0, nullptr, 0.0f);
                host(&record, audioMasterAutomate, 3, 0, nullptr, 0.25f);
                host(&record, audioMasterEndEdit, 3, 0, nullptr, 0.0f);
                host(&record, audioMasterIdle, 0, 0, nullptr, 0.0f);
                host(&record, audioMasterIdle, 0, 0, nullptr, 0.0f);
            }
            return 0;
        case effEditClose:
            if (display != nullptr) {
                XDestroyWindow(display, child);
                XCloseDisplay(display);
                display = nullptr;
            }
            return 0;
#endif
        default:
            return 0;
    }
}

void setParameter(AEffect*, int32_t index, float value) {
    if (index == 0) gain = value;
}

float getParameter(AEffect*, int32_t index) { return index == 0 ? gain : 0.0f; }

// Accumulating: adds to what the host put in the outputs.
void process(AEffect*, float** inputs, float** outputs, int32_t frames) {
    for (int32_t i = 0; i < frames; ++i) outputs[0][i] += 2.0f * gain * inputs[0][i];
}

#if FIXTURE_KIND == FIXTURE_WIDE
// Wide: output 0 = input 0, output 1 = inputs 1 + 2 + 3 (the extra ones should
// be silent), output 2 = a constant the host must not write out.
void processWide(AEffect*, float** inputs, float** outputs, int32_t frames) {
    for (int32_t i = 0; i < frames; ++i) {
        outputs[0][i] = inputs[0][i];
        outputs[1][i] = inputs[1][i] + inputs[2][i] + inputs[3][i];
        outputs[2][i] = 1.0f;
    }
}
#endif

#if FIXTURE_KIND == FIXTURE_EDITOR || FIXTURE_KIND == FIXTURE_BAD_MAGIC
void processThrough(AEffect*, float** inputs, float** outputs, int32_t frames) {
    for (int32_t i = 0; i < frames; ++i) {
        outputs[0][i] = inputs[0][i];
        outputs[1][i] = inputs[1][i];
    }
}
#endif

AEffect* makeRecord(AudioMasterCallback callback) {
    host = callback;
    if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    std::memset(&record, 0, sizeof record);
    record.magic = FIXTURE_KIND == FIXTURE_BAD_MAGIC ? fourCharCode('N', 'o', 'p', 'e') : kEffectMagic;
    record.dispatcher = dispatcher;
    record.setParameter = setParameter;
    record.getParameter = getParameter;
    record.numParams = 1;
    record.numPrograms = 0;
    record.uniqueID = fourCharCode('F', 'x', 't', 'r');
    record.version = 1;
    record.ioRatio = 1.0f;
    record.process = process;
#if FIXTURE_KIND == FIXTURE_MONO
    record.numInputs = 1;
    record.numOutputs = 1;
    record.flags = 0;  // no replacing: the host must use the accumulating entry
#elif FIXTURE_KIND == FIXTURE_WIDE
    record.numInputs = 4;
    record.numOutputs = 3;
    record.flags = effFlagsCanReplacing;
    record.processReplacing = processWide;
#else
    record.numInputs = 2;
    record.numOutputs = 2;
    record.flags = effFlagsCanReplacing | effFlagsHasEditor;
    record.processReplacing = processThrough;
#endif
    return &record;
}

}  // namespace
#endif

#if FIXTURE_KIND == FIXTURE_EDITOR
// Only the older entry name, so the host's fallback lookup is exercised.
EXPORT AEffect* fixtureMain(AudioMasterCallback callback) __asm__("main");
EXPORT AEffect* fixtureMain(AudioMasterCallback callback) { return makeRecord(callback); }
#elif FIXTURE_KIND == FIXTURE_NULL_ENTRY
EXPORT AEffect* VSTPluginMain(AudioMasterCallback) { return nullptr; }
#elif FIXTURE_KIND == FIXTURE_NO_ENTRY
EXPORT int fixtureSomethingElse() { return 42; }
#else
EXPORT AEffect* VSTPluginMain(AudioMasterCallback callback) { return makeRecord(callback); }
#endif
