#include "gfx/device_selection.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "framework/afx_hooks.h"
#include "gfx/binding.h"
#include "gfx/com_release.h"
#include "gfx/device_state.h"
#include "gfx/error_report.h"
#include "gfx/windowed_surfaces.h"

namespace {

// Our own copies of the identifiers, so that this unit does not depend on
// which unit instantiates the headers' GUIDs.
constexpr GUID kIidDirect3DRM2 = {0x4516ECC8, 0x8F20, 0x11D0, {0x9B, 0x6D, 0x00, 0x00, 0xC0, 0x78, 0x1B, 0xC3}};
constexpr GUID kIidDirect3D2 = {0x6AAE1EC1, 0x662A, 0x11D0, {0x88, 0x9D, 0x00, 0xAA, 0x00, 0xBB, 0xB7, 0x6A}};
constexpr GUID kIidMmxDevice = {0x881949A1, 0xD6F3, 0x11D0, {0x89, 0xAB, 0x00, 0xA0, 0xC9, 0x05, 0x41, 0x29}};
constexpr GUID kIidRgbDevice = {0xA4665C60, 0x2673, 0x11CF, {0xA3, 0x1A, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};
constexpr GUID kIidRampDevice = {0xF2086B20, 0x259F, 0x11CF, {0xA3, 0x1A, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};

static_assert(offsetof(D3DDEVICEDESC, dwDeviceZBufferBitDepth) + sizeof(DWORD) <= kDeviceDescV5Size,
              "the Z-buffer depths lie in the DirectX 5 part of the description");

constexpr DWORD kZBufferDepths = DDBD_16 | DDBD_24 | DDBD_32;  // 0x700
constexpr float kBackClippingPlane = 5000.0f;

void LogGuid(const char* format, const char* name, const GUID& guid) {
    char line[512];
    std::snprintf(line, sizeof line, format, name ? name : "", static_cast<unsigned>(guid.Data1));
    AfxOutputDebugString(line);
}

// Copies the system palette and marks the entries Direct3D may use.
void BuildPalette() {
    DeviceState& s = g_deviceState;
    AfxOutputDebugString("NVX:palettized \n");
    HDC screen = GetDC(nullptr);
    GetSystemPaletteEntries(screen, 0, 256, s.paletteEntries);
    ReleaseDC(nullptr, screen);
    for (int i = 0; i < 256; ++i) {
        s.paletteEntries[i].peFlags = (i < 10 || i > 245) ? D3DPAL_READONLY : PC_RESERVED;
    }
    NvxRelease(s.palette);  // a repeated call replaces the palette rather than dropping it
    s.directDraw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_INITIALIZE, s.paletteEntries, &s.palette, nullptr);
    if (!s.palette) return;
    if (s.backBuffer) s.backBuffer->SetPalette(s.palette);
    if (s.primarySurface) s.primarySurface->SetPalette(s.palette);
}

void ApplyHardwareQuality() {
    DeviceState& s = g_deviceState;
    s.rmDevice->SetShades(16);
    s.rm2->SetDefaultTextureColors(16);
    s.rm2->SetDefaultTextureShades(16);
    s.rmDevice->SetTextureQuality(D3DRMTEXTURE_LINEAR);
    s.rmDevice->SetQuality(D3DRMRENDER_GOURAUD);
    s.rmDevice->SetDither(TRUE);
}

void ApplyLowQuality() {
    DeviceState& s = g_deviceState;
    s.rmDevice->SetDither(FALSE);
    s.rmDevice->SetQuality(D3DRMRENDER_FLAT);
    s.rmDevice->SetTextureQuality(D3DRMTEXTURE_NEAREST);
    s.rmDevice->SetShades(32);
}

static_assert(D3DRMRENDER_GOURAUD == 137 && D3DRMRENDER_FLAT == 136, "render qualities");

// Creates and attaches the Z-buffer of the back buffer's size.
int CreateZBuffer(DWORD depth, bool videoMemory) {
    DeviceState& s = g_deviceState;
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = kSurfaceDescSize;
    if (s.backBuffer->GetSurfaceDesc(&desc) != 0) {
        // DirectDraw makes no surface without a size: the back buffer's is
        // the client area's, which it was made with.
        desc.dwWidth = static_cast<DWORD>(s.clientWidth);
        desc.dwHeight = static_cast<DWORD>(s.clientHeight);
    }
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_ZBUFFERBITDEPTH;
    desc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | (videoMemory ? DDSCAPS_VIDEOMEMORY : DDSCAPS_SYSTEMMEMORY);
    desc.dwZBufferBitDepth = depth;
    if (s.directDraw->CreateSurface(&desc, &s.zBuffer, nullptr) != 0 || !s.zBuffer) {
        NvxShowMessage("Zバッファの生成に失敗しました");
        return 0;
    }
    if (s.backBuffer->AddAttachedSurface(s.zBuffer) != 0) {
        NvxShowMessage("Zバッファのアタッチに失敗しました");
        return 0;
    }
    return 1;
}

bool CreateDeviceWith(const GUID& guid) {
    DeviceState& s = g_deviceState;
    if (s.direct3D2->CreateDevice(guid, s.backBuffer, &s.device2) == 0 && s.device2) return true;
    // A refusal that still handed a device back: the next try would drop it.
    NvxRelease(s.device2);
    return false;
}

}  // namespace

HRESULT CALLBACK NvxEnumDeviceCallback(GUID* guid, char* /*description*/, char* name, D3DDEVICEDESC* hardwareDesc,
                                       D3DDEVICEDESC* softwareDesc, void* context) {
    DeviceState& s = g_deviceState;
    auto* found = static_cast<DeviceEnumContext*>(context);
    if (s.enumDone) return D3DENUMRET_OK;
    const GUID none = {};
    const GUID& id = guid ? *guid : none;

    if (hardwareDesc && (found->colorModel & hardwareDesc->dcmColorModel) != 0) {
        if ((hardwareDesc->dwDeviceZBufferBitDepth & kZBufferDepths) == 0) return D3DENUMRET_OK;
        std::memcpy(&found->hardwareDesc, hardwareDesc, kDeviceDescV5Size);
        found->hardwareGuid = id;
        found->hasHardwareGuid = TRUE;
        LogGuid("NVX:HAL DeviceName :%s %x\n", name, id);
        s.enumDone = 1;
        s.halInUse = 1;
    } else if (softwareDesc && (found->colorModel & softwareDesc->dcmColorModel) != 0 && !found->hasSoftwareGuid) {
        found->softwareGuid = id;
        found->hasSoftwareGuid = TRUE;
        LogGuid("NVX:DeviceName :%s %x\n", name, id);
    }
    return D3DENUMRET_OK;
}

int NvxCreateDevice(DWORD colorModel) {
    DeviceState& s = g_deviceState;
    DeviceEnumContext found;
    std::memset(&found, 0, sizeof found);
    found.colorModel = colorModel;

    NvxRelease(s.direct3D2);  // never drop a reference the record still holds
    HRESULT query = s.directDraw->QueryInterface(kIidDirect3D2, reinterpret_cast<void**>(&s.direct3D2));
    if (query < 0 || !s.direct3D2) {
        AfxOutputDebugString("NVX:Error:Failed to QI Direct3D2 from DirectDraw\n");
        NvxShowMessage("Direct3D2インターフェイスの取得に失敗しました");
        NvxRelease(s.directDraw);
        return 0;
    }

    s.enumDone = 0;
    s.direct3D2->EnumDevices(NvxEnumDeviceCallback, &found);

    DWORD depth = 16;
    const bool hardware = found.hasHardwareGuid != FALSE;
    if (hardware) {
        const DWORD offered = found.hardwareDesc.dwDeviceZBufferBitDepth;
        depth = (offered & DDBD_16) ? 16 : (offered & DDBD_24) ? 24 : 32;
        s.deviceGuid = found.hardwareGuid;
        AfxOutputDebugString("NVX:I'll use HAL\n");
    }
    char line[64];
    std::sprintf(line, "NVX:DeviceGuid %x\n", static_cast<unsigned>(s.deviceGuid.Data1));
    AfxOutputDebugString(line);

    if (!CreateZBuffer(depth, hardware)) return 0;

    if (hardware) {
        if (!CreateDeviceWith(s.deviceGuid)) {
            AfxOutputDebugString("NVX:Can't Create Direct3DDevice2 from Direct3D2\n");
            NvxShowMessage("Direct3DDevice2の取得に失敗しました");
            NvxCleanup();
            return 0;
        }
        return 1;
    }

    if (CreateDeviceWith(kIidMmxDevice)) {
        AfxOutputDebugString("NVX:Created Direct3DDevice with MMX(HEL)\n");
        return 1;
    }
    bool created;
    if (colorModel == D3DCOLOR_RGB) {
        created = CreateDeviceWith(kIidRgbDevice);
        AfxOutputDebugString("NVX:Created Direct3DDevice with RGB(HEL)\n");
    } else {
        created = CreateDeviceWith(kIidRampDevice);
        AfxOutputDebugString("NVX:Created Direct3DDevice with RAMP(HEL)\n");
    }
    if (!created) {
        AfxOutputDebugString("NVX:Failed to Create Direct3DDevice!\n");
        NvxShowMessage("Direct3DDeviceの生成に失敗しました");
        NvxCleanup();
        return 0;
    }
    return 1;
}

int CreateD3DRM() {
    DeviceState& s = g_deviceState;
    AfxOutputDebugString("NVX:CreateD3DRM\n");

    if (!s.rm2) {
        if (NvxDirect3DRMCreate(&s.rm) != 0 || !s.rm) {
            NvxCleanup();
            NvxShowMessage("IDirect3DRMの取得に失敗しました");
            return 0;
        }
        if (s.rm->QueryInterface(kIidDirect3DRM2, reinterpret_cast<void**>(&s.rm2)) != 0 || !s.rm2) {
            NvxRelease(s.rm);
            NvxCleanup();
            NvxShowMessage("IDirect3DRM2の取得に失敗しました。DirectX5以上がインストールされているか確認してください。");
            return 0;
        }
        NvxRelease(s.rm);
    }

    if (s.bitsPerPixel == 8) BuildPalette();

    if (s.device2) return 1;

    if (!NvxCreateDevice(static_cast<DWORD>(s.deviceKind))) {
        NvxCleanup();
        AfxOutputDebugString("NVX:Error:Fail to Direct3D create \n ");
        return 0;
    }

    HRESULT result = s.rm2->CreateDeviceFromD3D(s.direct3D2, s.device2, &s.rmDevice);
    if (result != 0) NvxReportRMError(result);
    if (!s.rmDevice) return 0;  // no device came back: nothing to configure

    s.rmDevice->SetBufferCount(2);
    if (s.bitsPerPixel != 8 && s.halInUse) {
        ApplyHardwareQuality();
    } else {
        ApplyLowQuality();
    }
    return 1;
}

int NvxCreateD3DRM() { return CreateD3DRM(); }

int NVXViewport(IDirect3DRMFrame* cameraFrame) {
    DeviceState& s = g_deviceState;
    AfxOutputDebugString("NVX:NVXViewport\n");
    char line[96];
    std::sprintf(line, "NVX:Viewport width:%d height:%d\n", s.clientWidth, s.clientHeight);
    AfxOutputDebugString(line);
    if (!s.rm2 || !s.rmDevice) return 0;  // no retained-mode device to look through

    HRESULT result = s.rm2->CreateViewport(s.rmDevice, cameraFrame, 0, 0, s.clientWidth, s.clientHeight, &s.viewport);
    if (result != 0) NvxReportRMError(result);
    AfxOutputDebugString("phase 3\n");
    if (s.viewport) {
        result = s.viewport->SetBack(kBackClippingPlane);
        if (result != 0) NvxReportRMError(result);
    }
    AfxOutputDebugString("phase 4\n");
    return 1;
}
