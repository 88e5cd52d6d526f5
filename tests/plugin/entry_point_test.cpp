// Loads the built plug-in the way a host does and checks the record and the
// dispatcher's answers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host_recorder.h"
#include "plugin_library.h"

namespace {

class LoadedPlugin : public ::testing::Test {
protected:
    void SetUp() override {
        library = openPluginLibrary(pluginPath());
        ASSERT_NE(library, nullptr) << pluginLoadError();
        entry = pluginEntry<VstPluginEntry>(library, "VSTPluginMain");
        mainEntry = pluginEntry<VstPluginEntry>(library, "main");
        ASSERT_NE(entry, nullptr);
        ASSERT_NE(mainEntry, nullptr);
        effect = entry(recordingHost);
        ASSERT_NE(effect, nullptr);
    }
    void TearDown() override {
        if (effect) {
            EXPECT_EQ(call(effClose), 1);
        }
        if (library) closePluginLibrary(library);
    }
    VstIntPtr call(int32_t opcode, int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f) {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    std::string text(int32_t opcode, int32_t index = 0) {
        char buffer[256];
        std::memset(buffer, 'x', sizeof buffer);
        buffer[255] = '\0';
        call(opcode, index, 0, buffer);
        return buffer;
    }

    void* library = nullptr;
    VstPluginEntry entry = nullptr;
    VstPluginEntry mainEntry = nullptr;
    AEffect* effect = nullptr;
};

}  // namespace

TEST_F(LoadedPlugin, RecordReadsAsPublished) {
    EXPECT_EQ(effect->magic, 0x56737450);
    EXPECT_EQ(effect->numPrograms, 16);
    EXPECT_EQ(effect->numParams, 19);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->flags, 0x19);
    EXPECT_EQ(effect->ioRatio, 1.0f);
    EXPECT_EQ(effect->uniqueID, 0x566C6D35);  // 'Vlm5'
    EXPECT_EQ(effect->version, 1);
    EXPECT_EQ(effect->initialDelay, 0);
    EXPECT_EQ(effect->resvd1, 0);
    EXPECT_EQ(effect->user, nullptr);
    EXPECT_NE(effect->object, nullptr);
    EXPECT_NE(effect->processReplacing, nullptr);
    for (char byte : effect->future) EXPECT_EQ(byte, 0);
    EXPECT_EQ(effect->reservedSlot, nullptr);
}

