// The drawing context and bitmaps on a real cairo image: fills, outlines,
// opaque and keyed blits, fonts and text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gui/x11/cairo_canvas.h"
#include "gui_test_support.h"

#ifdef VELMORA_HAVE_CAIRO_FT
#include <cairo-ft.h>
#endif

namespace {

constexpr uint32_t kPaper = 0x336699;

class Drawing : public ::testing::Test {
protected:
    void SetUp() override {
        image = solidSurface(64, 48, kPaper);
        canvas = std::make_unique<CairoCanvas>(image);
        context = std::make_unique<GuiDrawContext>(nullptr, canvas.get(), nullptr);
    }
    void TearDown() override {
        context.reset();
        canvas.reset();
        cairo_surface_destroy(image);
    }
    uint32_t at(int x, int y) {
        cairo_surface_flush(image);
        return pixelAt(image, x, y);
    }
    // Pixels in r that are not the paper colour.
    int inked(const GuiRect& r) {
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) count += at(x, y) != kPaper ? 1 : 0;
        }
        return count;
    }

    cairo_surface_t* image = nullptr;
    std::unique_ptr<CairoCanvas> canvas;
    std::unique_ptr<GuiDrawContext> context;
};

TEST_F(Drawing, FillRectLeavesTheLeftColumnAndTopRowToTheOutline) {
    context->setFillColor(GuiColor{255, 0, 0, 0});
    context->fillRect(GuiRect{10, 10, 20, 20});
    EXPECT_EQ(at(10, 10), kPaper);
    EXPECT_EQ(at(10, 15), kPaper);
    EXPECT_EQ(at(15, 10), kPaper);
    EXPECT_EQ(at(11, 11), 0xFF0000u);
    EXPECT_EQ(at(19, 19), 0xFF0000u);
    EXPECT_EQ(at(20, 20), kPaper);
    EXPECT_EQ(at(20, 15), kPaper);
    EXPECT_EQ(inked(GuiRect{0, 0, 64, 48}), 81);
}

TEST_F(Drawing, DrawRectOutlinesBothCornersOfEachSide) {
    context->setFrameColor(kGuiYellow);
    context->drawRect(GuiRect{5, 5, 15, 10});
    for (const GuiPoint p : {GuiPoint{5, 5}, GuiPoint{15, 5}, GuiPoint{15, 10}, GuiPoint{5, 10},
                             GuiPoint{10, 5}, GuiPoint{15, 7}, GuiPoint{10, 10}, GuiPoint{5, 7}}) {
        EXPECT_EQ(at(p.h, p.v), 0xFFFF00u) << p.h << "," << p.v;
    }
    EXPECT_EQ(at(10, 7), kPaper);
    EXPECT_EQ(at(16, 5), kPaper);
    EXPECT_EQ(inked(GuiRect{0, 0, 64, 48}), 2 * 11 + 2 * 4);

    // A line leaves its end point to the next segment.
    context->moveTo(GuiPoint{30, 30});
    context->lineTo(GuiPoint{40, 30});
    EXPECT_EQ(at(30, 30), 0xFFFF00u);
    EXPECT_EQ(at(39, 30), 0xFFFF00u);
    EXPECT_EQ(at(40, 30), kPaper);
}

