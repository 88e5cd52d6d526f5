// Knob input through the real frame, editor base and effect: presses arrive
// through the window seam with a scripted pointer; the host records the edit
// brackets and automation.
#include <gtest/gtest.h>

#include "gui_test_support.h"

namespace {

constexpr int32_t kTag = 9;
constexpr GuiRect kKnobRect{100, 100, 148, 148};  // radius 24, centre (124, 124)

class KnobInput : public ::testing::Test {
protected:
    void SetUp() override {
        hostCalls().clear();
        editor = new TestEditor(&effect);  // the effect owns it
        editor->build = [this](GuiFrame& frame, TestEditor& owner) {
            cairo_surface_t* strip = stripSurface(48, 48, 128);
            GuiBitmap* bitmap = bitmapFrom(strip);
            cairo_surface_destroy(strip);
            knob = new GuiAnimKnob(kKnobRect, &owner, kTag, 126, 48, bitmap, GuiPoint{});
            bitmap->release();
            frame.addView(knob);
        };
        editor->open(reinterpret_cast<void*>(1));
        window = platform.lastWindow;
        window->queueExpose(GuiRect{0, 0, 484, 286});
        editor->idle();
        hostCalls().clear();
    }

    void press(const GuiPoint& where, std::vector<PointerStep> steps) {
        window->queuePress(where, std::move(steps));
        editor->idle();
    }
    void drag(int32_t buttons, GuiPoint from, std::vector<GuiPoint> path) {
        press(from, dragScript(buttons, from, std::move(path)));
    }
    void setValue(float v) {
        knob->setValue(v);
        knob->setDirty(false);
    }
    // The pointer rests at where with these buttons for a few reads.
    void hold(int32_t buttons, GuiPoint where) {
        window->script().script({{buttons, where}, {buttons, where}, {buttons, where}});
    }
    static GuiPoint centreOffset(int32_t dh, int32_t dv) { return GuiPoint{124 + dh, 124 + dv}; }

    FakePlatform platform;
    TestEffect effect;
    TestEditor* editor = nullptr;
    GuiAnimKnob* knob = nullptr;
    FakeWindow* window = nullptr;
};

TEST_F(KnobInput, LinearDragCovers200PixelsRightOrUp) {
    setValue(0.0f);
    drag(kGuiLButton, centreOffset(0, 0), {centreOffset(50, 0), centreOffset(100, 0)});
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-6f);
    drag(kGuiLButton, centreOffset(0, 0), {centreOffset(100, 0)});
    EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);

    setValue(0.0f);
    drag(kGuiLButton, centreOffset(0, 0), {centreOffset(0, -200)});
    EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);
    // Right and up add; left and down subtract; the ends clamp.
    drag(kGuiLButton, centreOffset(0, 0), {centreOffset(-60, 80)});
    EXPECT_NEAR(knob->getValue(), 0.3f, 1e-6f);
    drag(kGuiLButton, centreOffset(0, 0), {centreOffset(0, 500)});
    EXPECT_FLOAT_EQ(knob->getValue(), 0.0f);
    EXPECT_FLOAT_EQ(effect.values[kTag], 0.0f);
}

TEST_F(KnobInput, ShiftDragNeeds300Pixels) {
    setValue(0.0f);
    drag(kGuiLButton | kGuiShift, centreOffset(0, 0), {centreOffset(150, 0)});
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-6f);
    drag(kGuiLButton | kGuiShift, centreOffset(0, 0), {centreOffset(150, 0)});
    EXPECT_NEAR(knob->getValue(), 1.0f, 1e-6f);
}

TEST_F(KnobInput, ChangingShiftMidDragDoesNotMoveTheValue) {
    setValue(0.0f);
    const GuiPoint from = centreOffset(0, 0);
    const GuiPoint mid = centreOffset(100, 0);
    press(from, {{kGuiLButton, from},
                 {kGuiLButton, mid},
                 {kGuiLButton, mid},
                 {kGuiLButton | kGuiShift, mid},  // Shift goes down without a move
                 {kGuiLButton | kGuiShift, centreOffset(130, 0)},
                 {kGuiLButton | kGuiShift, centreOffset(130, 0)},
                 {kGuiLButton | kGuiShift, centreOffset(160, 0)},
                 {kGuiLButton | kGuiShift, centreOffset(160, 0)},
                 {0, centreOffset(160, 0)}});
    // The move that brings the new speed still counts at the old one (130 px
    // at 1/200); from there on 1/300 applies (30 px more).
    EXPECT_NEAR(knob->getValue(), 0.65f + 0.1f, 1e-5f);
    // No value reported along the way went below the one before: no jump back.
    float last = 0.0f;
    for (const HostCall& call : callsOf(audioMasterAutomate)) {
        EXPECT_GE(call.opt, last - 1e-6f);
        last = call.opt;
    }
}

