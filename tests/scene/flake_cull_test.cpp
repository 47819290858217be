#include "scene/flake_cull.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <vector>

#include "scene/camera.h"
#include "scene/flake_quad.h"
#include "tests/scene/test_flakes.h"

namespace {

struct View {
    double rotation[9];
    double eyeX = 0, eyeY = 0, eyeZ = -2.0;
    int width = 640, height = 480;

    View(double tilt = 3.14159265, double bank = 0, double turn = 0) { BuildRotation(tilt, bank, turn, rotation); }
    FlakeCull Cull() const { return MakeFlakeCull(rotation, eyeX, eyeY, eyeZ, width, height); }

    // The renderer's full test for one flake: rotation, projection, visibility.
    bool Visible(const Flake& f) const {
        const Point3 world = {f.x, f.y, f.z};
        Point3 camera, screen;
        RotateToCamera(rotation, world, camera);
        ProjectToScreen(camera, eyeX, eyeY, eyeZ, width, height, screen);
        return IsFlakeVisible(screen, width, height);
    }
};

// The paired test for one flake, in either lane.
bool PairBit(const FlakeCull& cull, const Flake& f, int lane) {
    const Flake other = FlakeAt(0, 1e6, 0);
    return lane == 0 ? (FlakePairMayBeVisible(cull, f, other) & 1) != 0
                     : (FlakePairMayBeVisible(cull, other, f) & 2) != 0;
}

// A visible flake must pass in both lanes and in the one-at-a-time test, and
// the three must agree.
::testing::AssertionResult Passes(const View& view, const Flake& f) {
    const FlakeCull cull = view.Cull();
    const bool portable = flake_detail::MayBeVisiblePortable(cull, f);
    if (PairBit(cull, f, 0) != portable || PairBit(cull, f, 1) != portable) {
        return ::testing::AssertionFailure() << "lanes disagree with the one-at-a-time test";
    }
    if (view.Visible(f) && !portable) return ::testing::AssertionFailure() << "a visible flake was left out";
    return ::testing::AssertionSuccess();
}

// The flakes of flakes[0 .. count) that the walk visits, by index.
std::vector<int> Walked(const FlakeCull& cull, const std::vector<Flake>& flakes, int count) {
    std::vector<int> visited;
    ForEachFlakeThatMayBeVisible(cull, flakes.data(), count,
                                 [&](const Flake& f) { visited.push_back(static_cast<int>(&f - flakes.data())); });
    return visited;
}

// The pass that advances and tests at once, on a copy of the flakes, must
// move flakes[0 .. count) exactly as AdvanceFlakes does and nothing past
// them, and find what the walk finds after AdvanceFlakes.
::testing::AssertionResult OnePassMatchesTwo(const FlakeCull& cull, const std::vector<Flake>& flakes, int count) {
    std::vector<Flake> twoPass = flakes;
    AdvanceFlakes(twoPass.data(), count);
    const std::vector<int> walked = Walked(cull, twoPass, count);

    std::vector<Flake> onePass = flakes;
    std::vector<int> passed(static_cast<size_t>(count) + 1, -1);
    passed.resize(static_cast<size_t>(AdvanceFlakesAndCull(cull, onePass.data(), count, passed.data())));
    if (!SameFlakes(onePass.data(), twoPass.data(), static_cast<int>(flakes.size()))) {
        return ::testing::AssertionFailure() << "the one pass moved the flakes otherwise";
    }
    if (passed != walked) return ::testing::AssertionFailure() << "the one pass found other flakes";
    return ::testing::AssertionSuccess();
}

}  // namespace

