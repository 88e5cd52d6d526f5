#include "distortion_editor.h"

#include <new>

#include "gui/gui_toolkit.h"
#include "value_texts.h"

namespace {

enum BitmapId : int32_t {
    kBackground = 1001,
    kSoloSwitch = 1002,
    kLargeKnob = 1003,
    kTypeKnob = 1004,
    kSmallKnob = 1005,
    kPostFilterSwitch = 1006,
    kAboutImage = 1007,
    kDisplayField = 1008,
};

enum class ControlKind { Knob, Switch };

struct ControlPlace {
    int32_t tag;
    ControlKind kind;
    int32_t bitmap;
    int32_t images;  // knob images used; switches hold two
    int32_t left, top;
};

// The panel's layout, in the order the controls are created.
constexpr ControlPlace kLayout[] = {
    {kCross1, ControlKind::Knob, kSmallKnob, 126, 158, 85},
    {kCross2, ControlKind::Knob, kSmallKnob, 126, 298, 85},
    {kPFilter, ControlKind::Switch, kPostFilterSwitch, 2, 223, 71},
    {kSolo1, ControlKind::Switch, kSoloSwitch, 2, 72, 112},
    {kSolo2, ControlKind::Switch, kSoloSwitch, 2, 212, 112},
    {kSolo3, ControlKind::Switch, kSoloSwitch, 2, 352, 112},
    {kMaster, ControlKind::Knob, kLargeKnob, 126, 48, 27},
    {kBalance1, ControlKind::Knob, kLargeKnob, 126, 48, 210},
    {kBalance2, ControlKind::Knob, kLargeKnob, 126, 188, 210},
    {kBalance3, ControlKind::Knob, kLargeKnob, 126, 328, 210},
    {kGain1, ControlKind::Knob, kLargeKnob, 126, 108, 210},
    {kGain2, ControlKind::Knob, kLargeKnob, 126, 248, 210},
    {kGain3, ControlKind::Knob, kLargeKnob, 126, 388, 210},
    {kLevel1, ControlKind::Knob, kLargeKnob, 126, 108, 139},
    {kLevel2, ControlKind::Knob, kLargeKnob, 126, 248, 139},
    {kLevel3, ControlKind::Knob, kLargeKnob, 126, 388, 139},
    {kType1, ControlKind::Knob, kTypeKnob, 7, 48, 139},
    {kType2, ControlKind::Knob, kTypeKnob, 7, 188, 139},
    {kType3, ControlKind::Knob, kTypeKnob, 7, 328, 139},
};

constexpr int32_t kLoadOrder[] = {kBackground, kSoloSwitch, kPostFilterSwitch, kSmallKnob,
                                  kLargeKnob,  kTypeKnob,   kAboutImage,       kDisplayField};
constexpr int32_t kBitmapCount = sizeof kLoadOrder / sizeof kLoadOrder[0];

constexpr GuiRect kDisplayPlace{176, 29, 0, 0};
constexpr GuiRect kLogoArea{353, 14, 460, 68};
constexpr GuiPoint kAboutImagePlace{96, 58};
constexpr int32_t kDisplayStyle = 1;
constexpr int32_t kDisplayFont = 4;

GuiRect placed(int32_t left, int32_t top, int32_t width, int32_t height) {
    return GuiRect{left, top, left + width, top + height};
}

}  // namespace

DistortionEditor::DistortionEditor(ParameterLink& link) : GuiEditorBase(link) { editorSize = {kWidth, kHeight}; }

DistortionEditor::~DistortionEditor() { close(); }

namespace {
// The panel's bitmaps while the editor is built: every view that uses one
// holds its own reference, so these are released on every way out.
class LoadedBitmaps {
public:
    LoadedBitmaps() {
        try {
            for (int32_t i = 0; i < kBitmapCount; ++i) bitmaps[i] = new GuiBitmap(kLoadOrder[i]);
        } catch (...) {
            releaseAll();  // no destructor runs for an object never made
            throw;
        }
    }
    ~LoadedBitmaps() { releaseAll(); }
    LoadedBitmaps(const LoadedBitmaps&) = delete;
    LoadedBitmaps& operator=(const LoadedBitmaps&) = delete;

    GuiBitmap* operator()(int32_t id) const {
        for (int32_t i = 0; i < kBitmapCount; ++i)
            if (kLoadOrder[i] == id) return bitmaps[i];
        return bitmaps[0];
    }

private:
    void releaseAll() {
        for (GuiBitmap* each : bitmaps)
            if (each) each->release();
    }

    GuiBitmap* bitmaps[kBitmapCount] = {};
};

// Hands a new view to the frame, or releases it and fails the open.
template <typename View>
View* added(GuiFrame& frame, View* view) {
    if (!frame.addView(view)) {
        view->release();
        throw std::bad_alloc();
    }
    return view;
}
}  // namespace

