#include "gui_splash_screen.h"

#include "gui_bitmap.h"
#include "gui_draw_context.h"
#include "gui_frame.h"

GuiSplashScreen::GuiSplashScreen(const GuiRect& rect, GuiControlListener* owner,
                                 int32_t controlTag, GuiBitmap* bitmap, const GuiRect& display,
                                 const GuiPoint& imageOffset)
    : GuiControl(rect, owner, controlTag, bitmap),
      toDisplay(display),
      keepSize(rect),
      offset(imageOffset) {}

void GuiSplashScreen::draw(GuiDrawContext* context) {
    if (value != 0.0f) drawBackground(context, toDisplay, offset);
    setDirty(false);
}

bool GuiSplashScreen::hitTest(const GuiPoint& where, int32_t buttons) {
    return size.contains(where) && (buttons & kGuiLButton);
}

void GuiSplashScreen::mouse(GuiDrawContext* context, GuiPoint&) {
    if (!getMouseEnabled() || !context) return;
    if (!(context->getMouseButtons() & kGuiLButton)) return;

    if (value == 0.0f) {
        // Only a frame that takes it as its modal view shows the image; if it
        // refuses (another modal view is open) the box stays closed.
        if (frame && frame->setModalView(this)) {
            value = 1.0f;
            keepSize = size;
            size = toDisplay;
            draw(context);
            if (listener) listener->valueChanged(context, this);
        }
    } else {
        value = 0.0f;
        size = keepSize;
        restoreFrame(context);
        if (listener) listener->valueChanged(context, this);
    }
    setDirty(true);
}

void GuiSplashScreen::restoreFrame(GuiDrawContext* context) {
    if (!frame) return;
    if (frame->getModalView() == this) frame->setModalView(nullptr);
    // The image covered the panel: everything under it is drawn again.
    if (context) {
        frame->draw(context);
    } else {
        frame->drawView(frame);
    }
}

void GuiSplashScreen::closeSplash() {
    setDirty(true);
    size = keepSize;
    value = 0.0f;
    if (frame && frame->getModalView() == this) restoreFrame(nullptr);
}
