#include "scene/flake_quad.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// World to screen with the initial camera on a 640 x 480 client area.
Point3 ProjectInitial(const Point3& world) {
    double m[9];
    BuildRotation(3.14159265, 0, 0, m);
    Point3 camera{}, screen{};
    RotateToCamera(m, world, camera);
    ProjectToScreen(camera, 0, 0, -2.0, 640, 480, screen);
    return screen;
}

void ExpectCorners(const QuadVertex q[4], float left, float top, float right, float bottom) {
    const float sx[4] = {left, right, right, left};
    const float sy[4] = {top, top, bottom, bottom};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(q[i].sx, sx[i]) << "vertex " << i;
        EXPECT_EQ(q[i].sy, sy[i]) << "vertex " << i;
    }
}

TEST(FlakeVisibility, BoundsAreInclusive) {
    const int w = 640, h = 480;
    EXPECT_TRUE(IsFlakeVisible({0, 0, 0.1}, w, h));    // depth exactly 0.1
    EXPECT_TRUE(IsFlakeVisible({640, 480, 1}, w, h));  // column == width, row == height
    EXPECT_TRUE(IsFlakeVisible({640, 0, 1}, w, h));
    EXPECT_TRUE(IsFlakeVisible({0, 480, 1}, w, h));
    EXPECT_FALSE(IsFlakeVisible({-1, 0, 1}, w, h));
    EXPECT_FALSE(IsFlakeVisible({0, -1, 1}, w, h));
    EXPECT_FALSE(IsFlakeVisible({641, 0, 1}, w, h));
    EXPECT_FALSE(IsFlakeVisible({0, 481, 1}, w, h));
    EXPECT_FALSE(IsFlakeVisible({320, 240, std::nextafter(0.1, 0.0)}, w, h));
}

TEST(FlakeVisibility, NothingAtOrBehindTheEye) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(IsFlakeVisible({320, 240, 0.0}, 640, 480));
    EXPECT_FALSE(IsFlakeVisible({320, 240, -0.0}, 640, 480));
    EXPECT_FALSE(IsFlakeVisible({320, 240, -1.0}, 640, 480));
    EXPECT_FALSE(IsFlakeVisible({320, 240, nan}, 640, 480));
    EXPECT_FALSE(IsFlakeVisible({nan, 240, 1.0}, 640, 480));
    EXPECT_FALSE(IsFlakeVisible({320, nan, 1.0}, 640, 480));
}

TEST(FlakeVisibility, LargeClientSizesAreComparedAsDoubles) {
    const int big = 2147483647;
    EXPECT_TRUE(IsFlakeVisible({2147483647.0, 2147483647.0, 1}, big, big));
    EXPECT_FALSE(IsFlakeVisible({2147483648.0, 0, 1}, big, big));
}

TEST(FlakeVisibility, InitialCameraCases) {
    const Point3 nearFlake = ProjectInitial({0, -1, 2});
    EXPECT_NEAR(nearFlake.z, 0.0999999993, 1e-10);
    EXPECT_FALSE(IsFlakeVisible(nearFlake, 640, 480));

    const Point3 p = ProjectInitial({1, -10, 1});
    EXPECT_TRUE(IsFlakeVisible(p, 640, 480));

    // Depth 0 and negative depths from the real projection.
    EXPECT_FALSE(IsFlakeVisible(ProjectInitial({1, 0, 1}), 640, 480));
    EXPECT_FALSE(IsFlakeVisible(ProjectInitial({1, 5, 1}), 640, 480));
    EXPECT_FALSE(IsFlakeVisible(ProjectInitial({1e300, -10, 1e300}), 640, 480));
}

TEST(FlakeQuad, ConstantFields) {
    QuadVertex q[4];
    for (QuadVertex& v : q) v = QuadVertex{1, 2, 3, 4, 5, 6, 7, 8};
    WriteQuadConstants(q);
    const float tu[4] = {0, 1, 1, 0};
    const float tv[4] = {0, 0, 1, 1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(q[i].sz, 0.01f);
        EXPECT_EQ(q[i].rhw, 100.0f);
        EXPECT_EQ(q[i].color, 0xFF808080u);
        EXPECT_EQ(q[i].specular, 0u);
        EXPECT_EQ(q[i].tu, tu[i]) << "vertex " << i;
        EXPECT_EQ(q[i].tv, tv[i]) << "vertex " << i;
        EXPECT_EQ(q[i].sx, 1.0f);  // positions are left alone
        EXPECT_EQ(q[i].sy, 2.0f);
    }
}

TEST(FlakeQuad, CornersClockwiseFromTopLeft) {
    QuadVertex q[4];
    WriteQuadConstants(q);
    WriteQuadPosition(q, ProjectInitial({1, -10, 1}));
    ExpectCorners(q, 399, 318, 401, 320);
    for (const QuadVertex& v : q) {  // constants untouched
        EXPECT_EQ(v.sz, 0.01f);
        EXPECT_EQ(v.color, 0xFF808080u);
    }
}

TEST(FlakeQuad, DepthOneTenthGivesHalfSizeTen) {
    QuadVertex q[4];
    WriteQuadPosition(q, Point3{100, 200, 0.1});
    ExpectCorners(q, 90, 190, 110, 210);
}

TEST(FlakeQuad, SumsAreFormedInDoubleThenRounded) {
    // 2^24 + 1 +- 2: in double 16777215 and 16777219, which round to float
    // 16777215 and 16777220; float arithmetic would give 16777214 and 16777218.
    QuadVertex q[4];
    WriteQuadPosition(q, Point3{16777217.0, 16777217.0, 0.5});
    ExpectCorners(q, 16777215.0f, 16777215.0f, 16777220.0f, 16777220.0f);
}

}  // namespace
