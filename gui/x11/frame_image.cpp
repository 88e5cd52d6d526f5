#include "frame_image.h"

#include "cairo_canvas.h"
#include "gui/gui_frame.h"

cairo_surface_t* renderFrameImage(GuiFrame& frame) {
    GuiRect size;
    frame.getViewSize(size);
    if (size.width() <= 0 || size.height() <= 0) return nullptr;
    cairo_surface_t* image =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, size.width(), size.height());
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) return image;
    {
        CairoCanvas canvas(image);
        frame.drawInto(canvas);
    }
    return image;
}
