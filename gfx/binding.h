// Run-time binding to "ddraw.dll" and "d3drm.dll", and the two wrappers
// through which the layer calls their creation functions.
#pragma once

#include "gfx/device_state.h"

// Takes the working folder out of the library search for the rest of the
// process: libraries are looked for in the program's folder, System32 and
// folders added on purpose. Called first thing in the program, before any
// library is loaded by name.
void NvxRestrictLibrarySearch();

// Binding codes of NvxLoadLibraries.
enum NvxBindingCode {
    kBindOk = 0,
    kBindNoD3drm = 1,
    kBindNoDdraw = 2,
    kBindNoDirect3DRMCreate = 3,
    kBindNoColorGetGreen = 4,
    kBindNoColorGetRed = 5,
    kBindNoColorGetBlue = 6,
    kBindNoCreateColorRGB = 7,
    kBindNoDirectDrawCreate = 8,
    kBindNoDirectDrawEnumerate = 9,
};

// Loads both libraries and resolves the seven entry points; returns a binding
// code. Returns 0 at once, loading nothing, when both handles are already set.
// A missing export does not unload the libraries; the last missing export in
// resolution order decides the code.
int NvxLoadLibraries();

// Frees whichever library is loaded (d3drm first) and clears its handle.
// The entry points keep their values.
void NvxFreeLibraries();

// The result code the wrappers return, without calling, when their entry
// point is null (the binding has already reported the missing export):
// CO_E_NOTINITIALIZED, which the DirectDraw table names DDERR_NOTINITIALIZED.
// The destination, when given, is set to null.
constexpr HRESULT kNvxNoEntryPoint = static_cast<HRESULT>(0x800401F0L);

// Null address: 0 at once, nothing created. Otherwise pfnDirect3DRMCreate's result.
HRESULT NvxDirect3DRMCreate(IDirect3DRM** d3drm);

// pfnDirectDrawCreate(driver, directDraw, outer) and its result.
HRESULT NvxDirectDrawCreate(GUID* driver, IDirectDraw** directDraw, IUnknown* outer);
