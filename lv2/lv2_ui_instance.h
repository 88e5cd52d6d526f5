// One LV2 UI: the plug-in's own editor, embedded in the host's window and
// driven by the host's idle calls and port events.
#pragma once

#include <lv2/ui/ui.h>

#include <memory>

#include "editor/distortion_editor.h"
#include "lv2/lv2_analyser_receiver.h"
#include "lv2/lv2_ui_parameter_link.h"

class Lv2UiInstance {
public:
    // Null when the host gives no parent window or the editor cannot open.
    static std::unique_ptr<Lv2UiInstance> create(LV2UI_Write_Function write, LV2UI_Controller controller,
                                                 const LV2_Feature* const* features);
    ~Lv2UiInstance();
    Lv2UiInstance(const Lv2UiInstance&) = delete;
    Lv2UiInstance& operator=(const Lv2UiInstance&) = delete;

    // The editor's child window, which the host embeds.
    LV2UI_Widget widget() const;
    void portEvent(uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer);
    // Shows the changes noted since the last call and repaints; 0 while the
    // window is there.
    int idle();

private:
    Lv2UiInstance(LV2UI_Write_Function write, LV2UI_Controller controller, const LV2UI_Touch* touch,
                  const LV2_URID_Map* map);

    Lv2UiParameterLink link;
    Lv2AnalyserReceiver analyser;
    DistortionEditor editor;
};
