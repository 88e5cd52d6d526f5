// The frame: which view a press, key, wheel turn or drop reaches, the modal
// and focus views, and what the idle pass paints.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui_test_support.h"

namespace {

// A view that logs what reaches it.
class ProbeView : public GuiView {
public:
    ProbeView(const GuiRect& r, std::string name, std::vector<std::string>& log)
        : GuiView(r), name(std::move(name)), log(log) {}
    void draw(GuiDrawContext* context) override {
        log.push_back(name + ".draw");
        GuiView::draw(context);
    }
    void mouse(GuiDrawContext*, GuiPoint&) override { log.push_back(name + ".mouse"); }
    int32_t onKeyDown(GuiKeyCode&) override {
        log.push_back(name + ".key");
        return keyAnswer;
    }
    bool onDrop(void** items, int32_t count, int32_t type, GuiPoint& where) override {
        log.push_back(name + ".drop");
        lastDrop = {items, count, type, where};
        return acceptsDrop;
    }
    void loseFocus(GuiDrawContext*) override { log.push_back(name + ".loseFocus"); }

    std::string name;
    std::vector<std::string>& log;
    int32_t keyAnswer = -1;
    bool acceptsDrop = false;
    struct {
        void** items = nullptr;
        int32_t count = 0;
        int32_t type = -1;
        GuiPoint where;
    } lastDrop;
};

class FrameRouting : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new GuiFrame(GuiRect{0, 0, 100, 100}, reinterpret_cast<void*>(1), nullptr);
        window = platform.lastWindow;
        a = add(GuiRect{10, 10, 50, 50}, "a");
        b = add(GuiRect{30, 30, 70, 70}, "b");  // overlaps a, added later: on top
    }
    void TearDown() override { delete frame; }

    ProbeView* add(const GuiRect& r, const char* name) {
        auto* view = new ProbeView(r, name, log);
        frame->addView(view);
        return view;
    }
    void press(GuiPoint where, int32_t buttons = kGuiLButton) {
        window->queuePress(where, {{buttons, where}});
        frame->processWindowEvents();
    }
    void paintAll() {
        window->queueExpose(GuiRect{0, 0, 100, 100});
        frame->processWindowEvents();
        log.clear();
    }

    FakePlatform platform;
    GuiFrame* frame = nullptr;
    FakeWindow* window = nullptr;
    ProbeView* a = nullptr;
    ProbeView* b = nullptr;
    std::vector<std::string> log;
};

TEST_F(FrameRouting, PressGoesToTheTopmostEnabledView) {
    press(GuiPoint{40, 40});
    press(GuiPoint{20, 20});
    b->setMouseEnabled(false);
    press(GuiPoint{40, 40});
    press(GuiPoint{90, 90});  // nobody there
    EXPECT_EQ(log, (std::vector<std::string>{"b.mouse", "a.mouse", "a.mouse"}));
}

TEST_F(FrameRouting, AnyPressTakesTheFocusAway) {
    frame->setFocusView(a);
    press(GuiPoint{90, 90});
    EXPECT_EQ(frame->getFocusView(), nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"a.loseFocus"}));
    frame->setFocusView(a);
    frame->setFocusView(b);  // the previous focus is told
    EXPECT_EQ(log.back(), "a.loseFocus");
}

TEST_F(FrameRouting, KeysGoToFocusThenModalThenLastToFirst) {
    GuiKeyCode key{0, kGuiKeyUp, 0};
    EXPECT_EQ(frame->onKeyDown(key), -1);
    EXPECT_EQ(log, (std::vector<std::string>{"b.key", "a.key"}));

    log.clear();
    a->keyAnswer = 1;
    EXPECT_EQ(frame->onKeyDown(key), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"b.key", "a.key"}));

    ProbeView* modal = add(GuiRect{0, 0, 5, 5}, "m");
    ASSERT_TRUE(frame->setModalView(modal));
    frame->setFocusView(b);
    log.clear();
    EXPECT_EQ(frame->onKeyDown(key), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"b.key", "m.key", "m.key", "b.key", "a.key"}));

    b->keyAnswer = 7;  // the focus view answers first
    log.clear();
    EXPECT_EQ(frame->onKeyDown(key), 7);
    EXPECT_EQ(log, (std::vector<std::string>{"b.key"}));
    EXPECT_EQ(frame->onKeyUp(key), -1);
}

TEST_F(FrameRouting, ModalViewTakesEveryPressAndRefusesASecond) {
    ProbeView* modal = add(GuiRect{60, 60, 90, 90}, "m");
    ProbeView* other = add(GuiRect{0, 0, 5, 5}, "o");
    ASSERT_TRUE(frame->setModalView(modal));
    EXPECT_FALSE(frame->setModalView(other));
    press(GuiPoint{20, 20});  // outside the modal view: dropped
    press(GuiPoint{80, 80});
    EXPECT_EQ(log, (std::vector<std::string>{"m.mouse"}));
    EXPECT_TRUE(frame->setModalView(nullptr));
    EXPECT_TRUE(frame->setModalView(other));
}