// The filled field under many cameras and window sizes, over many steps:
// every visible flake passes, and hardly any other does.
TEST(FlakeCull, PassesEveryVisibleFlakeOfTheFieldAndLittleElse) {
    std::vector<View> views;
    views.emplace_back();                       // the initial camera
    views.emplace_back(3.14159265, 0, -0.7);    // turned left
    views.emplace_back(3.0, 0, 2.4);            // tilted and turned
    views.emplace_back(1.2, 0.3, 5.0);          // banked, looking sideways
    views.back().eyeY = 4.0;                    // eye moved forward
    views.emplace_back();
    views.back().eyeY = -6.3;                   // and back
    views.emplace_back();
    views.back().width = 641;                   // odd sizes
    views.back().height = 479;
    views.emplace_back();
    views.back().width = 1;
    views.back().height = 1;
    views.emplace_back();
    views.back().width = 0;
    views.back().height = 0;
    views.emplace_back();
    views.back().width = 100000;
    views.back().height = 70000;

    std::vector<Flake> field = FilledField();
    long visible = 0, passed = 0;
    for (int step = 0; step < 40; ++step) {
        AdvanceFlakes(field.data(), kFlakeCount);
        for (const View& view : views) {
            const FlakeCull cull = view.Cull();
            for (int i = 0; i < kFlakeCount; i += 2) {
                const int bits = FlakePairMayBeVisible(cull, field[i], field[i + 1]);
                for (int k = 0; k < 2; ++k) {
                    const bool pass = (bits >> k) & 1;
                    ASSERT_EQ(pass, flake_detail::MayBeVisiblePortable(cull, field[i + k])) << i + k;
                    if (view.Visible(field[i + k])) {
                        ++visible;
                        ASSERT_TRUE(pass) << "flake " << i + k << " step " << step;
                    }
                    passed += pass;
                }
            }
        }
    }
    ASSERT_GT(visible, 100000);
    // Only flakes within a pixel outside the picture pass without being drawn.
    EXPECT_LT(passed - visible, visible / 50) << passed << " passed, " << visible << " visible";
}

// Points a few roundings either side of every edge: just left and right of
// the first and last column, above and below the first and last row, at
// many depths and sizes. The straight camera makes camera space equal to
// world space, so the edges can be placed exactly.
TEST(FlakeCull, PassesEveryVisiblePointAtTheEdgesOfThePicture) {
    const double depths[] = {0.1, std::nextafter(0.1, 1.0), 0.1000000000000001, 0.37, 1.0, 3.3, 977.0, 1e6};
    const int sizes[][2] = {{640, 480}, {641, 479}, {1, 1}, {0, 0}, {2, 3}, {65535, 65535}};
    long visibleSeen = 0;
    for (const auto& size : sizes) {
        View view(0, 0, 0);
        view.eyeX = view.eyeY = view.eyeZ = 0;
        view.width = size[0];
        view.height = size[1];
        const double halfWidth = view.width / 2, halfHeight = view.height / 2;
        for (double depth : depths) {
            const double y = depth * 10;
            // Lateral positions whose column (or row) lands on -1, 0, the size
            // and the size + 1 before truncation.
            const double columnEdges[] = {-1 - halfWidth, -halfWidth, view.width - halfWidth,
                                          view.width + 1 - halfWidth};
            const double rowEdges[] = {-1 - halfHeight, -halfHeight, view.height - halfHeight,
                                       view.height + 1 - halfHeight};
            for (double edge : columnEdges) {
                double x = edge * (y * 0.1) / 80;
                for (int n = 0; n < 40; ++n) x = std::nextafter(x, -INFINITY);
                for (int n = 0; n < 80; ++n, x = std::nextafter(x, INFINITY)) {
                    const Flake f = FlakeAt(x, y, 0);
                    visibleSeen += view.Visible(f);
                    ASSERT_TRUE(Passes(view, f)) << "column edge " << edge << " x " << x << " depth " << depth;
                }
            }
            for (double edge : rowEdges) {
                double z = edge * (y * 0.1) / 80;
                for (int n = 0; n < 40; ++n) z = std::nextafter(z, -INFINITY);
                for (int n = 0; n < 80; ++n, z = std::nextafter(z, INFINITY)) {
                    const Flake f = FlakeAt(0, y, z);
                    visibleSeen += view.Visible(f);
                    ASSERT_TRUE(Passes(view, f)) << "row edge " << edge << " z " << z << " depth " << depth;
                }
            }
        }
    }
    EXPECT_GT(visibleSeen, 1000);
}

