// PluginBase owns the effect record and turns the base opcodes 0..24 into
// virtual operations; PluginBaseExt adds the extended opcodes 25..76 and the
// remaining host services. Effects derive from PluginBaseExt and replace the
// operations they need. Declaration order below is the slot order.
#pragma once

#include <atomic>

#include "core/relaxed_atomic.h"
#include "vst_abi.h"

class Editor;

// Library-wide state: set when an editor could not be created; every later
// effect construction then fails too, for as long as the library is loaded.
extern bool editorMissing;

// Module handle of the loaded library (the Windows loader hands it over; on
// Linux it stays null and resources are linked in).
extern void* moduleInstance;

struct VstSpeakerArrangement;
struct VstSpeakerProperties;

class PluginBase {
public:
    PluginBase(AudioMasterCallback host, int32_t programCount, int32_t paramCount);
    virtual ~PluginBase();                                                      // 0

    PluginBase(const PluginBase&) = delete;
    PluginBase& operator=(const PluginBase&) = delete;

    virtual void setParameter(int32_t index, float value);                      // 1
    virtual float getParameter(int32_t index);                                  // 2
    virtual void setParameterAutomated(int32_t index, float value);             // 3
    virtual void process(float** inputs, float** outputs, int32_t frames) = 0;  // 4
    virtual void processReplacing(float** inputs, float** outputs, int32_t frames);  // 5
    virtual VstIntPtr dispatcher(int32_t opcode, int32_t index, VstIntPtr value, void* ptr,
                                 float opt);                                    // 6
    virtual void open() {}                                                      // 7
    virtual void close() {}                                                     // 8
    virtual int32_t getProgram() { return currentProgram; }                     // 9
    virtual void setProgram(int32_t program) { currentProgram = program; }      // 10
    virtual void setProgramName(char* name);                                    // 11
    virtual void getProgramName(char* name);                                    // 12
    virtual void getParameterLabel(int32_t index, char* label);                 // 13
    virtual void getParameterDisplay(int32_t index, char* text);                // 14
    virtual void getParameterName(int32_t index, char* text);                   // 15
    virtual float getVu() { return 0.0f; }                                      // 16
    virtual int32_t getChunk(void** data, bool isPreset = false);               // 17
    virtual int32_t setChunk(void* data, int32_t byteSize, bool isPreset = false);  // 18
    virtual void setSampleRate(float rate) { sampleRate.store(rate, std::memory_order_relaxed); }  // 19
    virtual void setBlockSize(int32_t size) { blockSize = size; }               // 20
    virtual void suspend() {}                                                   // 21
    virtual void resume() {}                                                    // 22
    virtual void setUniqueID(int32_t id) { cEffect.uniqueID = id; }             // 23
    virtual void setNumInputs(int32_t inputs) { cEffect.numInputs = inputs; }   // 24
    virtual void setNumOutputs(int32_t outputs) { cEffect.numOutputs = outputs; }  // 25
    virtual void hasVu(bool state = true) { setFlag(effFlagsHasVu, state); }    // 26
    virtual void hasClip(bool state = true) { setFlag(effFlagsHasClip, state); }  // 27
    virtual void canMono(bool state = true) { setFlag(effFlagsCanMono, state); }  // 28
    virtual void canProcessReplacing(bool state = true) {
        setFlag(effFlagsCanReplacing, state);
    }                                                                           // 29
    virtual void programsAreChunks(bool state = true) {
        setFlag(effFlagsProgramChunks, state);
    }                                                                           // 30
    virtual void setRealtimeQualities(int32_t q) { cEffect.realQualities = q; }  // 31
    virtual void setOfflineQualities(int32_t q) { cEffect.offQualities = q; }   // 32
    virtual void setInitialDelay(int32_t delay) { cEffect.initialDelay = delay; }  // 33
    virtual float getSampleRate() { return sampleRate.load(std::memory_order_relaxed); }  // 34
    virtual int32_t getBlockSize() { return blockSize; }                        // 35
    virtual int32_t getMasterVersion();                                         // 36
    virtual int32_t getCurrentUniqueId();                                       // 37
    virtual void masterIdle();                                                  // 38
    virtual bool isInputConnected(int32_t input);                               // 39
    virtual bool isOutputConnected(int32_t output);                             // 40
    virtual void dB2string(float value, char* text);                            // 41
    virtual void Hz2string(float samples, char* text);                          // 42
    virtual void ms2string(float samples, char* text);                          // 43
    virtual void float2string(float value, char* text);                         // 44
    virtual void long2string(long value, char* text);                           // 45

    AEffect* getAeffect() { return &cEffect; }
    Editor* getEditorObject() const { return editor; }
    // Links the editor, which the effect then owns and deletes, and
    // announces it in the record's flags.
    void registerEditor(Editor* newEditor);

