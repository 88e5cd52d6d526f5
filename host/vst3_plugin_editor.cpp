// The VST 3 plug-in's editor view, opened in the order hosts use: createView,
// isPlatformTypeSupported, setFrame, the content scale, getSize, then
// attached once the window exists; removed and release to close. The window
// loop's idle services the run loop and delivers edits and restarts.
#include <cstdint>

#include "host/vst3_plugin.h"
#include "host/vst3_query.h"

namespace {

#if defined(_WIN32)
constexpr const char* kPlatformType = vvst3::kPlatformTypeHWND;
#else
constexpr const char* kPlatformType = vvst3::kPlatformTypeX11EmbedWindowID;
#endif

}  // namespace

bool Vst3Plugin::createView() {
    if (view_ != nullptr) return true;
    if (controller_ == nullptr) return false;
    view_ = controller_->createView(vvst3::kEditorViewType);
    if (view_ == nullptr) return false;
    if (view_->isPlatformTypeSupported(kPlatformType) != vvst3::kResultTrue) {
        view_->release();
        view_ = nullptr;
        return false;
    }
    return true;
}

void Vst3Plugin::prepareView() {
    if (viewPrepared_) return;
    viewPrepared_ = true;
    view_->setFrame(&frame_);
    // Only a scale asked for: otherwise the plug-in finds the desktop's.
    if (editorScale_ <= 0.0) return;
    auto* scale = queryAs<vvst3::IPlugViewContentScaleSupport>(view_);
    if (scale == nullptr) return;
    scale->setContentScaleFactor(static_cast<vvst3::ScaleFactor>(editorScale_));
    scale->release();
}

bool Vst3Plugin::hasEditor() { return createView(); }

std::optional<EditorSize> Vst3Plugin::editorSize() {
    if (!createView()) return std::nullopt;
    prepareView();
    vvst3::ViewRect rect{};
    if (view_->getSize(&rect) != vvst3::kResultOk) return std::nullopt;
    const int64_t width = int64_t{rect.right} - rect.left;
    const int64_t height = int64_t{rect.bottom} - rect.top;
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) return std::nullopt;
    return EditorSize{static_cast<int>(width), static_cast<int>(height)};
}

bool Vst3Plugin::openEditor(void* parentWindow) {
    if (!createView()) return false;
    prepareView();
    if (view_->attached(parentWindow, kPlatformType) != vvst3::kResultOk) {
        closeEditor();
        return false;
    }
    viewAttached_ = true;
    return true;
}

void Vst3Plugin::idleEditor() {
    context_.serviceRunLoop();
    // Last, so edits made in a timer or handler reach the processor this tick.
    flushIfDue();
    restartIfAsked();
}

void Vst3Plugin::closeEditor() {
    if (view_ == nullptr) return;
    if (viewAttached_) view_->removed();
    view_->release();
    view_ = nullptr;
    viewAttached_ = false;
    viewPrepared_ = false;
}
