#include "gfx/windowed_surfaces.h"

#include <cstdio>
#include <cstring>

#include "framework/afx_hooks.h"
#include "gfx/binding.h"
#include "gfx/com_release.h"
#include "gfx/device_selection.h"
#include "gfx/device_state.h"
#include "gfx/error_report.h"

namespace {

constexpr DWORD kPrimaryCaps = DDSCAPS_PRIMARYSURFACE;  // 0x200
// First set-up: the back buffer must be in video memory.
constexpr DWORD kBackBufferCaps = DDSCAPS_VIDEOMEMORY | DDSCAPS_3DDEVICE | DDSCAPS_OFFSCREENPLAIN;  // 0x6040
// Rebuild on resize: DirectDraw places it where it can.
constexpr DWORD kRebuiltBackBufferCaps = DDSCAPS_3DDEVICE | DDSCAPS_OFFSCREENPLAIN;  // 0x2040
static_assert(kBackBufferCaps == 0x6040 && kRebuiltBackBufferCaps == 0x2040, "back buffer caps");

// A DirectDraw call that fails here ends the process.
void Check(HRESULT result) {
    if (result != 0) NvxReportDDError(result);
}

void ReadColourDepth(HWND window) {
    HDC dc = GetDC(window);
    g_deviceState.bitsPerPixel = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(window, dc);
}

void ReadClientRect(HWND window) {
    DeviceState& s = g_deviceState;
    GetClientRect(window, &s.screenRect);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    s.screenRect.left += origin.x;
    s.screenRect.right += origin.x;
    s.screenRect.top += origin.y;
    s.screenRect.bottom += origin.y;
    s.clientWidth = s.screenRect.right - s.screenRect.left;
    s.clientHeight = s.screenRect.bottom - s.screenRect.top;
}

void CreateDirectDrawObject() {
    Check(NvxDirectDrawCreate(nullptr, &g_deviceState.directDraw, nullptr));
}

// The virtual screen: every monitor's area, which may start left of or
// above the primary monitor. Empty when no size is known.
RECT VirtualScreen() {
    const LONG left = afx_hooks::systemMetric(SM_XVIRTUALSCREEN);
    const LONG top = afx_hooks::systemMetric(SM_YVIRTUALSCREEN);
    const LONG width = afx_hooks::systemMetric(SM_CXVIRTUALSCREEN);
    const LONG height = afx_hooks::systemMetric(SM_CYVIRTUALSCREEN);
    if (width <= 0 || height <= 0) return RECT{0, 0, 0, 0};
    return RECT{left, top, left + width, top + height};
}

// Cooperative level, primary surface, back buffer and clipper: shared by the
// first set-up and the rebuild, which differ only in the back buffer's caps.
void BuildSurfaces(HWND window, DWORD backBufferCaps) {
    DeviceState& s = g_deviceState;
    Check(s.directDraw->SetCooperativeLevel(window, DDSCL_NORMAL));

    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = kSurfaceDescSize;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = kPrimaryCaps;
    s.primaryRect = VirtualScreen();
    Check(s.directDraw->CreateSurface(&desc, &s.primarySurface, nullptr));

    // The same record, not cleared again.
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwHeight = s.clientHeight;
    desc.dwWidth = s.clientWidth;
    desc.ddsCaps.dwCaps = backBufferCaps;
    Check(s.directDraw->CreateSurface(&desc, &s.backBuffer, nullptr));

    Check(s.directDraw->CreateClipper(0, &s.clipper, nullptr));
    Check(s.clipper->SetHWnd(0, window));
    Check(s.primarySurface->SetClipper(s.clipper));
}

void ForceViewportUpdate() {
    DeviceState& s = g_deviceState;
    if (!s.viewport) return;  // nothing to update before the next scene set-up
    s.viewport->ForceUpdate(0, 0, s.clientWidth, s.clientHeight);
}

void RestoreIfLost(IDirectDrawSurface* surface) {
    if (surface->IsLost() != 0) {
        // A surface made in an earlier display mode answers DDERR_WRONGMODE
        // and stays lost: only new surfaces can take its place.
        if (surface->Restore() != DD_OK) g_deviceState.surfacesLost = 1;
        ForceViewportUpdate();
    }
}

// What a present answers once the system has taken the surfaces away.
bool IsLostSurfaceResult(HRESULT result) { return result == DDERR_SURFACELOST || result == DDERR_WRONGMODE; }

// Cuts both rectangles by the strips of `target` that lie outside `bounds`;
// an empty `bounds` cuts nothing.
void ClipTo(const RECT& bounds, RECT& target, RECT& source) {
    if (bounds.left >= bounds.right || bounds.top >= bounds.bottom) return;
    if (target.left < bounds.left) {
        source.left += bounds.left - target.left;
        target.left = bounds.left;
    }
    if (target.top < bounds.top) {
        source.top += bounds.top - target.top;
        target.top = bounds.top;
    }
    if (target.right > bounds.right) {
        source.right -= target.right - bounds.right;
        target.right = bounds.right;
    }
    if (target.bottom > bounds.bottom) {
        source.bottom -= target.bottom - bounds.bottom;
        target.bottom = bounds.bottom;
    }
}

// The primary surface spans the virtual screen as it was when the surface was
// made; a destination reaching past its edges fails the whole copy
// (DDERR_INVALIDRECT) even with the clipper set. A display change that keeps
// the surfaces (another program's, under Wine) leaves the old extent while the
// screen already has the new one, until the change's own set-up: the copy
// stays inside both. A window pushed or sized partly off the screens shows
// the part on them: both rectangles lose the same strips. False when nothing
// is left.
bool ClipToScreen(RECT& target, RECT& source) {
    ClipTo(g_deviceState.primaryRect, target, source);
    ClipTo(VirtualScreen(), target, source);
    return target.left < target.right && target.top < target.bottom;
}

}  // namespace

