#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "host_recorder.h"
#include "vst2/distortion_effect.h"
#include "core/editor.h"

namespace {

// Stands in for the real editor to see what the effect tells it, in order.
class RecordingEditor : public Editor {
public:
    EditorSize size() const override { return {0, 0}; }
    int32_t open(void*) override { return 0; }
    void close() override {}
    void idle() override {}
    void parameterChanged(int32_t index, float value) override { calls.emplace_back(index, value); }
    std::vector<std::pair<int32_t, float>> calls;
};

struct EffectWithEditor {
    DistortionEffect effect{recordingHost};
    RecordingEditor* editor;
    EffectWithEditor() {
        delete effect.getEditorObject();
        editor = new RecordingEditor;
        effect.registerEditor(editor);  // the effect deletes it
    }
    std::string programName() {
        char name[64];
        effect.getProgramName(name);
        return name;
    }
};

using Calls = std::vector<std::pair<int32_t, float>>;

}  // namespace

TEST(Programs, FreshEffectHoldsDefaultsEverywhere) {
    EffectWithEditor e;
    EXPECT_EQ(e.programName(), "Init 1");
    for (int p = 0; p < 16; ++p) {
        e.effect.setProgram(p);
        for (int i = 0; i < 19; ++i) EXPECT_EQ(e.effect.getParameter(i), DistortionEffect::kDefaults[i]) << p << "/" << i;
    }
}

TEST(Programs, CrossoversStayInOrderAndTheEditorHearsThePartnerFirst) {
    EffectWithEditor e;
    e.effect.setParameter(0, 0.8f);
    EXPECT_EQ(e.effect.getParameter(0), 0.8f);
    EXPECT_EQ(e.effect.getParameter(1), 0.8f);
    EXPECT_EQ(e.editor->calls, (Calls{{1, 0.8f}, {0, 0.8f}}));

    e.editor->calls.clear();
    e.effect.setParameter(1, 0.2f);
    EXPECT_EQ(e.effect.getParameter(0), 0.2f);
    EXPECT_EQ(e.editor->calls, (Calls{{0, 0.2f}, {1, 0.2f}}));

    e.editor->calls.clear();
    e.effect.setParameter(0, 0.2f);  // equal: nothing else moves
    EXPECT_EQ(e.editor->calls, (Calls{{0, 0.2f}}));

    // The moved partner is stored in the program too.
    e.effect.setProgram(1);
    e.effect.setProgram(0);
    EXPECT_EQ(e.effect.getParameter(0), 0.2f);
    EXPECT_EQ(e.effect.getParameter(1), 0.2f);
}

TEST(Programs, OutOfRangeIndicesStoreNothingButReachTheEditor) {
    EffectWithEditor e;
    e.effect.setParameter(19, 0.3f);
    e.effect.setParameter(-1, 0.3f);
    for (int i = 0; i < 19; ++i) EXPECT_EQ(e.effect.getParameter(i), DistortionEffect::kDefaults[i]);
    EXPECT_EQ(e.editor->calls, (Calls{{19, 0.3f}, {-1, 0.3f}}));
}

TEST(Programs, ChangesStayInTheirProgram) {
    EffectWithEditor e;
    e.effect.setProgram(3);
    e.effect.setParameter(9, 0.7f);
    e.effect.setProgram(5);
    EXPECT_EQ(e.effect.getParameter(9), 0.0f);
    e.effect.setProgram(3);
    EXPECT_EQ(e.effect.getParameter(9), 0.7f);
}

TEST(Programs, SwitchingPushesCrossoversThroughTheOrderRule) {
    EffectWithEditor e;
    e.effect.setProgram(2);
    e.effect.setParameter(0, 0.1f);
    e.effect.setParameter(1, 0.3f);
    e.effect.setProgram(7);
    e.effect.setParameter(1, 0.9f);
    e.effect.setParameter(0, 0.5f);
    e.effect.setProgram(2);
    e.editor->calls.clear();
    e.effect.setProgram(7);
    EXPECT_EQ(e.effect.getParameter(0), 0.5f);
    EXPECT_EQ(e.effect.getParameter(1), 0.9f);
    // Cross2 is first pushed up to 0.5, then set to its own 0.9.
    ASSERT_GE(e.editor->calls.size(), 3u);
    EXPECT_EQ(e.editor->calls[0], std::make_pair(1, 0.5f));
    EXPECT_EQ(e.editor->calls[1], std::make_pair(0, 0.5f));
    EXPECT_EQ(e.editor->calls[2], std::make_pair(1, 0.9f));
    e.effect.setProgram(2);
    e.effect.setProgram(7);
    EXPECT_EQ(e.effect.getParameter(1), 0.9f);
}

