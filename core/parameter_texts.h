// The texts a host shows for each parameter: its name, the display text of a
// value and the unit label. Every format shows these same texts.
#pragma once

#include <cstdint>

// Name and unit label from the parameter table; "" for an index that is no
// parameter.
const char* parameterName(int32_t index);
const char* parameterLabel(int32_t index);

// The display text of a value, without its label ("632.5", "On",
// "Saturation1"); at most kHostTextSize bytes (number_text.h) whatever the
// value. Writes nothing for an index that is no parameter.
void writeParameterDisplay(int32_t index, float value, char* text);

// Display text and label as one string ("632.5 Hz", "-oo dB", "On"), for
// formats that show a value in one field.
inline constexpr int kParameterValueTextSize = 32;
void writeParameterValueText(int32_t index, float value, char (&text)[kParameterValueTextSize]);
