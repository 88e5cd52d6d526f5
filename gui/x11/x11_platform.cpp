#include "x11_platform.h"

#include <chrono>
#include <thread>

#include "cairo_bitmap_image.h"
#include "resources/embedded_bitmaps.h"
#include "x11_window.h"

std::unique_ptr<GuiWindow> X11Platform::createWindow(void* parent, int32_t width, int32_t height,
                                                     GuiWindowClient& client) {
    return X11Window::create(parent, width, height, client);
}

std::unique_ptr<GuiBitmapImage> X11Platform::loadBitmap(int32_t resourceId) {
    const EmbeddedBitmap* bitmap = findEmbeddedBitmap(resourceId);
    if (!bitmap) return nullptr;
    return CairoBitmapImage::fromBmp(bitmap->data, bitmap->size);
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
