#include "scene/flake_cull.h"

#include <cmath>

FlakeCull MakeFlakeCull(const double rotation[9], double eyeX, double eyeY, double eyeZ, int clientWidth,
                        int clientHeight) {
    FlakeCull cull;
    for (int i = 0; i < 9; ++i) cull.rotation[i] = rotation[i];
    cull.eyeX = eyeX;
    cull.eyeY = eyeY;
    cull.eyeZ = eyeZ;
    // A column is drawn when its truncation lies in [0, width], that is when
    // the unrounded column c = quotient + half satisfies -1 < c < width + 1.
    // As rounding keeps order, the quotient then lies strictly between
    // -1 - half and width + 1 - half, and its magnitude is below the larger
    // of their magnitudes. All of these are whole numbers well inside the
    // doubles' exact range.
    const double halfWidth = clientWidth / 2;
    const double halfHeight = clientHeight / 2;
    cull.columnBound = std::fmax(1.0 + halfWidth, static_cast<double>(clientWidth) + 1.0 - halfWidth);
    cull.rowBound = std::fmax(1.0 + halfHeight, static_cast<double>(clientHeight) + 1.0 - halfHeight);
    return cull;
}

int AdvanceFlakesAndCull(const FlakeCull& cull, Flake* flakes, int count, int* passed) {
    // One pass through the field: a block of flakes is moved and then tested
    // while it is still in the first-level cache, so the field is read from
    // memory once a frame, and each of the two loops keeps its own figures
    // in registers.
    constexpr int kBlock = 256;
    const flake_detail::PairCull pairCull(cull);
    int n = 0;
    for (int first = 0; first < count; first += kBlock) {
        const int end = count - first < kBlock ? count : first + kBlock;
        AdvanceFlakes(flakes + first, end - first);
        n = flake_detail::AppendMayBeVisible(pairCull, flakes, first, end, passed, n);
    }
    return n;
}

void FlakeCandidates::AdvanceAndCull(const FlakeCull& cull, Flake* flakes, int count) {
    if (count > kFlakeCount) {
        AdvanceFlakes(flakes, count);
        Forget();
        return;
    }
    m_passed = AdvanceFlakesAndCull(cull, flakes, count, m_index);
    m_cull = cull;
    m_count = count;
    m_flakes = flakes;
}
