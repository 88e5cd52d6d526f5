#include "paired_shaper.h"

#include "shaper_tables.h"

namespace {

template <size_t N>
std::vector<double> padded(const std::array<double, N>& table) {
    std::vector<double> copy(table.begin(), table.end());
    copy.push_back(table.back());  // read only with a zero fraction
    return copy;
}

PaddedShaperTables buildPadded() {
    const ShaperTables& t = shaperTables();
    return {padded(t.saturationTable1), padded(t.saturationTable2), padded(t.punchTable), padded(t.sinusTable),
            padded(t.crackleTable)};
}

}  // namespace

const PaddedShaperTables& paddedShaperTables() {
    static const PaddedShaperTables tables = buildPadded();
    return tables;
}

namespace paired_shaper {

void BandCurve::select(float typeValue) {
    std::memcpy(&typeBits, &typeValue, sizeof typeBits);
    const PaddedShaperTables& t = paddedShaperTables();
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
    tableCurveKey = kind == CurveKind::Table ? typeBits : (uint64_t{1} << 32) | typeBits;
}

}  // namespace paired_shaper
