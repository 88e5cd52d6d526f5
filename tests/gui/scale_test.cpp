// Which scale step the editor takes, and the one rounding between logical
// and device pixels that windows, pointers and bitmaps share.
#include <gtest/gtest.h>

#include <cmath>

#include "gui/gui_scale.h"
#include "gui/gui_scale_choice.h"

TEST(ScaleChoice, FirstSourceThatGivesAFactorWinsSnappedToTheNearestStep) {
    EXPECT_EQ(chooseScaleStep(0, nullptr, 0), 100);
    EXPECT_EQ(chooseScaleStep(1.5, "3", 2.0), 150);    // the host's first
    EXPECT_EQ(chooseScaleStep(1.0, "3", 2.0), 100);    // even when it says 100 %
    EXPECT_EQ(chooseScaleStep(0, "2.6", 1.0), 250);    // then the environment
    EXPECT_EQ(chooseScaleStep(0, "2x", 1.25), 125);    // unreadable: the desktop
    EXPECT_EQ(chooseScaleStep(0, "", 120 / 96.0), 125);
    EXPECT_EQ(chooseScaleStep(0.5, nullptr, 2.0), 100);  // never below 100 %
    EXPECT_EQ(chooseScaleStep(NAN, nullptr, 2.0), 200);
    EXPECT_EQ(chooseScaleStep(0, nullptr, 1.12), 100);
    EXPECT_EQ(chooseScaleStep(0, nullptr, 1.13), 125);
    EXPECT_EQ(chooseScaleStep(0, nullptr, 7.0), 300);
}

TEST(ScaleChoice, DeviceAndLogicalPixelsRoundTheSameWayEverywhere) {
    const GuiScale s125{125}, s175{175}, s200{200};
    EXPECT_EQ(s125.toDevice(GuiRect{0, 0, 484, 286}), (GuiRect{0, 0, 605, 358}));
    EXPECT_EQ(s175.toDevice(GuiRect{0, 0, 484, 286}), (GuiRect{0, 0, 847, 501}));
    EXPECT_EQ(s125.toDevice(-2), -2);  // half rounds up below zero too
    // A device pixel lies in one logical pixel; presses and drags use that.
    EXPECT_EQ(s200.toLogical(GuiPoint{263, 469}), (GuiPoint{131, 234}));
    EXPECT_EQ(s200.toLogical(-1), -1);
    // A damaged device area is covered by the logical area repainted.
    const GuiRect damage = s175.toLogicalCovering(GuiRect{10, 10, 11, 11});
    EXPECT_LE(s175.toDevice(damage.left), 10);
    EXPECT_GE(s175.toDevice(damage.right), 11);
}
