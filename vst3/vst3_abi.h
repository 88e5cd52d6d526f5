// The VST 3 interfaces as this project uses them, declared by us: scalar
// types, result codes, identifiers, the structs the calls pass, and every
// interface a stereo effect with an editor and a small test host need. Both
// the plug-in (vst3/) and velmora-host include this, so they share one
// definition of every layout.
//
// Binary rules that hold for everything here:
// - Every interface is a COM object: the first word points to a table of
//   functions, slots 0-2 are queryInterface, addRef, release, and a derived
//   interface appends its own methods in declaration order. The classes below
//   declare their virtual methods in exactly that order and have no virtual
//   destructor (it would add slots). Never reorder them.
// - On Windows every method is __stdcall (on 32-bit the object pointer is
//   then passed on the stack, which is what hosts expect; thiscall crashes).
// - Structs have natural alignment, no packing; the static_asserts pin the
//   sizes and offsets on x86_64 (Linux and Windows agree) and 32-bit Windows.
// - Result codes and the byte order of identifiers differ between Windows and
//   every other system; this header picks the set of the system compiled for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(_WIN32)
#define VVST3_CALL __stdcall
#else
#define VVST3_CALL
#endif

// Applied to the module's exported functions (with extern "C"). On 32-bit
// Windows the names also need a .def file or --kill-at to lose the @n.
#if defined(_WIN32)
#define VVST3_EXPORT __declspec(dllexport)
#else
#define VVST3_EXPORT __attribute__((visibility("default")))
#endif

#if defined(__x86_64__) || defined(_M_X64)
#define VVST3_LAYOUT(type, size64, size32) static_assert(sizeof(type) == (size64), #type " size")
#define VVST3_OFFSET(type, field, off64, off32) static_assert(offsetof(type, field) == (off64), #type "." #field)
#elif (defined(__i386__) || defined(_M_IX86)) && defined(_WIN32)
#define VVST3_LAYOUT(type, size64, size32) static_assert(sizeof(type) == (size32), #type " size")
#define VVST3_OFFSET(type, field, off64, off32) static_assert(offsetof(type, field) == (off32), #type "." #field)
#else
// 32-bit Linux aligns 64-bit members to 4 and is not a target.
#define VVST3_LAYOUT(type, size64, size32) static_assert(true)
#define VVST3_OFFSET(type, field, off64, off32) static_assert(true)
#endif

namespace vvst3 {

// --- scalar types ------------------------------------------------------------

using tresult = int32_t;
using TBool = uint8_t;  // never C++ bool in a signature
using Char16 = char16_t;  // UTF-16 unit in machine byte order
using String128 = Char16[128];  // at most 127 units and the NUL
using TUID = char[16];
using FIDString = const char*;  // 8-bit id; also a pointer to a 16-byte TUID
using CString = const char*;
using AttrID = const char*;
using ParamID = uint32_t;
using ParamValue = double;  // normalised to 0..1 across every interface
using SampleRate = double;
using Sample32 = float;
using Sample64 = double;
using SpeakerArrangement = uint64_t;
using MediaType = int32_t;
using BusDirection = int32_t;
using BusType = int32_t;
using IoMode = int32_t;
using UnitID = int32_t;
using ProgramListID = int32_t;
using KnobMode = int32_t;
using ScaleFactor = float;
using FileDescriptor = int;
using TimerInterval = uint64_t;  // milliseconds

// --- result codes -------------------------------------------------------------
// Success and "no" are 0 and 1 everywhere; never test a tresult as a bool.

constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = 0;
constexpr tresult kResultFalse = 1;
#if defined(_WIN32)
// COM's HRESULT values.
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002u);
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057u);
constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001u);
constexpr tresult kInternalError = static_cast<tresult>(0x80004005u);
constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFu);
constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000Eu);
#else
constexpr tresult kNoInterface = -1;
constexpr tresult kInvalidArgument = 2;
constexpr tresult kNotImplemented = 3;
constexpr tresult kInternalError = 4;
constexpr tresult kNotInitialized = 5;
constexpr tresult kOutOfMemory = 6;
#endif

