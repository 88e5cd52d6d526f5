#include "gui_test_support.h"

#include <cstring>

#include "gui/x11/cairo_bitmap_image.h"
#include "gui/x11/cairo_canvas.h"

// ---- pointer script ---------------------------------------------------------

void ScriptedPointer::script(std::vector<PointerStep> newSteps) {
    steps = std::move(newSteps);
    next = 0;
}

int32_t ScriptedPointer::buttons() { return next < steps.size() ? steps[next].buttons : 0; }

GuiPoint ScriptedPointer::location() {
    if (steps.empty()) return GuiPoint{};
    const GuiPoint where = steps[std::min(next, steps.size() - 1)].where;
    if (next < steps.size()) ++next;
    return where;
}

std::vector<PointerStep> dragScript(int32_t buttons, GuiPoint from, std::vector<GuiPoint> path) {
    std::vector<PointerStep> steps{{buttons, from}};
    for (const GuiPoint& p : path) steps.push_back({buttons, p});
    const GuiPoint last = path.empty() ? from : path.back();
    steps.push_back({buttons, last});  // held at the end for one more pass
    steps.push_back({buttons & ~kGuiLButton, last});
    return steps;
}

// ---- platform ------------------------------------------------------------------

FakeWindow::FakeWindow(int32_t width, int32_t height, GuiWindowClient& owner)
    : client(owner), surface(solidSurface(width, height, 0x123456)) {}

FakeWindow::~FakeWindow() { cairo_surface_destroy(surface); }

std::unique_ptr<GuiCanvas> FakeWindow::makeCanvas() {
    ++canvasesMade;
    return std::make_unique<CairoCanvas>(surface);
}

void FakeWindow::queueExpose(const GuiRect& r) { pending.push_back(Event{false, r, {}}); }

void FakeWindow::queuePress(const GuiPoint& where, std::vector<PointerStep> steps) {
    pending.push_back(Event{true, GuiRect{where.h, where.v, where.h, where.v}, std::move(steps)});
}

void FakeWindow::deliver(Event& event) {
    CairoCanvas canvas(surface);
    if (event.press) {
        ++pressesDelivered;
        scripted.script(std::move(event.steps));
        insidePress = true;
        client.windowPress(canvas, scripted, GuiPoint{event.rect.left, event.rect.top});
        insidePress = false;
    } else {
        ++paintsDelivered;
        client.windowPaint(canvas, scripted, event.rect);
    }
}

void FakeWindow::processEvents() {
    // Presses wait while one is being handled, as on the real window.
    std::deque<Event> kept;
    while (!pending.empty()) {
        Event event = std::move(pending.front());
        pending.pop_front();
        if (event.press && insidePress) {
            kept.push_back(std::move(event));
            continue;
        }
        deliver(event);
    }
    pending = std::move(kept);
}

void FakeWindow::processPendingPaint() {
    std::deque<Event> kept;
    while (!pending.empty()) {
        Event event = std::move(pending.front());
        pending.pop_front();
        if (event.press) {
            kept.push_back(std::move(event));
        } else {
            deliver(event);
        }
    }
    pending = std::move(kept);
}

FakePlatform::FakePlatform() : previous(setGuiPlatform(this)) {}

FakePlatform::~FakePlatform() {
    setGuiPlatform(previous);
    for (auto& [id, image] : bitmaps) cairo_surface_destroy(image);
}

std::unique_ptr<GuiWindow> FakePlatform::createWindow(void* parent, int32_t width, int32_t height, GuiScale,
                                                      GuiWindowClient& client) {
    if (!parent) return nullptr;
    auto window = std::make_unique<FakeWindow>(width, height, client);
    lastWindow = window.get();
    ++windowsCreated;
    return window;
}

std::unique_ptr<GuiBitmapImage> FakePlatform::loadBitmap(int32_t resourceId, int32_t) {
    auto it = bitmaps.find(resourceId);
    if (it == bitmaps.end()) return nullptr;
    return CairoBitmapImage::fromSurface(it->second);
}

void FakePlatform::addBitmap(int32_t id, cairo_surface_t* image) {
    cairo_surface_reference(image);
    if (auto it = bitmaps.find(id); it != bitmaps.end()) cairo_surface_destroy(it->second);
    bitmaps[id] = image;
}

// ---- effect, host and editor ---------------------------------------------------

std::vector<HostCall>& hostCalls() {
    static std::vector<HostCall> calls;
    return calls;
}

VstIntPtr VST_CALLBACK recordingHost(AEffect*, int32_t opcode, int32_t index, VstIntPtr, void*,
                                     float opt) {
    hostCalls().push_back(HostCall{opcode, index, opt});
    if (hostHook()) hostHook()(opcode);
    return opcode == audioMasterVersion ? 2400 : 1;
}

std::function<void(int32_t)>& hostHook() {
    static std::function<void(int32_t)> hook;
    return hook;
}

std::vector<HostCall> callsOf(int32_t opcode) {
    std::vector<HostCall> out;
    for (const HostCall& call : hostCalls()) {
        if (call.opcode == opcode) out.push_back(call);
    }
    return out;
}

TestEffect::TestEffect() : PluginBaseExt(recordingHost, 1, kParams) {}

void TestEffect::setParameter(int32_t index, float value) {
    if (index < 0 || index >= kParams) return;
    values[index] = value;
    if (editor) editor->parameterChanged(index, value);
}