TEST_F(Drawing, OpaqueAndKeyedBlits) {
    // Left half white (the key), right half blue.
    cairo_surface_t* source = solidSurface(8, 4, 0xFFFFFF);
    cairo_t* cr = cairo_create(source);
    cairo_set_source_rgb(cr, 0, 0, 1);
    cairo_rectangle(cr, 4, 0, 4, 4);
    cairo_fill(cr);
    cairo_destroy(cr);
    GuiBitmap* bitmap = bitmapFrom(source);
    cairo_surface_destroy(source);

    bitmap->drawTransparent(context.get(), GuiRect{0, 0, 8, 4});
    EXPECT_EQ(at(1, 1), kPaper);
    EXPECT_EQ(at(5, 1), 0x0000FFu);

    bitmap->draw(context.get(), GuiRect{0, 10, 8, 14});
    EXPECT_EQ(at(1, 11), 0xFFFFFFu);
    EXPECT_EQ(at(5, 11), 0x0000FFu);

    // Source offset: the blue half drawn at the destination's left.
    bitmap->draw(context.get(), GuiRect{20, 20, 24, 24}, GuiPoint{4, 0});
    EXPECT_EQ(at(20, 20), 0x0000FFu);
    EXPECT_EQ(at(24, 20), kPaper);

    // Another key colour makes blue the hole.
    bitmap->setTransparentColor(kGuiBlue);
    bitmap->drawTransparent(context.get(), GuiRect{30, 30, 38, 34});
    EXPECT_EQ(at(31, 31), 0xFFFFFFu);
    EXPECT_EQ(at(35, 31), kPaper);
    bitmap->release();
}

TEST_F(Drawing, AnAllWhiteBitmapDrawnTransparentlyChangesNothing) {
    GuiBitmap* white = solidBitmap(64, 48, 0xFFFFFF);
    white->drawTransparent(context.get(), GuiRect{0, 0, 64, 48});
    EXPECT_EQ(inked(GuiRect{0, 0, 64, 48}), 0);
    white->release();
}

TEST_F(Drawing, UnloadableBitmapIsEmptyAndDrawsNothing) {
    FakePlatform platform;  // knows no resources
    GuiBitmap* missing = new GuiBitmap(1001);
    EXPECT_EQ(missing->getWidth(), 0);
    EXPECT_EQ(missing->getHeight(), 0);
    EXPECT_EQ(missing->getResourceId(), 1001);
    missing->draw(context.get(), GuiRect{0, 0, 64, 48});
    missing->drawTransparent(context.get(), GuiRect{0, 0, 64, 48});
    EXPECT_EQ(inked(GuiRect{0, 0, 64, 48}), 0);

    missing->addRef();
    EXPECT_EQ(missing->getRefCount(), 2);
    missing->release();
    missing->release();
}

// Records what reaches the canvas, to check the font table's resolution.
class RecordingCanvas : public GuiCanvas {
public:
    void setPen(const GuiColor&, int32_t, int32_t) override {}
    void setBrush(const GuiColor&) override {}
    void setTextColor(const GuiColor&) override {}
    void setFont(const GuiFontChoice& f) override { font = f; }
    void moveTo(const GuiPoint&) override {}
    void lineTo(const GuiPoint&) override {}
    void fillRect(const GuiRect&) override {}
    void drawText(const char* t, const GuiRect& r, int32_t a, bool o) override {
        text = t;
        rect = r;
        align = a;
        opaque = o;
    }
    void blit(const GuiBitmapImage&, const GuiRect&, const GuiPoint&) override {}
    void blitKeyed(const GuiBitmapImage&, const GuiRect&, const GuiPoint&, const GuiColor&) override {}

    GuiFontChoice font;
    std::string text;
    GuiRect rect;
    int32_t align = -1;
    bool opaque = false;
};

