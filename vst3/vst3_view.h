// The editor inside a VST 3 host's window: "X11EmbedWindowID" on Linux,
// "HWND" on Windows, at a fixed size per scale step. On Linux it runs in the
// host's loop: a timer of the frame's run loop idles it, and the run loop
// watches the editor's X connection so events are handled as they come. On
// Windows a thread timer idles it. UI thread only.
#pragma once

#include <atomic>
#include <cstdint>

#include "vst3/vst3_abi.h"
#include "vst3/vst3_ui_timer.h"

class Editor;
class Vst3Effect;

class Vst3View final : public vvst3::IPlugView,
                       public vvst3::IPlugViewContentScaleSupport,
#if !defined(_WIN32)
                       public vvst3::IEventHandler,
#endif
                       private UiTickTarget {
public:
    // With one reference; null when out of memory. Holds a reference to the
    // effect, so the editor outlives the view.
    static Vst3View* create(Vst3Effect& effect);

    vvst3::tresult VVST3_CALL queryInterface(const vvst3::TUID iid, void** obj) override;
    uint32_t VVST3_CALL addRef() override;
    uint32_t VVST3_CALL release() override;

    vvst3::tresult VVST3_CALL isPlatformTypeSupported(vvst3::FIDString type) override;
    vvst3::tresult VVST3_CALL attached(void* parent, vvst3::FIDString type) override;
    vvst3::tresult VVST3_CALL removed() override;
    vvst3::tresult VVST3_CALL onWheel(float distance) override;
    // Keys the host forwards stay the host's: its shortcuts keep working.
    vvst3::tresult VVST3_CALL onKeyDown(vvst3::Char16, int16_t, int16_t) override { return vvst3::kResultFalse; }
    vvst3::tresult VVST3_CALL onKeyUp(vvst3::Char16, int16_t, int16_t) override { return vvst3::kResultFalse; }
    vvst3::tresult VVST3_CALL getSize(vvst3::ViewRect* size) override;
    vvst3::tresult VVST3_CALL onSize(vvst3::ViewRect* newSize) override;
    vvst3::tresult VVST3_CALL onFocus(vvst3::TBool) override { return vvst3::kResultOk; }
    vvst3::tresult VVST3_CALL setFrame(vvst3::IPlugFrame* frame) override;
    vvst3::tresult VVST3_CALL canResize() override { return vvst3::kResultFalse; }
    vvst3::tresult VVST3_CALL checkSizeConstraint(vvst3::ViewRect* rect) override;

    vvst3::tresult VVST3_CALL setContentScaleFactor(vvst3::ScaleFactor factor) override;

#if !defined(_WIN32)
    void VVST3_CALL onFDIsSet(vvst3::FileDescriptor fd) override;
#endif

private:
    explicit Vst3View(Vst3Effect& effect);
    ~Vst3View();
    Vst3View(const Vst3View&) = delete;
    Vst3View& operator=(const Vst3View&) = delete;

    vvst3::ViewRect editorRect() const;
    // The idle timer and (Linux) the descriptor watch, once there are both
    // an open window and a frame.
    void startServices();
    void stopServices();
    void closeEditor();
    void onUiTick() override;

    std::atomic<uint32_t> references{1};
    Vst3Effect& owner;
    Editor& editor;
    vvst3::IPlugFrame* frame = nullptr;
    Vst3UiTimer idleTimer{*this};
    bool open = false;
#if !defined(_WIN32)
    vvst3::IRunLoop* watchingLoop = nullptr;
#endif
};
