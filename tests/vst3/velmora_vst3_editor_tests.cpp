// The VST 3 editor on a real X display: it lives in the host's run loop
// (a watched descriptor and an idle timer, both gone when removed), and a
// new scale step asks the frame for the new size.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/vst3/vst3_test_host.h"
#include "vst3/vst3_class_id.h"
// Last: Xlib's macros (None, Bool) would break the headers above.
#include <X11/Xlib.h>

namespace {

class TestFrame : public HostObject<vvst3::IPlugFrame> {
public:
    vvst3::tresult VVST3_CALL queryInterface(const vvst3::TUID iid, void** obj) override {
        if (vvst3::sameUid(iid, vvst3::IRunLoop::iid)) {
            *obj = static_cast<vvst3::IRunLoop*>(&runLoop);
            return vvst3::kResultOk;
        }
        return HostObject::queryInterface(iid, obj);
    }
    vvst3::tresult VVST3_CALL resizeView(vvst3::IPlugView* view, vvst3::ViewRect* size) override {
        sizes.push_back(*size);
        return view->onSize(size);
    }

    TestRunLoop runLoop;
    std::vector<vvst3::ViewRect> sizes;
};

TEST(VelmoraVst3Editor, RunsInTheHostsLoopAndAsksForTheSizeOfANewScaleStep) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) GTEST_SKIP() << "no X display";
    unsetenv("VELMORA_UI_SCALE");
    const Window parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1200, 800, 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);
    {
        LoadedVst3Module module(VELMORA_VST3_PLUGIN);
        ASSERT_NE(module.factory, nullptr);
        TestVst3Instance plugin(*module.factory, kVelmoraClassId);
        ASSERT_TRUE(plugin.ready());
        vvst3::IPlugView* view = plugin.controller->createView(vvst3::kEditorViewType);
        ASSERT_NE(view, nullptr);
        auto* scaling = queried<vvst3::IPlugViewContentScaleSupport>(view);
        ASSERT_NE(scaling, nullptr);
        ASSERT_EQ(scaling->setContentScaleFactor(1.0f), vvst3::kResultOk);
        TestFrame frame;
        ASSERT_EQ(view->setFrame(&frame), vvst3::kResultOk);
        vvst3::ViewRect size{};
        ASSERT_EQ(view->getSize(&size), vvst3::kResultOk);
        EXPECT_EQ(size.right, 484);
        EXPECT_EQ(size.bottom, 446) << "the panel, the analyser and the footer";

        void* window = reinterpret_cast<void*>(static_cast<uintptr_t>(parent));
        ASSERT_EQ(view->attached(window, vvst3::kPlatformTypeX11EmbedWindowID), vvst3::kResultOk);
        EXPECT_EQ(view->attached(window, vvst3::kPlatformTypeX11EmbedWindowID), vvst3::kResultFalse);
        ASSERT_EQ(frame.runLoop.handlers.size(), 1u);
        ASSERT_EQ(frame.runLoop.timers.size(), 1u);
        for (int tick = 0; tick < 3; ++tick) {
            frame.runLoop.fireTimers();
            for (const auto& [handler, fd] : std::map(frame.runLoop.handlers)) handler->onFDIsSet(fd);
        }

        ASSERT_EQ(scaling->setContentScaleFactor(2.0f), vvst3::kResultOk);
        ASSERT_EQ(frame.sizes.size(), 1u);
        EXPECT_EQ(frame.sizes[0].right, 968);
        EXPECT_EQ(frame.sizes[0].bottom, 892);
        EXPECT_EQ(frame.runLoop.handlers.size(), 1u) << "the new connection is watched";
        frame.runLoop.fireTimers();

        ASSERT_EQ(view->removed(), vvst3::kResultOk);
        EXPECT_TRUE(frame.runLoop.handlers.empty());
        EXPECT_TRUE(frame.runLoop.timers.empty());
        scaling->release();
        view->release();
    }
    XDestroyWindow(display, parent);
    XCloseDisplay(display);
}

}  // namespace
