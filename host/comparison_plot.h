// Two long-term spectra side by side in one PNG (the input's and a
// plug-in's output), each panel with a title and lines of settings, the
// input drawn faintly behind the output for reference.
#pragma once

#include <string>
#include <vector>

#include "host/average_spectrum.h"

struct SpectrumPanel {
    std::string title;
    std::vector<std::string> lines;  // small print under the title
    AverageSpectrum spectrum;
};

// Leaves either the complete file or nothing; throws HostError.
void writeComparisonPng(const SpectrumPanel& input, const SpectrumPanel& output, const std::string& path);
