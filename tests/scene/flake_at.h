// A flake placed by hand for a test: position, and velocity (none unless given).
#pragma once

#include "scene/flake_field.h"

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