// --- identifiers ---------------------------------------------------------------
// An identifier is declared as four 32-bit words. Outside Windows the 16 bytes
// are the words most significant byte first. Windows uses COM's GUID layout:
// the first word and each half of the second least significant byte first,
// the last two words most significant byte first. A module built with the
// other system's bytes answers no queryInterface at all.

enum class UidOrder { kBigEndianWords, kComGuid };

#if defined(_WIN32)
constexpr UidOrder kNativeUidOrder = UidOrder::kComGuid;
#else
constexpr UidOrder kNativeUidOrder = UidOrder::kBigEndianWords;
#endif

struct Uid {
    char bytes[16];
};

constexpr Uid makeUid(uint32_t l1, uint32_t l2, uint32_t l3, uint32_t l4,
                      UidOrder order = kNativeUidOrder) {
    Uid uid{};
    auto put = [&uid](int at, uint32_t word, int shift) {
        uid.bytes[at] = static_cast<char>((word >> shift) & 0xFFu);
    };
    for (int i = 0; i < 4; ++i) {
        put(8 + i, l3, 24 - 8 * i);
        put(12 + i, l4, 24 - 8 * i);
    }
    if (order == UidOrder::kComGuid) {
        for (int i = 0; i < 4; ++i) put(i, l1, 8 * i);
        put(4, l2, 16);
        put(5, l2, 24);
        put(6, l2, 0);
        put(7, l2, 8);
    } else {
        for (int i = 0; i < 4; ++i) {
            put(i, l1, 24 - 8 * i);
            put(4 + i, l2, 24 - 8 * i);
        }
    }
    return uid;
}

// Identifiers are compared byte for byte, nothing else.
inline bool sameUid(const void* bytes, const Uid& uid) {
    return bytes != nullptr && std::memcmp(bytes, uid.bytes, sizeof uid.bytes) == 0;
}

// The worked example of the byte rule, both ways.
static_assert(makeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802, UidOrder::kComGuid).bytes[0] ==
              static_cast<char>(0x31));
static_assert(makeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802, UidOrder::kComGuid).bytes[5] ==
              static_cast<char>(0xF2));
static_assert(makeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802, UidOrder::kComGuid).bytes[6] ==
              static_cast<char>(0x01));
static_assert(makeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802, UidOrder::kBigEndianWords).bytes[7] ==
              static_cast<char>(0x01));
static_assert(makeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802, UidOrder::kBigEndianWords).bytes[15] ==
              static_cast<char>(0x02));

// --- common constants -----------------------------------------------------------

constexpr ParamID kNoParamId = 0xFFFFFFFFu;
constexpr ParamID kMinParamId = 0;
constexpr ParamID kMaxParamId = 0x7FFFFFFFu;  // ids above belong to hosts
constexpr int32_t kStepCountContinuous = 0;
constexpr int32_t kStepCountToggle = 1;
constexpr uint32_t kNoTail = 0;
constexpr uint32_t kInfiniteTail = 0xFFFFFFFFu;

namespace speaker {
constexpr SpeakerArrangement kL = 1;
constexpr SpeakerArrangement kR = 2;
constexpr SpeakerArrangement kM = 0x80000;
}  // namespace speaker

namespace speaker_arrangement {
constexpr SpeakerArrangement kEmpty = 0;
constexpr SpeakerArrangement kMono = speaker::kM;
constexpr SpeakerArrangement kStereo = speaker::kL | speaker::kR;
}  // namespace speaker_arrangement

constexpr MediaType kAudio = 0;
constexpr MediaType kEvent = 1;
constexpr BusDirection kInput = 0;
constexpr BusDirection kOutput = 1;
constexpr BusType kMain = 0;
constexpr BusType kAux = 1;
constexpr IoMode kSimple = 0;
constexpr IoMode kAdvanced = 1;
constexpr IoMode kOfflineProcessing = 2;

constexpr int32_t kSample32 = 0;
constexpr int32_t kSample64 = 1;
constexpr int32_t kRealtime = 0;
constexpr int32_t kPrefetch = 1;
constexpr int32_t kOffline = 2;

constexpr UnitID kRootUnitId = 0;
constexpr UnitID kNoParentUnitId = -1;
constexpr ProgramListID kNoProgramListId = -1;
constexpr int32_t kAllProgramInvalid = -1;

