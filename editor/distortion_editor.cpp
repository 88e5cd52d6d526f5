#include "distortion_editor.h"

#include <cmath>
#include <new>

#include "analyser_view.h"
#include "core/quality_choice.h"
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
    kFooterStrip = 1009,
    kQualitySelector = 1010,
    kBypassSwitch = 1011,
    kAnalyserPlate = 1012,
};

enum class ControlKind { Knob, Switch, Selector };

struct ControlPlace {
    int32_t tag;
    ControlKind kind;
    int32_t bitmap;
    int32_t images;  // knob images used; switches hold two; selectors one per choice
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

// The footer's controls, their tops relative to the footer's.
constexpr ControlPlace kFooterLayout[] = {
    {kQualityIndex, ControlKind::Selector, kQualitySelector, kQualitySettings, 80, 13},
    {kMixIndex, ControlKind::Knob, kSmallKnob, 126, 306, 5},
    {kBypassIndex, ControlKind::Switch, kBypassSwitch, 2, 396, 13},
};

// The analyser's screen on its plate (relative to the plate's top).
constexpr GuiRect kAnalyserScreen{24, 8, 460, 112};

// The panel's bitmaps first, then the footer's, then the analyser's: an
// editor loads only those of the strips it shows.
constexpr int32_t kLoadOrder[] = {kBackground,  kSoloSwitch,   kPostFilterSwitch, kSmallKnob,
                                  kLargeKnob,   kTypeKnob,     kAboutImage,       kDisplayField,
                                  kFooterStrip, kQualitySelector, kBypassSwitch,  kAnalyserPlate};
constexpr int32_t kBitmapCount = sizeof kLoadOrder / sizeof kLoadOrder[0];
constexpr int32_t kPanelBitmapCount = 8;
constexpr int32_t kFooterBitmapCount = 3;

constexpr GuiRect kDisplayPlace{176, 29, 0, 0};
constexpr GuiRect kLogoArea{353, 14, 460, 68};
constexpr GuiPoint kAboutImagePlace{96, 58};
constexpr int32_t kDisplayStyle = 1;
constexpr int32_t kDisplayFont = 4;

GuiRect placed(int32_t left, int32_t top, int32_t width, int32_t height) {
    return GuiRect{left, top, left + width, top + height};
}

// The Quality selector spreads the four settings over its 0..1; every other
// control shows the link's value as it is.
float controlValue(int32_t index, float linkValue) {
    if (index != kQualityIndex) return linkValue;
    return static_cast<float>(nearestQuality(linkValue)) / static_cast<float>(kQualitySettings - 1);
}

float linkValue(int32_t index, float controlValue) {
    if (index == kQualityIndex) return std::round(controlValue * static_cast<float>(kQualitySettings - 1));
    if (index == kBypassIndex) return controlValue != 0.0f ? 1.0f : 0.0f;
    return controlValue;
}

GuiControl* makeControl(const ControlPlace& place, GuiBitmap* strip, GuiControlListener* listener) {
    const int32_t width = strip->getWidth();
    if (place.kind == ControlKind::Knob) {
        const int32_t imageHeight = strip->getHeight() / place.images;
        return new GuiAnimKnob(placed(place.left, place.top, width, imageHeight), listener, place.tag, place.images,
                               imageHeight, strip, GuiPoint{0, 0});
    }
    if (place.kind == ControlKind::Switch)
        return new GuiOnOffButton(placed(place.left, place.top, width, strip->getHeight() >> 1), listener, place.tag,
                                  strip);
    return new GuiSegmentSelector(placed(place.left, place.top, width, strip->getHeight() / place.images), listener,
                                  place.tag, place.images, strip);
}

}  // namespace

DistortionEditor::DistortionEditor(ParameterLink& link, EditorFooter withFooter)
    : DistortionEditor(EditorServices{link, nullptr, withFooter, nullptr}) {}

DistortionEditor::DistortionEditor(const EditorServices& services)
    : GuiEditorBase(services.link),
      footer(services.footer),
      analysis(services.analysis),
      footerTop(analysis ? kHeight + kAnalyserHeight : kHeight) {
    editorSize = {kWidth, footer == EditorFooter::None ? footerTop : footerTop + kFooterHeight};
}

int32_t DistortionEditor::shownParameters() const {
    return footer == EditorFooter::None ? kNumParameters : kNumExtendedParameters;
}

DistortionEditor::~DistortionEditor() { close(); }

