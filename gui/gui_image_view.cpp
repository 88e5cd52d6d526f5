#include "gui_image_view.h"

#include "gui_bitmap.h"

GuiImageView::GuiImageView(const GuiRect& rect, GuiBitmap* bitmap) : GuiView(rect), image(bitmap) {
    if (image) image->addRef();
    setMouseEnabled(false);
}

GuiImageView::~GuiImageView() {
    if (image) image->release();
}

void GuiImageView::draw(GuiDrawContext* context) {
    if (image) image->draw(context, size);
    setDirty(false);
}