int CreateDirectDrawWin(HWND window) {
    DeviceState& s = g_deviceState;
    AfxOutputDebugString("NVX:CreateDirectDrawWin\n");
    NvxCleanup();
    ReadColourDepth(window);
    ReadClientRect(window);
    CreateDirectDrawObject();

    // The DirectX 5 records: DirectDraw fills the first dwSize bytes, so the
    // texture capabilities are read where that layout has them (the headers'
    // DDCAPS is a later, longer layout whose ddsCaps lies past those bytes).
    DDCAPS_DX5 driverCaps;
    DDCAPS_DX5 emulationCaps;
    std::memset(&driverCaps, 0, sizeof driverCaps);
    std::memset(&emulationCaps, 0, sizeof emulationCaps);
    driverCaps.dwSize = kCapsSize;
    emulationCaps.dwSize = kCapsSize;
    s.directDraw->GetCaps(reinterpret_cast<DDCAPS*>(&driverCaps), reinterpret_cast<DDCAPS*>(&emulationCaps));

    s.deviceKind = s.preferRgb != 0 ? D3DCOLOR_RGB : D3DCOLOR_MONO;
    if ((driverCaps.dwCaps & DDCAPS_3D) && (driverCaps.ddsCaps.dwCaps & DDSCAPS_TEXTURE)) s.deviceKind = D3DCOLOR_RGB;

    BuildSurfaces(window, kBackBufferCaps);
    s.windowedReady = 1;
    return 1;
}

int NvxResizeWindow(HWND window, int width, int height) {
    DeviceState& s = g_deviceState;
    AfxOutputDebugString("NVX:Resize Window\n");
    if (s.windowedReady == 0) return 0;

    const bool hadRetainedMode = s.rm2 != nullptr;
    // Everything built on the old surfaces goes; the retained-mode object stays.
    NvxRelease(s.viewport);
    NvxRelease(s.rmDevice);
    NvxRelease(s.device2);
    NvxRelease(s.direct3D2);
    NvxRelease(s.palette);
    NvxRelease(s.zBuffer);
    NvxRelease(s.backBuffer);
    NvxRelease(s.clipper);
    NvxRelease(s.primarySurface);
    NvxRelease(s.directDraw);

    s.resizing = 1;
    ReadColourDepth(window);
    ReadClientRect(window);
    char line[128];
    std::sprintf(line, " NVx:%d,%d - param %d,%d \n", s.clientWidth, s.clientHeight, width, height);
    AfxOutputDebugString(line);
    // A window sized down to its title bar has no client area: DirectDraw
    // refuses a back buffer without width or height. The set-up that follows
    // the next size with an area makes everything.
    if (s.clientWidth <= 0 || s.clientHeight <= 0) {
        s.resizing = 0;
        return 0;
    }

    CreateDirectDrawObject();
    s.deviceKind = D3DCOLOR_MONO;
    BuildSurfaces(window, kRebuiltBackBufferCaps);
    s.windowedReady = 1;

    if (hadRetainedMode) CreateD3DRM();
    s.resizing = 0;
    return 1;
}

int NvxPresent() {
    DeviceState& s = g_deviceState;
    if (s.resizing != 0 || s.renderingEnabled == 0) return 0;
    if (!s.primarySurface) return 0;  // no surfaces: nothing to show
    if (s.surfacesLost) return 0;     // nothing to show until new surfaces exist
    HRESULT result;
    if (s.windowedReady) {
        RECT target = s.screenRect;
        RECT source = {0, 0, s.clientWidth, s.clientHeight};
        if (!ClipToScreen(target, source)) return 1;  // nothing of the window on the screen
        result = s.primarySurface->Blt(&target, s.backBuffer, &source, DDBLT_WAIT, nullptr);
    } else {
        result = s.primarySurface->Flip(s.backBuffer, DDFLIP_WAIT);
    }
    if (IsLostSurfaceResult(result)) {
        s.surfacesLost = 1;
        return 0;
    }
    Check(result);
    return 1;
}

int NvxUpdateScreenRect(HWND window) {
    ReadClientRect(window);
    return 1;
}

int NvxRestoreSurfaces() {
    DeviceState& s = g_deviceState;
    if (s.renderingEnabled == 0) return 1;
    if (!s.primarySurface) return 1;
    RestoreIfLost(s.primarySurface);
    // A back buffer lost to the system would otherwise end the next present.
    if (s.backBuffer) RestoreIfLost(s.backBuffer);
    if (!s.zBuffer) return 1;
    RestoreIfLost(s.zBuffer);
    return 1;
}
