// A quick test that tells, two flakes at a time and without dividing, which
// flakes can be in the picture. It passes every flake that the projection and
// the visibility test would draw, and almost no other: the renderer passes
// only those through WorldToCamera and Project. It can run by itself over the
// field, or during the advance, so that a frame reads the field once.
// Portable: no Windows header.
#pragma once

#include <cstring>

#include "scene/camera.h"
#include "scene/flake_field.h"

// The camera of one frame as the quick test uses it.
struct FlakeCull {
    double rotation[9];
    double eyeX, eyeY, eyeZ;
    // Open bounds on (lateral offset x 80) / depth: a flake is drawn only
    // if its quotient lies strictly between them.
    double columnLow, columnHigh;
    double rowLow, rowHigh;
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
    // With depth > 0, across / depth > low implies across >= low * depth as
    // rounded, because rounding never reverses an order.
    return (depth >= 0.1) & (across >= cull.columnLow * depth) & (across <= cull.columnHigh * depth) &
           (down >= cull.rowLow * depth) & (down <= cull.rowHigh * depth);
}

}  // namespace flake_detail

#ifdef VORL_CAMERA_SSE2

// The two flakes side by side, each lane the same operations in the same
// order as the portable test.
inline int FlakePairMayBeVisible(const FlakeCull& cull, const Flake& first, const Flake& second) {
    const double* r = cull.rotation;
    const __m128d x = _mm_loadh_pd(_mm_load_sd(&first.x), &second.x);
    const __m128d y = _mm_loadh_pd(_mm_load_sd(&first.y), &second.y);
    const __m128d z = _mm_loadh_pd(_mm_load_sd(&first.z), &second.z);
    auto row = [&](int i) {
        const __m128d yz = _mm_add_pd(_mm_mul_pd(_mm_set1_pd(r[i + 1]), y), _mm_mul_pd(_mm_set1_pd(r[i + 2]), z));
        return _mm_add_pd(yz, _mm_mul_pd(_mm_set1_pd(r[i]), x));
    };
    const __m128d depth = _mm_mul_pd(_mm_sub_pd(row(3), _mm_set1_pd(cull.eyeY)), _mm_set1_pd(0.1));
    const __m128d across = _mm_mul_pd(_mm_sub_pd(row(0), _mm_set1_pd(cull.eyeX)), _mm_set1_pd(80));
    const __m128d down = _mm_mul_pd(_mm_sub_pd(row(6), _mm_set1_pd(cull.eyeZ)), _mm_set1_pd(80));

    __m128d pass = _mm_cmpge_pd(depth, _mm_set1_pd(0.1));
    pass = _mm_and_pd(pass, _mm_cmpge_pd(across, _mm_mul_pd(_mm_set1_pd(cull.columnLow), depth)));
    pass = _mm_and_pd(pass, _mm_cmple_pd(across, _mm_mul_pd(_mm_set1_pd(cull.columnHigh), depth)));
    pass = _mm_and_pd(pass, _mm_cmpge_pd(down, _mm_mul_pd(_mm_set1_pd(cull.rowLow), depth)));
    pass = _mm_and_pd(pass, _mm_cmple_pd(down, _mm_mul_pd(_mm_set1_pd(cull.rowHigh), depth)));
    return _mm_movemask_pd(pass);
}

#else

inline int FlakePairMayBeVisible(const FlakeCull& cull, const Flake& first, const Flake& second) {
    return (flake_detail::MayBeVisiblePortable(cull, first) ? 1 : 0) |
           (flake_detail::MayBeVisiblePortable(cull, second) ? 2 : 0);
}

#endif

namespace flake_detail {

// Writes the indices of the flakes of flakes[first .. end) that pass the
// quick test to passed[n], passed[n + 1] ..., in array order, and gives back
// n plus their number. Stays within passed[n .. n + (end - first)).
inline int AppendMayBeVisible(const FlakeCull& cull, const Flake* flakes, int first, int end, int* passed, int n) {
    int i = first;
    for (; i + 1 < end; i += 2) {
        // Both indices are written, the count grows only for those that
        // passed: no branch on a test that goes either way at random.
        const int candidates = FlakePairMayBeVisible(cull, flakes[i], flakes[i + 1]);
        passed[n] = i;
        n += candidates & 1;
        passed[n] = i + 1;
        n += candidates >> 1;
    }
    if (i < end && MayBeVisiblePortable(cull, flakes[i])) passed[n++] = i;
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
    for (int first = 0; first < count; first += kBlock) {
        const int end = count - first < kBlock ? count : first + kBlock;
        const int n = flake_detail::AppendMayBeVisible(cull, flakes, first, end, passed, 0);
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
