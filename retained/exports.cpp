// What d3drm.dll exports: the Retained Mode object's creation and the colour
// helpers, under their undecorated names (linked with --kill-at).
#include "retained/retained_mode.h"

#define D3DRM_EXPORT extern "C" __declspec(dllexport)

D3DRM_EXPORT HRESULT WINAPI Direct3DRMCreate(IDirect3DRM** d3drm) { return retained::CreateDirect3DRM(d3drm); }

namespace {

// A colour channel from 0.0 to 1.0 as a byte: clamped, then truncated.
DWORD ChannelByte(D3DVALUE value) {
    if (!(value > 0.0f)) return 0;  // NaN too
    if (value >= 1.0f) return 0xFF;
    return DWORD(value * 255.0f);
}

D3DVALUE ChannelValue(D3DCOLOR color, int shift) { return D3DVALUE(((color >> shift) & 0xFF) / 255.0); }

}  // namespace

D3DRM_EXPORT D3DCOLOR WINAPI D3DRMCreateColorRGB(D3DVALUE red, D3DVALUE green, D3DVALUE blue) {
    return 0xFF000000u | ChannelByte(red) << 16 | ChannelByte(green) << 8 | ChannelByte(blue);
}
D3DRM_EXPORT D3DVALUE WINAPI D3DRMColorGetRed(D3DCOLOR color) { return ChannelValue(color, 16); }
D3DRM_EXPORT D3DVALUE WINAPI D3DRMColorGetGreen(D3DCOLOR color) { return ChannelValue(color, 8); }
D3DRM_EXPORT D3DVALUE WINAPI D3DRMColorGetBlue(D3DCOLOR color) { return ChannelValue(color, 0); }