float TestEffect::getParameter(int32_t index) {
    return (index >= 0 && index < kParams) ? values[index] : 0.0f;
}

TestEditor::TestEditor(TestEffect* owner, GuiRect frameSize)
    : GuiEditorBase(owner->link), effect(owner), size(frameSize) {
    editorSize = {size.right, size.bottom};
    effect->registerEditor(this);
}

TestEditor::~TestEditor() { destroyFrame(); }

int32_t TestEditor::open(void* parent) {
    GuiEditorBase::open(parent);
    setKnobDragMode(kGuiLinearMode);
    frame = new GuiFrame(size, parent, this);
    if (build) build(*frame, *this);
    return 1;
}

void TestEditor::close() {
    ++closes;
    destroyFrame();
}

void TestEditor::valueChanged(GuiDrawContext* context, GuiControl* control) {
    changed.push_back(control);
    if (control->getTag() >= 0 && control->getTag() < TestEffect::kParams) {
        effect->setParameterAutomated(control->getTag(), control->getValue());
    }
    control->update(context);
}

// ---- images --------------------------------------------------------------------

uint32_t pixelAt(cairo_surface_t* image, int x, int y) {
    cairo_surface_flush(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    uint32_t pixel;
    std::memcpy(&pixel, data + y * stride + x * 4, sizeof pixel);
    return pixel & 0x00FFFFFFu;
}

void fillSurface(cairo_surface_t* image, uint32_t rgb) {
    cairo_t* cr = cairo_create(image);
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                         (rgb & 0xFF) / 255.0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(image);
}

cairo_surface_t* solidSurface(int width, int height, uint32_t rgb) {
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    fillSurface(image, rgb);
    return image;
}

uint32_t stripColour(int image) {
    return (static_cast<uint32_t>(image & 0xFF) << 16) | 0x4080u;
}

cairo_surface_t* stripSurface(int width, int imageHeight, int count) {
    cairo_surface_t* strip = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, imageHeight * count);
    cairo_t* cr = cairo_create(strip);
    for (int k = 0; k < count; ++k) {
        const uint32_t c = stripColour(k);
        cairo_set_source_rgb(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                             (c & 0xFF) / 255.0);
        cairo_rectangle(cr, 0, k * imageHeight, width, imageHeight);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(strip);
    return strip;
}

GuiBitmap* bitmapFrom(cairo_surface_t* image) {
    return new GuiBitmap(CairoBitmapImage::fromSurface(image));
}

GuiBitmap* solidBitmap(int width, int height, uint32_t rgb) {
    cairo_surface_t* image = solidSurface(width, height, rgb);
    GuiBitmap* bitmap = bitmapFrom(image);
    cairo_surface_destroy(image);
    return bitmap;
}

namespace {
void put16(std::vector<unsigned char>& out, std::size_t at, uint32_t v) {
    out[at] = static_cast<unsigned char>(v);
    out[at + 1] = static_cast<unsigned char>(v >> 8);
}
void put32(std::vector<unsigned char>& out, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

std::vector<unsigned char> bmpHeader(int width, int height, int bits, int paletteSize,
                                     bool topDown, std::size_t& pixelOffset, int& stride) {
    stride = ((width * bits + 31) / 32) * 4;
    pixelOffset = 14 + 40 + static_cast<std::size_t>(paletteSize) * 4;
    std::vector<unsigned char> out(pixelOffset + static_cast<std::size_t>(stride) * height, 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<uint32_t>(out.size()));
    put32(out, 10, static_cast<uint32_t>(pixelOffset));
    put32(out, 14, 40);
    put32(out, 18, static_cast<uint32_t>(width));
    put32(out, 22, static_cast<uint32_t>(topDown ? -height : height));
    put16(out, 26, 1);
    put16(out, 28, static_cast<uint32_t>(bits));
    put32(out, 46, static_cast<uint32_t>(paletteSize));
    return out;
}
}  // namespace

std::vector<unsigned char> makeBmp24(int width, int height, const std::vector<uint32_t>& rgb,
                                     bool topDown) {
    std::size_t offset;
    int stride;
    auto out = bmpHeader(width, height, 24, 0, topDown, offset, stride);
    for (int y = 0; y < height; ++y) {
        const int fileRow = topDown ? y : height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const uint32_t c = rgb[static_cast<std::size_t>(y * width + x)];
            unsigned char* p = out.data() + offset + fileRow * stride + x * 3;
            p[0] = static_cast<unsigned char>(c);
            p[1] = static_cast<unsigned char>(c >> 8);
            p[2] = static_cast<unsigned char>(c >> 16);
        }
    }
    return out;
}

std::vector<unsigned char> makeBmp8(int width, int height, const std::vector<uint32_t>& palette,
                                    const std::vector<uint8_t>& indices, bool topDown) {
    std::size_t offset;
    int stride;
    auto out = bmpHeader(width, height, 8, static_cast<int>(palette.size()), topDown, offset, stride);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        unsigned char* p = out.data() + 54 + i * 4;
        p[0] = static_cast<unsigned char>(palette[i]);
        p[1] = static_cast<unsigned char>(palette[i] >> 8);
        p[2] = static_cast<unsigned char>(palette[i] >> 16);
    }
    for (int y = 0; y < height; ++y) {
        const int fileRow = topDown ? y : height - 1 - y;
        for (int x = 0; x < width; ++x) {
            out[offset + fileRow * stride + x] = indices[static_cast<std::size_t>(y * width + x)];
        }
    }
    return out;
}
