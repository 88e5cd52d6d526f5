// A top-level window of the host that holds a plug-in's editor. The class
// is the seam to the window system; editor_window_x11.cpp implements it with
// Xlib, editor_window_win32.cpp with a top-level Win32 window.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class LoadedPlugin;

// A captured window: width x height pixels, 0xAARRGGBB, row after row.
struct WindowImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

class EditorWindow {
public:
    // Size used when the plug-in reports none.
    static constexpr int kFallbackWidth = 640;
    static constexpr int kFallbackHeight = 480;

    // Throws HostError when no display can be opened.
    static void requireDisplay();

    // Creates the window at the editor's size, opens the editor in it, shows
    // it and waits until it is on screen. Throws HostError when the plug-in
    // has no editor or its editor does not open.
    EditorWindow(LoadedPlugin& plugin, const std::string& title);
    // Closes the editor, then the window.
    ~EditorWindow();

    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    int width() const;
    int height() const;

    // Idles the editor about every 20 to 25 ms for this long, handling window
    // events. Returns false once the window has been closed.
    bool idleFor(double seconds);

    // Idles until the window manager closes the window or the limit passes.
    void runUntilClosed(std::optional<double> limitSeconds);

    // What the window shows, the editor's child windows included.
    WindowImage capture();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
