// The texts CLAP and VST 3 hosts show for parameter values, in the units of
// core/host_units.h ("632 Hz", "3.50 kHz", "-6.0 dB", "-inf dB", "32 L",
// "HardClip", "On", "4x", "35 %"), and a reader that turns such a text (or
// a number typed by the user, with or without the unit) into a value that
// shows it.
#pragma once

#include <cstdint>

#include "core/host_parameters.h"

// False when the buffer cannot hold even the terminator.
bool writeHostValueText(const HostParameter& parameter, double value, char* text, uint32_t capacity);

// False when the text names no value of the parameter.
bool readHostValueText(const HostParameter& parameter, const char* text, double& value);
