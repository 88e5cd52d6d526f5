// Draws a tone's spectrum as a PNG: level in dB over frequency, harmonics and
// aliases in their own colours over the grey noise floor, with the
// alias-to-harmonic ratio in the caption.
#pragma once

#include <string>

#include "host/spectrum_analysis.h"

// Leaves either the complete file or nothing; throws HostError.
void writeSpectrumPng(const ToneSpectrum& spectrum, const std::string& caption, const std::string& path);
