#include "scene/flake_field.h"

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

void Flake::Advance() {
    x = x + 0.1 * vx;
    y = y + 0.1 * vy;
    z = z + 0.1 * vz;

    if (x > 10) x = x - 20;
    if (y > 10) y = y - 20;
    if (z > 20) z = z - 20;

    // Negated at-least tests: a NaN also takes the wrap.
    if (!(x >= -10)) x = x + 20;
    if (!(y >= -10)) y = y + 20;
    if (!(z >= 0)) z = z + 20;
}

void AdvanceFlakes(Flake* flakes, int count) {
    for (int i = 0; i < count; ++i) flakes[i].Advance();
}
