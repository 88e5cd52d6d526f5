// The seam between the portable toolkit and the windowing system. Everything
// the toolkit needs from a platform is declared here as small interfaces; the
// Linux side (gui/x11/) implements them with Xlib and cairo, the Windows side
// (gui/win32/) with user32, gdi32 and OLE. Portable code never names a
// platform type.
#pragma once

#include <cstdint>
#include <memory>

#include "gui_scale.h"
#include "gui_types.h"

// Pixels of one loaded bitmap, in whatever form the platform blits fastest;
// its size is in device pixels (a bitmap of a larger step is that much larger).
class GuiBitmapImage {
public:
    virtual ~GuiBitmapImage() = default;
    virtual int32_t width() const = 0;
    virtual int32_t height() const = 0;
};

// A font as the drawing context resolves it from its font table.
struct GuiFontChoice {
    const char* face = "Arial";
    int32_t height = 12;  // character height in pixels
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool symbol = false;  // the symbol font: its own character set and family
};

// The most points a polyline or polygon takes; the rest are ignored.
inline constexpr int32_t kGuiMaxPathPoints = 256;

// Drawing primitives on one target (a window or an offscreen image), with
// the state a classic device context keeps: a pen, a brush and a font.
// Coordinates are logical pixels; the drawing context has already applied its
// offset. A canvas made at a scale step converts to device pixels itself, and
// then blits bitmaps loaded at that step, mapping logical sources the same way.
class GuiCanvas {
public:
    virtual ~GuiCanvas() = default;

    // Pen for lines: colour, width in pixels, style (GuiLineStyle).
    virtual void setPen(const GuiColor& colour, int32_t width, int32_t style) = 0;
    // Brush for fills; also the background of opaque text.
    virtual void setBrush(const GuiColor& colour) = 0;
    virtual void setTextColor(const GuiColor& colour) = 0;
    virtual void setFont(const GuiFontChoice& font) = 0;

    virtual void moveTo(const GuiPoint& p) = 0;
    // Line from the current point to p; p itself is not painted (so joined
    // lines do not paint their corners twice) and becomes the current point.
    virtual void lineTo(const GuiPoint& p) = 0;
    // Fills the pixels from (left, top) up to but not including (right, bottom).
    virtual void fillRect(const GuiRect& r) = 0;
    // Lines through `count` points with the pen, without anti-aliasing (GDI
    // has none), each point rounded to device pixels through GuiScale, so
    // that both platforms draw the same shape at every step.
    virtual void polyline(const GuiPoint* points, int32_t count) {
        if (count < 2) return;
        moveTo(points[0]);
        for (int32_t i = 1; i < count; ++i) lineTo(points[i]);
    }
    // The inside of the polygon through `count` points filled with the
    // brush, no outline; rounded as polyline.
    virtual void fillPolygon(const GuiPoint* /*points*/, int32_t /*count*/) {}
    // One line of text, vertically centred in r and clipped to it;
    // align is a GuiTextAlign. Opaque text fills its cell with the brush first.
    virtual void drawText(const char* text, const GuiRect& r, int32_t align, bool opaque) = 0;

    // Copies the image's pixels starting at src into dest.
    virtual void blit(const GuiBitmapImage& image, const GuiRect& dest, const GuiPoint& src) = 0;
    // As blit, but pixels of the key colour leave the destination unchanged.
    virtual void blitKeyed(const GuiBitmapImage& image, const GuiRect& dest, const GuiPoint& src,
                           const GuiColor& key) = 0;
};

// Live state of the pointer, polled by the controls' drag loops.
class GuiPointer {
public:
    virtual ~GuiPointer() = default;
    // GuiMouseButton bits: buttons and Shift, Control, Alt.
    virtual int32_t buttons() = 0;
    // Position relative to the window's top-left corner, in logical pixels.
    virtual GuiPoint location() = 0;
};

