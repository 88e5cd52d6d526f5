// GuiBitmap: a reference-counted bitmap, loaded from the plug-in's bitmap
// resources (or made from pixels the caller already has) and drawn either as
// an opaque copy or with one transparent colour.
#pragma once

#include <cstdint>
#include <memory>

#include "gui_platform.h"
#include "gui_types.h"

class GuiDrawContext;

class GuiBitmap {
public:
    // Loads the resource drawn for the scale step; one that cannot be loaded
    // gives a 0 x 0 bitmap that draws nothing. Starts with one reference.
    explicit GuiBitmap(int32_t resourceId, GuiScale scale = {});
    // Takes pixels made elsewhere (generated artwork, tests); id 0.
    explicit GuiBitmap(std::unique_ptr<GuiBitmapImage> image);

    GuiBitmap(const GuiBitmap&) = delete;
    GuiBitmap& operator=(const GuiBitmap&) = delete;

    void addRef() { ++refCount; }
    // Deletes the bitmap at the last reference; a count already at 0 stays.
    void release();
    int32_t getRefCount() const { return refCount; }

    int32_t getResourceId() const { return resourceId; }
    // In logical pixels, whatever step the pixels were drawn for.
    int32_t getWidth() const { return width; }
    int32_t getHeight() const { return height; }
    bool isLoaded() const { return image != nullptr; }

    void setTransparentColor(const GuiColor& colour) { transparentColor = colour; }
    GuiColor getTransparentColor() const { return transparentColor; }

    // Copies width x height of dest from the source offset to dest's top-left.
    void draw(GuiDrawContext* context, const GuiRect& dest, const GuiPoint& source = GuiPoint{});
    // As draw, but pixels of the transparent colour leave the destination.
    void drawTransparent(GuiDrawContext* context, const GuiRect& dest,
                         const GuiPoint& source = GuiPoint{});

    const GuiBitmapImage* getImage() const { return image.get(); }

private:
    ~GuiBitmap() = default;

    int32_t resourceId = 0;
    int32_t refCount = 1;
    int32_t width = 0;
    int32_t height = 0;
    GuiColor transparentColor = kGuiTransparentColor;
    std::unique_ptr<GuiBitmapImage> image;
};
