// The main window's frame drawing: its module-wide vertex array, render
// states and helpers, visible to tests and to the whole-frame benchmark.
#pragma once

#include <windows.h>
#include <d3d.h>
#include <d3drm.h>

// The four vertices of the square drawn for one flake: the only vertex data
// of the program, rewritten for every flake and drawn as one triangle fan.
extern D3DTLVERTEX flakeQuad[4];

// The render states of every frame, in the order they are set.
struct FrameRenderState {
    D3DRENDERSTATETYPE state;
    DWORD value;
};
inline constexpr FrameRenderState kFrameRenderStates[] = {
    {D3DRENDERSTATE_CULLMODE, D3DCULL_NONE},
    {D3DRENDERSTATE_ZWRITEENABLE, TRUE},
    {D3DRENDERSTATE_ZFUNC, D3DCMP_LESSEQUAL},
    {D3DRENDERSTATE_BLENDENABLE, TRUE},
    {D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA},
    {D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE},
    {D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT},
};

// Fills the background material: black, opaque diffuse, ramp size 16.
void FillBackgroundMaterial(D3DMATERIAL& material);

// The Immediate Mode viewport behind a retained-mode one, as a reference the
// caller releases; null without a viewport or when the query fails.
inline IDirect3DViewport2* ImmediateViewportOf(IDirect3DRMViewport* viewport) {
    IDirect3DViewport2* viewport2 = nullptr;
    if (!viewport) return nullptr;
    IDirect3DViewport* direct3DViewport = nullptr;
    viewport->GetDirect3DViewport(&direct3DViewport);
    if (direct3DViewport) {
        direct3DViewport->QueryInterface(IID_IDirect3DViewport2, reinterpret_cast<void**>(&viewport2));
        // GetDirect3DViewport hands out a reference of its own.
        direct3DViewport->Release();
    }
    return viewport2;
}

class CFlakeDlg;

// Releases the frames and the background material a set-up made for the
// window, and clears them. For a repeated set-up, and for the window's end,
// before the device layer goes. The window starts with the three members
// null (InitScene); nothing is touched while the device layer has no
// windowed surfaces, since no set-up can have made the objects then.
void ReleaseSceneObjects(CFlakeDlg& window);