TEST(Programs, NamesAreNumberedOnlyWhileTheyReadInit) {
    EffectWithEditor e;
    char name[64] = "Bass";
    e.effect.setProgramName(name);
    EXPECT_EQ(e.programName(), "Bass");
    e.effect.setProgram(12);
    std::strcpy(name, "Init");
    e.effect.setProgramName(name);
    EXPECT_EQ(e.programName(), "Init 13");
    std::strcpy(name, "Init 5");
    e.effect.setProgramName(name);
    EXPECT_EQ(e.programName(), "Init 5");

    char indexed[64] = "untouched";
    EXPECT_TRUE(e.effect.getProgramNameIndexed(0, 15, indexed));
    EXPECT_STREQ(indexed, "Init");
    std::strcpy(indexed, "untouched");
    EXPECT_FALSE(e.effect.getProgramNameIndexed(0, 16, indexed));
    EXPECT_FALSE(e.effect.getProgramNameIndexed(0, -3, indexed));
    EXPECT_STREQ(indexed, "untouched");
    e.effect.setProgram(-4);
    EXPECT_EQ(e.effect.getProgram(), 12);
}

TEST(Programs, LongNamesAreCutToTheRecord) {
    EffectWithEditor e;
    struct {
        char name[40];
        char guard[8];
    } sink;
    std::memset(&sink, '#', sizeof sink);
    char longName[] = "An extremely long program name that does not fit";
    e.effect.setProgramName(longName);
    e.effect.getProgramName(sink.name);
    EXPECT_EQ(std::string(sink.name), std::string(longName, 31));
    EXPECT_EQ(sink.guard[0], '#');
    char indexed[64];
    e.effect.getProgramNameIndexed(0, 0, indexed);
    EXPECT_EQ(std::strlen(indexed), 31u);
}

TEST(HostServices, AutomationTellsTheHostOnlyAboutTheSetParameter) {
    recordedHostCalls().clear();
    EffectWithEditor e;
    e.effect.setParameterAutomated(0, 0.9f);
    ASSERT_EQ(recordedHostCalls().size(), 1u);
    EXPECT_EQ(recordedHostCalls()[0].opcode, audioMasterAutomate);
    EXPECT_EQ(recordedHostCalls()[0].index, 0);
    EXPECT_EQ(recordedHostCalls()[0].opt, 0.9f);
    EXPECT_EQ(e.effect.getParameter(1), 0.9f);
    EXPECT_EQ(e.editor->calls, (Calls{{1, 0.9f}, {0, 0.9f}}));

    recordedHostCalls().clear();
    EXPECT_TRUE(e.effect.beginEdit(9));
    EXPECT_TRUE(e.effect.endEdit(9));
    e.effect.masterIdle();
    ASSERT_EQ(recordedHostCalls().size(), 3u);
    EXPECT_EQ(recordedHostCalls()[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(recordedHostCalls()[0].index, 9);
    EXPECT_EQ(recordedHostCalls()[1].opcode, audioMasterEndEdit);
    EXPECT_EQ(recordedHostCalls()[2].opcode, audioMasterIdle);
}

TEST(HostServices, WithoutAHostNothingIsSentButValuesAreSet) {
    DistortionEffect effect(nullptr);
    effect.setParameterAutomated(5, 1.0f);
    EXPECT_EQ(effect.getParameter(5), 1.0f);
    EXPECT_FALSE(effect.beginEdit(5));
    EXPECT_FALSE(effect.endEdit(5));
    EXPECT_EQ(effect.getMasterVersion(), 1);
    EXPECT_FALSE(effect.openFileSelector(nullptr));
}
