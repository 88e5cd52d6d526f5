#include "shaper_tables.h"

#include <cmath>
#include <cstdint>
#include <memory>

double saturationCurve(double u) {
    const double w = 0.686306 * u;
    const double a = 1.0 + std::exp(-0.75 * std::sqrt(std::fabs(w)));
    return (std::exp(w) - std::exp(-a * w)) / (std::exp(w) + std::exp(-w));
}

namespace {

// A fixed seeded sequence: the same grain on every run and in every instance.
class CrackleFactors {
public:
    double next() {
        state += 0x9E3779B97F4A7C15ull;
        uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return static_cast<double>(z >> 11) * 0x1.0p-53;  // uniform in [0, 1)
    }

private:
    uint64_t state = 0x5665'6C6D'6F72'6121ull;
};

std::unique_ptr<ShaperTables> buildTables() {
    constexpr double pi = 3.141592653589793;
    auto tables = std::make_unique<ShaperTables>();
    for (int i = 0; i <= ShaperTables::kMainLast; ++i) {
        const double x1024 = i / 1024.0;
        const double x2048 = i / 2048.0;
        tables->saturationTable1[i] = -saturationCurve(-1.3 * x1024);
        tables->saturationTable2[i] = saturationCurve(1.3 * x2048);
        tables->punchTable[i] = x1024 * std::exp(1.0 - x1024);
        tables->sinusTable[i] = x1024 <= 1.0 ? std::sin(pi / 2.0 * x1024)
                                             : (1.0 + std::cos(1.15 * pi * (x1024 - 1.0))) / 2.0;
    }
    CrackleFactors factors;
    for (int i = 0; i <= ShaperTables::kCrackleLast; ++i) {
        const double factor = factors.next();
        tables->crackleTable[i] = (i / 2048.0) * factor;
    }
    // Exact anchor values the curves are defined by.
    tables->saturationTable1[0] = tables->saturationTable2[0] = 0.0;
    tables->punchTable[0] = tables->sinusTable[0] = tables->crackleTable[0] = 0.0;
    tables->punchTable[1024] = 1.0;
    tables->sinusTable[1024] = 1.0;
    return tables;
}

}  // namespace

const ShaperTables& shaperTables() {
    static const std::unique_ptr<ShaperTables> tables = buildTables();
    return *tables;
}
