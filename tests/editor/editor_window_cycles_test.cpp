// Opens and closes the real editor in a real X11 window many times; under the
// sanitized build LeakSanitizer then reports anything a cycle leaves behind.
#include <gtest/gtest.h>

#include <cstdlib>

#include "editor/distortion_editor.h"
#include "vst2/distortion_effect.h"

// Last: Xlib's macros collide with names inside GoogleTest.
#include <X11/Xlib.h>

namespace {

VstIntPtr VST_CALLBACK quietHost(AEffect*, int32_t opcode, int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

}  // namespace

TEST(EditorWindow, TwoHundredOpenCloseCyclesLeaveNothingBehind) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) GTEST_SKIP() << "no X display";
    const Window parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 484, 286, 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);

    DistortionEffect effect(quietHost);
    for (int cycle = 0; cycle < 200; ++cycle) {
        ASSERT_EQ(effect.dispatcher(effEditOpen, 0, 0, reinterpret_cast<void*>(parent), 0.0f), 1) << cycle;
        effect.setParameter(kGain1, (cycle % 10) / 10.0f);
        effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
        effect.dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    }

    // A host that destroys its window before closing the editor.
    effect.dispatcher(effEditOpen, 0, 0, reinterpret_cast<void*>(parent), 0.0f);
    effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    XDestroyWindow(display, parent);
    XSync(display, False);
    effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    effect.dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    XCloseDisplay(display);
}