int32_t DistortionEditor::open(void* parentWindow) {
    // Called from the host's effEditOpen: whatever fails on the way (an
    // allocation, the window) leaves no half-open editor and nothing behind.
    try {
        return build(parentWindow) ? 1 : 0;
    } catch (...) {
        close();
        return 0;
    }
}

bool DistortionEditor::build(void* parentWindow) {
    GuiEditorBase::open(parentWindow);
    setKnobDragMode(2);
    // Changes made while closed are not shown: the controls read every value
    // anew below.
    forgetParameterChanges();
    windowOpen.store(true, std::memory_order_relaxed);

    const LoadedBitmaps bitmap;
    GuiBitmap* background = bitmap(kBackground);
    frame = new GuiFrame(GuiRect{0, 0, background->getWidth(), background->getHeight()}, parentWindow, this);
    if (parentWindow && !frame->getWindow()) {
        // No window in the host's (the class or the window could not be made).
        close();
        return false;
    }
    frame->setBackground(background);

    for (const ControlPlace& place : kLayout) {
        GuiBitmap* strip = bitmap(place.bitmap);
        GuiControl* control;
        if (place.kind == ControlKind::Knob) {
            const int32_t imageHeight = strip->getHeight() / place.images;
            control = new GuiAnimKnob(placed(place.left, place.top, strip->getWidth(), imageHeight), this, place.tag,
                                      place.images, imageHeight, strip, GuiPoint{0, 0});
        } else {
            control = new GuiOnOffButton(placed(place.left, place.top, strip->getWidth(), strip->getHeight() >> 1), this,
                                         place.tag, strip);
        }
        controls[place.tag] = added(*frame, control);
        control->setValue(getParameterLink().currentValue(place.tag));
    }

    GuiBitmap* field = bitmap(kDisplayField);
    auto* display = new GuiParamDisplay(placed(kDisplayPlace.left, kDisplayPlace.top, field->getWidth(), field->getHeight()),
                                        field, kDisplayStyle);
    display->setFont(kDisplayFont);
    display->setFontColor(kGuiBlack);
    valueDisplay = added(*frame, display);

    GuiBitmap* about = bitmap(kAboutImage);
    aboutBox = added(*frame, new GuiSplashScreen(kLogoArea, this, kAboutTag, about,
                                                 placed(kAboutImagePlace.h, kAboutImagePlace.v, about->getWidth(),
                                                        about->getHeight()),
                                                 GuiPoint{0, 0}));
    return true;
}

void DistortionEditor::close() {
    windowOpen.store(false, std::memory_order_relaxed);
    destroyFrame();
    clearControls();
    forgetParameterChanges();
}

void DistortionEditor::clearControls() {
    for (GuiControl*& control : controls) control = nullptr;
    valueDisplay = nullptr;
    aboutBox = nullptr;
}

void DistortionEditor::parameterChanged(int32_t index, float) {
    if (!windowOpen.load(std::memory_order_relaxed) || static_cast<uint32_t>(index) >= kNumParameters) return;
    changedParameters.fetch_or(1u << index, std::memory_order_relaxed);
    lastChangedParameter.store(index, std::memory_order_relaxed);
    requestUpdate();
}

void DistortionEditor::idle() {
    if (!insideDragIdle) applyParameterChanges();
    GuiEditorBase::idle();
}

void DistortionEditor::applyParameterChanges() {
    const uint32_t changed = changedParameters.exchange(0, std::memory_order_relaxed);
    const int32_t last = lastChangedParameter.exchange(-1, std::memory_order_relaxed);
    if (!frame) return;
    // The effect is asked again: it holds the value that was actually stored.
    for (int32_t index = 0; index < kNumParameters; ++index) {
        if (!(changed & (1u << index))) continue;
        if (GuiControl* control = controls[index]) control->setValue(getParameterLink().currentValue(index));
    }
    if (valueDisplay && static_cast<uint32_t>(last) < kNumParameters) {
        valueDisplay->setTextConverter(converterForParameter(last));
        valueDisplay->setValue(getParameterLink().currentValue(last));
    }
}

void DistortionEditor::forgetParameterChanges() {
    changedParameters.store(0, std::memory_order_relaxed);
    lastChangedParameter.store(-1, std::memory_order_relaxed);
}

void DistortionEditor::valueChanged(GuiDrawContext* context, GuiControl* control) {
    if (!control) return;
    const int32_t tag = control->getTag();
    if (static_cast<uint32_t>(tag) >= kNumParameters) return;
    getParameterLink().setValue(tag, control->getValue());
    // Without a drawing context (arrow keys) the next idle paints the control.
    if (context) control->update(context);
}
