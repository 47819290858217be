// A quick test that tells, two flakes at a time and without dividing, which
// flakes can be in the picture. It passes every flake that the projection and
// the visibility test would draw, and almost no other: the renderer passes
// only those through WorldToCamera and Project. It can run by itself over the
// field, or during the advance, so that a frame reads the field once.
// Portable: no Windows header.
#pragma once

#include <cmath>
#include <cstring>

#include "scene/camera.h"
#include "scene/flake_field.h"

// The camera of one frame as the quick test uses it.
struct FlakeCull {
    double rotation[9];
    double eyeX, eyeY, eyeZ;
    // Bounds on the magnitude of (lateral offset x 80) / depth, across and
    // down, each from the picture's wider side of the centre: a flake is
    // drawn only if both quotients lie within them.
    double columnBound, rowBound;
};

FlakeCull MakeFlakeCull(const double rotation[9], double eyeX, double eyeY, double eyeZ, int clientWidth,
                        int clientHeight);

// Bit 0 for first, bit 1 for second: set when the flake may be visible. A
// clear bit means the flake is not visible; a set bit needs the full test.
inline int FlakePairMayBeVisible(const FlakeCull& cull, const Flake& first, const Flake& second);

namespace flake_detail {

// The same test for one flake, one double at a time.
inline bool MayBeVisiblePortable(const FlakeCull& cull, const Flake& flake) {
    // The camera point and depth exactly as WorldToCamera and Project form them.
    const Point3 world = {flake.x, flake.y, flake.z};
    Point3 camera;
    RotateToCamera(cull.rotation, world, camera);
    const double depth = (camera.y - cull.eyeY) * 0.1;
    const double across = (camera.x - cull.eyeX) * 80;
    const double down = (camera.z - cull.eyeZ) * 80;
    // With depth > 0, across / depth <= bound implies across <= bound * depth
    // as rounded, because rounding never reverses an order; on the other
    // side, -across / depth <= bound likewise, and negating is exact.
    return (depth >= 0.1) & (std::fabs(across) <= cull.columnBound * depth) &
           (std::fabs(down) <= cull.rowBound * depth);
}

}  // namespace flake_detail

#ifdef VORL_CAMERA_SSE2

namespace flake_detail {

// The cull's figures, each in both lanes, made once for a run of tests.
struct PairCull {
    explicit PairCull(const FlakeCull& cull) : one(cull) {
        for (int i = 0; i < 9; ++i) rotation[i] = _mm_set1_pd(cull.rotation[i]);
        eyeX = _mm_set1_pd(cull.eyeX);
        eyeY = _mm_set1_pd(cull.eyeY);
        eyeZ = _mm_set1_pd(cull.eyeZ);
        columnBound = _mm_set1_pd(cull.columnBound);
        rowBound = _mm_set1_pd(cull.rowBound);
    }
    __m128d rotation[9];
    __m128d eyeX, eyeY, eyeZ, columnBound, rowBound;
    FlakeCull one;  // for a flake without a partner
};

// The two flakes side by side, each lane the same operations in the same
// order as the portable test.
inline int PairMayBeVisible(const PairCull& c, const Flake& first, const Flake& second) {
    const __m128d firstXY = _mm_loadu_pd(&first.x);
    const __m128d secondXY = _mm_loadu_pd(&second.x);
    const __m128d x = _mm_unpacklo_pd(firstXY, secondXY);
    const __m128d y = _mm_unpackhi_pd(firstXY, secondXY);
    const __m128d z = _mm_loadh_pd(_mm_load_sd(&first.z), &second.z);
    const __m128d* r = c.rotation;
    auto row = [&](int i) {
        return _mm_add_pd(_mm_add_pd(_mm_mul_pd(r[i + 1], y), _mm_mul_pd(r[i + 2], z)), _mm_mul_pd(r[i], x));
    };
    const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFF));
    const __m128d depth = _mm_mul_pd(_mm_sub_pd(row(3), c.eyeY), _mm_set1_pd(0.1));
    const __m128d across = _mm_and_pd(_mm_mul_pd(_mm_sub_pd(row(0), c.eyeX), _mm_set1_pd(80)), magnitude);
    const __m128d down = _mm_and_pd(_mm_mul_pd(_mm_sub_pd(row(6), c.eyeZ), _mm_set1_pd(80)), magnitude);
    __m128d pass = _mm_cmpge_pd(depth, _mm_set1_pd(0.1));
    pass = _mm_and_pd(pass, _mm_cmple_pd(across, _mm_mul_pd(c.columnBound, depth)));
    pass = _mm_and_pd(pass, _mm_cmple_pd(down, _mm_mul_pd(c.rowBound, depth)));
    return _mm_movemask_pd(pass);
}

}  // namespace flake_detail

#else

