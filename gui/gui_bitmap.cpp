#include "gui_bitmap.h"

#include "gui_draw_context.h"

GuiBitmap::GuiBitmap(int32_t id, GuiScale scale) : GuiBitmap(guiPlatform().loadBitmap(id, scale.percent)) {
    resourceId = id;
    // Device sizes were rounded from the logical ones, so rounding back is exact.
    width = (width * 100 + scale.percent / 2) / scale.percent;
    height = (height * 100 + scale.percent / 2) / scale.percent;
}

GuiBitmap::GuiBitmap(std::unique_ptr<GuiBitmapImage> pixels) : image(std::move(pixels)) {
    if (image) {
        width = image->width();
        height = image->height();
    }
}

void GuiBitmap::release() {
    if (refCount <= 0) return;
    if (--refCount == 0) delete this;
}

namespace {
GuiRect placed(const GuiDrawContext& context, const GuiRect& dest) {
    GuiRect r = dest;
    const GuiPoint o = context.getDrawOffset();
    r.offset(o.h, o.v);
    return r;
}
}  // namespace

void GuiBitmap::draw(GuiDrawContext* context, const GuiRect& dest, const GuiPoint& source) {
    if (!image || !context || !context->getCanvas()) return;
    context->getCanvas()->blit(*image, placed(*context, dest), source);
}

void GuiBitmap::drawTransparent(GuiDrawContext* context, const GuiRect& dest,
                                const GuiPoint& source) {
    if (!image || !context || !context->getCanvas()) return;
    context->getCanvas()->blitKeyed(*image, placed(*context, dest), source, transparentColor);
}