constexpr KnobMode kCircularMode = 0;
constexpr KnobMode kRelativeCircularMode = 1;
constexpr KnobMode kLinearMode = 2;

// Flags of IComponentHandler::restartComponent.
namespace restart {
constexpr int32_t kReloadComponent = 1;
constexpr int32_t kIoChanged = 2;
constexpr int32_t kParamValuesChanged = 4;
constexpr int32_t kLatencyChanged = 8;
constexpr int32_t kParamTitlesChanged = 16;
constexpr int32_t kMidiCCAssignmentChanged = 32;
constexpr int32_t kNoteExpressionChanged = 64;
constexpr int32_t kIoTitlesChanged = 128;
constexpr int32_t kPrefetchableSupportChanged = 256;
constexpr int32_t kRoutingInfoChanged = 512;
constexpr int32_t kKeyswitchChanged = 1024;
constexpr int32_t kParamIDMappingChanged = 2048;
}  // namespace restart

// Class categories, sub-categories, the view name and the editor's parents.
constexpr const char kAudioEffectClass[] = "Audio Module Class";
constexpr const char kComponentControllerClass[] = "Component Controller Class";
namespace plug_type {
constexpr const char kFx[] = "Fx";
constexpr const char kFxDistortion[] = "Fx|Distortion";
constexpr const char kStereo[] = "Stereo";
}  // namespace plug_type
constexpr const char kEditorViewType[] = "editor";
constexpr const char kPlatformTypeHWND[] = "HWND";
constexpr const char kPlatformTypeX11EmbedWindowID[] = "X11EmbedWindowID";
constexpr const char kSdkVersionString[] = "VST 3.8.1";

// --- factory structs -------------------------------------------------------------

struct PFactoryInfo {
    static constexpr int32_t kNoFlags = 0;
    static constexpr int32_t kClassesDiscardable = 1;
    static constexpr int32_t kLicenseCheck = 2;
    static constexpr int32_t kComponentNonDiscardable = 8;
    static constexpr int32_t kUnicode = 16;  // current hosts require it

    char vendor[64];
    char url[256];
    char email[128];
    int32_t flags;
};
VVST3_LAYOUT(PFactoryInfo, 452, 452);
VVST3_OFFSET(PFactoryInfo, url, 64, 64);
VVST3_OFFSET(PFactoryInfo, email, 320, 320);
VVST3_OFFSET(PFactoryInfo, flags, 448, 448);

constexpr int32_t kDefaultFactoryFlags = PFactoryInfo::kUnicode;

struct PClassInfo {
    static constexpr int32_t kManyInstances = 0x7FFFFFFF;

    TUID cid;
    int32_t cardinality;
    char category[32];
    char name[64];
};
VVST3_LAYOUT(PClassInfo, 116, 116);
VVST3_OFFSET(PClassInfo, cardinality, 16, 16);
VVST3_OFFSET(PClassInfo, category, 20, 20);
VVST3_OFFSET(PClassInfo, name, 52, 52);

// classFlags of PClassInfo2 and PClassInfoW.
constexpr uint32_t kDistributable = 1;  // never for a one-object plug-in
constexpr uint32_t kSimpleModeSupported = 2;

struct PClassInfo2 {
    TUID cid;
    int32_t cardinality;
    char category[32];
    char name[64];
    uint32_t classFlags;
    char subCategories[128];
    char vendor[64];
    char version[64];
    char sdkVersion[64];
};
VVST3_LAYOUT(PClassInfo2, 440, 440);
VVST3_OFFSET(PClassInfo2, classFlags, 116, 116);
VVST3_OFFSET(PClassInfo2, subCategories, 120, 120);
VVST3_OFFSET(PClassInfo2, vendor, 248, 248);
VVST3_OFFSET(PClassInfo2, version, 312, 312);
VVST3_OFFSET(PClassInfo2, sdkVersion, 376, 376);

