// The 3D side of the device layer: the retained-mode object, the choice and
// creation of the Immediate Mode device with its Z-buffer, the retained-mode
// device wrapped around it, and the viewport on a camera frame. All state
// lives in g_deviceState (gfx/device_state.h).
#pragma once

#include <windows.h>
#include <ddraw.h>
#include <d3d.h>
#include <d3drm.h>

// Size of the device description in its DirectX 5 layout; the enumeration
// keeps exactly this much of the accepted hardware description.
constexpr size_t kDeviceDescV5Size = 204;

// What the device enumeration hands back to NvxCreateDevice. Zeroed before
// each enumeration; lives on NvxCreateDevice's stack.
struct DeviceEnumContext {
    DWORD colorModel;          // the requested colour-model mask (deviceKind)
    BOOL hasHardwareGuid;      // a hardware device was accepted ...
    GUID hardwareGuid;         // ... with this GUID
    D3DDEVICEDESC hardwareDesc;  // its hardware description (first 204 bytes)
    BOOL hasSoftwareGuid;      // a software description matched (logged once)
    GUID softwareGuid;
};

// Makes the retained-mode object once, the palette on 8-bit displays, and,
// when no Immediate Mode device exists yet, the device with its Z-buffer, the
// retained-mode device and its quality settings. Returns 1 when rm2, device2
// and rmDevice exist, 0 after a failure (message shown, layer cleaned up).
// The resize path calls this one directly.
int CreateD3DRM();

// The entry point of the scene set-up: calls CreateD3DRM and returns its result.
int NvxCreateD3DRM();

// Gets Direct3D2 from DirectDraw, chooses a device for `colorModel` (a mask
// of D3DCOLOR_MONO / D3DCOLOR_RGB), creates and attaches the Z-buffer and
// creates the device on the back buffer. Returns 1, or 0 after a failure.
int NvxCreateDevice(DWORD colorModel);

// Device enumeration callback; `context` is a DeviceEnumContext. Accepts the
// first hardware device that matches the colour model and offers a 16, 24 or
// 32-bit Z-buffer. Always answers D3DENUMRET_OK.
HRESULT CALLBACK NvxEnumDeviceCallback(GUID* guid, char* description, char* name, D3DDEVICEDESC* hardwareDesc,
                                       D3DDEVICEDESC* softwareDesc, void* context);

// Creates the viewport over the whole client area of rmDevice for the camera
// frame (which the caller keeps) with its back clipping plane at 5000.
// Returns 1; a failing retained-mode call ends the process.
int NVXViewport(IDirect3DRMFrame* cameraFrame);
