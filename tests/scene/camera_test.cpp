#include "scene/camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr double kInitialTilt = 3.14159265;
constexpr double kInitialEyeZ = -2.0;

struct Camera {
    double rotation[9];
    double tilt = kInitialTilt, bank = 0, turn = 0;
    double eyeX = 0, eyeY = 0, eyeZ = kInitialEyeZ;
    int width = 640, height = 480;

    Point3 Project(const Point3& world) {
        BuildRotation(tilt, bank, turn, rotation);
        Point3 camera{}, screen{};
        RotateToCamera(rotation, world, camera);
        ProjectToScreen(camera, eyeX, eyeY, eyeZ, width, height, screen);
        return screen;
    }
};

// Naive 3x3 product, for comparing against the expanded formulas.
void Multiply(const double a[9], const double b[9], double out[9]) {
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            out[3 * r + c] = a[3 * r] * b[c] + a[3 * r + 1] * b[3 + c] + a[3 * r + 2] * b[6 + c];
}

bool IsWholeInt32(double v) {
    return std::isfinite(v) && v == std::trunc(v) && v >= -2147483648.0 && v <= 2147483647.0;
}

TEST(CameraRotation, InitialCameraIsNotAnExactDiagonal) {
    double m[9];
    BuildRotation(kInitialTilt, 0, 0, m);
    const double s = 3.5897930e-9;
    EXPECT_EQ(m[0], 1.0);
    EXPECT_EQ(m[1], 0.0);
    EXPECT_TRUE(std::signbit(m[1]));   // -0
    EXPECT_EQ(m[2], 0.0);
    EXPECT_FALSE(std::signbit(m[2]));  // +0
    EXPECT_EQ(m[3], 0.0);
    EXPECT_TRUE(std::signbit(m[3]));   // -0
    EXPECT_EQ(m[4], -1.0);
    EXPECT_NEAR(m[5], -s, 1e-16);
    EXPECT_EQ(m[6], 0.0);
    EXPECT_NEAR(m[7], s, 1e-16);
    EXPECT_EQ(m[8], -1.0);
}

TEST(CameraRotation, IsBankTimesTiltTimesTurn) {
    const double tilt = 0.7, bank = -0.4, turn = 1.3;
    const double rz[9] = {std::cos(turn), -std::sin(turn), 0, std::sin(turn), std::cos(turn), 0, 0, 0, 1};
    const double rx[9] = {1, 0, 0, 0, std::cos(tilt), -std::sin(tilt), 0, std::sin(tilt), std::cos(tilt)};
    const double b = -bank;
    const double ry[9] = {std::cos(b), 0, std::sin(b), 0, 1, 0, -std::sin(b), 0, std::cos(b)};
    double xz[9], expected[9], m[9];
    Multiply(rx, rz, xz);
    Multiply(ry, xz, expected);
    BuildRotation(tilt, bank, turn, m);
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(m[i], expected[i], 1e-15) << "element " << i;
}

