#include "scene/flake_field.h"

#include <cstddef>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define VORL_FLAKE_SSE2 1
#include <emmintrin.h>
#endif

int FlakeRandom::Next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

void FillFlakes(Flake* flakes, int count, FlakeRandom& random) {
    // Each expression is evaluated left to right in double arithmetic:
    // the integer, times 0.0001, times the factor, then the offset.
    for (int i = 0; i < count; ++i) {
        Flake& f = flakes[i];
        f.z = (random.Next() % 10000) * 0.0001 * 20.0;
        f.y = (random.Next() % 10000) * 0.0001 * 20.0 - 10.0;
        f.x = (random.Next() % 10000) * 0.0001 * 20.0 - 10.0;
        f.vz = (random.Next() % 10000) * 0.0001 * (-0.2) - 0.1;
        f.vy = ((random.Next() % 10000) * 0.0001 - 0.5) * 0.1;
        f.vx = ((random.Next() % 10000) * 0.0001 - 0.5) * 0.1;
    }
}

void flake_detail::AdvancePortable(Flake& flake) {
    double& x = flake.x;
    double& y = flake.y;
    double& z = flake.z;
    x = x + 0.1 * flake.vx;
    y = y + 0.1 * flake.vy;
    z = z + 0.1 * flake.vz;

    if (x > 10) x = x - 20;
    if (y > 10) y = y - 20;
    if (z > 20) z = z - 20;

    // Negated at-least tests: a NaN also takes the wrap.
    if (!(x >= -10)) x = x + 20;
    if (!(y >= -10)) y = y + 20;
    if (!(z >= 0)) z = z + 20;
}

#ifdef VORL_FLAKE_SSE2

static_assert(offsetof(Flake, y) == offsetof(Flake, x) + sizeof(double), "x and y are neighbours");
static_assert(offsetof(Flake, vy) == offsetof(Flake, vx) + sizeof(double), "vx and vy are neighbours");

namespace {

// Where mask is set, ifSet; elsewhere value, bit for bit.
inline __m128d Select(__m128d mask, __m128d ifSet, __m128d value) {
    return _mm_or_pd(_mm_and_pd(mask, ifSet), _mm_andnot_pd(mask, value));
}

}  // namespace

// x and y side by side in one register: the same operations in the same
// order as the portable step, each lane rounded as a lone double would be.
// A wrap replaces the coordinate by the wrapped value only where its test
// holds, so an unwrapped coordinate keeps its exact bits.
void Flake::Advance() {
    const __m128d tenth = _mm_set1_pd(0.1);
    __m128d xy = _mm_loadu_pd(&x);
    xy = _mm_add_pd(xy, _mm_mul_pd(tenth, _mm_loadu_pd(&vx)));
    double zz = z + 0.1 * vz;

    xy = Select(_mm_cmpgt_pd(xy, _mm_set1_pd(10)), _mm_sub_pd(xy, _mm_set1_pd(20)), xy);
    if (zz > 20) zz = zz - 20;

    // "not at least": true for a NaN as well.
    xy = Select(_mm_cmpnge_pd(xy, _mm_set1_pd(-10)), _mm_add_pd(xy, _mm_set1_pd(20)), xy);
    if (!(zz >= 0)) zz = zz + 20;

    _mm_storeu_pd(&x, xy);
    z = zz;
}

#else

void Flake::Advance() { flake_detail::AdvancePortable(*this); }

#endif

void AdvanceFlakes(Flake* flakes, int count) {
    for (int i = 0; i < count; ++i) flakes[i].Advance();
}
