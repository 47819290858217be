// The floor's frame, shared by the floor program and the program's harness
// (which draws floor frames between its own in the interleaved run): the
// squares of every frame computed in advance, and one frame of the program's
// DirectX calls drawing them.
#pragma once

#include <windows.h>
#include <d3d.h>

#include <cstddef>
#include <vector>

// The squares of frames 1 .. count as the program draws them: four vertices
// per visible flake, in flake order; first[n] .. first[n + 1] are frame n's.
struct PreparedFrames {
    std::vector<D3DTLVERTEX> vertices;
    std::vector<size_t> first;

    size_t Quads(size_t frame) const { return (first[frame + 1] - first[frame]) / 4; }
    const D3DTLVERTEX* Vertices(size_t frame) const { return vertices.data() + first[frame]; }
};

// From the flake fill and the window's camera defaults, no key pressed.
void PrepareFrames(int count, int clientWidth, int clientHeight, PreparedFrames& frames);

// What the frame's calls name besides the device layer's objects.
struct FloorFrameHandles {
    D3DMATERIALHANDLE background;
    D3DMATERIALHANDLE material;
    D3DTEXTUREHANDLE texture;
    int clientWidth;
    int clientHeight;
};

// One frame: the program's per-frame calls on the device layer's objects, in
// its order and with its arguments, drawing the given squares.
void DrawPreparedFrame(const FloorFrameHandles& handles, const D3DTLVERTEX* vertices, size_t quads);