    // Recovers the effect object from the record the host hands back.
    static PluginBase* fromRecord(AEffect* record) {
        return record ? static_cast<PluginBase*>(record->object) : nullptr;
    }

protected:
    void setFlag(int32_t bit, bool state) {
        cEffect.flags = state ? (cEffect.flags | bit) : (cEffect.flags & ~bit);
    }
    // Points rect at the editor's rectangle; returns 1.
    int32_t reportEditorRect(ERect** rect);
    // Calls the host; 0 when there is no host to call.
    VstIntPtr callHost(int32_t opcode, int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);

    // Written from the dispatcher thread, read by the audio thread.
    std::atomic<float> sampleRate{44100.0f};
    Editor* editor = nullptr;
    // What effEditGetRect points the host at: the editor's size.
    ERect editorRect{};
    AudioMasterCallback hostCallback;
    int32_t numPrograms;
    int32_t numParams;
    // Set by whichever thread changes the program, read by parameter setters
    // on others.
    RelaxedAtomic<int32_t> currentProgram{0};
    int32_t blockSize = 1024;
    AEffect cEffect{};
};

class PluginBaseExt : public PluginBase {
public:
    PluginBaseExt(AudioMasterCallback host, int32_t programCount, int32_t paramCount)
        : PluginBase(host, programCount, paramCount) {}

    VstIntPtr dispatcher(int32_t opcode, int32_t index, VstIntPtr value, void* ptr,
                         float opt) override;