struct PClassInfoW {
    TUID cid;
    int32_t cardinality;
    char category[32];
    Char16 name[64];
    uint32_t classFlags;
    char subCategories[128];
    Char16 vendor[64];
    Char16 version[64];
    Char16 sdkVersion[64];
};
VVST3_LAYOUT(PClassInfoW, 696, 696);
VVST3_OFFSET(PClassInfoW, name, 52, 52);
VVST3_OFFSET(PClassInfoW, classFlags, 180, 180);
VVST3_OFFSET(PClassInfoW, subCategories, 184, 184);
VVST3_OFFSET(PClassInfoW, vendor, 312, 312);
VVST3_OFFSET(PClassInfoW, version, 440, 440);
VVST3_OFFSET(PClassInfoW, sdkVersion, 568, 568);

// --- component and processing structs ---------------------------------------------

struct BusInfo {
    static constexpr uint32_t kDefaultActive = 1;
    static constexpr uint32_t kIsControlVoltage = 2;

    MediaType mediaType;
    BusDirection direction;
    int32_t channelCount;
    String128 name;
    BusType busType;
    uint32_t flags;
};
VVST3_LAYOUT(BusInfo, 276, 276);
VVST3_OFFSET(BusInfo, channelCount, 8, 8);
VVST3_OFFSET(BusInfo, name, 12, 12);
VVST3_OFFSET(BusInfo, busType, 268, 268);
VVST3_OFFSET(BusInfo, flags, 272, 272);

struct RoutingInfo {
    MediaType mediaType;
    int32_t busIndex;
    int32_t channel;  // -1 = all
};
VVST3_LAYOUT(RoutingInfo, 12, 12);

struct ProcessSetup {
    int32_t processMode;  // kRealtime, kPrefetch or kOffline
    int32_t symbolicSampleSize;  // kSample32 or kSample64
    int32_t maxSamplesPerBlock;
    SampleRate sampleRate;
};
VVST3_LAYOUT(ProcessSetup, 24, 24);
VVST3_OFFSET(ProcessSetup, maxSamplesPerBlock, 8, 8);
VVST3_OFFSET(ProcessSetup, sampleRate, 16, 16);

struct AudioBusBuffers {
    int32_t numChannels;
    uint64_t silenceFlags;  // bit n: channel n is all zeros
    union {
        Sample32** channelBuffers32;
        Sample64** channelBuffers64;
    };
};
VVST3_LAYOUT(AudioBusBuffers, 24, 24);
VVST3_OFFSET(AudioBusBuffers, silenceFlags, 8, 8);
VVST3_OFFSET(AudioBusBuffers, channelBuffers32, 16, 16);

class IParameterChanges;
class IEventList;  // note events: never used by this effect, only passed on
struct ProcessContext;  // transport: may be null and is not read here

struct ProcessData {
    int32_t processMode;
    int32_t symbolicSampleSize;
    int32_t numSamples;  // 0 for a call that only delivers parameter changes
    int32_t numInputs;
    int32_t numOutputs;
    AudioBusBuffers* inputs;
    AudioBusBuffers* outputs;
    IParameterChanges* inputParameterChanges;
    IParameterChanges* outputParameterChanges;
    IEventList* inputEvents;
    IEventList* outputEvents;
    ProcessContext* processContext;
};
VVST3_LAYOUT(ProcessData, 80, 48);
VVST3_OFFSET(ProcessData, numOutputs, 16, 16);
VVST3_OFFSET(ProcessData, inputs, 24, 20);
VVST3_OFFSET(ProcessData, outputs, 32, 24);
VVST3_OFFSET(ProcessData, inputParameterChanges, 40, 28);
VVST3_OFFSET(ProcessData, outputParameterChanges, 48, 32);
VVST3_OFFSET(ProcessData, inputEvents, 56, 36);
VVST3_OFFSET(ProcessData, outputEvents, 64, 40);
VVST3_OFFSET(ProcessData, processContext, 72, 44);

// --- controller structs ------------------------------------------------------------

struct ParameterInfo {
    static constexpr int32_t kNoFlags = 0;
    static constexpr int32_t kCanAutomate = 1;
    static constexpr int32_t kIsReadOnly = 2;
    static constexpr int32_t kIsWrapAround = 4;
    static constexpr int32_t kIsList = 8;
    static constexpr int32_t kIsHidden = 16;
    static constexpr int32_t kIsProgramChange = 0x8000;
    static constexpr int32_t kIsBypass = 0x10000;

