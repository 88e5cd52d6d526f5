// Test doubles for the GUI toolkit: a platform whose window draws into a
// cairo image and whose pointer follows a script, a recording host, a small
// effect and editor built on the real base classes, and image helpers.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "gui/gui_toolkit.h"
#include "vst2/effect_parameter_link.h"
#include "vst2/plugin_base.h"

// ---- pointer script ---------------------------------------------------------

struct PointerStep {
    int32_t buttons;
    GuiPoint where;
};

// Reports the current step; every location read (once per pass of a drag
// loop) moves to the next. Past the end the buttons read as released.
class ScriptedPointer : public GuiPointer {
public:
    void script(std::vector<PointerStep> steps);
    int32_t buttons() override;
    GuiPoint location() override;
    bool finished() const { return next >= steps.size(); }

private:
    std::vector<PointerStep> steps;
    std::size_t next = 0;
};

// A press at `from` with `buttons` held, then the pointer moves to each point
// in turn, then the left button is released there.
std::vector<PointerStep> dragScript(int32_t buttons, GuiPoint from, std::vector<GuiPoint> path);

// ---- platform ------------------------------------------------------------------

class FakeWindow : public GuiWindow {
public:
    FakeWindow(int32_t width, int32_t height, GuiWindowClient& client);
    ~FakeWindow() override;

    std::unique_ptr<GuiCanvas> makeCanvas() override;
    GuiPointer& pointer() override { return scripted; }
    void processEvents() override;
    void processPendingPaint() override;
    void* nativeHandle() const override { return const_cast<FakeWindow*>(this); }

    // Queued until the next processEvents (presses) or either call (paints).
    void queueExpose(const GuiRect& r);
    void queuePress(const GuiPoint& where, std::vector<PointerStep> script);
    void destroyBySystem() { client.windowDestroyed(); }
    bool dropBySystem(void** items, int32_t count, int32_t type, GuiPoint where) {
        return client.windowDrop(items, count, type, where);
    }

    cairo_surface_t* image() const { return surface; }
    ScriptedPointer& script() { return scripted; }
    int canvasesMade = 0;
    int paintsDelivered = 0;
    int pressesDelivered = 0;

private:
    struct Event {
        bool press;
        GuiRect rect;
        std::vector<PointerStep> steps;
    };
    void deliver(Event& event);

    GuiWindowClient& client;
    cairo_surface_t* surface;
    ScriptedPointer scripted;
    std::deque<Event> pending;
    bool insidePress = false;
};

class FakePlatform : public GuiPlatform {
public:
    FakePlatform();
    ~FakePlatform() override;

    std::unique_ptr<GuiWindow> createWindow(void* parent, int32_t width, int32_t height, GuiScale scale,
                                            GuiWindowClient& client) override;
    std::unique_ptr<GuiBitmapImage> loadBitmap(int32_t resourceId, int32_t scalePercent) override;
    uint32_t tickCount() override { return clock += tickStep; }
    void sleep(uint32_t milliseconds) override {
        clock += milliseconds;
        ++sleeps;
    }

    // Bitmaps loadBitmap answers with, by resource id (copied on each load).
    void addBitmap(int32_t id, cairo_surface_t* image);

    FakeWindow* lastWindow = nullptr;
    int windowsCreated = 0;
    uint32_t clock = 1000;
    uint32_t tickStep = 0;  // added on every tickCount read
    int sleeps = 0;

private:
    GuiPlatform* previous;
    std::map<int32_t, cairo_surface_t*> bitmaps;
};

// ---- effect, host and editor ---------------------------------------------------

struct HostCall {
    int32_t opcode;
    int32_t index;
    float opt;
};

// Every call the effect makes to its host, in order.
std::vector<HostCall>& hostCalls();
VstIntPtr VST_CALLBACK recordingHost(AEffect*, int32_t opcode, int32_t index, VstIntPtr, void*,
                                     float opt);
// Called for every host call after it is recorded (tests that need the host
// to react, like a host that idles the editor from its idle callback).
std::function<void(int32_t opcode)>& hostHook();
// The calls with this opcode.
std::vector<HostCall> callsOf(int32_t opcode);

class TestEffect : public PluginBaseExt {
public:
    static constexpr int32_t kParams = 19;
    TestEffect();
    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;
    void process(float**, float**, int32_t) override {}

    float values[kParams] = {};
    // What an editor of this effect reads and sets values through.
    EffectParameterLink link{this};
};

// A minimal editor on the real base: open() makes a frame with the given
// size (and window, through the platform) and calls `build` to fill it; the
// listener forwards changes to the effect like a real editor does. The
// effect owns and deletes it.
class TestEditor : public GuiEditorBase, public GuiControlListener {
public:
    explicit TestEditor(TestEffect* effect, GuiRect size = GuiRect{0, 0, 484, 286});
    ~TestEditor() override;

    int32_t open(void* parent) override;
    void close() override;
    void valueChanged(GuiDrawContext* context, GuiControl* control) override;

    std::function<void(GuiFrame&, TestEditor&)> build;
    std::vector<GuiControl*> changed;  // every control reported, in order
    int closes = 0;

private:
    TestEffect* effect;
    GuiRect size;
};

// ---- images --------------------------------------------------------------------

// 0xRRGGBB of one pixel of an RGB24/ARGB32 image surface.
uint32_t pixelAt(cairo_surface_t* image, int x, int y);
cairo_surface_t* solidSurface(int width, int height, uint32_t rgb);
void fillSurface(cairo_surface_t* image, uint32_t rgb);
// A strip of `count` images of width x imageHeight; image k is 0x10k0k0-coded:
// red = k, green = 0x40, blue = 0x80 (so the image shown can be read back).
cairo_surface_t* stripSurface(int width, int imageHeight, int count);
uint32_t stripColour(int image);
// A bitmap made from a surface (which the caller keeps).
GuiBitmap* bitmapFrom(cairo_surface_t* image);
GuiBitmap* solidBitmap(int width, int height, uint32_t rgb);

// .bmp file bytes: 24-bit or 8-bit with a palette, rows bottom-up unless topDown.
std::vector<unsigned char> makeBmp24(int width, int height, const std::vector<uint32_t>& rgb,
                                     bool topDown);
std::vector<unsigned char> makeBmp8(int width, int height, const std::vector<uint32_t>& palette,
                                    const std::vector<uint8_t>& indices, bool topDown);
