// Where the editor's scale step comes from: the first source that gives a
// factor wins, and the factor is snapped to the nearest step (never below
// 100 %). Hosts that pass a scale (an LV2 option, a CLAP call) come first,
// then the VELMORA_UI_SCALE variable for hosts that pass none (and tests),
// then the desktop's own scaling.
#pragma once

#include <cstdint>

// hostFactor and desktopFactor are 0 when unknown; environment may be null.
int32_t chooseScaleStep(double hostFactor, const char* environment, double desktopFactor);
