// The steps the artwork is drawn at beyond 100 %: the editor's own list.
#pragma once

#include <array>

#include "gui/gui_scale.h"

inline constexpr std::array<int, 6> kScaledSteps = {125, 150, 175, 200, 250, 300};
static_assert(sizeof kGuiScaleSteps / sizeof kGuiScaleSteps[0] == kScaledSteps.size() + 1);