TEST(CameraRotation, RowsAreAppliedInStorageOrder) {
    const double m[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    Point3 camera{};
    RotateToCamera(m, Point3{1, 10, 100}, camera);
    EXPECT_EQ(camera.x, 321.0);
    EXPECT_EQ(camera.y, 654.0);
    EXPECT_EQ(camera.z, 987.0);
}

TEST(CameraRotation, YAndZTermsAreSummedBeforeX) {
    // (1e16 + -1e16) + 1 is 1; summed from x first, the 1 is lost.
    const double m[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    Point3 camera{};
    RotateToCamera(m, Point3{1, 1e16, -1e16}, camera);
    EXPECT_EQ(camera.x, 1.0);
    EXPECT_EQ(camera.y, 1.0);
    EXPECT_EQ(camera.z, 1.0);
}

TEST(CameraProjection, InitialCameraPoints) {
    Camera cam;
    Point3 p = cam.Project({1, -10, 1});
    EXPECT_NEAR(p.z, 0.99999999964, 1e-11);
    EXPECT_EQ(p.x, 400.0);
    EXPECT_EQ(p.y, 319.0);  // 319.9999972 does not carry to 320

    p = cam.Project({0, -10, 0});
    EXPECT_EQ(p.z, 1.0);
    EXPECT_EQ(p.x, 320.0);
    EXPECT_EQ(p.y, 399.0);
}

TEST(CameraProjection, EyeOffsetIsInCameraSpace) {
    // Camera space point, eye (2, 3, -2): depth (13 - 3) * 0.1, offsets from the eye.
    Point3 screen{};
    ProjectToScreen(Point3{3, 13, 0}, 2, 3, -2, 640, 480, screen);
    EXPECT_EQ(screen.z, 1.0);
    EXPECT_EQ(screen.x, 400.0);
    EXPECT_EQ(screen.y, 400.0);
}

TEST(CameraProjection, OddClientSizeLosesItsHalfPixel) {
    Point3 screen{};
    ProjectToScreen(Point3{0, 5, kInitialEyeZ}, 0, 0, kInitialEyeZ, 641, 479, screen);
    EXPECT_EQ(screen.x, 320.0);
    EXPECT_EQ(screen.y, 239.0);
    // Three quarters of a pixel right of and below the centre: 320.75 and
    // 239.75 still truncate to the centre; halves of 320.5 and 239.5 would not.
    ProjectToScreen(Point3{1.5, 1600, kInitialEyeZ + 1.5}, 0, 0, kInitialEyeZ, 641, 479, screen);
    EXPECT_EQ(screen.x, 320.0);
    EXPECT_EQ(screen.y, 239.0);
}

TEST(CameraProjection, TruncatesTowardZero) {
    Point3 screen{};
    // Depth 160: offsets of -1 and -3 become -0.5 and -1.5 pixels.
    ProjectToScreen(Point3{-1, 1600, -3}, 0, 0, 0, 0, 0, screen);
    EXPECT_EQ(screen.z, 160.0);
    EXPECT_EQ(screen.x, 0.0);   // -0.5, not -1
    EXPECT_EQ(screen.y, -1.0);  // -1.5, not -2
    ProjectToScreen(Point3{3.8, 1600, 1}, 0, 0, 0, 2, 2, screen);
    EXPECT_EQ(screen.x, 2.0);  // 1.9 + 1
    EXPECT_EQ(screen.y, 1.0);  // 0.5 + 1
}

// Depth zero or below, NaN and huge coordinates: the depth is stored and the
// column and row are whole 32-bit values, without a trap (checked by UBSan).
TEST(CameraProjection, DegenerateInputsGiveDefinedColumnAndRow) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        Point3 camera;
        double expectedDepth;
    } cases[] = {
        {{1, 0, 1}, 0.0},           // 80 / 0 -> inf
        {{0, 0, kInitialEyeZ}, 0.0},  // 0 / 0 -> NaN
        {{1, -10, 1}, -1.0},        // behind the eye
        {{1e300, 10, -1e300}, 1.0},  // far out of range
        {{1, 1e-300, 1}, 1e-300 * 0.1},  // quotient beyond the 32-bit range
        {{inf, 10, -inf}, 1.0},
        {{nan, 10, nan}, 1.0},
    };
    for (const Case& c : cases) {
        Point3 screen{};
        ProjectToScreen(c.camera, 0, 0, kInitialEyeZ, 640, 480, screen);
        EXPECT_EQ(screen.z, c.expectedDepth);
        EXPECT_TRUE(IsWholeInt32(screen.x)) << screen.x;
        EXPECT_TRUE(IsWholeInt32(screen.y)) << screen.y;
    }
    Point3 screen{};
    ProjectToScreen(Point3{0, nan, 0}, 0, 0, 0, 640, 480, screen);
    EXPECT_TRUE(std::isnan(screen.z));
    EXPECT_TRUE(IsWholeInt32(screen.x));
    EXPECT_TRUE(IsWholeInt32(screen.y));
}

TEST(CameraProjection, LimitsOfThe32BitRange) {
    Point3 screen{};
    // Depth 1: the column is 80 * x exactly for these x.
    ProjectToScreen(Point3{2147483647.5 / 80, 10, 0}, 0, 0, 0, 0, 0, screen);
    EXPECT_EQ(screen.x, 2147483647.0);
    ProjectToScreen(Point3{-2147483648.75 / 80, 10, 0}, 0, 0, 0, 0, 0, screen);
    EXPECT_EQ(screen.x, -2147483648.0);
}

