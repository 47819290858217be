#include "gfx/binding.h"

namespace {

template <class Pfn>
bool Resolve(HMODULE library, const char* name, Pfn& field) {
    field = reinterpret_cast<Pfn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return field != nullptr;
}

}  // namespace

void NvxRestrictLibrarySearch() {
    // Windows has shipped no d3drm.dll since Vista, so its standard search
    // order goes on to the working folder, and a d3drm.dll lying there would
    // run in this process. The program's folder stays first: a ddraw.dll
    // beside Vorl.exe (a DirectDraw wrapper) is still the one loaded.
    // SetDefaultDllDirectories comes with Windows 8 and with Windows 7's 2011
    // loader update, so it is looked up; without it, an empty
    // SetDllDirectoryW takes the working folder out of the search.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (!setDefault || !setDefault(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS)) SetDllDirectoryW(L"");
}

int NvxLoadLibraries() {
    DeviceState& s = g_deviceState;
    if (s.d3drmLibrary && s.ddrawLibrary) return kBindOk;

    s.d3drmLibrary = LoadLibraryA("d3drm.dll");
    if (!s.d3drmLibrary) {
        NvxFreeLibraries();
        return kBindNoD3drm;
    }
    s.ddrawLibrary = LoadLibraryA("ddraw.dll");
    if (!s.ddrawLibrary) {
        NvxFreeLibraries();
        return kBindNoDdraw;
    }

    // All seven are resolved whatever is missing; each miss overwrites the
    // code of an earlier one, so the last missing export decides.
    int code = kBindOk;
    if (!Resolve(s.d3drmLibrary, "Direct3DRMCreate", s.pfnDirect3DRMCreate)) code = kBindNoDirect3DRMCreate;
    if (!Resolve(s.d3drmLibrary, "D3DRMColorGetGreen", s.pfnD3DRMColorGetGreen)) code = kBindNoColorGetGreen;
    if (!Resolve(s.d3drmLibrary, "D3DRMColorGetRed", s.pfnD3DRMColorGetRed)) code = kBindNoColorGetRed;
    if (!Resolve(s.d3drmLibrary, "D3DRMColorGetBlue", s.pfnD3DRMColorGetBlue)) code = kBindNoColorGetBlue;
    if (!Resolve(s.d3drmLibrary, "D3DRMCreateColorRGB", s.pfnD3DRMCreateColorRGB)) code = kBindNoCreateColorRGB;
    if (!Resolve(s.ddrawLibrary, "DirectDrawCreate", s.pfnDirectDrawCreate)) code = kBindNoDirectDrawCreate;
    if (!Resolve(s.ddrawLibrary, "DirectDrawEnumerateA", s.pfnDirectDrawEnumerateA)) code = kBindNoDirectDrawEnumerate;
    return code;
}

void NvxFreeLibraries() {
    DeviceState& s = g_deviceState;
    if (s.d3drmLibrary) {
        FreeLibrary(s.d3drmLibrary);
        s.d3drmLibrary = nullptr;
    }
    if (s.ddrawLibrary) {
        FreeLibrary(s.ddrawLibrary);
        s.ddrawLibrary = nullptr;
    }
}

HRESULT NvxDirect3DRMCreate(IDirect3DRM** d3drm) {
    if (!d3drm) return 0;
    if (!g_deviceState.pfnDirect3DRMCreate) {
        *d3drm = nullptr;
        return kNvxNoEntryPoint;
    }
    return g_deviceState.pfnDirect3DRMCreate(d3drm);
}

HRESULT NvxDirectDrawCreate(GUID* driver, IDirectDraw** directDraw, IUnknown* outer) {
    if (!g_deviceState.pfnDirectDrawCreate) {
        if (directDraw) *directDraw = nullptr;
        return kNvxNoEntryPoint;
    }
    return g_deviceState.pfnDirectDrawCreate(driver, directDraw, outer);
}
