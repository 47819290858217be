#include "scene/flake_quad.h"

bool IsFlakeVisible(const Point3& screen, int clientWidth, int clientHeight) {
    // Each bound inclusive, tested in this order; a NaN fails the first test.
    if (!(screen.z >= 0.1)) return false;
    if (!(screen.x >= 0)) return false;
    if (!(screen.x <= static_cast<double>(clientWidth))) return false;
    if (!(screen.y >= 0)) return false;
    if (!(screen.y <= static_cast<double>(clientHeight))) return false;
    return true;
}

void WriteQuadConstants(QuadVertex quad[4]) {
    // Texture coordinates clockwise from the top left, the image upright.
    static constexpr float kTu[4] = {0.0f, 1.0f, 1.0f, 0.0f};
    static constexpr float kTv[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    for (int i = 0; i < 4; ++i) {
        quad[i].sz = 0.01f;
        quad[i].rhw = 100.0f;
        quad[i].color = 0xFF808080u;  // alpha 255, grey 128
        quad[i].specular = 0;
        quad[i].tu = kTu[i];
        quad[i].tv = kTv[i];
    }
}

void WriteQuadPosition(QuadVertex quad[4], const Point3& screen) {
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
