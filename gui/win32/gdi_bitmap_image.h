// A device-dependent bitmap loaded from the module's resources (or adopted
// from a handle made elsewhere), blitted as it is.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <memory>

#include "gui/gui_platform.h"

class GdiBitmapImage : public GuiBitmapImage {
public:
    // Null when the module has no bitmap resource with this id.
    static std::unique_ptr<GdiBitmapImage> load(HINSTANCE module, int32_t resourceId);
    // Takes ownership of a bitmap handle (counted as created); null for null.
    static std::unique_ptr<GdiBitmapImage> adopt(HBITMAP bitmap);
    ~GdiBitmapImage() override;

    GdiBitmapImage(const GdiBitmapImage&) = delete;
    GdiBitmapImage& operator=(const GdiBitmapImage&) = delete;

    int32_t width() const override { return pixelsWide; }
    int32_t height() const override { return pixelsHigh; }
    HBITMAP handle() const { return bitmap; }

private:
    explicit GdiBitmapImage(HBITMAP bitmap);
    // The object for a counted handle; the handle is deleted if it cannot be made.
    static std::unique_ptr<GdiBitmapImage> own(HBITMAP bitmap);

    HBITMAP bitmap;
    int32_t pixelsWide = 0;
    int32_t pixelsHigh = 0;
};