TEST_F(KnobInput, CtrlClickResetsToDefaultWithoutAnEditGesture) {
    setValue(0.2f);
    press(centreOffset(0, 0), {{kGuiLButton | kGuiControl, centreOffset(0, 0)}});
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
    ASSERT_EQ(callsOf(audioMasterAutomate).size(), 1u);
    EXPECT_FLOAT_EQ(callsOf(audioMasterAutomate)[0].opt, 0.5f);
    EXPECT_TRUE(callsOf(audioMasterBeginEdit).empty());
    EXPECT_TRUE(callsOf(audioMasterEndEdit).empty());

    // Already at the default: nothing to report.
    hostCalls().clear();
    press(centreOffset(0, 0), {{kGuiLButton | kGuiControl, centreOffset(0, 0)}});
    EXPECT_TRUE(hostCalls().empty());
}

TEST_F(KnobInput, CtrlShiftClickIsAnOrdinaryFineDrag) {
    setValue(0.2f);
    drag(kGuiLButton | kGuiControl | kGuiShift, centreOffset(0, 0), {centreOffset(30, 0)});
    EXPECT_NEAR(knob->getValue(), 0.3f, 1e-6f);
    EXPECT_EQ(callsOf(audioMasterBeginEdit).size(), 1u);
}

TEST_F(KnobInput, EditBracketsEnclosePassesOfOneDragExactlyOnce) {
    setValue(0.0f);
    drag(kGuiLButton, centreOffset(0, 0),
         {centreOffset(10, 0), centreOffset(20, 0), centreOffset(40, 0)});
    const std::vector<HostCall>& calls = hostCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls.front().opcode, audioMasterBeginEdit);
    EXPECT_EQ(calls.front().index, kTag);
    EXPECT_EQ(calls.back().opcode, audioMasterEndEdit);
    EXPECT_EQ(calls.back().index, kTag);
    EXPECT_EQ(callsOf(audioMasterBeginEdit).size(), 1u);
    EXPECT_EQ(callsOf(audioMasterEndEdit).size(), 1u);
    EXPECT_EQ(callsOf(audioMasterAutomate).size(), 3u);  // one per move that changed it
    // The knob keeps the focus after its drag.
    EXPECT_EQ(editor->getFrame()->getFocusView(), knob);
}

TEST_F(KnobInput, RightOrMiddlePressAloneDoesNothing) {
    setValue(0.3f);
    press(centreOffset(0, 0), {{kGuiRButton, centreOffset(0, 0)}, {kGuiRButton, centreOffset(50, 0)}});
    press(centreOffset(0, 0), {{kGuiMButton, centreOffset(0, 0)}});
    EXPECT_FLOAT_EQ(knob->getValue(), 0.3f);
    EXPECT_TRUE(hostCalls().empty());
}

TEST_F(KnobInput, AltSwitchesToTheOtherDragStyle) {
    // Linear mode with Alt: the value follows the pointer's angle.
    setValue(0.0f);
    drag(kGuiLButton | kGuiAlt, centreOffset(-23, 11), {centreOffset(0, -23)});
    EXPECT_NEAR(knob->getValue(), 0.5f, 0.02f);  // straight up is the middle
    drag(kGuiLButton | kGuiAlt, centreOffset(0, -23), {centreOffset(23, 0)});
    EXPECT_NEAR(knob->getValue(), 1.0f - 45.0f / 270.0f, 0.02f);  // pointing right

    // Circular mode with Alt drags linearly.
    editor->setKnobDragMode(kGuiCircularMode);
    setValue(0.0f);
    drag(kGuiLButton | kGuiAlt, centreOffset(0, -23), {centreOffset(40, -23)});
    EXPECT_NEAR(knob->getValue(), 0.2f, 1e-6f);
    // And without Alt it follows the angle.
    drag(kGuiLButton, centreOffset(0, -23), {centreOffset(0, -22)});
    EXPECT_NEAR(knob->getValue(), 0.5f, 0.02f);
    editor->setKnobDragMode(kGuiLinearMode);
}

