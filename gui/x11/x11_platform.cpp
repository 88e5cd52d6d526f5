#include "x11_platform.h"

#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "cairo_bitmap_image.h"
#include "gui/gui_area_average.h"
#include "png_decoder.h"
#include "resources/embedded_bitmaps.h"
#include "x11_window.h"

namespace {

// The PNG drawn for the step, or else the one of the next larger step
// reduced to it; empty when there is neither.
DecodedBitmap scaledArtwork(int32_t id, int32_t percent) {
    for (int32_t step : kGuiScaleSteps) {
        if (step < percent) continue;
        const EmbeddedPng* png = findEmbeddedPng(id, step);
        if (!png) continue;
        DecodedBitmap drawn = decodePng(png->data, png->size);
        if (step == percent || drawn.empty()) return drawn;
        DecodedBitmap reduced;
        reduced.width = reducedSize(drawn.width, step, percent);
        reduced.height = reducedSize(drawn.height, step, percent);
        reduced.pixels = areaAverage(drawn.pixels, drawn.width, drawn.height, reduced.width, reduced.height);
        return reduced;
    }
    return {};
}

}  // namespace

std::unique_ptr<GuiWindow> X11Platform::createWindow(void* parent, int32_t width, int32_t height, GuiScale scale,
                                                     GuiWindowClient& client) {
    return X11Window::create(parent, width, height, scale, client);
}

std::unique_ptr<GuiBitmapImage> X11Platform::loadBitmap(int32_t resourceId, int32_t scalePercent) {
    if (scalePercent != 100) return CairoBitmapImage::fromDecoded(scaledArtwork(resourceId, scalePercent));
    const EmbeddedBitmap* bitmap = findEmbeddedBitmap(resourceId);
    if (!bitmap) return nullptr;
    return CairoBitmapImage::fromBmp(bitmap->data, bitmap->size);
}

double X11Platform::desktopScale(void*) {
    // A connection of its own: the editor's may not exist yet (hosts ask for
    // the size before they open the editor).
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 0.0;
    double factor = 0.0;
    if (const char* resources = XResourceManagerString(display)) {
        XrmInitialize();
        if (XrmDatabase database = XrmGetStringDatabase(resources)) {
            char* type = nullptr;
            XrmValue value{};
            if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
                factor = std::strtod(value.addr, nullptr) / 96.0;
            XrmDestroyDatabase(database);
        }
    }
    XCloseDisplay(display);
    return factor;
}

uint32_t X11Platform::tickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void X11Platform::sleep(uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

GuiPlatform& defaultGuiPlatform() {
    static X11Platform platform;
    return platform;
}
