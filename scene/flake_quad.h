// The square drawn for one flake: four pre-transformed vertices, and the
// test that decides whether a projected flake is drawn. Portable.
#pragma once

#include <cstdint>

#include "scene/camera.h"

// Laid out like D3DTLVERTEX (checked where both are visible).
struct QuadVertex {
    float sx, sy, sz, rhw;
    std::uint32_t color, specular;
    float tu, tv;
};

// depth >= 0.1, then 0 <= column <= width, then 0 <= row <= height.
inline bool IsFlakeVisible(const Point3& screen, int clientWidth, int clientHeight);

// The fields that are the same for every flake: sz, rhw, color, specular, tu, tv.
void WriteQuadConstants(QuadVertex quad[4]);

// sx and sy of the four corners, clockwise from the top left, half size 1/depth.
inline void WriteQuadPosition(QuadVertex quad[4], const Point3& screen);

// Both run once per flake; defined here so that the renderer's loop can
// inline them.

inline bool IsFlakeVisible(const Point3& screen, int clientWidth, int clientHeight) {
    // Each bound inclusive; a NaN fails every test it meets. The five
    // comparisons have no side effects, so they are combined without
    // branches: about half of the flakes pass the depth test at random, and
    // a branch per test would be mispredicted that often.
    const bool inFront = screen.z >= 0.1;
    const bool inColumns = (screen.x >= 0) & (screen.x <= static_cast<double>(clientWidth));
    const bool inRows = (screen.y >= 0) & (screen.y <= static_cast<double>(clientHeight));
    return inFront & inColumns & inRows;
}

inline void WriteQuadPosition(QuadVertex quad[4], const Point3& screen) {
    const double column = screen.x, row = screen.y;
    const double half = 1.0 / screen.z;
    // Sums in double, each stored rounded to float.
    const float left = static_cast<float>(column - half);
    const float right = static_cast<float>(column + half);
    const float top = static_cast<float>(row - half);
    const float bottom = static_cast<float>(row + half);
    quad[0].sx = left;
    quad[0].sy = top;
    quad[1].sx = right;
    quad[1].sy = top;
    quad[2].sx = right;
    quad[2].sy = bottom;
    quad[3].sx = left;
    quad[3].sy = bottom;
}
