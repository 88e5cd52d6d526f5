// The GUI toolkit in one include: views and controls, the frame, knobs,
// switch, value display, about box, drawing context and bitmaps, the editor
// base, and the platform seam they all sit on.
#pragma once

#include "gui_anim_knob.h"
#include "gui_bitmap.h"
#include "gui_control.h"
#include "gui_draw_context.h"
#include "gui_editor_base.h"
#include "gui_frame.h"
#include "gui_image_view.h"
#include "gui_knob.h"
#include "gui_on_off_button.h"
#include "gui_param_display.h"
#include "gui_platform.h"
#include "gui_segment_selector.h"
#include "gui_splash_screen.h"
#include "gui_types.h"
#include "gui_value_format.h"
#include "gui_view.h"
