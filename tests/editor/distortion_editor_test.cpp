// The editor's bindings through the real effect and the real toolkit, with a
// platform whose window draws into an image and whose pointer is scripted.
#include <gtest/gtest.h>

#include "../gui/gui_test_support.h"
#include "editor/distortion_editor.h"
#include "gui/gui_toolkit.h"
#include "vst2/distortion_effect.h"

namespace {

class EditorBindings : public ::testing::Test {
protected:
    void SetUp() override {
        const int sizes[][3] = {{1001, 484, 286}, {1002, 60, 22},  {1003, 48, 6144}, {1004, 48, 336},
                                {1005, 30, 3840}, {1006, 36, 28}, {1007, 289, 179}, {1008, 132, 15}};
        for (const auto& s : sizes) {
            cairo_surface_t* image = solidSurface(s[1], s[2], 0x808080 + s[0]);
            platform.addBitmap(s[0], image);
            cairo_surface_destroy(image);
        }
        hostCalls().clear();
        editor = dynamic_cast<DistortionEditor*>(effect.getEditorObject());
        ASSERT_NE(editor, nullptr);
    }

    void openAndPaint() {
        ASSERT_EQ(editor->open(&parentWindow), 1);
        window = platform.lastWindow;
        ASSERT_NE(window, nullptr);
        window->queueExpose(GuiRect{0, 0, 484, 286});
        editor->idle();
    }

    // A change from the host, as the window shows it after the next idle.
    void hostSets(int index, float value) {
        effect.setParameter(index, value);
        editor->idle();
    }

    std::string displayText() {
        char text[kGuiDisplayTextSize];
        editor->getValueDisplay()->makeText(text);
        return text;
    }

    GuiRect sizeOf(GuiView* view) {
        GuiRect r;
        return view->getViewSize(r);
    }

    FakePlatform platform;
    DistortionEffect effect{recordingHost};
    DistortionEditor* editor = nullptr;
    FakeWindow* window = nullptr;
    int parentWindow = 0;
};

}  // namespace

TEST_F(EditorBindings, OpenBuildsThePanelFromTheLayout) {
    ERect* rect = nullptr;
    ASSERT_EQ(effect.dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 1);
    EXPECT_EQ(rect->bottom, 286);
    EXPECT_EQ(rect->right, 484);

    effect.setParameter(kGain2, 0.3f);
    effect.dispatcher(effSetEditKnobMode, 0, 0, nullptr, 0.0f);
    openAndPaint();
    GuiFrame* frame = editor->getFrame();
    EXPECT_EQ(frame->getViewCount(), 21);
    EXPECT_EQ(GuiEditorBase::getKnobDragMode(), 2);

    EXPECT_EQ(sizeOf(editor->getControl(kCross1)), (GuiRect{158, 85, 188, 115}));
    EXPECT_EQ(sizeOf(editor->getControl(kPFilter)), (GuiRect{223, 71, 259, 85}));
    EXPECT_EQ(sizeOf(editor->getControl(kSolo3)), (GuiRect{352, 112, 412, 123}));
    EXPECT_EQ(sizeOf(editor->getControl(kMaster)), (GuiRect{48, 27, 96, 75}));
    EXPECT_EQ(sizeOf(editor->getControl(kGain3)), (GuiRect{388, 210, 436, 258}));
    EXPECT_EQ(sizeOf(editor->getControl(kType3)), (GuiRect{328, 139, 376, 187}));
    EXPECT_EQ(sizeOf(editor->getValueDisplay()), (GuiRect{176, 29, 308, 44}));
    EXPECT_EQ(sizeOf(editor->getAboutBox()), (GuiRect{353, 14, 460, 68}));
    EXPECT_EQ(static_cast<GuiAnimKnob*>(editor->getControl(kCross2))->getImageCount(), 126);
    EXPECT_EQ(static_cast<GuiAnimKnob*>(editor->getControl(kLevel1))->getImageHeight(), 48);
    EXPECT_EQ(static_cast<GuiAnimKnob*>(editor->getControl(kType1))->getImageCount(), 7);
    // The VST 2 editor has no footer.
    for (int i = kNumParameters; i < kNumExtendedParameters; ++i) EXPECT_EQ(editor->getControl(i), nullptr);
    for (int i = 0; i < kNumParameters; ++i) {
        ASSERT_NE(editor->getControl(i), nullptr) << i;
        EXPECT_EQ(editor->getControl(i)->getTag(), i);
        EXPECT_EQ(editor->getControl(i)->getValue(), effect.getParameter(i)) << i;
    }
    EXPECT_EQ(displayText(), "0.00");

    editor->close();
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_EQ(editor->getControl(0), nullptr);
    EXPECT_EQ(editor->getValueDisplay(), nullptr);
}

