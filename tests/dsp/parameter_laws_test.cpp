#include "dsp/parameter_laws.h"

#include <gtest/gtest.h>

TEST(ParameterLaws, EndpointsAndWorkedValues) {
    EXPECT_NEAR(laws::crossoverFrequency(0.0f), 20.0, 1e-12);
    EXPECT_NEAR(laws::crossoverFrequency(1.0f), 20000.0, 1e-9);
    EXPECT_NEAR(laws::crossoverFrequency(0.5f), 632.4555, 1e-4);
    EXPECT_NEAR(laws::drive(0.25f), 1.0, 1e-12);
    EXPECT_NEAR(laws::drive(0.0f), 0.1, 1e-15);
    EXPECT_EQ(laws::level(0.0f), 0.0);
    EXPECT_NEAR(laws::level(1.0f), 1.0, 1e-14);
    EXPECT_NEAR(laws::level(0.5f), 0.084863, 1e-6);
    EXPECT_NEAR(laws::level(0.9f), 0.621777, 1e-6);
}

TEST(ParameterLaws, BalanceAndSwitchThresholds) {
    EXPECT_EQ(laws::balanceLeft(0.0f), 1.0);
    EXPECT_EQ(laws::balanceRight(0.0f), 0.0);
    EXPECT_EQ(laws::balanceLeft(1.0f), 0.0);
    EXPECT_EQ(laws::balanceRight(1.0f), 1.0);
    EXPECT_EQ(laws::balanceLeft(0.5f), 1.0);
    EXPECT_EQ(laws::balanceRight(0.5f), 1.0);
    EXPECT_EQ(laws::balanceLeft(0.75f), 0.5);
    EXPECT_FALSE(laws::soloOn(0.5f));
    EXPECT_TRUE(laws::postFilterOn(0.5f));
}

TEST(ParameterLaws, DesignFrequencyStaysBelowHalfTheSampleRate) {
    EXPECT_EQ(laws::designableFrequency(20000.0, 44100.0), 20000.0);
    EXPECT_EQ(laws::designableFrequency(20000.0, 32000.0), 0.49 * 32000.0);
    EXPECT_EQ(laws::designableFrequency(NAN, 8000.0), 1.0);
    // At a sample rate of 1 Hz even the 1 Hz floor must be capped.
    EXPECT_EQ(laws::designableFrequency(0.0, 1.0), 0.49);
    EXPECT_EQ(laws::usableSampleRate(0.0f), 44100.0);
    EXPECT_EQ(laws::usableSampleRate(500.0f), 500.0);
    EXPECT_EQ(laws::usableSampleRate(96000.0f), 96000.0);
}