// What a window reports to its owner (the frame), in logical pixels.
class GuiWindowClient {
public:
    virtual void windowPaint(GuiCanvas& canvas, GuiPointer& pointer, const GuiRect& damaged) = 0;
    // A press of the left, middle or right button at where.
    virtual void windowPress(GuiCanvas& canvas, GuiPointer& pointer, const GuiPoint& where) = 0;
    // The system destroyed the window (for instance with the host's parent).
    virtual void windowDestroyed() = 0;
    // The system says the window's DPI changed (it moved to another screen).
    virtual void windowDpiChanged() {}
    // Text (type kGuiDropText: items[0] is the text, count its size in bytes)
    // or files (kGuiDropFiles: count names) dropped on the window at where.
    // True when a view took them.
    virtual bool windowDrop(void** items, int32_t count, int32_t type, const GuiPoint& where) {
        (void)items, (void)count, (void)type, (void)where;
        return false;
    }

protected:
    ~GuiWindowClient() = default;
};

// The frame's child window inside the host's window. Destroying the object
// destroys the window.
class GuiWindow {
public:
    virtual ~GuiWindow() = default;
    // A canvas on the window for drawing outside of a paint; null when the
    // window can no longer be drawn on.
    virtual std::unique_ptr<GuiCanvas> makeCanvas() = 0;
    virtual GuiPointer& pointer() = 0;
    // Delivers what arrived for the window since the last call (paints,
    // presses, destruction). Called from the editor's idle; a platform whose
    // host runs the message loop itself has nothing to do here.
    virtual void processEvents() = 0;
    // Delivers pending paints only; called while a control tracks the mouse.
    virtual void processPendingPaint() = 0;
    // The system's handle of the child window.
    virtual void* nativeHandle() const = 0;
    // A descriptor that turns readable when events wait for processEvents,
    // or -1 where the system delivers them without being asked.
    virtual int eventDescriptor() const { return -1; }
};

// Process-wide services.
class GuiPlatform {
public:
    virtual ~GuiPlatform() = default;
    // A visible child window of width x height logical pixels, at the scale
    // step, in the host's parent window; null when none can be made.
    virtual std::unique_ptr<GuiWindow> createWindow(void* parent, int32_t width, int32_t height, GuiScale scale,
                                                    GuiWindowClient& client) = 0;
    // The bitmap resource with this id drawn for a scale step (in percent);
    // null when there is none.
    virtual std::unique_ptr<GuiBitmapImage> loadBitmap(int32_t resourceId, int32_t scalePercent) = 0;
    // The desktop's scale factor where the editor opens (parentWindow may be
    // null before it does); 0 when the platform cannot tell.
    virtual double desktopScale(void* /*parentWindow*/) { return 0.0; }
    // Milliseconds of a monotonic clock, wrapping at 2^32.
    virtual uint32_t tickCount() = 0;
    virtual void sleep(uint32_t milliseconds) = 0;

    // Every editor and every frame announces itself on the thread it is made
    // on and says goodbye when it goes, in matched pairs: a platform whose
    // services need per-thread start-up (COM for drag and drop) does it here.
    virtual void beginThreadUse() {}
    virtual void endThreadUse() {}
    // The pointer in screen coordinates, for drawing that has no window;
    // null where the platform cannot tell.
    virtual GuiPointer* screenPointer() { return nullptr; }
    // The loaded library's handle, handed over by whoever creates the editor:
    // Windows loads the bitmaps from it and names the window class after it.
    // Other platforms have no use for it.
    virtual void setModuleHandle(void* /*handle*/) {}
};

// The platform in use: the one installed with setGuiPlatform, otherwise the
// default of the platform library linked in.
GuiPlatform& guiPlatform();
// Installs a platform (tests use this to script input); null restores the
// default. Returns the one installed before (null for the default).
GuiPlatform* setGuiPlatform(GuiPlatform* platform);
// Defined by the platform library (gui/x11/ on Linux).
GuiPlatform& defaultGuiPlatform();
