#include "dsp/band_split_filter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Steady-state amplitude of an output fed a unit sine at `frequency`.
double sineGain(BandSplitFilter filter, double frequency, double rate, double (*output)(const BandSplitFilter&)) {
    const double pi = 3.141592653589793;
    double peak = 0.0;
    const int settle = 20000, measure = 4000;
    for (int n = 0; n < settle + measure; ++n) {
        filter.processSample(std::sin(2.0 * pi * frequency * n / rate));
        if (n >= settle) peak = std::max(peak, std::fabs(output(filter)));
    }
    return peak;
}

double low(const BandSplitFilter& f) { return f.lowOutput(); }
double high(const BandSplitFilter& f) { return f.highOutput(); }
double sum(const BandSplitFilter& f) { return f.lowOutput() + f.highOutput(); }

}  // namespace

TEST(BandSplitFilter, DesignAt1kHzGivesReferenceCoefficientsAndImpulseResponse) {
    BandSplitFilter filter;
    filter.design(1000.0, 1.0, 44100.0);
    EXPECT_NEAR(filter.getAllpass1Coeff(), -0.86678843949963524, 1e-15);
    EXPECT_NEAR(filter.getAllpass2Coeff0(), 0.86741858578502939, 1e-15);
    EXPECT_NEAR(filter.getAllpass2Coeff1(), -1.8484969161333196, 1e-15);

    const double expectedLow[] = {0.000315073, 0.00180073, 0.00505660, 0.00983484};
    const double expectedHigh[] = {-0.867104, 0.246877, 0.210494, 0.177002};
    for (int n = 0; n < 4; ++n) {
        filter.processSample(n == 0 ? 1.0 : 0.0);
        EXPECT_NEAR(filter.lowOutput(), expectedLow[n], 1e-8) << "sample " << n;
        EXPECT_NEAR(filter.highOutput(), expectedHigh[n], 1e-6) << "sample " << n;
    }
}

TEST(BandSplitFilter, QuarterSampleRateMakesFirstSectionAPureDelay) {
    BandSplitFilter filter;
    filter.design(11025.0, 1.0, 44100.0);
    EXPECT_NEAR(filter.getAllpass1Coeff(), 0.0, 1e-15);
    EXPECT_NEAR(filter.getAllpass2Coeff1(), 0.0, 1e-15);
    EXPECT_NEAR(filter.getAllpass2Coeff0(), 1.0 / 3.0, 1e-15);
}

TEST(BandSplitFilter, NewFilterIsSilentAndDcSettlesToLowOutput) {
    BandSplitFilter filter;
    filter.processSample(0.0);
    EXPECT_EQ(filter.lowOutput(), 0.0);
    EXPECT_EQ(filter.highOutput(), 0.0);

    filter.design(500.0, 1.0, 48000.0);
    for (int n = 0; n < 20000; ++n) filter.processSample(1.0);
    EXPECT_NEAR(filter.lowOutput(), 1.0, 1e-9);
    EXPECT_NEAR(filter.highOutput(), 0.0, 1e-9);
}

TEST(BandSplitFilter, OutputsAreMinus3dBAtSplitAndSumToAnAllpass) {
    BandSplitFilter filter;
    filter.design(1000.0, 1.0, 44100.0);
    EXPECT_NEAR(sineGain(filter, 1000.0, 44100.0, low), std::sqrt(0.5), 2e-3);
    EXPECT_NEAR(sineGain(filter, 1000.0, 44100.0, high), std::sqrt(0.5), 2e-3);
    for (double f : {50.0, 400.0, 3000.0, 15000.0}) EXPECT_NEAR(sineGain(filter, f, 44100.0, sum), 1.0, 2e-3) << f;
    // Third-order slopes: two octaves away the other side is far down.
    EXPECT_LT(sineGain(filter, 4000.0, 44100.0, low), 0.02);
    EXPECT_LT(sineGain(filter, 250.0, 44100.0, high), 0.02);
}

TEST(BandSplitFilter, RedesignKeepsStateAndContinuesTheRecursion) {
    BandSplitFilter a, b;
    a.design(800.0, 1.0, 44100.0);
    b.design(800.0, 1.0, 44100.0);
    for (int n = 0; n < 10; ++n) {
        a.processSample(n % 3 - 1.0);
        b.processSample(n % 3 - 1.0);
    }
    a.design(2000.0, 1.0, 44100.0);
    BandSplitFilter designed;
    designed.design(2000.0, 1.0, 44100.0);
    b.copyCoefficientsFrom(designed);
    a.processSample(0.5);
    b.processSample(0.5);
    EXPECT_EQ(a.lowOutput(), b.lowOutput());
    EXPECT_NE(a.lowOutput(), designed.lowOutput());
}