    ParamID id;
    String128 title;
    String128 shortTitle;
    String128 units;
    int32_t stepCount;  // 0 = continuous, n = n + 1 values at step / n
    ParamValue defaultNormalizedValue;
    UnitID unitId;
    int32_t flags;
};
VVST3_LAYOUT(ParameterInfo, 792, 792);
VVST3_OFFSET(ParameterInfo, title, 4, 4);
VVST3_OFFSET(ParameterInfo, shortTitle, 260, 260);
VVST3_OFFSET(ParameterInfo, units, 516, 516);
VVST3_OFFSET(ParameterInfo, stepCount, 772, 772);
VVST3_OFFSET(ParameterInfo, defaultNormalizedValue, 776, 776);
VVST3_OFFSET(ParameterInfo, unitId, 784, 784);
VVST3_OFFSET(ParameterInfo, flags, 788, 788);

struct UnitInfo {
    UnitID id;
    UnitID parentUnitId;
    String128 name;
    ProgramListID programListId;
};
VVST3_LAYOUT(UnitInfo, 268, 268);
VVST3_OFFSET(UnitInfo, name, 8, 8);
VVST3_OFFSET(UnitInfo, programListId, 264, 264);

struct ProgramListInfo {
    ProgramListID id;
    String128 name;
    int32_t programCount;
};
VVST3_LAYOUT(ProgramListInfo, 264, 264);
VVST3_OFFSET(ProgramListInfo, name, 4, 4);
VVST3_OFFSET(ProgramListInfo, programCount, 260, 260);

struct ViewRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};
VVST3_LAYOUT(ViewRect, 16, 16);
VVST3_OFFSET(ViewRect, bottom, 12, 12);

// --- interfaces -----------------------------------------------------------------
// Methods in slot order; do not reorder, insert or add a destructor.

class FUnknown {
public:
    static constexpr Uid iid = makeUid(0x00000000, 0x00000000, 0xC0000000, 0x00000046);
    virtual tresult VVST3_CALL queryInterface(const TUID interfaceId, void** obj) = 0;
    virtual uint32_t VVST3_CALL addRef() = 0;
    virtual uint32_t VVST3_CALL release() = 0;
};

class IPluginBase : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);
    virtual tresult VVST3_CALL initialize(FUnknown* context) = 0;
    virtual tresult VVST3_CALL terminate() = 0;
};

class IPluginFactory : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);
    virtual tresult VVST3_CALL getFactoryInfo(PFactoryInfo* info) = 0;
    virtual int32_t VVST3_CALL countClasses() = 0;
    virtual tresult VVST3_CALL getClassInfo(int32_t index, PClassInfo* info) = 0;
    virtual tresult VVST3_CALL createInstance(FIDString classId, FIDString interfaceId, void** obj) = 0;
};

class IPluginFactory2 : public IPluginFactory {
public:
    static constexpr Uid iid = makeUid(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);
    virtual tresult VVST3_CALL getClassInfo2(int32_t index, PClassInfo2* info) = 0;
};

class IPluginFactory3 : public IPluginFactory2 {
public:
    static constexpr Uid iid = makeUid(0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931);
    virtual tresult VVST3_CALL getClassInfoUnicode(int32_t index, PClassInfoW* info) = 0;
    // On Linux the context answers IRunLoop.
    virtual tresult VVST3_CALL setHostContext(FUnknown* context) = 0;
};

class IBStream : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);
    static constexpr int32_t kIBSeekSet = 0;
    static constexpr int32_t kIBSeekCur = 1;
    static constexpr int32_t kIBSeekEnd = 2;
    virtual tresult VVST3_CALL read(void* buffer, int32_t numBytes, int32_t* numBytesRead) = 0;
    virtual tresult VVST3_CALL write(void* buffer, int32_t numBytes, int32_t* numBytesWritten) = 0;
    virtual tresult VVST3_CALL seek(int64_t pos, int32_t mode, int64_t* result) = 0;
    virtual tresult VVST3_CALL tell(int64_t* pos) = 0;
};