    virtual Editor* getEditor() { return editor; }                              // 46
    virtual void wantEvents(int32_t filter = 1);                                // 47
    virtual void* getTimeInfo(int32_t filter);                                  // 48
    virtual int32_t tempoAt(int32_t pos);                                       // 49
    virtual int32_t processEvents(void* /*events*/) { return 0; }               // 50
    virtual int32_t getNumAutomatableParameters();                              // 51
    virtual int32_t getParameterQuantization();                                 // 52
    virtual bool canParameterBeAutomated(int32_t /*index*/) { return true; }    // 53
    virtual bool string2parameter(int32_t /*index*/, char* /*text*/) { return false; }  // 54
    virtual float getChannelParameter(int32_t /*channel*/, int32_t /*index*/) { return 0.0f; }  // 55
    virtual int32_t getNumCategories() { return 1; }                            // 56
    virtual bool getProgramNameIndexed(int32_t /*category*/, int32_t /*index*/, char* /*text*/) {
        return false;
    }                                                                           // 57
    virtual bool copyProgram(int32_t /*destination*/) { return false; }         // 58
    virtual bool ioChanged();                                                   // 59
    virtual bool needIdle();                                                    // 60
    virtual bool sizeWindow(int32_t width, int32_t height);                     // 61
    virtual double updateSampleRate();                                          // 62
    virtual int32_t updateBlockSize();                                          // 63
    virtual int32_t getInputLatency();                                          // 64
    virtual int32_t getOutputLatency();                                         // 65
    virtual PluginBase* getPreviousPlugin(int32_t input);                       // 66
    virtual PluginBase* getNextPlugin(int32_t output);                          // 67
    virtual void inputConnected(int32_t /*index*/, bool /*state*/) {}           // 68
    virtual void outputConnected(int32_t /*index*/, bool /*state*/) {}          // 69
    virtual bool getInputProperties(int32_t /*index*/, void* /*properties*/) { return false; }  // 70
    virtual bool getOutputProperties(int32_t /*index*/, void* /*properties*/) { return false; }  // 71
    virtual int32_t getPlugCategory();                                          // 72
    virtual int32_t willProcessReplacing();                                     // 73
    virtual int32_t getCurrentProcessLevel();                                   // 74
    virtual int32_t getAutomationState();                                       // 75
    virtual void setOutputSamplerateIsAsync(bool state) { setFlag(effFlagsExtIsAsync, state); }  // 76
    virtual void hasExternalBuffer(bool state) { setFlag(effFlagsExtHasBuffer, state); }  // 77
    virtual int32_t reportCurrentPosition() { return 0; }                       // 78
    virtual float* reportDestinationBuffer() { return nullptr; }                // 79
    virtual bool offlineRead(void* offline, int32_t option, bool readSource = true);  // 80
    virtual bool offlineWrite(void* offline, int32_t option);                   // 81
    virtual bool offlineStart(void* audioFiles, int32_t numAudioFiles, int32_t numNewAudioFiles);  // 82
    virtual int32_t offlineGetCurrentPass();                                    // 83
    virtual int32_t offlineGetCurrentMetaPass();                                // 84
    virtual bool offlineNotify(void* /*ptr*/, int32_t /*numAudioFiles*/, bool /*start*/) {
        return false;
    }                                                                           // 85
    virtual bool offlinePrepare(void* /*offline*/, int32_t /*count*/) { return false; }  // 86
    virtual bool offlineRun(void* /*offline*/, int32_t /*count*/) { return false; }  // 87
    virtual int32_t offlineGetNumPasses() { return 0; }                         // 88
    virtual int32_t offlineGetNumMetaPasses() { return 0; }                     // 89
    virtual void setOutputSampleRate(float rate);                               // 90
    virtual VstSpeakerArrangement* getInputSpeakerArrangement();                // 91
    virtual VstSpeakerArrangement* getOutputSpeakerArrangement();               // 92
    virtual bool getHostVendorString(char* text);                               // 93
    virtual bool getHostProductString(char* text);                              // 94
    virtual int32_t getHostVendorVersion();                                     // 95
    virtual int32_t hostVendorSpecific(int32_t index, VstIntPtr value, void* ptr, float opt);  // 96
    virtual int32_t canHostDo(char* text);                                      // 97
    virtual void isSynth(bool state = true) { setFlag(effFlagsIsSynth, state); }  // 98
    virtual void noTail(bool state = true) { setFlag(effFlagsNoSoundInStop, state); }  // 99
    virtual int32_t getHostLanguage();                                          // 100
    virtual void* openWindow(void* window);                                     // 101
    virtual bool closeWindow(void* window);                                     // 102
    virtual void* getDirectory();                                               // 103
    virtual bool updateDisplay();                                               // 104
    virtual bool processVariableIo(void* /*varIo*/) { return false; }           // 105
    virtual bool setSpeakerArrangement(VstSpeakerArrangement* /*in*/, VstSpeakerArrangement* /*out*/) {
        return false;
    }                                                                           // 106
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** input,
                                       VstSpeakerArrangement** output);         // 107
    virtual void setBlockSizeAndSampleRate(int32_t size, float rate) {
        blockSize = size;
        sampleRate.store(rate, std::memory_order_relaxed);
    }                                                                           // 108
    virtual bool setBypass(bool /*onOff*/) { return false; }                    // 109
    virtual bool getEffectName(char* /*name*/) { return false; }                // 110
    virtual bool getErrorText(char* /*text*/) { return false; }                 // 111
    virtual bool getVendorString(char* /*text*/) { return false; }              // 112
    virtual bool getProductString(char* /*text*/) { return false; }             // 113
    virtual int32_t getVendorVersion() { return 0; }                            // 114
    virtual int32_t vendorSpecific(int32_t, VstIntPtr, void*, float) { return 0; }  // 115
    virtual int32_t canDo(char* /*text*/) { return 0; }                         // 116
    virtual void* getIcon() { return nullptr; }                                 // 117
    virtual bool setViewPosition(int32_t /*x*/, int32_t /*y*/) { return false; }  // 118
    virtual int32_t getGetTailSize() { return 0; }                              // 119
    virtual int32_t fxIdle() { return 0; }                                      // 120
    virtual bool getParameterProperties(int32_t /*index*/, void* /*properties*/) { return false; }  // 121
    virtual bool keysRequired() { return false; }                               // 122
    virtual int32_t getVstVersion() { return 2300; }                            // 123
    virtual int32_t getMidiProgramName(int32_t, void*) { return 0; }            // 124
    virtual int32_t getCurrentMidiProgram(int32_t, void*) { return -1; }        // 125
    virtual int32_t getMidiProgramCategory(int32_t, void*) { return 0; }        // 126
    virtual bool hasMidiProgramsChanged(int32_t) { return false; }              // 127
    virtual bool getMidiKeyName(int32_t, void*) { return false; }               // 128
    virtual bool beginSetProgram() { return false; }                            // 129
    virtual bool endSetProgram() { return false; }                              // 130
    virtual bool beginEdit(int32_t index);                                      // 131
    virtual bool endEdit(int32_t index);                                        // 132
    virtual bool openFileSelector(void* selector);                              // 133
    virtual int32_t setTotalSampleToProcess(int32_t value) { return value; }    // 134
    virtual int32_t getNextShellPlugin(char* /*name*/) { return 0; }            // 135
    virtual int32_t startProcess() { return 0; }                                // 136
    virtual int32_t stopProcess() { return 0; }                                 // 137
    virtual bool setPanLaw(int32_t /*type*/, float /*value*/) { return false; }  // 138
    virtual int32_t beginLoadBank(void* /*bank*/) { return 0; }                 // 139
    virtual int32_t beginLoadProgram(void* /*program*/) { return 0; }           // 140
    virtual bool allocateArrangement(VstSpeakerArrangement** arrangement, int32_t channels);  // 141
    virtual bool deallocateArrangement(VstSpeakerArrangement** arrangement);    // 142
    virtual bool copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from);  // 143
    virtual bool matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from);  // 144
};