TEST_F(LoadedPlugin, BothEntriesBuildIndependentEffects) {
    AEffect* second = mainEntry(recordingHost);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, effect);
    EXPECT_EQ(second->uniqueID, effect->uniqueID);
    EXPECT_EQ(second->dispatcher(second, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST_F(LoadedPlugin, ZeroHostVersionGivesNoEffect) {
    EXPECT_EQ(entry(zeroVersionHost), nullptr);
    EXPECT_EQ(mainEntry(zeroVersionHost), nullptr);
    EXPECT_EQ(entry(nullptr), nullptr);
}

TEST_F(LoadedPlugin, DispatcherAnswersIdentityAndCapabilities) {
    EXPECT_EQ(call(effIdentify), 0x4E764566);
    EXPECT_EQ(call(effGetVstVersion), 2300);
    EXPECT_EQ(call(effGetVendorVersion), 1000);
    EXPECT_EQ(call(effGetPlugCategory), 0);
    char canDo[] = "receiveVstEvents";
    EXPECT_EQ(call(effCanDo, 0, 0, canDo), 0);
    char bypass[] = "bypass";
    EXPECT_EQ(call(effCanDo, 0, 0, bypass), 0);
    for (int index : {0, 18, 19, -1}) EXPECT_EQ(call(effCanBeAutomated, index), 1);
    EXPECT_EQ(call(effKeysRequired), 1);
    EXPECT_EQ(call(effGetNumProgramCategories), 1);
    EXPECT_EQ(call(effGetCurrentMidiProgram), -1);
    EXPECT_EQ(call(effGetVu), 0);
    EXPECT_EQ(call(effGetChunk), 0);
    EXPECT_EQ(call(effGetTailSize), 0);
    EXPECT_EQ(call(effSetTotalSampleToProcess, 0, 4096), 4096);
    EXPECT_EQ(call(effConnectInput, 0, 1), 1);
    EXPECT_EQ(call(effSetBlockSizeAndSampleRate, 0, 256, nullptr, 48000.0f), 1);
    EXPECT_EQ(call(77), 0);
    EXPECT_EQ(call(-1), 0);
    EXPECT_EQ(text(effGetEffectName), "Velmora");
    EXPECT_EQ(text(effGetProductString), "Velmora");
    EXPECT_EQ(text(effGetVendorString), "Quorvane");
    EXPECT_EQ(call(effGetEffectName, 0, 0, nullptr), 0);  // null buffer: nothing written
}

TEST_F(LoadedPlugin, EveryOtherOpcodeAnswersZero) {
    const int32_t silent[] = {25, 27, 30, 33, 34, 36, 37, 38, 39, 40, 41, 42, 44, 46, 50, 52, 53,
                              54, 55, 56, 62, 64, 65, 66, 67, 68, 70, 71, 72, 74, 75, 76, 16, 17, 18, 20, 21};
    char scratch[512] = {};
    for (int32_t opcode : silent) EXPECT_EQ(call(opcode, 0, 0, scratch), 0) << "opcode " << opcode;
    VstSpeakerArrangement* in = reinterpret_cast<VstSpeakerArrangement*>(1);
    VstSpeakerArrangement* out = reinterpret_cast<VstSpeakerArrangement*>(1);
    EXPECT_EQ(call(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 0);
    EXPECT_EQ(in, nullptr);
    EXPECT_EQ(out, nullptr);
}

TEST_F(LoadedPlugin, EditorSeamHasNoWindowYet) {
    ERect* rect = reinterpret_cast<ERect*>(1);
    const VstIntPtr answer = call(effEditGetRect, 0, 0, &rect);
    if (answer == 0) {
        EXPECT_EQ(rect, nullptr);
    } else {
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->right - rect->left, 484);
        EXPECT_EQ(rect->bottom - rect->top, 286);
    }
    EXPECT_EQ(call(effEditIdle), 0);
    EXPECT_EQ(call(effEditClose), 0);
}

TEST_F(LoadedPlugin, ProgramsThroughTheDispatcher) {
    EXPECT_EQ(call(effGetProgram), 0);
    EXPECT_EQ(text(effGetProgramName), "Init 1");
    call(effSetProgram, 0, 4);
    EXPECT_EQ(call(effGetProgram), 4);
    EXPECT_EQ(text(effGetProgramName), "Init 5");
    call(effSetProgram, 0, 16);
    call(effSetProgram, 0, -1);
    call(effSetProgram, 0, static_cast<VstIntPtr>(-2147483647));
    EXPECT_EQ(call(effGetProgram), 4);
    char bass[] = "Bass";
    call(effSetProgramName, 0, 0, bass);
    EXPECT_EQ(text(effGetProgramName), "Bass");
    EXPECT_EQ(text(effGetProgramNameIndexed, 4), "Bass");
    EXPECT_EQ(text(effGetProgramNameIndexed, 15), "Init");
    EXPECT_EQ(call(effGetProgramNameIndexed, 16, 0, bass), 0);
    EXPECT_EQ(call(effGetProgramNameIndexed, -1, 0, bass), 0);
    EXPECT_STREQ(bass, "Bass");
}

TEST_F(LoadedPlugin, ParametersThroughTheRecordEntries) {
    EXPECT_EQ(effect->getParameter(effect, 0), 0.5f);
    EXPECT_EQ(effect->getParameter(effect, 2), 1.0f);
    EXPECT_EQ(effect->getParameter(effect, 9), 0.0f);
    EXPECT_EQ(effect->getParameter(effect, 18), 1.0f);
    EXPECT_EQ(effect->getParameter(effect, 19), 0.0f);
    EXPECT_EQ(effect->getParameter(effect, -1), 0.0f);
    effect->setParameter(effect, 9, 0.75f);
    EXPECT_EQ(effect->getParameter(effect, 9), 0.75f);
    EXPECT_EQ(text(effGetParamName, 9), "Gain1");
    EXPECT_EQ(text(effGetParamDisplay, 9), "40.00000");
    EXPECT_EQ(text(effGetParamLabel, 9), "dB");

    float left[64] = {}, right[64] = {};
    float* io[2] = {left, right};
    left[0] = right[0] = 1.0f;
    effect->processReplacing(effect, io, io, 64);
    effect->process(effect, io, io, 64);
    effect->processReplacing(effect, io, io, -5);
}
