// What real hosts do at once: the audio thread processes, an automation
// thread sets parameters and programs, and the user interface thread opens,
// idles and closes the real X11 editor. Run under ThreadSanitizer and
// AddressSanitizer it must show no race and no stale control.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "vst2/vst_abi.h"

// Last: Xlib defines macros (None, Bool) that clash with other headers.
#include <X11/Xlib.h>

namespace {

VstIntPtr VST_CALLBACK quietHost(AEffect*, int32_t opcode, int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

class ThreeThreads : public ::testing::Test {
protected:
    void SetUp() override {
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr) << "needs an X display";
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 484, 286, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
        library = dlopen(VELMORA_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        ASSERT_NE(library, nullptr) << dlerror();
        auto entry = reinterpret_cast<VstPluginEntry>(dlsym(library, "VSTPluginMain"));
        ASSERT_NE(entry, nullptr);
        effect = entry(quietHost);
        ASSERT_NE(effect, nullptr);
    }
    void TearDown() override {
        if (effect) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        if (display) {
            XDestroyWindow(display, parent);
            XCloseDisplay(display);
        }
    }
    VstIntPtr call(int32_t opcode, int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr) {
        return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
    }

    Display* display = nullptr;
    Window parent = 0;
    void* library = nullptr;
    AEffect* effect = nullptr;
};

}  // namespace

TEST_F(ThreeThreads, EditorOpensAndClosesWhileAudioAndAutomationRun) {
    call(effSetSampleRate);
    call(effMainsChanged, 0, 1);
    std::atomic<bool> stop{false};
    std::atomic<long> blocks{0}, changes{0};

    std::thread audio([&] {
        std::vector<float> left(256), right(256);
        float* ins[2] = {left.data(), right.data()};
        float* outs[2] = {left.data(), right.data()};
        long n = 0;
        while (!stop.load(std::memory_order_relaxed)) {
            for (int i = 0; i < 256; ++i) left[i] = right[i] = static_cast<float>(0.5 * std::sin(0.01 * (n * 256 + i)));
            effect->processReplacing(effect, ins, outs, 256);
            for (float v : left) ASSERT_TRUE(std::isfinite(v));
            ++n;
        }
        blocks = n;
    });
    std::thread automation([&] {
        uint32_t seed = 99;
        long n = 0;
        while (!stop.load(std::memory_order_relaxed)) {
            seed = seed * 1664525u + 1013904223u;
            const int32_t index = static_cast<int32_t>(seed >> 8) % 19;
            if (seed % 64 == 0)
                effect->dispatcher(effect, effSetProgram, 0, static_cast<VstIntPtr>((seed >> 16) % 16), nullptr, 0.0f);
            else
                effect->setParameter(effect, index, static_cast<float>((seed >> 12) % 1000) / 999.0f);
            ++n;
        }
        changes = n;
    });

    for (int cycle = 0; cycle < 200; ++cycle) {
        ASSERT_EQ(call(effEditOpen, 0, 0, reinterpret_cast<void*>(parent)), 1) << cycle;
        for (int idle = 0; idle < 3; ++idle) call(effEditIdle);
        call(effEditClose);
    }
    stop = true;
    audio.join();
    automation.join();
    EXPECT_GT(blocks.load(), 0);
    EXPECT_GT(changes.load(), 0);
}