class IComponent : public IPluginBase {
public:
    static constexpr Uid iid = makeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);
    // A one-object plug-in fails this: there is no separate controller class.
    virtual tresult VVST3_CALL getControllerClassId(TUID classId) = 0;
    virtual tresult VVST3_CALL setIoMode(IoMode mode) = 0;
    virtual int32_t VVST3_CALL getBusCount(MediaType type, BusDirection dir) = 0;
    virtual tresult VVST3_CALL getBusInfo(MediaType type, BusDirection dir, int32_t index, BusInfo& bus) = 0;
    virtual tresult VVST3_CALL getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) = 0;
    virtual tresult VVST3_CALL activateBus(MediaType type, BusDirection dir, int32_t index, TBool state) = 0;
    virtual tresult VVST3_CALL setActive(TBool state) = 0;
    // The processor's state; not the controller's methods of the same names.
    virtual tresult VVST3_CALL setState(IBStream* state) = 0;
    virtual tresult VVST3_CALL getState(IBStream* state) = 0;
};

class IAudioProcessor : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);
    virtual tresult VVST3_CALL setBusArrangements(SpeakerArrangement* inputs, int32_t numIns,
                                                  SpeakerArrangement* outputs, int32_t numOuts) = 0;
    virtual tresult VVST3_CALL getBusArrangement(BusDirection dir, int32_t index, SpeakerArrangement& arr) = 0;
    virtual tresult VVST3_CALL canProcessSampleSize(int32_t symbolicSampleSize) = 0;
    virtual uint32_t VVST3_CALL getLatencySamples() = 0;
    virtual tresult VVST3_CALL setupProcessing(ProcessSetup& setup) = 0;
    virtual tresult VVST3_CALL setProcessing(TBool state) = 0;
    virtual tresult VVST3_CALL process(ProcessData& data) = 0;
    virtual uint32_t VVST3_CALL getTailSamples() = 0;
};

class IProcessContextRequirements : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0);
    static constexpr uint32_t kNeedSystemTime = 1;
    static constexpr uint32_t kNeedContinuousTimeSamples = 2;
    static constexpr uint32_t kNeedProjectTimeMusic = 4;
    static constexpr uint32_t kNeedBarPositionMusic = 8;
    static constexpr uint32_t kNeedCycleMusic = 16;
    static constexpr uint32_t kNeedSamplesToNextClock = 32;
    static constexpr uint32_t kNeedTempo = 64;
    static constexpr uint32_t kNeedTimeSignature = 128;
    static constexpr uint32_t kNeedChord = 256;
    static constexpr uint32_t kNeedFrameRate = 512;
    static constexpr uint32_t kNeedTransportState = 1024;
    virtual uint32_t VVST3_CALL getProcessContextRequirements() = 0;
};

class IParamValueQueue : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);
    virtual ParamID VVST3_CALL getParameterId() = 0;
    virtual int32_t VVST3_CALL getPointCount() = 0;
    virtual tresult VVST3_CALL getPoint(int32_t index, int32_t& sampleOffset, ParamValue& value) = 0;
    virtual tresult VVST3_CALL addPoint(int32_t sampleOffset, ParamValue value, int32_t& index) = 0;
};

class IParameterChanges : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);
    virtual int32_t VVST3_CALL getParameterCount() = 0;
    // Borrowed: valid during the process call, not released by the reader.
    virtual IParamValueQueue* VVST3_CALL getParameterData(int32_t index) = 0;
    virtual IParamValueQueue* VVST3_CALL addParameterData(const ParamID& id, int32_t& index) = 0;
};

class IComponentHandler : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);
    virtual tresult VVST3_CALL beginEdit(ParamID id) = 0;
    virtual tresult VVST3_CALL performEdit(ParamID id, ParamValue valueNormalized) = 0;
    virtual tresult VVST3_CALL endEdit(ParamID id) = 0;
    virtual tresult VVST3_CALL restartComponent(int32_t flags) = 0;
};

class IPlugView;

