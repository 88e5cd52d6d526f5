// The view and control base: geometry tests, reference counting and the
// value/dirty protocol that decides what the idle pass repaints.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gui_test_support.h"

namespace {

class CountingControl : public GuiControl {
public:
    explicit CountingControl(const GuiRect& r, int* deaths = nullptr, GuiBitmap* bitmap = nullptr)
        : GuiControl(r, nullptr, 3, bitmap), deaths(deaths) {}
    ~CountingControl() override {
        if (deaths) ++*deaths;
    }
    void draw(GuiDrawContext*) override {
        ++draws;
        setDirty(false);
    }
    int draws = 0;
    int* deaths;
};

TEST(ViewGeometry, CheckUpdateAndHitTestIncludeTheEdges) {
    GuiView view(GuiRect{10, 10, 20, 20});
    EXPECT_TRUE(view.checkUpdate(GuiRect{20, 20, 30, 30}));  // touching corner
    EXPECT_TRUE(view.checkUpdate(GuiRect{0, 0, 10, 10}));
    EXPECT_FALSE(view.checkUpdate(GuiRect{21, 0, 30, 30}));
    EXPECT_FALSE(view.checkUpdate(GuiRect{0, 0, 9, 30}));
    EXPECT_TRUE(view.hitTest(GuiPoint{20, 20}));
    EXPECT_TRUE(view.hitTest(GuiPoint{10, 10}));
    EXPECT_FALSE(view.hitTest(GuiPoint{21, 15}));
    EXPECT_FALSE(view.hitTest(GuiPoint{15, 9}));

    GuiRect mouseRect;
    EXPECT_EQ(view.getMouseRect(mouseRect), (GuiRect{10, 10, 20, 20}));
    view.setViewSize(GuiRect{0, 0, 5, 5});
    EXPECT_TRUE(view.isDirty());
    EXPECT_EQ(view.getEditor(), nullptr);
}

TEST(ViewReferences, LastReleaseDeletes) {
    int deaths = 0;
    auto* control = new CountingControl(GuiRect{0, 0, 4, 4}, &deaths);
    control->addRef();
    EXPECT_EQ(control->getRefCount(), 2);
    control->release();
    EXPECT_EQ(deaths, 0);
    control->release();
    EXPECT_EQ(deaths, 1);
}

TEST(ViewReferences, ControlsHoldTheirBitmaps) {
    GuiBitmap* first = solidBitmap(4, 4, 0x102030);
    GuiBitmap* second = solidBitmap(4, 4, 0x405060);
    auto* control = new CountingControl(GuiRect{0, 0, 4, 4}, nullptr, first);
    EXPECT_EQ(first->getRefCount(), 2);
    control->setBackground(second);
    EXPECT_EQ(first->getRefCount(), 1);
    EXPECT_EQ(second->getRefCount(), 2);
    control->setBackground(second);  // the same again keeps one reference
    EXPECT_EQ(second->getRefCount(), 2);
    control->release();
    EXPECT_EQ(second->getRefCount(), 1);
    first->release();
    second->release();
}

TEST(ControlValue, DirtyWhileTheValueDiffersFromTheOneDrawn) {
    CountingControl control(GuiRect{0, 0, 4, 4});
    GuiDrawContext context(nullptr, nullptr, nullptr);
    EXPECT_TRUE(control.isDirty());  // 0 was never drawn (the drawn value starts at 1)
    control.update(nullptr);         // nothing to draw with: stays dirty
    EXPECT_EQ(control.draws, 0);
    EXPECT_TRUE(control.isDirty());
    control.update(&context);
    EXPECT_EQ(control.draws, 1);
    EXPECT_FALSE(control.isDirty());

    control.setValue(0.4f);
    EXPECT_TRUE(control.isDirty());
    control.setValue(0.0f);  // back to what was drawn: nothing to repaint
    EXPECT_FALSE(control.isDirty());
    control.update(&context);
    EXPECT_EQ(control.draws, 1);

    control.setDirty(true);  // forced, same value
    EXPECT_TRUE(control.isDirty());
    EXPECT_FLOAT_EQ(control.getOldValue(), -1.0f);
    control.update(&context);
    EXPECT_EQ(control.draws, 2);

    control.setValue(-1.0f);
    control.setDirty(true);
    EXPECT_FLOAT_EQ(control.getOldValue(), 0.0f);
    EXPECT_TRUE(control.isDirty());
}

TEST(ControlValue, SetValueStoresAsGivenUntilClamped) {
    CountingControl control(GuiRect{0, 0, 4, 4});
    control.setValue(1.7f);
    EXPECT_FLOAT_EQ(control.getValue(), 1.7f);
    control.clampValue();
    EXPECT_FLOAT_EQ(control.getValue(), 1.0f);
    control.setValue(-0.5f);
    control.clampValue();
    EXPECT_FLOAT_EQ(control.getValue(), 0.0f);
    control.setValue(std::numeric_limits<float>::quiet_NaN());
    control.clampValue();
    EXPECT_FLOAT_EQ(control.getValue(), 0.0f);

    control.setMin(0.25f);
    control.setMax(0.75f);
    control.setValue(0.9f);
    control.clampValue();
    EXPECT_FLOAT_EQ(control.getValue(), 0.75f);
    EXPECT_FLOAT_EQ(control.getDefaultValue(), 0.5f);
    EXPECT_FLOAT_EQ(control.getWheelIncrement(), 0.1f);
}

}  // namespace
