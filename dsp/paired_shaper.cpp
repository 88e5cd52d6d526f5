#include "paired_shaper.h"

#include "shaper_tables.h"

namespace {

// Entry i and the step to entry i + 1, side by side. The step is the same
// double the lookup would compute as T[i+1] - T[i]; past the last entry it
// is 0, and it is read there only with a zero fraction.
template <size_t N>
std::vector<double> entriesWithSteps(const std::array<double, N>& table) {
    std::vector<double> pairs;
    pairs.reserve(2 * N);
    for (size_t i = 0; i < N; ++i) {
        pairs.push_back(table[i]);
        pairs.push_back(i + 1 < N ? table[i + 1] - table[i] : 0.0);
    }
    return pairs;
}

SteppedShaperTables buildStepped() {
    const ShaperTables& t = shaperTables();
    return {entriesWithSteps(t.saturationTable1), entriesWithSteps(t.saturationTable2),
            entriesWithSteps(t.punchTable), entriesWithSteps(t.sinusTable), entriesWithSteps(t.crackleTable)};
}

}  // namespace

const SteppedShaperTables& steppedShaperTables() {
    static const SteppedShaperTables tables = buildStepped();
    return tables;
}

namespace paired_shaper {

void BandCurve::select(float typeValue) {
    uint32_t typeBits;
    std::memcpy(&typeBits, &typeValue, sizeof typeBits);
    const SteppedShaperTables& t = steppedShaperTables();
    auto useTable = [this](const std::vector<double>& entries, double perUnit, double lastIndex) {
        kind = CurveKind::Table;
        table = entries.data();
        scale = pair::broadcast(perUnit);
        last = pair::broadcast(lastIndex);
    };
    switch (shaperTypeFor(typeValue)) {
        case ShaperType::Saturation1: useTable(t.saturation1, 1024.0, 8192.0); break;
        case ShaperType::Saturation2: useTable(t.saturation2, 2048.0, 8192.0); break;
        case ShaperType::Saturation3:
            kind = CurveKind::Asymmetric;
            table = t.saturation1.data();
            negativeTable = t.saturation2.data();
            scale = pair::broadcast(1024.0);
            negativeScale = pair::broadcast(2048.0);
            last = pair::broadcast(8192.0);
            break;
        case ShaperType::HardClip: kind = CurveKind::Clip; break;
        case ShaperType::Puncher: useTable(t.punch, 1024.0, 8192.0); break;
        case ShaperType::Sinus: useTable(t.sinus, 1024.0, 8192.0); break;
        case ShaperType::Crackler: useTable(t.crackle, 2048.0, 4095.0); break;
    }
    const uint64_t never = (uint64_t{1} << 32) | typeBits;
    tableCurveKey = kind == CurveKind::Table ? typeBits : never;
    clipCurveKey = kind == CurveKind::Clip ? typeBits : never;
    asymmetricCurveKey = kind == CurveKind::Asymmetric ? typeBits : never;
}

}  // namespace paired_shaper