class IEditController : public IPluginBase {
public:
    static constexpr Uid iid = makeUid(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);
    virtual tresult VVST3_CALL setComponentState(IBStream* state) = 0;
    // The controller's own state; not the processor's methods of the same names.
    virtual tresult VVST3_CALL setState(IBStream* state) = 0;
    virtual tresult VVST3_CALL getState(IBStream* state) = 0;
    virtual int32_t VVST3_CALL getParameterCount() = 0;
    virtual tresult VVST3_CALL getParameterInfo(int32_t paramIndex, ParameterInfo& info) = 0;
    virtual tresult VVST3_CALL getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) = 0;
    virtual tresult VVST3_CALL getParamValueByString(ParamID id, Char16* string, ParamValue& valueNormalized) = 0;
    virtual ParamValue VVST3_CALL normalizedParamToPlain(ParamID id, ParamValue valueNormalized) = 0;
    virtual ParamValue VVST3_CALL plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;
    virtual ParamValue VVST3_CALL getParamNormalized(ParamID id) = 0;
    virtual tresult VVST3_CALL setParamNormalized(ParamID id, ParamValue value) = 0;
    virtual tresult VVST3_CALL setComponentHandler(IComponentHandler* handler) = 0;
    virtual IPlugView* VVST3_CALL createView(FIDString name) = 0;
};

class IEditController2 : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x7F4EFE59, 0xF3204967, 0xAC27A3AE, 0xAFB63038);
    virtual tresult VVST3_CALL setKnobMode(KnobMode mode) = 0;
    virtual tresult VVST3_CALL openHelp(TBool onlyCheck) = 0;
    virtual tresult VVST3_CALL openAboutBox(TBool onlyCheck) = 0;
};

class IAttributeList : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x1E5F0AEB, 0xCC7F4533, 0xA2544011, 0x38AD5EE4);
    virtual tresult VVST3_CALL setInt(AttrID id, int64_t value) = 0;
    virtual tresult VVST3_CALL getInt(AttrID id, int64_t* value) = 0;
    virtual tresult VVST3_CALL setFloat(AttrID id, double value) = 0;
    virtual tresult VVST3_CALL getFloat(AttrID id, double* value) = 0;
    virtual tresult VVST3_CALL setString(AttrID id, const Char16* string) = 0;
    virtual tresult VVST3_CALL getString(AttrID id, Char16* string, uint32_t sizeInBytes) = 0;
    virtual tresult VVST3_CALL setBinary(AttrID id, const void* data, uint32_t sizeInBytes) = 0;
    virtual tresult VVST3_CALL getBinary(AttrID id, const void** data, uint32_t* sizeInBytes) = 0;
};

class IMessage : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x936F033B, 0xC6C047DB, 0xBB0882F8, 0x13C1E613);
    virtual FIDString VVST3_CALL getMessageID() = 0;
    virtual void VVST3_CALL setMessageID(FIDString id) = 0;
    virtual IAttributeList* VVST3_CALL getAttributes() = 0;  // borrowed
};

class IConnectionPoint : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1);
    virtual tresult VVST3_CALL connect(IConnectionPoint* other) = 0;
    virtual tresult VVST3_CALL disconnect(IConnectionPoint* other) = 0;
    virtual tresult VVST3_CALL notify(IMessage* message) = 0;
};

class IUnitInfo : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1);
    virtual int32_t VVST3_CALL getUnitCount() = 0;
    virtual tresult VVST3_CALL getUnitInfo(int32_t unitIndex, UnitInfo& info) = 0;
    virtual int32_t VVST3_CALL getProgramListCount() = 0;
    virtual tresult VVST3_CALL getProgramListInfo(int32_t listIndex, ProgramListInfo& info) = 0;
    virtual tresult VVST3_CALL getProgramName(ProgramListID listId, int32_t programIndex, String128 name) = 0;
    virtual tresult VVST3_CALL getProgramInfo(ProgramListID listId, int32_t programIndex, CString attributeId,
                                              String128 attributeValue) = 0;
    virtual tresult VVST3_CALL hasProgramPitchNames(ProgramListID listId, int32_t programIndex) = 0;
    virtual tresult VVST3_CALL getProgramPitchName(ProgramListID listId, int32_t programIndex, int16_t midiPitch,
                                                   String128 name) = 0;
    virtual UnitID VVST3_CALL getSelectedUnit() = 0;
    virtual tresult VVST3_CALL selectUnit(UnitID unitId) = 0;
    virtual tresult VVST3_CALL getUnitByBus(MediaType type, BusDirection dir, int32_t busIndex, int32_t channel,
                                            UnitID& unitId) = 0;
    virtual tresult VVST3_CALL setUnitProgramData(int32_t listOrUnitId, int32_t programIndex, IBStream* data) = 0;
};

