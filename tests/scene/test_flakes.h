// Flakes for tests: one placed by hand, the whole field as the fill makes it,
// and a comparison of two fields.
#pragma once

#include <cstring>
#include <vector>

#include "scene/flake_field.h"

// Position, and velocity (none unless given).
inline Flake FlakeAt(double x, double y, double z, double vx = 0, double vy = 0, double vz = 0) {
    Flake f;
    f.x = x;
    f.y = y;
    f.z = z;
    f.vx = vx;
    f.vy = vy;
    f.vz = vz;
    return f;
}

// All kFlakeCount flakes from a fresh generator.
inline std::vector<Flake> FilledField() {
    std::vector<Flake> field(kFlakeCount);
    FlakeRandom random;
    FillFlakes(field.data(), kFlakeCount, random);
    return field;
}

// True when a[0 .. count) and b[0 .. count) hold the same six doubles each,
// to the last bit.
inline bool SameFlakes(const Flake* a, const Flake* b, int count = kFlakeCount) {
    static_assert(sizeof(Flake) == 6 * sizeof(double), "a flake is its six doubles");
    return std::memcmp(a, b, sizeof(Flake) * static_cast<size_t>(count)) == 0;
}