TEST_F(FrameRouting, IdleBeforeTheFirstPaintDrawsNothing) {
    a->setDirty(true);
    frame->idle();
    EXPECT_EQ(window->canvasesMade, 0);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(pixelAt(window->image(), 20, 20), 0x123456u);  // untouched

    window->queueExpose(GuiRect{0, 0, 100, 100});
    frame->processWindowEvents();
    EXPECT_TRUE(frame->hasPainted());
    EXPECT_EQ(log, (std::vector<std::string>{"a.draw", "b.draw"}));

    log.clear();
    frame->idle();  // nothing dirty
    EXPECT_TRUE(log.empty());
    b->setDirty(true);
    frame->idle();
    EXPECT_EQ(log, (std::vector<std::string>{"b.draw"}));
}

TEST_F(FrameRouting, RegionPaintDrawsOnlyWhatItTouches) {
    GuiBitmap* background = solidBitmap(100, 100, 0x00AA00);
    frame->setBackground(background);
    background->release();
    window->queueExpose(GuiRect{0, 0, 20, 20});
    frame->processWindowEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"a.draw"}));
    EXPECT_EQ(pixelAt(window->image(), 5, 5), 0x00AA00u);
    EXPECT_EQ(pixelAt(window->image(), 25, 25), 0x123456u);  // outside the region
}

TEST_F(FrameRouting, WhileModalIdleRepaintsOnlyTheModalView) {
    paintAll();
    ProbeView* modal = add(GuiRect{60, 60, 90, 90}, "m");
    frame->setModalView(modal);
    a->setDirty(true);
    modal->setDirty(true);
    frame->idle();
    EXPECT_EQ(log, (std::vector<std::string>{"m.draw"}));

    // A window paint draws the panel, then the modal view on top.
    log.clear();
    window->queueExpose(GuiRect{0, 0, 100, 100});
    frame->processWindowEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"a.draw", "b.draw", "m.draw", "m.draw"}));
}

TEST_F(FrameRouting, NothingIsPaintedAfterTheWindowWentAway) {
    paintAll();
    window->destroyBySystem();
    EXPECT_FALSE(frame->isOpen());
    EXPECT_EQ(frame->getParentWindow(), nullptr);
    a->setDirty(true);
    frame->idle();
    frame->update(nullptr);
    EXPECT_TRUE(log.empty());
}

TEST_F(FrameRouting, DropsGoToAnAcceptingViewUnderThePoint) {
    const char* text = "dropped";
    void* items[] = {&text};
    GuiPoint where{40, 40};
    EXPECT_FALSE(frame->onDrop(items, 7, 1, where));
    EXPECT_EQ(log, (std::vector<std::string>{"b.drop", "a.drop"}));

    a->acceptsDrop = true;
    log.clear();
    EXPECT_TRUE(frame->onDrop(items, 7, 1, where));
    frame->setFocusView(b);  // not while a view has the focus
    EXPECT_FALSE(frame->onDrop(items, 7, 1, where));
}

TEST_F(FrameRouting, DropsTheWindowReportsReachTheViewsWithTheirTypeAndPoint) {
    const char* names[] = {"C:\\a.wav", "C:\\b.wav"};
    void* items[] = {&names[0], &names[1]};
    b->acceptsDrop = true;
    EXPECT_TRUE(window->dropBySystem(items, 2, kGuiDropFiles, GuiPoint{60, 60}));
    EXPECT_EQ(log, (std::vector<std::string>{"b.drop"}));
    EXPECT_EQ(b->lastDrop.items, items);
    EXPECT_EQ(b->lastDrop.count, 2);
    EXPECT_EQ(b->lastDrop.type, kGuiDropFiles);
    EXPECT_EQ(b->lastDrop.where, (GuiPoint{60, 60}));
    log.clear();
    EXPECT_FALSE(window->dropBySystem(items, 2, kGuiDropFiles, GuiPoint{90, 90}));
    EXPECT_TRUE(log.empty());
}

TEST_F(FrameRouting, ViewListOperations) {
    EXPECT_EQ(frame->getViewCount(), 2);
    EXPECT_EQ(frame->getView(0), a);
    EXPECT_EQ(frame->getView(2), nullptr);
    EXPECT_EQ(frame->getView(-1), nullptr);
    EXPECT_EQ(a->getFrame(), frame);

    for (int i = 0; i < 45; ++i) add(GuiRect{0, 0, 1, 1}, "n");  // grows past its first blocks
    EXPECT_EQ(frame->getViewCount(), 47);

    a->addRef();
    EXPECT_TRUE(frame->removeView(a));
    EXPECT_FALSE(frame->isChild(a));
    EXPECT_EQ(a->getRefCount(), 1);
    EXPECT_EQ(frame->getView(0), b);  // order kept
    a->release();

    EXPECT_TRUE(frame->removeAll());
    EXPECT_EQ(frame->getViewCount(), 0);
}

TEST(FrameWithoutWindow, DrawsIntoAnyCanvas) {
    FakePlatform platform;
    GuiFrame frame(GuiRect{0, 0, 20, 10}, nullptr, nullptr);
    EXPECT_EQ(frame.getWindow(), nullptr);
    EXPECT_EQ(platform.windowsCreated, 0);
    GuiBitmap* background = solidBitmap(20, 10, 0xC0FFEE);
    frame.setBackground(background);
    background->release();
    frame.idle();  // no window: nothing to do
    GuiPoint where;
    frame.getCurrentLocation(where);
    EXPECT_EQ(where, (GuiPoint{0, 0}));
    EXPECT_FALSE(frame.onWheel(nullptr, where, 1.0f));
}

}  // namespace