// The fast conversion and the portable one agree everywhere, also where no
// 32-bit result exists.
TEST(CameraProjection, TruncationPathsAgree) {
    const double inf = std::numeric_limits<double>::infinity();
    const double values[] = {0.0, -0.0, 0.5, -0.5, 0.9999999999999999, -1.5, 319.9999972,
                             2147483647.0, 2147483647.9, 2147483648.0, -2147483648.0,
                             -2147483648.9, -2147483649.0, 1e300, -1e300, inf, -inf,
                             std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::denorm_min()};
    for (double v : values) {
        const double fast = camera_detail::TruncateToInt32(v);
        EXPECT_EQ(fast, camera_detail::TruncateToInt32Portable(v)) << v;
        EXPECT_TRUE(IsWholeInt32(fast)) << v;
        if (v > -2147483649.0 && v < 2147483648.0) {
            EXPECT_EQ(fast, std::trunc(v)) << v;
        }
    }
}

// Fake keyboard: records the order of the queries, answers from a table.
std::vector<int> g_queried;
short g_state[256];

short FakeKeyState(int virtualKey) {
    g_queried.push_back(virtualKey);
    return g_state[virtualKey & 0xFF];
}

class CameraKeys : public ::testing::Test {
protected:
    void SetUp() override {
        g_queried.clear();
        for (short& s : g_state) s = 0;
    }
    double turn = 0, tilt = kInitialTilt, eyeY = 0;
};

TEST_F(CameraKeys, ReadsSixKeysInTableOrder) {
    ApplyCameraKeys(FakeKeyState, turn, tilt, eyeY);
    EXPECT_EQ(g_queried, (std::vector<int>{0x25, 0x27, 0x26, 0x28, 0x22, 0x21}));
    EXPECT_EQ(turn, 0.0);
    EXPECT_EQ(tilt, kInitialTilt);
    EXPECT_EQ(eyeY, 0.0);
}

TEST_F(CameraKeys, EachKeyChangesItsMember) {
    struct Case {
        int key;
        double turn, tilt, eyeY;
    } cases[] = {
        {0x25, -0.02, kInitialTilt, 0},  {0x27, 0.02, kInitialTilt, 0},
        {0x26, 0, kInitialTilt - 0.02, 0}, {0x28, 0, kInitialTilt + 0.02, 0},
        {0x22, 0, kInitialTilt, -0.1},   {0x21, 0, kInitialTilt, 0.1},
    };
    for (const Case& c : cases) {
        SetUp();
        turn = 0, tilt = kInitialTilt, eyeY = 0;
        g_state[c.key] = static_cast<short>(0x8000);  // down now
        ApplyCameraKeys(FakeKeyState, turn, tilt, eyeY);
        EXPECT_EQ(turn, c.turn) << c.key;
        EXPECT_EQ(tilt, c.tilt) << c.key;
        EXPECT_EQ(eyeY, c.eyeY) << c.key;
    }
}

TEST_F(CameraKeys, AnyNonZeroStateCounts) {
    g_state[0x21] = 1;  // pressed since the previous query only
    g_state[0x25] = static_cast<short>(0x8001);
    ApplyCameraKeys(FakeKeyState, turn, tilt, eyeY);
    EXPECT_EQ(eyeY, 0.1);
    EXPECT_EQ(turn, -0.02);
}

TEST_F(CameraKeys, OppositeKeysAreBothAppliedInTableOrder) {
    // A value where (t - 0.02) + 0.02 differs from t and from (t + 0.02) - 0.02.
    const double t = -0.12059910217812675;
    turn = t;
    tilt = t;
    g_state[0x25] = g_state[0x27] = g_state[0x26] = g_state[0x28] = 1;
    ApplyCameraKeys(FakeKeyState, turn, tilt, eyeY);
    EXPECT_EQ(turn, (t - 0.02) + 0.02);
    EXPECT_EQ(tilt, (t - 0.02) + 0.02);
    EXPECT_NE(turn, t);

    g_state[0x22] = g_state[0x21] = 1;
    eyeY = 0.3;
    ApplyCameraKeys(FakeKeyState, turn, tilt, eyeY);
    EXPECT_EQ(eyeY, (0.3 - 0.1) + 0.1);
}

TEST_F(CameraKeys, TenPageUpStepsMoveTheEyeForward) {
    g_state[0x21] = static_cast<short>(0x8000);
    Camera cam;
    for (int i = 0; i < 10; ++i) ApplyCameraKeys(FakeKeyState, cam.turn, cam.tilt, cam.eyeY);
    EXPECT_NEAR(cam.eyeY, 1.0, 1e-15);
    const Point3 p = cam.Project({0, -10, 2});
    EXPECT_NEAR(p.z, 0.9, 1e-8);
    EXPECT_LT(p.z, 0.9);
}

}  // namespace
