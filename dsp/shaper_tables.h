// Transfer tables holding the positive half of every table-driven curve. Built
// once per process (the effect constructor asks for them, so they exist before
// any audio callback) and shared read-only by every instance.
#pragma once

#include <array>

struct ShaperTables {
    static constexpr int kMainLast = 8192;
    static constexpr int kCrackleLast = 4096;

    std::array<double, kMainLast + 1> saturationTable1;  // x = i/1024
    std::array<double, kMainLast + 1> saturationTable2;  // x = i/2048
    std::array<double, kMainLast + 1> punchTable;        // x = i/1024
    std::array<double, kMainLast + 1> sinusTable;        // x = i/1024
    std::array<double, kCrackleLast + 1> crackleTable;   // x = i/2048
};

// The generating curve of both saturation tables; asymmetric.
double saturationCurve(double u);

const ShaperTables& shaperTables();
