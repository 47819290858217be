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
bool IsFlakeVisible(const Point3& screen, int clientWidth, int clientHeight);

// The fields that are the same for every flake: sz, rhw, color, specular, tu, tv.
void WriteQuadConstants(QuadVertex quad[4]);

// sx and sy of the four corners, clockwise from the top left, half size 1/depth.
void WriteQuadPosition(QuadVertex quad[4], const Point3& screen);
