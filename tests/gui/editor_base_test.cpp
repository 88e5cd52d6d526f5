// The editor base: rectangle, open and close, idle with its update flag and
// the throttled idle that controls call while they track the mouse.
#include <gtest/gtest.h>

#include "gui_test_support.h"

namespace {

class EditorBaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        hostCalls().clear();
        hostHook() = nullptr;
        editor = new TestEditor(&effect);
        editor->build = [this](GuiFrame& frame, TestEditor& owner) {
            knob = new GuiAnimKnob(GuiRect{0, 0, 10, 10}, &owner, 1, 7, 10, nullptr, GuiPoint{});
            frame.addView(knob);
        };
    }
    void TearDown() override { hostHook() = nullptr; }
    void openAndPaint() {
        editor->open(reinterpret_cast<void*>(1));
        platform.lastWindow->queueExpose(GuiRect{0, 0, 484, 286});
        editor->idle();
    }

    FakePlatform platform;
    TestEffect effect;
    TestEditor* editor = nullptr;
    GuiAnimKnob* knob = nullptr;
};

TEST_F(EditorBaseTest, RegistersWithTheEffectAndReportsItsRectangle) {
    EXPECT_EQ(effect.getEditor(), editor);
    EXPECT_TRUE(effect.getAeffect()->flags & effFlagsHasEditor);
    ERect* rect = nullptr;
    EXPECT_EQ(effect.dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->bottom, 286);
    EXPECT_EQ(rect->right, 484);
}

TEST_F(EditorBaseTest, WithoutAFrameInputIsNotTaken) {
    EXPECT_EQ(editor->keyDown(0, kGuiKeyUp, 0), -1);
    EXPECT_EQ(editor->keyUp(0, kGuiKeyUp, 0), -1);
    EXPECT_EQ(editor->wheel(1.0f), 0);
    editor->idle();
    editor->redrawAll();
    EXPECT_EQ(editor->getFrame(), nullptr);
}

TEST_F(EditorBaseTest, ParameterChangesOnlyAskForAnUpdate) {
    editor->GuiEditorBase::parameterChanged(1, 0.5f);
    EXPECT_TRUE(editor->isUpdateRequested());
    editor->idle();
    EXPECT_FALSE(editor->isUpdateRequested());
    EXPECT_EQ(editor->setKnobDragMode(kGuiCircularMode), 1);
    EXPECT_EQ(GuiEditorBase::getKnobDragMode(), kGuiCircularMode);
    editor->setKnobDragMode(kGuiLinearMode);
}

TEST_F(EditorBaseTest, ASecondOpenReplacesTheFirstWindow) {
    editor->open(reinterpret_cast<void*>(1));
    GuiFrame* first = editor->getFrame();
    editor->open(reinterpret_cast<void*>(2));
    EXPECT_EQ(editor->closes, 1);
    EXPECT_EQ(platform.windowsCreated, 2);
    EXPECT_NE(editor->getFrame(), nullptr);
    EXPECT_EQ(editor->getFrame()->getParentWindow(), reinterpret_cast<void*>(2));
    EXPECT_EQ(editor->getParentWindow(), reinterpret_cast<void*>(2));
    (void)first;
    editor->close();
    EXPECT_EQ(editor->getFrame(), nullptr);
}

TEST_F(EditorBaseTest, DragIdleRunsAtMostAboutEvery50Milliseconds) {
    openAndPaint();
    platform.clock = 1000;  // the editor was made at 1000 too
    editor->idleDuringDrag();
    EXPECT_EQ(callsOf(audioMasterIdle).size(), 1u);
    EXPECT_EQ(platform.sleeps, 0);

    editor->idleDuringDrag();  // early: yields 4 ms and does nothing else
    EXPECT_EQ(callsOf(audioMasterIdle).size(), 1u);
    EXPECT_EQ(platform.sleeps, 1);

    platform.clock = 1046;  // 4 ms of yield reach 50 ms before the next tick
    editor->idleDuringDrag();
    EXPECT_EQ(callsOf(audioMasterIdle).size(), 2u);
    EXPECT_EQ(platform.sleeps, 2);

    platform.clock = 1500;
    editor->idleDuringDrag();
    EXPECT_EQ(callsOf(audioMasterIdle).size(), 3u);
    EXPECT_EQ(platform.sleeps, 2);
}

TEST_F(EditorBaseTest, DragIdleRepaintsButTheHostsIdleInsideItDoesNot) {
    openAndPaint();
    FakeWindow* window = platform.lastWindow;
    platform.clock = 5000;

    knob->setValue(0.5f);
    const int before = window->canvasesMade;
    int paintsFromHostIdle = -1;
    hostHook() = [&](int32_t opcode) {
        if (opcode != audioMasterIdle) return;
        knob->setValue(0.9f);
        const int start = window->canvasesMade;
        editor->idle();  // a host that idles its editors from here
        paintsFromHostIdle = window->canvasesMade - start;
    };
    editor->idleDuringDrag();
    EXPECT_EQ(window->canvasesMade, before + 1);  // the dirty knob, once
    EXPECT_EQ(paintsFromHostIdle, 0);
    EXPECT_TRUE(knob->isDirty());  // left for the next pass
}

TEST_F(EditorBaseTest, RedrawAllDrawsTheWholeFrame) {
    openAndPaint();
    const int before = platform.lastWindow->canvasesMade;
    knob->setDirty(true);
    editor->redrawAll();
    EXPECT_EQ(platform.lastWindow->canvasesMade, before + 1);
    EXPECT_FALSE(knob->isDirty());
}

}  // namespace
