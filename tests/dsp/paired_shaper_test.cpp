// The paired curves against the one-channel shaper on the inputs where a
// branch-free version most easily goes wrong: signed zeros, NaN, infinities,
// denormals, the exact ends of every table and the points just around them.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "dsp/paired_shaper.h"
#include "dsp/shaper.h"

namespace {

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::vector<double> awkwardInputs(double scale, int last) {
    const double end = last / scale;
    std::vector<double> inputs = {0.0,
                                  -0.0,
                                  std::numeric_limits<double>::denorm_min(),
                                  -std::numeric_limits<double>::denorm_min(),
                                  std::numeric_limits<double>::quiet_NaN(),
                                  -std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::max(),
                                  -std::numeric_limits<double>::max(),
                                  1e300,
                                  1.0,
                                  -1.0,
                                  0.5 / scale,
                                  1.0 / scale};
    for (double e : {end, std::nextafter(end, 0.0), std::nextafter(end, 100.0), end + 1.0}) {
        inputs.push_back(e);
        inputs.push_back(-e);
    }
    for (int i = 1; i < 200; ++i) inputs.push_back(std::sin(i * 1.7) * end * 1.2);
    return inputs;
}

// Every pair of awkward inputs, each lane against the scalar function.
template <typename PairedCurve, typename ScalarCurve>
void expectLanesMatch(const std::vector<double>& inputs, PairedCurve paired, ScalarCurve scalar, const char* what) {
    for (size_t i = 0; i < inputs.size(); ++i) {
        const double left = inputs[i], right = inputs[(i * 7 + 3) % inputs.size()];
        const Pair result = paired(pair::make(left, right));
        EXPECT_TRUE(sameBits(pair::left(result), scalar(left))) << what << " left " << left;
        EXPECT_TRUE(sameBits(pair::right(result), scalar(right))) << what << " right " << right;
    }
}

}  // namespace

TEST(PairedShaper, EveryTableCurveMatchesTheScalarLookupBitForBit) {
    const ShaperTables& t = shaperTables();
    const SteppedShaperTables& stepped = steppedShaperTables();
    struct Table {
        const double* scalar;
        const double* stepped;
        double scale;
        int last;
    } tables[] = {{t.saturationTable1.data(), stepped.saturation1.data(), 1024.0, 8192},
                  {t.saturationTable2.data(), stepped.saturation2.data(), 2048.0, 8192},
                  {t.punchTable.data(), stepped.punch.data(), 1024.0, 8192},
                  {t.sinusTable.data(), stepped.sinus.data(), 1024.0, 8192},
                  {t.crackleTable.data(), stepped.crackle.data(), 2048.0, 4095}};
    for (const Table& table : tables) {
        const Pair scale = pair::broadcast(table.scale), last = pair::broadcast(table.last);
        expectLanesMatch(
            awkwardInputs(table.scale, table.last),
            [&](Pair x) { return paired_shaper::oddLookup(x, scale, last, table.stepped, table.stepped); },
            [&](double x) { return oddLookup(table.scalar, table.scale, table.last, x); }, "table");
    }
}

TEST(PairedShaper, HardClipAndSaturation3MatchTheScalarShaper) {
    const std::vector<double> inputs = awkwardInputs(1024.0, 8192);
    expectLanesMatch(inputs, paired_shaper::hardClip, hardClip, "HardClip");

    // Saturation3 through the band curve, with its DC blocker advancing in
    // step with the scalar one frame by frame.
    std::atomic<float> type{0.4f};
    paired_shaper::BandCurve curve(type.load());
    paired_shaper::PairedDcBlocker pairedDc;
    DcBlockerState scalarDc;
    const ShaperTables& tables = shaperTables();
    for (size_t i = 0; i < inputs.size(); ++i) {
        double left = inputs[i], right = inputs[(i * 5 + 1) % inputs.size()];
        const Pair result = curve.shape(type, pair::make(left, right), pairedDc);
        const double one = 1.0;
        shapeBand(left, right, one, one, one, 0.4f, scalarDc, tables);
        ASSERT_TRUE(sameBits(pair::left(result), left)) << "frame " << i;
        ASSERT_TRUE(sameBits(pair::right(result), right)) << "frame " << i;
        // A NaN reaches the blocker's state; both sides clear it alike.
        pairedDc.resetNonFiniteChannels();
        clearDcBlockerIfNotFinite(scalarDc);
    }
}

TEST(PairedShaper, ATypeChangeSwitchesTheCurveAtTheNextFrame) {
    std::atomic<float> type{0.0f};
    paired_shaper::BandCurve curve(type.load());
    paired_shaper::PairedDcBlocker dc;
    const Pair x = pair::make(2.5, -2.5);
    EXPECT_NE(pair::left(curve.shape(type, x, dc)), 1.0);  // Saturation1
    type = 0.5f;                                             // HardClip
    EXPECT_EQ(pair::left(curve.shape(type, x, dc)), 1.0);
    EXPECT_EQ(pair::right(curve.shape(type, x, dc)), -1.0);
    type = std::numeric_limits<float>::quiet_NaN();  // Crackler, as the scalar selection has it
    const ShaperTables& t = shaperTables();
    EXPECT_EQ(pair::left(curve.shape(type, x, dc)), t.crackleTable[4095]);
    type = 0.0f;
    EXPECT_EQ(pair::left(curve.shape(type, x, dc)), oddLookup(t.saturationTable1.data(), 1024.0, 8192, 2.5));
}