class IPlugFrame;

class IPlugView : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29);
    virtual tresult VVST3_CALL isPlatformTypeSupported(FIDString type) = 0;
    // parent: an HWND, or on X11 the window id itself cast to a pointer.
    virtual tresult VVST3_CALL attached(void* parent, FIDString type) = 0;
    virtual tresult VVST3_CALL removed() = 0;
    virtual tresult VVST3_CALL onWheel(float distance) = 0;
    virtual tresult VVST3_CALL onKeyDown(Char16 key, int16_t keyCode, int16_t modifiers) = 0;
    virtual tresult VVST3_CALL onKeyUp(Char16 key, int16_t keyCode, int16_t modifiers) = 0;
    virtual tresult VVST3_CALL getSize(ViewRect* size) = 0;
    virtual tresult VVST3_CALL onSize(ViewRect* newSize) = 0;
    virtual tresult VVST3_CALL onFocus(TBool state) = 0;
    virtual tresult VVST3_CALL setFrame(IPlugFrame* frame) = 0;
    virtual tresult VVST3_CALL canResize() = 0;
    virtual tresult VVST3_CALL checkSizeConstraint(ViewRect* rect) = 0;
};

class IPlugFrame : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3);
    // The host resizes its window and calls view->onSize in the same call.
    virtual tresult VVST3_CALL resizeView(IPlugView* view, ViewRect* newSize) = 0;
};

class IPlugViewContentScaleSupport : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F);
    virtual tresult VVST3_CALL setContentScaleFactor(ScaleFactor factor) = 0;
};

// The Linux editor's only event loop is the host's: these three.
class IEventHandler : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983);
    virtual void VVST3_CALL onFDIsSet(FileDescriptor fd) = 0;
};

class ITimerHandler : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9);
    virtual void VVST3_CALL onTimer() = 0;
};

class IRunLoop : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389);
    virtual tresult VVST3_CALL registerEventHandler(IEventHandler* handler, FileDescriptor fd) = 0;
    virtual tresult VVST3_CALL unregisterEventHandler(IEventHandler* handler) = 0;
    virtual tresult VVST3_CALL registerTimer(ITimerHandler* handler, TimerInterval milliseconds) = 0;
    virtual tresult VVST3_CALL unregisterTimer(ITimerHandler* handler) = 0;
};

class IHostApplication : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);
    virtual tresult VVST3_CALL getName(String128 name) = 0;
    virtual tresult VVST3_CALL createInstance(TUID classId, TUID interfaceId, void** obj) = 0;
};

class IPlugInterfaceSupport : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x4FB58B9E, 0x9EAA4E0F, 0xAB361C1C, 0xCCB56FEA);
    virtual tresult VVST3_CALL isPlugInterfaceSupported(const TUID interfaceId) = 0;
};

// --- the module's exports -----------------------------------------------------------
// Linux requires ModuleEntry (called with the dlopen handle right after
// loading) and ModuleExit (before unloading); Windows may export InitDll and
// ExitDll. GetPluginFactory returns the factory with one reference.

using GetPluginFactoryFunction = IPluginFactory*(VVST3_CALL*)();
using ModuleEntryFunction = bool (*)(void* sharedLibraryHandle);
using ModuleExitFunction = bool (*)();
using InitDllFunction = bool (*)();
using ExitDllFunction = bool (*)();

constexpr const char kGetPluginFactorySymbol[] = "GetPluginFactory";
constexpr const char kModuleEntrySymbol[] = "ModuleEntry";
constexpr const char kModuleExitSymbol[] = "ModuleExit";
constexpr const char kInitDllSymbol[] = "InitDll";
constexpr const char kExitDllSymbol[] = "ExitDll";

}  // namespace vvst3