namespace {
// The panel's bitmaps while the editor is built: every view that uses one
// holds its own reference, so these are released on every way out.
class LoadedBitmaps {
public:
    LoadedBitmaps(bool footer, bool analyser, GuiScale scale) {
        try {
            for (int32_t i = 0; i < kBitmapCount; ++i) {
                const bool ofFooter = i >= kPanelBitmapCount && i < kPanelBitmapCount + kFooterBitmapCount;
                const bool ofAnalyser = i >= kPanelBitmapCount + kFooterBitmapCount;
                if ((ofFooter && !footer) || (ofAnalyser && !analyser)) continue;
                bitmaps[i] = new GuiBitmap(kLoadOrder[i], scale);
            }
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
            if (kLoadOrder[i] == id && bitmaps[i]) return bitmaps[i];
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

    const LoadedBitmaps bitmap(footer != EditorFooter::None, analysis != nullptr, getScale());
    GuiBitmap* background = bitmap(kBackground);
    frame = new GuiFrame(GuiRect{0, 0, editorSize.width, editorSize.height}, parentWindow, this, getScale());
    if (parentWindow && !frame->getWindow()) {
        // No window in the host's (the class or the window could not be made).
        close();
        return false;
    }
    frame->setBackground(background);

    const auto addControl = [&](const ControlPlace& place) {
        GuiControl* control = added(*frame, makeControl(place, bitmap(place.bitmap), this));
        controls[place.tag] = control;
        control->setValue(controlValue(place.tag, getParameterLink().currentValue(place.tag)));
    };
    for (const ControlPlace& place : kLayout) addControl(place);
    if (analysis) addAnalyser(bitmap(kAnalyserPlate));
    if (footer != EditorFooter::None) {
        GuiBitmap* strip = bitmap(kFooterStrip);
        added(*frame, new GuiImageView(placed(0, footerTop, strip->getWidth(), strip->getHeight()), strip));
        for (ControlPlace place : kFooterLayout) {
            place.top += footerTop;
            addControl(place);
        }
        controls[kMixIndex]->setDefaultValue(kMixDefault);
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

void DistortionEditor::addAnalyser(GuiBitmap* plate) {
    added(*frame, new GuiImageView(placed(0, kHeight, plate->getWidth(), plate->getHeight()), plate));
    GuiRect screen = kAnalyserScreen;
    screen.offset(0, kHeight);
    analyserView = added(*frame, new AnalyserView(screen, this, *analysis, getParameterLink()));
    analyserView->tick(guiPlatform().tickCount());
    // The audio side starts handing its sound over only now.
    analysis->setListening(true);
}

void DistortionEditor::close() {
    if (analysis) analysis->setListening(false);
    windowOpen.store(false, std::memory_order_relaxed);
    destroyFrame();
    clearControls();
    forgetParameterChanges();
}

void DistortionEditor::clearControls() {
    for (GuiControl*& control : controls) control = nullptr;
    analyserView = nullptr;
    valueDisplay = nullptr;
    aboutBox = nullptr;
}

void DistortionEditor::parameterChanged(int32_t index, float) {
    if (!windowOpen.load(std::memory_order_relaxed) || index < 0 || index >= shownParameters()) return;
    changedParameters.fetch_or(1u << index, std::memory_order_relaxed);
    lastChangedParameter.store(index, std::memory_order_relaxed);
    requestUpdate();
}

void DistortionEditor::idle() {
    if (!insideDragIdle) {
        applyParameterChanges();
        if (analyserView) analyserView->tick(guiPlatform().tickCount());
    }
    GuiEditorBase::idle();
}

void DistortionEditor::applyParameterChanges() {
    const uint32_t changed = changedParameters.exchange(0, std::memory_order_relaxed);
    const int32_t last = lastChangedParameter.exchange(-1, std::memory_order_relaxed);
    if (!frame) return;
    // The effect is asked again: it holds the value that was actually stored.
    for (int32_t index = 0; index < shownParameters(); ++index) {
        if (!(changed & (1u << index))) continue;
        if (GuiControl* control = controls[index])
            control->setValue(controlValue(index, getParameterLink().currentValue(index)));
    }
    if (valueDisplay && last >= 0 && last < shownParameters()) {
        valueDisplay->setTextConverter(converterForParameter(last));
        valueDisplay->setValue(getParameterLink().currentValue(last));
    }
}

void DistortionEditor::forgetParameterChanges() {
    changedParameters.store(0, std::memory_order_relaxed);
    lastChangedParameter.store(-1, std::memory_order_relaxed);
}

void DistortionEditor::valueChanged(GuiDrawContext* context, GuiControl* control) {
    if (!control || control == aboutBox) return;
    const int32_t tag = control->getTag();
    if (tag < 0 || tag >= shownParameters()) return;
    ParameterLink& link = getParameterLink();
    if (tag == kQualityIndex || tag == kBypassIndex) {
        // A click is a whole gesture: hosts that record gestures see one.
        link.beginEdit(tag);
        link.setValue(tag, linkValue(tag, control->getValue()));
        link.endEdit(tag);
    } else {
        link.setValue(tag, linkValue(tag, control->getValue()));
    }
    // Without a drawing context (arrow keys) the next idle paints the control.
    if (context) control->update(context);
}
