#include "scene/flake_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "tests/scene/test_flakes.h"

namespace {

// The fill's formulas, written out independently, for one flake from its six results.
Flake Expected(int r1, int r2, int r3, int r4, int r5, int r6) {
    Flake f;
    double m1 = r1 % 10000, m2 = r2 % 10000, m3 = r3 % 10000;
    double m4 = r4 % 10000, m5 = r5 % 10000, m6 = r6 % 10000;
    f.z = m1 * 0.0001 * 20.0;
    f.y = m2 * 0.0001 * 20.0 - 10.0;
    f.x = m3 * 0.0001 * 20.0 - 10.0;
    f.vz = m4 * 0.0001 * -0.2 - 0.1;
    f.vy = (m5 * 0.0001 - 0.5) * 0.1;
    f.vx = (m6 * 0.0001 - 0.5) * 0.1;
    return f;
}

void ExpectSameBits(const Flake& actual, const Flake& expected) {
    EXPECT_EQ(actual.x, expected.x);
    EXPECT_EQ(actual.y, expected.y);
    EXPECT_EQ(actual.z, expected.z);
    EXPECT_EQ(actual.vx, expected.vx);
    EXPECT_EQ(actual.vy, expected.vy);
    EXPECT_EQ(actual.vz, expected.vz);
}

}  // namespace

TEST(FlakeRandom, FollowsTheRuntimeRuleFromStateOne) {
    FlakeRandom random;
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464, 5705, 28145};
    for (int e : expected) EXPECT_EQ(random.Next(), e);
}

TEST(FlakeRandom, StaysInRangeAndWrapsTheState) {
    FlakeRandom random;
    random.state = 0xFFFFFFFFu;
    for (int i = 0; i < 100000; ++i) {
        int r = random.Next();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
    }
}

TEST(FlakeField, FirstSecondAndLastFlakeToTheLastBit) {
    std::vector<Flake> field = FilledField();
    ExpectSameBits(field[0], Expected(41, 18467, 6334, 26500, 19169, 15724));
    ExpectSameBits(field[1], Expected(11478, 29358, 26962, 24464, 5705, 28145));
    ExpectSameBits(field[kFlakeCount - 1], Expected(9621, 5687, 31389, 18488, 22000, 21598));

    EXPECT_NEAR(field[0].z, 0.082, 1e-12);
    EXPECT_NEAR(field[0].y, 6.934, 1e-12);
    EXPECT_NEAR(field[0].x, 2.668, 1e-12);
    EXPECT_NEAR(field[0].vz, -0.23, 1e-12);
    EXPECT_NEAR(field[0].vy, 0.04169, 1e-12);
    EXPECT_NEAR(field[0].vx, 0.00724, 1e-12);
    EXPECT_NEAR(field[kFlakeCount - 1].vy, -0.03, 1e-12);
}

TEST(FlakeField, UsesExactly120000ResultsAndIsTheSameEveryTime) {
    FlakeRandom random;
    std::vector<Flake> a(kFlakeCount);
    FillFlakes(a.data(), kFlakeCount, random);
    FlakeRandom counted;
    for (int i = 0; i < 6 * kFlakeCount; ++i) counted.Next();
    EXPECT_EQ(random.state, counted.state);

    std::vector<Flake> b = FilledField();
    for (int i = 0; i < kFlakeCount; ++i) ExpectSameBits(a[i], b[i]);
}

TEST(FlakeField, ResultsThatAreMultiplesOf10000GiveTheLowBounds) {
    Flake f = Expected(0, 10000, 20000, 30000, 0, 10000);
    EXPECT_EQ(f.z, 0.0);
    EXPECT_EQ(f.y, -10.0);
    EXPECT_EQ(f.x, -10.0);
    EXPECT_EQ(f.vz, -0.1);
    EXPECT_EQ(f.vy, -0.05);
    EXPECT_EQ(f.vx, -0.05);
}

TEST(FlakeField, FillRangesHold) {
    for (const Flake& f : FilledField()) {
        // The decimal bounds, give or take the last bits of the double arithmetic.
        const double e = 1e-12;
        ASSERT_TRUE(f.x >= -10 && f.x <= 9.998 + e);
        ASSERT_TRUE(f.y >= -10 && f.y <= 9.998 + e);
        ASSERT_TRUE(f.z >= 0 && f.z <= 19.998 + e);
        ASSERT_TRUE(f.vx >= -0.05 && f.vx <= 0.04999 + e);
        ASSERT_TRUE(f.vy >= -0.05 && f.vy <= 0.04999 + e);
        ASSERT_TRUE(f.vz >= -0.29998 - e && f.vz <= -0.1);
    }
}

TEST(FlakeAdvance, FirstFlakeFallsAndWrapsInTheFourthStep) {
    Flake f = FilledField()[0];
    const double z0 = f.z;
    double z = z0;
    for (int step = 0; step < 3; ++step) {
        f.Advance();
        z = z + 0.1 * f.vz;
        EXPECT_EQ(f.z, z);
    }
    EXPECT_NEAR(f.z, 0.013, 1e-12);
    f.Advance();
    EXPECT_NEAR(f.z, 19.99, 1e-12);
    EXPECT_EQ(f.z, (z + 0.1 * f.vz) + 20);
}

