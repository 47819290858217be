// Flakes for tests: one placed by hand, and the whole field as the fill makes it.
#pragma once

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
