// What a format's adapter needs of an editor: its size, a window embedded in
// the host's, idle calls, keys and wheel from hosts that forward them, and
// every parameter change (from any thread; shown at the next idle).
#pragma once

#include <cstdint>

#include "parameter_listener.h"

struct EditorSize {
    int32_t width;
    int32_t height;
};

class Editor : public ParameterListener {
public:
    ~Editor() override = default;

    // In device pixels, at the editor's scale step.
    virtual EditorSize size() const = 0;
    // The host's scale factor (2.0 = twice as large); it wins over what the
    // editor would find itself and applies from the next open. True when
    // taken. An open editor reopens at the new size: the host resizes its
    // window to size() after.
    virtual bool setScale(double /*factor*/) { return false; }
    // parentWindow is the host's window: an X11 window id or an HWND.
    // Returns 1 when the window is open.
    virtual int32_t open(void* parentWindow) = 0;
    virtual void close() = 0;
    // UI thread: shows the changes noted since the last call, handles the
    // window's events and repaints.
    virtual void idle() = 0;

    // A key the host forwards (virtual key codes as the toolkit's
    // GuiVirtualKey); 1 when taken, -1 when not.
    virtual int32_t keyDown(int32_t /*character*/, uint8_t /*virtualKey*/, uint8_t /*modifiers*/) { return -1; }
    virtual int32_t keyUp(int32_t /*character*/, uint8_t /*virtualKey*/, uint8_t /*modifiers*/) { return -1; }
    // How knobs follow the mouse (the toolkit's kGui...Mode); 1 when taken.
    virtual int32_t setKnobDragMode(int32_t /*mode*/) { return 0; }
    // 1 when a control took the wheel turn.
    virtual int32_t wheel(float /*distance*/) { return 0; }
    // While open: a descriptor that turns readable when window events wait
    // for idle(), for hosts that watch descriptors instead of idling on a
    // timer; -1 when there is none (closed, or events come another way).
    virtual int eventDescriptor() const { return -1; }
};
