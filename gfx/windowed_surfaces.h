// The window's DirectDraw objects: primary surface, clipper and back buffer,
// their rebuild when the window changes size, the per-frame copy of the back
// buffer into the client area and the restoring of lost surfaces. All state
// lives in g_deviceState (gfx/device_state.h).
#pragma once

#include <windows.h>
#include <ddraw.h>

// Size of the surface description record DirectDraw expects: 108 bytes in
// the 32-bit build; the 64-bit record holds an 8-byte pointer and is larger,
// and DirectDraw rejects any other size.
constexpr DWORD kSurfaceDescSize = sizeof(DDSURFACEDESC);
// The capability record in its DirectX 5 layout.
constexpr DWORD kCapsSize = sizeof(DDCAPS_DX5);
static_assert(sizeof(void*) != 4 || kSurfaceDescSize == 108, "DDSURFACEDESC layout");
static_assert(kCapsSize == 364, "DDCAPS_DX5 layout");

// Creates the DirectDraw object, the primary surface with its clipper bound to
// `window`, and the back buffer of the client area's size. Returns 1; a
// failing DirectDraw call ends the process.
int CreateDirectDrawWin(HWND window);

// Rebuilds the DirectDraw objects for the window's new client size and, when a
// retained-mode object exists, the 3D device on them. `width` and `height`
// only appear in the log line. Returns 0 before the first CreateDirectDrawWin,
// and when the client area is empty (everything released, nothing made).
int NvxResizeWindow(HWND window, int width, int height);

// Copies the back buffer into the window's client area on the screen.
// Returns 0 (and copies nothing) while resizing, with rendering disabled or
// once surfaces are lost for good. A copy that finds a surface lost
// (DDERR_SURFACELOST, DDERR_WRONGMODE) sets surfacesLost and returns 0; any
// other failure ends the process.
int NvxPresent();

// Recomputes the client area's screen rectangle and size. Returns 1.
int NvxUpdateScreenRect(HWND window);

// Restores the primary surface, the back buffer and the Z-buffer when the
// system has taken them away; one that will not come back sets surfacesLost.
// Returns 1.
int NvxRestoreSurfaces();
