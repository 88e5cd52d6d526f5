// The texts CLAP and VST 3 hosts show for parameter values, and the way back: the
// same display-and-label texts as VST 2 ("632.5 Hz", "-oo dB", "On",
// "Saturation1"; Quality's "Normal" to "8x"), and a reader that turns such
// a text (or a number typed by the user, with or without the unit) into a
// value that shows it.
#pragma once

#include <cstdint>

#include "core/host_parameters.h"

// False when the buffer cannot hold even the terminator.
bool writeHostValueText(const HostParameter& parameter, double value, char* text, uint32_t capacity);

// False when the text names no value of the parameter.
bool readHostValueText(const HostParameter& parameter, const char* text, double& value);
