/* A stand-in "d3drm.dll" whose exports are chosen at build time: each
   OMIT_<export> definition leaves that export out. The functions are never
   called by the binding tests; only their presence matters. */
#include <windows.h>

#define EXPORT __declspec(dllexport)

#ifndef OMIT_Direct3DRMCreate
EXPORT HRESULT WINAPI Direct3DRMCreate(void** d3drm) {
    if (d3drm) *d3drm = NULL;
    return E_NOTIMPL;
}
#endif
#ifndef OMIT_D3DRMColorGetGreen
EXPORT float WINAPI D3DRMColorGetGreen(DWORD color) { return (float)((color >> 8) & 0xFF) / 255.0f; }
#endif
#ifndef OMIT_D3DRMColorGetRed
EXPORT float WINAPI D3DRMColorGetRed(DWORD color) { return (float)((color >> 16) & 0xFF) / 255.0f; }
#endif
#ifndef OMIT_D3DRMColorGetBlue
EXPORT float WINAPI D3DRMColorGetBlue(DWORD color) { return (float)(color & 0xFF) / 255.0f; }
#endif
#ifndef OMIT_D3DRMCreateColorRGB
EXPORT DWORD WINAPI D3DRMCreateColorRGB(float red, float green, float blue) {
    return 0xFF000000u | ((DWORD)(red * 255.0f) << 16) | ((DWORD)(green * 255.0f) << 8) | (DWORD)(blue * 255.0f);
}
#endif

/* Marks the module as ours, so a test can tell it from a system library. */
EXPORT int VorlFakeLibrary(void) { return 1; }
