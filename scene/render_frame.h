// The frame renderer's module-wide data, visible to tests.
#pragma once

#include <windows.h>
#include <d3d.h>

// The four vertices of the square drawn for one flake: the only vertex data
// of the program, rewritten for every flake and drawn as one triangle fan.
extern D3DTLVERTEX flakeQuad[4];

// Fills the background material: black, opaque diffuse, ramp size 16.
void FillBackgroundMaterial(D3DMATERIAL& material);

class CFlakeDlg;

// Releases the frames and the background material a set-up made for the
// window, and clears them; touches nothing before the first set-up got past
// the windowed surfaces (the members hold no objects until then). For a
// repeated set-up, and for the window's end, before the device layer goes.
void ReleaseSceneObjects(CFlakeDlg& window);
