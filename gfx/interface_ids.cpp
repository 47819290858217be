// The one translation unit that defines the DirectX interface and device
// identifiers (IID_IDirect3D2, IID_IDirect3DRM2, IID_IDirect3DRGBDevice ...)
// declared by the platform headers; everything else only refers to them.
#define INITGUID
#include <windows.h>
#include <ddraw.h>
#include <d3d.h>
#include <d3drm.h>
