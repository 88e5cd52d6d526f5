// A small LV2 UI host on lilv and suil: finds the plug-in's X11 UI through
// the bundle's Turtle, embeds it in a top-level window of its own, pumps it
// through the idle interface and keeps what it writes as the control ports.
#pragma once

#include <lv2/urid/urid.h>

#include <cstdint>
#include <string>
#include <vector>

typedef struct _XDisplay Display;
typedef struct SuilHostImpl SuilHost;
typedef struct SuilInstanceImpl SuilInstance;
typedef struct LilvWorldImpl LilvWorld;

class Lv2UiTestHost {
public:
    // Throws when there is no display or the UI cannot be instantiated. A
    // scale factor above 0 is passed as the ui:scaleFactor option.
    explicit Lv2UiTestHost(float scaleFactor = 0.0f);
    ~Lv2UiTestHost();
    Lv2UiTestHost(const Lv2UiTestHost&) = delete;
    Lv2UiTestHost& operator=(const Lv2UiTestHost&) = delete;

    unsigned long hostWindow() const { return window; }
    unsigned long uiWindow() const { return widget; }

    // One call of the UI's idle interface; returns its answer.
    int idle();
    // Idles every 10 ms for that long.
    void idleFor(double seconds);
    // The host reports a control port's value to the UI.
    void portEvent(const std::string& symbol, float value);
    // The host hands an atom from an atom output port to the UI.
    void atomEvent(const std::string& symbol, const void* atom, uint32_t size);
    // The atoms the UI wrote to a port since the last call, each whole.
    std::vector<std::vector<uint8_t>> takeAtomWrites(const std::string& symbol);
    // The map the UI was given, for a plug-in host that shares its URIDs.
    LV2_URID_Map* uridMap() { return &map; }

    // The control port's value as the UI last wrote it (its default before).
    float control(const std::string& symbol) const;
    // What the UI did, one entry each: "write gain1 0.5", "touch gain1 on".
    const std::vector<std::string>& events() const { return log; }

    // The sizes the UI asked for through ui:resize, in order.
    const std::vector<std::pair<int, int>>& resizes() const { return asked; }

    // The UI window's pixels (0xRRGGBB) in a w x h region at (x, y).
    std::vector<uint32_t> capture(int x, int y, int w, int h) const;

private:
    static void writeFunction(void* controller, uint32_t port, uint32_t size, uint32_t format, const void* buffer);
    static uint32_t portIndexFunction(void* controller, const char* symbol);
    static void touchFunction(void* controller, uint32_t port, bool grabbed);
    static uint32_t mapUri(void* handle, const char* uri);
    static int resizeFunction(void* handle, int width, int height);
    uint32_t portIndex(const std::string& symbol) const;

    Display* display = nullptr;
    unsigned long window = 0;
    unsigned long widget = 0;
    LilvWorld* world = nullptr;
    SuilHost* host = nullptr;
    SuilInstance* instance = nullptr;
    std::vector<std::string> symbols;
    std::vector<float> controls;
    std::vector<std::string> log;
    std::vector<std::string> uris;
    std::vector<std::pair<int, int>> asked;
    std::vector<std::pair<uint32_t, std::vector<uint8_t>>> atomWrites;
    LV2_URID_Map map{this, mapUri};
};
