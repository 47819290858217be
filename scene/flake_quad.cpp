#include "scene/flake_quad.h"

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
