#include "dsp/shaper_tables.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(ShaperTables, ReferenceRowsMatch) {
    const ShaperTables& t = shaperTables();
    struct Row {
        const double* table;
        double e1, e1024, e2048, e4096, last;
    };
    const Row rows[] = {
        {t.saturationTable1.data(), 0.0012979448043691844, 1.1848454277463782, 1.8453612313496448,
         2.3731668532484753, 2.617919818348418},
        {t.saturationTable2.data(), 0.0006499425384734226, 0.48753356944349535, 0.763589897406891,
         0.9583445923598898, 0.9988717466570641},
        {t.punchTable.data(), 0.002651981007926653, 1.0, 0.7357588823428846, 0.19914827347145575,
         0.007295055724436128},
        {t.sinusTable.data(), 0.0015339801862847655, 1.0, 0.05449673790581594, 0.4217827674798839,
         0.9938441702975691},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.table[0], 0.0);
        EXPECT_NEAR(r.table[1], r.e1, 1e-14);
        EXPECT_NEAR(r.table[1024], r.e1024, 1e-14);
        EXPECT_NEAR(r.table[2048], r.e2048, 1e-14);
        EXPECT_NEAR(r.table[4096], r.e4096, 1e-14);
        EXPECT_NEAR(r.table[8192], r.last, 1e-14);
    }
    EXPECT_EQ(t.punchTable[1024], 1.0);
    EXPECT_EQ(t.sinusTable[1024], 1.0);
}

TEST(ShaperTables, ShapesHaveTheirCharacteristicFeatures) {
    const ShaperTables& t = shaperTables();
    const auto peak = std::max_element(t.saturationTable1.begin(), t.saturationTable1.end());
    EXPECT_EQ(peak - t.saturationTable1.begin(), 8162);
    EXPECT_NEAR(*peak, 2.617928395470244, 1e-14);
    EXPECT_TRUE(std::is_sorted(t.saturationTable2.begin(), t.saturationTable2.end()));
    EXPECT_TRUE(std::adjacent_find(t.punchTable.begin() + 1024, t.punchTable.end(),
                                   [](double a, double b) { return b >= a; }) == t.punchTable.end());
    EXPECT_LT(t.sinusTable[1914], 1e-6);
    EXPECT_GT(t.sinusTable[2805], 0.9999999);
}

TEST(ShaperTables, CrackleFactorsAreBoundedFixedAndUniformLooking) {
    const ShaperTables& t = shaperTables();
    EXPECT_EQ(t.crackleTable[0], 0.0);
    double factorSum = 0.0;
    for (int i = 1; i <= ShaperTables::kCrackleLast; ++i) {
        const double ramp = i / 2048.0;
        ASSERT_GE(t.crackleTable[i], 0.0) << i;
        ASSERT_LT(t.crackleTable[i], ramp) << i;
        factorSum += t.crackleTable[i] / ramp;
    }
    EXPECT_NEAR(factorSum / ShaperTables::kCrackleLast, 0.5, 0.03);
    EXPECT_EQ(&shaperTables(), &t);  // one shared set per process
}