TEST(FlakeAdvance, BoundsAreNotMovedAndJustPastThemWraps) {
    Flake on = FlakeAt(10, -10, 0);
    on.Advance();
    EXPECT_EQ(on.x, 10.0);
    EXPECT_EQ(on.y, -10.0);
    EXPECT_EQ(on.z, 0.0);

    Flake top = FlakeAt(-10, 10, 20);
    top.Advance();
    EXPECT_EQ(top.x, -10.0);
    EXPECT_EQ(top.y, 10.0);
    EXPECT_EQ(top.z, 20.0);

    Flake past = FlakeAt(10.001, 10.001, 20.001);
    past.Advance();
    EXPECT_NEAR(past.x, -9.999, 1e-12);
    EXPECT_NEAR(past.y, -9.999, 1e-12);
    EXPECT_NEAR(past.z, 0.001, 1e-12);

    Flake below = FlakeAt(-10.001, -10.001, -0.01);
    below.Advance();
    EXPECT_NEAR(below.x, 9.999, 1e-12);
    EXPECT_NEAR(below.y, 9.999, 1e-12);
    EXPECT_NEAR(below.z, 19.99, 1e-12);
}

TEST(FlakeAdvance, MovesByATenthOfTheVelocityProductFirst) {
    Flake f = FlakeAt(1, 2, 3, 0.03, -0.04, -0.2);
    f.Advance();
    EXPECT_EQ(f.x, 1 + 0.1 * 0.03);
    EXPECT_EQ(f.y, 2 + 0.1 * -0.04);
    EXPECT_EQ(f.z, 3 + 0.1 * -0.2);
    EXPECT_EQ(f.vx, 0.03);
    EXPECT_EQ(f.vy, -0.04);
    EXPECT_EQ(f.vz, -0.2);
}

TEST(FlakeAdvance, NaNTakesTheLowerWrap) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Flake f = FlakeAt(nan, nan, nan);
    f.Advance();  // NaN + 20 is still NaN; what matters is no trap and no upper wrap
    EXPECT_TRUE(std::isnan(f.x));
    EXPECT_TRUE(std::isnan(f.z));
}

TEST(FlakeAdvance, FieldStaysInItsBoxOverManySteps) {
    std::vector<Flake> field = FilledField();
    for (int step = 0; step < 1000; ++step) {
        AdvanceFlakes(field.data(), kFlakeCount);
        for (const Flake& f : field) {
            ASSERT_TRUE(f.x >= -10 && f.x <= 10);
            ASSERT_TRUE(f.y >= -10 && f.y <= 10);
            ASSERT_TRUE(f.z >= 0 && f.z <= 20);
        }
    }
}

TEST(FlakeAdvance, AdvanceFlakesStepsEveryFlakeOnce) {
    std::vector<Flake> field = FilledField();
    std::vector<Flake> single = field;
    AdvanceFlakes(field.data(), kFlakeCount);
    for (Flake& f : single) f.Advance();
    for (int i = 0; i < kFlakeCount; ++i) ExpectSameBits(field[i], single[i]);
}

// The paired step and the one written coordinate by coordinate agree to the
// last bit on every kind of value: bounds and their neighbours, signed zeros,
// NaN, infinities, huge and tiny values, and the filled field over many steps.
TEST(FlakeAdvance, PairedStepMatchesTheStepAsWritten) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double positions[] = {0.0, -0.0, 10.0, -10.0, 20.0, std::nextafter(10.0, 11.0),
                                std::nextafter(-10.0, -11.0), std::nextafter(0.0, -1.0),
                                std::nextafter(20.0, 21.0), 9.99999, -9.99999, 19.99999, 30.5, -30.5,
                                1e300, -1e300, inf, -inf, nan,
                                std::numeric_limits<double>::denorm_min()};
    const double velocities[] = {0.0, -0.0, 0.05, -0.05, -0.3, 1e-320, 1e301, -inf, nan};
    auto sameBits = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    for (double p : positions) {
        for (double q : positions) {
            for (double v : velocities) {
                Flake paired = FlakeAt(p, q, p, v, -v, v);
                Flake written = paired;
                paired.Advance();
                flake_detail::AdvancePortable(written);
                ASSERT_TRUE(sameBits(paired.x, written.x)) << p << " " << q << " " << v;
                ASSERT_TRUE(sameBits(paired.y, written.y)) << p << " " << q << " " << v;
                ASSERT_TRUE(sameBits(paired.z, written.z)) << p << " " << q << " " << v;
            }
        }
    }

    std::vector<Flake> field = FilledField();
    std::vector<Flake> written = field;
    for (int step = 0; step < 300; ++step) {
        AdvanceFlakes(field.data(), kFlakeCount);
        for (Flake& f : written) flake_detail::AdvancePortable(f);
    }
    for (int i = 0; i < kFlakeCount; ++i) ExpectSameBits(field[i], written[i]);
}
