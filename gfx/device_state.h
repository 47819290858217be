// The graphics device layer's one module-wide record. Every interface field
// holds one counted reference owned by the record; whoever releases it sets
// the field to null.
#pragma once

#include <windows.h>
#include <ddraw.h>
#include <d3d.h>
#include <d3drm.h>

using PfnDirect3DRMCreate = HRESULT(WINAPI*)(IDirect3DRM** d3drm);
using PfnD3DRMColorGet = D3DVALUE(WINAPI*)(D3DCOLOR color);
using PfnD3DRMCreateColorRGB = D3DCOLOR(WINAPI*)(D3DVALUE red, D3DVALUE green, D3DVALUE blue);
using PfnDirectDrawCreate = HRESULT(WINAPI*)(GUID* driver, IDirectDraw** directDraw, IUnknown* outer);
using PfnDirectDrawEnumerateA = HRESULT(WINAPI*)(LPDDENUMCALLBACKA callback, void* context);

struct DeviceState {
    GUID deviceGuid;
    IDirectDraw* directDraw;
    IDirect3D2* direct3D2;
    IDirect3DRM2* rm2;
    IDirect3DRM* rm;
    IDirectDrawSurface* primarySurface;
    IDirectDrawSurface* backBuffer;
    IDirectDrawSurface* zBuffer;
    IDirectDrawPalette* palette;
    PALETTEENTRY paletteEntries[256];
    IDirectDrawClipper* clipper;
    IDirect3DDevice2* device2;
    IDirect3DRMDevice2* rmDevice;
    IDirect3DRMViewport* viewport;
    int deviceKind;
    RECT screenRect;
    int halInUse;
    int preferRgb;
    int renderingEnabled;
    int windowedReady;
    int resizing;
    char fatalText[2048];
    int clientWidth;
    int clientHeight;
    int bitsPerPixel;
    int enumDone;
    HMODULE ddrawLibrary;
    HMODULE d3drmLibrary;
    PfnDirect3DRMCreate pfnDirect3DRMCreate;
    PfnD3DRMColorGet pfnD3DRMColorGetGreen;
    PfnD3DRMColorGet pfnD3DRMColorGetRed;
    PfnD3DRMColorGet pfnD3DRMColorGetBlue;
    PfnD3DRMCreateColorRGB pfnD3DRMCreateColorRGB;
    PfnDirectDrawCreate pfnDirectDrawCreate;
    PfnDirectDrawEnumerateA pfnDirectDrawEnumerateA;
};

// The one instance, zero-filled at program start.
extern DeviceState g_deviceState;
