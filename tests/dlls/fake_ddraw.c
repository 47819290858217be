/* A stand-in "ddraw.dll" whose exports are chosen at build time (OMIT_<export>). */
#include <windows.h>

#define EXPORT __declspec(dllexport)

#ifndef OMIT_DirectDrawCreate
EXPORT HRESULT WINAPI DirectDrawCreate(GUID* driver, void** directDraw, void* outer) {
    (void)driver;
    (void)outer;
    if (directDraw) *directDraw = NULL;
    return E_NOTIMPL;
}
#endif
#ifndef OMIT_DirectDrawEnumerateA
EXPORT HRESULT WINAPI DirectDrawEnumerateA(void* callback, void* context) {
    (void)callback;
    (void)context;
    return E_NOTIMPL;
}
#endif

EXPORT int VorlFakeLibrary(void) { return 1; }