TEST_F(EditorBindings, HostChangesAreShownAndDrawnAtTheNextIdle) {
    openAndPaint();
    const int canvasesBefore = window->canvasesMade;
    // The setter may run on any thread: it touches no control and draws nothing.
    effect.setParameter(kGain1, 0.5f);
    EXPECT_EQ(editor->getControl(kGain1)->getValue(), 0.0f);
    EXPECT_EQ(displayText(), "0.00");
    EXPECT_EQ(window->canvasesMade, canvasesBefore);
    EXPECT_TRUE(editor->isUpdateRequested());
    editor->idle();
    EXPECT_EQ(editor->getControl(kGain1)->getValue(), 0.5f);
    EXPECT_EQ(displayText(), "20.0  dB");
    EXPECT_GT(window->canvasesMade, canvasesBefore);
    EXPECT_FALSE(editor->getControl(kGain1)->isDirty());

    // The display follows whichever parameter changed last, with its text.
    hostSets(kBalance2, 0.75f);
    EXPECT_EQ(displayText(), "32R");
    hostSets(kType3, 1.0f);
    EXPECT_EQ(displayText(), "Crackler");
    hostSets(kSolo1, 0.5f);
    EXPECT_EQ(displayText(), "Off");
    effect.setParameter(kLevel1, 0.2f);
    effect.setParameter(kMaster, 0.5f);
    editor->idle();
    EXPECT_EQ(displayText(), "-21.4  dB");
    EXPECT_EQ(editor->getControl(kLevel1)->getValue(), 0.2f);
}

TEST_F(EditorBindings, AMovedCrossoverPushesTheOtherKnob) {
    openAndPaint();
    hostSets(kCross2, 0.2f);
    EXPECT_EQ(editor->getControl(kCross1)->getValue(), 0.2f);
    EXPECT_EQ(editor->getControl(kCross2)->getValue(), 0.2f);
    EXPECT_EQ(displayText(), "79.6  Hz");
    hostSets(kCross1, 0.9f);
    EXPECT_EQ(editor->getControl(kCross2)->getValue(), 0.9f);
    EXPECT_EQ(displayText(), "10023.7  Hz");
}

TEST_F(EditorBindings, UserChangesAutomateTheirParameterOnly) {
    openAndPaint();
    GuiControl* gain = editor->getControl(kGain1);
    gain->setValue(0.7f);
    editor->valueChanged(nullptr, gain);
    ASSERT_EQ(callsOf(audioMasterAutomate).size(), 1u);
    EXPECT_EQ(callsOf(audioMasterAutomate)[0].index, kGain1);
    EXPECT_EQ(callsOf(audioMasterAutomate)[0].opt, 0.7f);
    EXPECT_EQ(effect.getParameter(kGain1), 0.7f);
    editor->idle();
    EXPECT_EQ(displayText(), "36.0  dB");

    editor->valueChanged(nullptr, editor->getAboutBox());
    EXPECT_EQ(callsOf(audioMasterAutomate).size(), 1u);
}

TEST_F(EditorBindings, AKnobDragReachesTheHostAsOneGesture) {
    openAndPaint();
    const GuiPoint knob{132, 234};  // centre of the Gain1 knob
    std::vector<GuiPoint> path;
    for (int dx = 10; dx <= 100; dx += 10) path.push_back(GuiPoint{knob.h + dx, knob.v});
    window->queuePress(knob, dragScript(kGuiLButton, knob, path));
    editor->idle();
    ASSERT_FALSE(hostCalls().empty());
    EXPECT_EQ(hostCalls().front().opcode, audioMasterBeginEdit);
    EXPECT_EQ(hostCalls().front().index, kGain1);
    EXPECT_EQ(callsOf(audioMasterEndEdit).size(), 1u);
    EXPECT_NEAR(effect.getParameter(kGain1), 0.5f, 1e-6);
    EXPECT_EQ(callsOf(audioMasterAutomate).back().index, kGain1);
}

TEST_F(EditorBindings, ClosedEditorAndForeignIndicesChangeNothing) {
    effect.setParameter(kLevel2, 0.1f);  // closed: ignored by the editor
    openAndPaint();
    EXPECT_EQ(editor->getControl(kLevel2)->getValue(), 0.1f);  // taken anew at open
    effect.setParameter(19, 0.3f);
    effect.setParameter(-1, 0.3f);
    editor->idle();
    EXPECT_EQ(displayText(), "0.00");
    // A change while closed is not shown in the display after the next open.
    editor->close();
    effect.setParameter(kGain3, 0.9f);
    openAndPaint();
    EXPECT_EQ(displayText(), "0.00");
    EXPECT_EQ(editor->getControl(kGain3)->getValue(), 0.9f);

    // The about box opens over the panel and a click on it closes it again.
    window->queuePress(GuiPoint{400, 40}, {{kGuiLButton, GuiPoint{400, 40}}});
    editor->idle();
    EXPECT_TRUE(editor->getAboutBox()->isOpen());
    EXPECT_EQ(editor->getFrame()->getModalView(), editor->getAboutBox());
    window->queuePress(GuiPoint{10, 10}, {{kGuiLButton, GuiPoint{10, 10}}});
    editor->idle();
    EXPECT_TRUE(editor->getAboutBox()->isOpen());
    window->queuePress(GuiPoint{200, 100}, {{kGuiLButton, GuiPoint{200, 100}}});
    editor->idle();
    EXPECT_FALSE(editor->getAboutBox()->isOpen());
    EXPECT_EQ(editor->getFrame()->getModalView(), nullptr);
}