// The least depth that is drawn, and every kind of value that is not finite
// or not in front: nothing visible is left out, nothing traps.
TEST(FlakeCull, DepthLimitAndDegenerateValues) {
    View straight(0, 0, 0);
    straight.eyeZ = 0;
    // Depth exactly 0.1 and its neighbours, on the centre of the picture.
    for (double y : {1.0, std::nextafter(1.0, 0.0), std::nextafter(1.0, 2.0), 0.0, -0.0, -5.0}) {
        const Flake f = FlakeAt(0, y, 0);
        EXPECT_TRUE(Passes(straight, f)) << y;
        EXPECT_EQ(flake_detail::MayBeVisiblePortable(straight.Cull(), f), straight.Visible(f)) << y;
    }

    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double values[] = {0.0, 1.0, -1.0, 10.0, 1e300, -1e300, inf, -inf, nan,
                             std::numeric_limits<double>::denorm_min(), 1e-300};
    std::vector<View> views;
    views.emplace_back();
    views.emplace_back(0, 0, 0);
    views.emplace_back();
    views.back().eyeY = inf;
    views.emplace_back();
    views.back().eyeX = -1e300;
    views.back().eyeY = -1e300;
    views.emplace_back();
    views.back().eyeZ = nan;
    views.emplace_back();
    views.back().width = INT_MAX;
    views.back().height = INT_MAX;
    views.emplace_back();
    views.back().width = -640;
    views.back().height = -480;
    for (const View& view : views) {
        for (double x : values) {
            for (double y : values) {
                for (double z : values) {
                    ASSERT_TRUE(Passes(view, FlakeAt(x, y, z))) << x << " " << y << " " << z;
                }
            }
        }
    }
}

// The bits name the flakes in their order: bit 0 the first, bit 1 the second.
TEST(FlakeCull, BitsFollowTheOrderOfThePair) {
    const View view;
    const FlakeCull cull = view.Cull();
    const Flake centre = FlakeAt(0, -10, 2);    // depth about 1, middle of the picture
    const Flake behind = FlakeAt(0, 10, 2);     // behind the eye
    ASSERT_TRUE(view.Visible(centre));
    ASSERT_FALSE(view.Visible(behind));
    EXPECT_EQ(FlakePairMayBeVisible(cull, centre, behind), 1);
    EXPECT_EQ(FlakePairMayBeVisible(cull, behind, centre), 2);
    EXPECT_EQ(FlakePairMayBeVisible(cull, centre, centre), 3);
    EXPECT_EQ(FlakePairMayBeVisible(cull, behind, behind), 0);
}

// The walk visits the flakes that pass in array order, the last of an odd
// count included, and never reads past the count; the pass that advances and
// tests at once finds the same flakes and moves none past the count.
TEST(FlakeCull, WalkVisitsPassingFlakesInOrderUpToTheCount) {
    const View view;
    const FlakeCull cull = view.Cull();
    // Drifting a little each step, and staying where they are seen.
    const Flake centre = FlakeAt(0, -10, 2, 0.01, 0, -0.01);
    const Flake behind = FlakeAt(0, 10, 2, 0.01, 0, -0.01);
    // Flake k is visible when bit k of the pattern is set; a visible flake
    // past the count guards the end.
    for (int count = 0; count <= 7; ++count) {
        for (int pattern = 0; pattern < (1 << count); ++pattern) {
            std::vector<Flake> flakes;
            for (int k = 0; k < count; ++k) flakes.push_back((pattern >> k) & 1 ? centre : behind);
            flakes.push_back(centre);
            std::vector<int> expected;
            for (int k = 0; k < count; ++k) {
                if ((pattern >> k) & 1) expected.push_back(k);
            }
            ASSERT_EQ(Walked(cull, flakes, count), expected) << "count " << count << " pattern " << pattern;
            ASSERT_TRUE(OnePassMatchesTwo(cull, flakes, count)) << "count " << count << " pattern " << pattern;
        }
    }
}

// Across the blocks of the walk and of the one pass: counts on and around
// their sizes, some flakes passing, all passing, none passing.
TEST(FlakeCull, WalkKeepsOrderAcrossBlocks) {
    const View view;
    const FlakeCull cull = view.Cull();
    const Flake centre = FlakeAt(0, -10, 2);
    const Flake behind = FlakeAt(0, 10, 2);
    for (int count : {257, 511, 512, 513, 1023, 1024, 1025, 2049}) {
        for (int kind = 0; kind < 3; ++kind) {
            std::vector<Flake> flakes;
            std::vector<int> expected;
            unsigned state = 12345;
            for (int k = 0; k < count; ++k) {
                state = state * 1103515245u + 12345u;
                const bool visible = kind == 0 ? ((state >> 16) % 3 == 0) : kind == 1;
                flakes.push_back(visible ? centre : behind);
                if (visible) expected.push_back(k);
            }
            ASSERT_EQ(Walked(cull, flakes, count), expected) << "count " << count << " kind " << kind;
            ASSERT_TRUE(OnePassMatchesTwo(cull, flakes, count)) << "count " << count << " kind " << kind;
        }
    }
}
