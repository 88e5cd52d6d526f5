// The texts of the editor's one-line value display: one converter per kind of
// parameter, each writing a short text with its unit into a 256-byte buffer.
#pragma once

void freqToText(float value, char* text);
void onOffToText(float value, char* text);
void balanceToText(float value, char* text);
void gainToText(float value, char* text);
void typeToText(float value, char* text);
void levelToText(float value, char* text);
// The footer's values, in their link units (see extended_parameters.h).
void qualityToText(float setting, char* text);
void mixToText(float value, char* text);

using ValueTextConverter = void (*)(float value, char* text);

// The converter that shows the parameter with this index (the 19, then
// Quality, Mix and Bypass), or null past those.
ValueTextConverter converterForParameter(int index);
