// GuiImageView: a fixed picture on part of the window (artwork beyond the
// frame's background); it takes no input.
#pragma once

#include "gui_view.h"

class GuiBitmap;

class GuiImageView : public GuiView {
public:
    // Adds a reference to the bitmap, drawn from its top-left corner.
    GuiImageView(const GuiRect& size, GuiBitmap* image);
    ~GuiImageView() override;

    void draw(GuiDrawContext* context) override;

private:
    GuiBitmap* image;
};