TEST(DrawContextFonts, FontTableAndTextFaces) {
    RecordingCanvas canvas;
    GuiDrawContext context(nullptr, &canvas, nullptr);

    context.setFont(9);  // out of range: font 0, Arial 12 bold
    EXPECT_EQ(context.getFont(), 0);
    EXPECT_EQ(context.getFontSize(), 12);
    EXPECT_STREQ(canvas.font.face, "Arial");
    EXPECT_TRUE(canvas.font.bold);

    context.setFont(4);
    EXPECT_EQ(canvas.font.height, 11);
    EXPECT_FALSE(canvas.font.bold);

    context.setFont(2, 20, kGuiBoldFace | kGuiItalicFace | kGuiUnderlineFace);
    EXPECT_EQ(canvas.font.height, 20);
    EXPECT_TRUE(canvas.font.bold && canvas.font.italic && canvas.font.underline);

    context.setFont(7);
    EXPECT_STREQ(canvas.font.face, "Symbol");
    EXPECT_TRUE(canvas.font.symbol);

    // Left text starts one pixel in; the others keep the rectangle.
    context.drawString("abc", GuiRect{10, 0, 50, 12}, true, 7);
    EXPECT_EQ(canvas.rect.left, 11);
    EXPECT_EQ(canvas.align, kGuiLeftText);
    EXPECT_TRUE(canvas.opaque);
    context.drawString("abc", GuiRect{10, 0, 50, 12}, false, kGuiRightText);
    EXPECT_EQ(canvas.rect.left, 10);
    canvas.text.clear();
    context.drawString(nullptr, GuiRect{10, 0, 50, 12});
    EXPECT_TRUE(canvas.text.empty());
}

TEST_F(Drawing, TextIsCentredClippedAndAligned) {
    context->setFont(4);
    context->setFontColor(kGuiWhite);
    const GuiRect box{4, 10, 60, 30};
    context->drawString("0.50", box, false, kGuiLeftText);
    const int left = inked(GuiRect{4, 10, 32, 30});
    const int right = inked(GuiRect{32, 10, 60, 30});
    EXPECT_GT(left, 0);
    EXPECT_EQ(right, 0);
    EXPECT_EQ(inked(GuiRect{0, 0, 64, 10}) + inked(GuiRect{0, 30, 64, 48}), 0);  // inside only

    fillSurface(image, kPaper);
    context->drawString("0.50", box, false, kGuiRightText);
    EXPECT_EQ(inked(GuiRect{4, 10, 32, 30}), 0);
    EXPECT_GT(inked(GuiRect{32, 10, 60, 30}), 0);

    // Opaque text fills its cell with the fill colour.
    fillSurface(image, kPaper);
    context->setFillColor(kGuiGreen);
    context->drawString("0.50", box, true, kGuiCenterText);
    int green = 0;
    for (int x = box.left; x < box.right; ++x) green += at(x, 20) == 0x00FF00u ? 1 : 0;
    EXPECT_GT(green, 0);

    // Bytes above 127 are Latin-1 text, not a reason to stop drawing.
    fillSurface(image, kPaper);
    context->drawString("\xB5s \xB0", box, false, kGuiCenterText);
    EXPECT_GT(inked(box), 0);
    EXPECT_EQ(cairo_status(canvas->context()), CAIRO_STATUS_SUCCESS);
}

#ifdef VELMORA_HAVE_CAIRO_FT
TEST_F(Drawing, ArialResolvesToLiberationSans) {
    context->setFont(3);
    cairo_scaled_font_t* font = cairo_get_scaled_font(canvas->context());
    ASSERT_EQ(cairo_scaled_font_get_type(font), CAIRO_FONT_TYPE_FT);
    FT_Face face = cairo_ft_scaled_font_lock_face(font);
    ASSERT_NE(face, nullptr);
    EXPECT_STREQ(face->family_name, "Liberation Sans");
    cairo_ft_scaled_font_unlock_face(font);
}
#endif

TEST(DrawContextPointer, WithoutAPointerNothingIsHeld) {
    GuiDrawContext context(nullptr, nullptr, nullptr);
    EXPECT_EQ(context.getMouseButtons(), 0);
    GuiPoint where{5, 5};
    context.getMouseLocation(where);
    EXPECT_EQ(where, (GuiPoint{0, 0}));
    // Drawing without a canvas is harmless.
    context.fillRect(GuiRect{0, 0, 10, 10});
    context.drawString("x", GuiRect{0, 0, 10, 10});
    EXPECT_EQ(context.getClipRect(), (GuiRect{0, 0, 1000, 1000}));
}

}  // namespace
