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
    // Set when the system took surfaces away for good (a display change): a
    // surface that would not come back, or a present that found one lost.
    // The scene then sets up anew; NvxInitialize clears it.
    int surfacesLost;
    // The primary surface's extent in screen coordinates: the virtual screen
    // as it was when the surface was made. A surface keeps its size through a
    // display change that does not take it away.
    RECT primaryRect;
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

// Binds the libraries (NvxLoadLibraries) and sets the record to its defaults:
// 640 x 480 at 16 bits, everything else from directDraw to enumDone zero.
// Interfaces the record still holds are released first, in NvxCleanup's
// order (a repeated set-up after a resize would otherwise drop them).
// deviceGuid, the library handles and the entry points keep their values.
// Returns 1, or 0 when the binding failed (the record is then unchanged).
int NvxInitialize();

// Releases every interface the record holds except rm, in a fixed order:
// viewport, rmDevice, device2, palette, zBuffer, rm2, direct3D2, backBuffer,
// clipper, primarySurface, directDraw. Clears renderingEnabled. Returns 1.
int NvxCleanup();

// Stores value unchanged in preferRgb. Returns 1.
int NvxSetRgbPreference(int value);

// 0 clears renderingEnabled, 1 sets it, any other value leaves it. Returns 1.
int NvxEnableRendering(int enable);
