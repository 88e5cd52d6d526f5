#include "dsp/shaper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct Shaped {
    double left, right;
};

Shaped shape(double left, double right, float type, DcBlockerState& dc, double leftGain = 1.0,
             double rightGain = 1.0, double bandGain = 1.0) {
    shapeBand(left, right, leftGain, rightGain, bandGain, type, dc, shaperTables());
    return {left, right};
}

double shapeOne(double x, float type) {
    DcBlockerState dc;
    return shape(x, x, type, dc).left;
}

}  // namespace

TEST(ShaperType, ThresholdBoundariesBelongToTheUpperType) {
    EXPECT_EQ(shaperTypeFor(0.0f), ShaperType::Saturation1);
    EXPECT_EQ(shaperTypeFor(-0.5f), ShaperType::Saturation1);
    EXPECT_EQ(shaperTypeFor(std::nextafter(0.1666f, 0.0f)), ShaperType::Saturation1);
    EXPECT_EQ(shaperTypeFor(0.1666f), ShaperType::Saturation2);
    EXPECT_EQ(shaperTypeFor(0.3333f), ShaperType::Saturation3);
    EXPECT_EQ(shaperTypeFor(0.5f), ShaperType::HardClip);
    EXPECT_EQ(shaperTypeFor(0.6666f), ShaperType::Puncher);
    EXPECT_EQ(shaperTypeFor(0.8333f), ShaperType::Sinus);
    EXPECT_EQ(shaperTypeFor(0.9998f), ShaperType::Sinus);
    EXPECT_EQ(shaperTypeFor(0.9999f), ShaperType::Crackler);
    EXPECT_EQ(shaperTypeFor(1.0f), ShaperType::Crackler);
    EXPECT_EQ(shaperTypeFor(7.0f), ShaperType::Crackler);
}

TEST(Shaper, CurvesGiveTheirReferenceValues) {
    EXPECT_EQ(shapeOne(0.5, 0.5f), 0.5);
    EXPECT_EQ(shapeOne(1.0, 0.5f), 1.0);
    EXPECT_EQ(shapeOne(1.5, 0.5f), 1.0);
    EXPECT_EQ(shapeOne(-2.0, 0.5f), -1.0);
    EXPECT_EQ(shapeOne(-INFINITY, 0.5f), -1.0);

    EXPECT_EQ(shapeOne(1.0, 0.7f), 1.0);
    EXPECT_EQ(shapeOne(-1.0, 0.7f), -1.0);
    EXPECT_NEAR(shapeOne(10.0, 0.7f), 0.007295055724436128, 1e-14);

    EXPECT_EQ(shapeOne(1.0, 0.9f), 1.0);
    EXPECT_NEAR(shapeOne(1.0 + 1.0 / 1.15, 0.9f), 0.0, 1e-5);

    EXPECT_NEAR(shapeOne(4.0, 0.2f), 0.9988717466570641, 1e-14);
    EXPECT_NEAR(shapeOne(100.0, 0.2f), 0.9988717466570641, 1e-14);
    EXPECT_NEAR(shapeOne(-100.0, 0.2f), -0.9988717466570641, 1e-14);
    EXPECT_NEAR(shapeOne(100.0, 0.0f), 2.617919818348418, 1e-14);
}

TEST(Shaper, ZeroInputOnATableCurveGivesNegativeZero) {
    // (Saturation3's DC blocker turns -0 + 0 into +0, so it is not among them.)
    for (float type : {0.0f, 0.2f, 0.7f, 0.9f, 1.0f}) {
        const double y = shapeOne(0.0, type);
        EXPECT_EQ(y, 0.0) << type;
        EXPECT_TRUE(std::signbit(y)) << type;
    }
}

TEST(Shaper, Saturation3IsAsymmetricAndSharesOneDcBlocker) {
    DcBlockerState fresh;
    EXPECT_NEAR(shape(8.0, 8.0, 0.4f, fresh).left, 2.617919818348418, 1e-14);
    DcBlockerState fresh2;
    EXPECT_NEAR(shape(-4.0, -4.0, 0.4f, fresh2).left, -0.9988717466570641, 1e-14);

    // A second band using the same state sees the first band's history.
    DcBlockerState shared;
    shape(8.0, 8.0, 0.4f, shared);
    const double secondBand = shape(8.0, 8.0, 0.4f, shared).left;
    EXPECT_NEAR(secondBand, 2.617919818348418 * kDcBlockerCoefficient, 1e-12);

    // Another curve leaves the state alone.
    DcBlockerState untouched;
    shape(0.3, 0.3, 0.0f, untouched);
    EXPECT_EQ(untouched.prevInLeft, 0.0);
    EXPECT_EQ(untouched.prevOutRight, 0.0);
}

TEST(Shaper, GainsAreAppliedBeforeTheCurvePerChannel) {
    DcBlockerState dc;
    const Shaped out = shape(1.5, 0.4, 0.5f, dc, 0.5, 1.0, 2.0);
    EXPECT_EQ(out.left, 1.0);
    EXPECT_DOUBLE_EQ(out.right, 0.8);
}

TEST(Shaper, NonFiniteSamplesAndTypesStayInsideTheTables) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const float nanType = std::numeric_limits<float>::quiet_NaN();
    DcBlockerState dc;
    for (float type : {0.0f, 0.2f, 0.4f, 0.7f, 0.9f, 1.0f, nanType, INFINITY, -INFINITY}) {
        for (double x : {nan, double(INFINITY), double(-INFINITY), 1e300, -1e300}) {
            const Shaped out = shape(x, x, type, dc);  // must not read outside a table (ASan)
            if (!std::isnan(x) && type == 0.0f) {
                EXPECT_EQ(std::fabs(out.left), shaperTables().saturationTable1[8192]);
            }
        }
    }
    EXPECT_NEAR(oddLookup(shaperTables().crackleTable.data(), 2048.0, 4095, 100.0), shaperTables().crackleTable[4095],
                0.0);
}