namespace flake_detail {

struct PairCull {
    explicit PairCull(const FlakeCull& cull) : one(cull) {}
    FlakeCull one;
};

inline int PairMayBeVisible(const PairCull& c, const Flake& first, const Flake& second) {
    return (MayBeVisiblePortable(c.one, first) ? 1 : 0) | (MayBeVisiblePortable(c.one, second) ? 2 : 0);
}

}  // namespace flake_detail

#endif

inline int FlakePairMayBeVisible(const FlakeCull& cull, const Flake& first, const Flake& second) {
    return flake_detail::PairMayBeVisible(flake_detail::PairCull(cull), first, second);
}

namespace flake_detail {

// Writes the indices of the flakes of flakes[first .. end) that pass the
// quick test to passed[n], passed[n + 1] ..., in array order, and gives back
// n plus their number. Stays within passed[n .. n + (end - first)).
inline int AppendMayBeVisible(const PairCull& cull, const Flake* flakes, int first, int end, int* passed, int n) {
    int i = first;
    for (; i + 1 < end; i += 2) {
        // Both indices are written, the count grows only for those that
        // passed: no branch on a test that goes either way at random.
        const int candidates = PairMayBeVisible(cull, flakes[i], flakes[i + 1]);
        passed[n] = i;
        n += candidates & 1;
        passed[n] = i + 1;
        n += candidates >> 1;
    }
    if (i < end && MayBeVisiblePortable(cull.one, flakes[i])) passed[n++] = i;
    return n;
}

}  // namespace flake_detail

// Calls visit(flake) for each of flakes[0 .. count) that passes the quick
// test, in array order; the flakes it skips are not visible.
template <typename Visit>
inline void ForEachFlakeThatMayBeVisible(const FlakeCull& cull, const Flake* flakes, int count, Visit&& visit) {
    // A block of flakes is tested in one run, with nothing else between the
    // tests, before the flakes that passed are visited: the visits (draw
    // calls) then do not break up the stream of reads through the field.
    constexpr int kBlock = 512;
    int passed[kBlock];
    const flake_detail::PairCull pairCull(cull);
    for (int first = 0; first < count; first += kBlock) {
        const int end = count - first < kBlock ? count : first + kBlock;
        const int n = flake_detail::AppendMayBeVisible(pairCull, flakes, first, end, passed, 0);
        for (int k = 0; k < n; ++k) visit(flakes[passed[k]]);
    }
}

// Advances flakes[0 .. count) once, exactly as AdvanceFlakes does, and gives
// each flake the quick test right after its move, while it is still in the
// first-level cache, so that one pass through the field serves both. Writes
// the indices of the flakes that pass to passed (room for count), in array
// order, and returns how many there are: the flakes that
// ForEachFlakeThatMayBeVisible would visit after AdvanceFlakes.
int AdvanceFlakesAndCull(const FlakeCull& cull, Flake* flakes, int count, int* passed);

// The quick test's answer for one frame, found while the field advances: the
// flakes that passed, and the field, count and camera they were tested under.
// The record stands for the field as that advance left it; whoever changes
// the field another way, or has drawn the frame, forgets it.
class FlakeCandidates {
public:
    FlakeCandidates() = default;
    FlakeCandidates(const FlakeCandidates&) = delete;
    FlakeCandidates& operator=(const FlakeCandidates&) = delete;

    // Advances flakes[0 .. count) and records the flakes that pass under
    // cull. Beyond kFlakeCount flakes it only advances them.
    void AdvanceAndCull(const FlakeCull& cull, Flake* flakes, int count);

    // Calls visit(flake) for the flakes of flakes[0 .. count) that may be
    // visible under cull, in array order: from the record when it was made
    // for the same flakes under the same cull, to the last bit; otherwise by
    // walking the field with ForEachFlakeThatMayBeVisible. The same flakes
    // either way, as long as the field is as the advance left it.
    template <typename Visit>
    void ForEachMayBeVisible(const FlakeCull& cull, const Flake* flakes, int count, Visit&& visit) const;

    // Drops the record: the next visit walks the field.
    void Forget() { m_flakes = nullptr; }

private:
    bool Matches(const FlakeCull& cull, const Flake* flakes, int count) const {
        return flakes == m_flakes && count == m_count && std::memcmp(&cull, &m_cull, sizeof cull) == 0;
    }

    const Flake* m_flakes = nullptr;  // null: no record
    int m_count = 0;
    int m_passed = 0;
    FlakeCull m_cull;
    int m_index[kFlakeCount];
};

template <typename Visit>
void FlakeCandidates::ForEachMayBeVisible(const FlakeCull& cull, const Flake* flakes, int count,
                                          Visit&& visit) const {
    if (!Matches(cull, flakes, count)) {
        ForEachFlakeThatMayBeVisible(cull, flakes, count, visit);
        return;
    }
    for (int k = 0; k < m_passed; ++k) visit(flakes[m_index[k]]);
}