TEST_F(KnobInput, CircularDragThroughTheDeadZonePinsTheEndItCameFrom) {
    editor->setKnobDragMode(kGuiCircularMode);
    setValue(0.9f);
    // From the lower right, across the bottom gap, on to the lower left.
    drag(kGuiLButton, GuiPoint{147, 135},
         {GuiPoint{125, 148}, GuiPoint{120, 148}, GuiPoint{101, 135}});
    EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);
    // Coming back over the top releases it again.
    drag(kGuiLButton, GuiPoint{147, 135},
         {GuiPoint{125, 148}, GuiPoint{120, 148}, GuiPoint{101, 135}, GuiPoint{130, 101}});
    EXPECT_NEAR(knob->getValue(), 1.0f - 120.4f / 270.0f, 0.02f);

    // The same from the other side stays at the minimum.
    drag(kGuiLButton, GuiPoint{101, 135}, {GuiPoint{120, 148}, GuiPoint{128, 148}, GuiPoint{147, 135}});
    EXPECT_FLOAT_EQ(knob->getValue(), 0.0f);
    editor->setKnobDragMode(kGuiLinearMode);
}

TEST_F(KnobInput, AngleMappingOfThePlainKnob) {
    // Lower left is the minimum, up the middle, lower right the maximum; in
    // the bottom gap each half belongs to its neighbouring end.
    GuiPoint lowerLeft{7, 41};  // 225 degrees on a radius-24 knob
    GuiPoint up{24, 0};
    GuiPoint lowerRight{41, 41};
    GuiPoint gapLeft{21, 48};
    GuiPoint gapRight{27, 48};
    EXPECT_NEAR(knob->valueFromPoint(lowerLeft), 0.0f, 1e-3f);
    EXPECT_NEAR(knob->valueFromPoint(up), 0.5f, 1e-3f);
    EXPECT_NEAR(knob->valueFromPoint(lowerRight), 1.0f, 1e-3f);
    EXPECT_FLOAT_EQ(knob->valueFromPoint(gapLeft), 0.0f);
    EXPECT_FLOAT_EQ(knob->valueFromPoint(gapRight), 1.0f);

    GuiKnob plain(GuiRect{0, 0, 40, 40}, nullptr, 0, nullptr, nullptr, GuiPoint{});
    plain.setValue(0.5f);
    GuiPoint tip;
    plain.valueToPoint(tip);
    EXPECT_EQ(tip, (GuiPoint{20, 3}));  // straight up, inset 3
}

TEST_F(KnobInput, WheelStepsAndStopsAtTheEnds) {
    setValue(0.2f);
    hold(0, centreOffset(0, 0));
    EXPECT_EQ(editor->wheel(-3.0f), 1);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.0f);
    EXPECT_FLOAT_EQ(effect.values[kTag], 0.0f);

    hold(kGuiShift, centreOffset(0, 0));
    editor->wheel(2.0f);
    EXPECT_NEAR(knob->getValue(), 0.02f, 1e-6f);

    // Over an empty part of the panel nobody takes it.
    hold(0, GuiPoint{10, 10});
    EXPECT_EQ(editor->wheel(1.0f), 0);

    knob->setMouseEnabled(false);
    hold(0, centreOffset(0, 0));
    EXPECT_EQ(editor->wheel(1.0f), 0);
}

TEST_F(KnobInput, ArrowKeysStepByTheWheelIncrement) {
    setValue(0.5f);
    const GuiKeyCode up{0, kGuiKeyUp, 0};
    const GuiKeyCode left{0, kGuiKeyLeft, 0};
    const GuiKeyCode downFine{0, kGuiKeyDown, kGuiModifierShift};
    const GuiKeyCode rightFine{0, kGuiKeyRight, kGuiModifierShift};
    const GuiKeyCode other{'a', 0, 0};
    auto keyDown = [this](const GuiKeyCode& key) { return editor->keyDown(key.character, key.virt, key.modifier); };

    EXPECT_EQ(keyDown(up), 1);
    EXPECT_NEAR(knob->getValue(), 0.6f, 1e-6f);
    // Keys come without a drawing context: the next idle pass paints the knob.
    EXPECT_TRUE(knob->isDirty());
    editor->idle();
    EXPECT_FALSE(knob->isDirty());
    EXPECT_EQ(pixelAt(window->image(), 124, 124), stripColour(75));
    EXPECT_EQ(keyDown(left), 1);
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-6f);
    EXPECT_EQ(keyDown(downFine), 1);
    EXPECT_NEAR(knob->getValue(), 0.49f, 1e-6f);
    EXPECT_EQ(keyDown(rightFine), 1);
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-6f);
    EXPECT_NEAR(effect.values[kTag], 0.5f, 1e-6f);  // reported like a drag
    EXPECT_EQ(keyDown(other), -1);
    EXPECT_EQ(editor->keyUp(up.character, up.virt, up.modifier), -1);

    for (int i = 0; i < 8; ++i) keyDown(up);
    EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);
}

}  // namespace
