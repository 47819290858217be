// The doubles themselves: the graphics tests rely on their counting, their
// failure injection and their log, so those are checked here.
#include "tests/doubles/dx_doubles.h"

#include "framework/afx_hooks.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using dxd::DxDoubles;

TEST(DxDoubles, CountsReferencesAndReportsWhatIsStillHeld) {
    DxDoubles dx;
    IDirectDraw* dd = nullptr;
    ASSERT_EQ(dxd::StandInDirectDrawCreate(nullptr, &dd, nullptr), S_OK);
    IDirectDrawSurface* surface = nullptr;
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    ASSERT_EQ(dd->CreateSurface(&desc, &surface, nullptr), S_OK);
    EXPECT_EQ(dx.Unreleased({dd, surface}), "");
    EXPECT_NE(dx.Unreleased({dd}), "");
    EXPECT_EQ(surface->AddRef(), 2u);
    EXPECT_EQ(surface->Release(), 1u);
    surface->Release();
    dd->Release();
    EXPECT_EQ(dx.Unreleased(), "");
    EXPECT_EQ(dx.log.Released(), (std::vector<std::string>{"IDirectDrawSurface#1", "IDirectDrawSurface#1", "IDirectDraw#1"}));
    EXPECT_EQ(dx.surfaces[0]->created.ddsCaps.dwCaps, DWORD(DDSCAPS_PRIMARYSURFACE));
}

TEST(DxDoubles, ReportsOverReleaseAndUseAfterRelease) {
    DxDoubles dx;
    auto* clipper = dx.NewClipper();
    clipper->Release();
    clipper->Release();
    clipper->SetHWnd(0, nullptr);
    EXPECT_EQ(dx.errors.size(), 2u);
    EXPECT_NE(dx.Unreleased(), "");
    dx.errors.clear();
}

TEST(DxDoubles, FailsNamedCallsOnceAlwaysAfterAndByArguments) {
    DxDoubles dx;
    auto* s1 = dx.NewSurface();
    auto* s2 = dx.NewSurface();
    dx.Fail("IDirectDrawSurface::IsLost", DDERR_SURFACELOST, 1);
    dx.Fail(s2, "Restore", DDERR_GENERIC);
    EXPECT_EQ(s1->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(s1->IsLost(), S_OK);
    EXPECT_EQ(s1->Restore(), S_OK);
    EXPECT_EQ(s2->Restore(), DDERR_GENERIC);
    EXPECT_EQ(s2->Restore(), DDERR_GENERIC);

    auto* d3d = dx.NewDirect3D2();
    dx.Fail("IDirect3D2::CreateDevice", E_FAIL, dxd::kAlways, 0, "IID_IDirect3DMMXDevice");
    dx.Fail("IDirect3D2::CreateDevice", D3DERR_SURFACENOTINVIDMEM, 1, 1);
    IDirect3DDevice2* device = reinterpret_cast<IDirect3DDevice2*>(1);
    EXPECT_EQ(d3d->CreateDevice(IID_IDirect3DMMXDevice, s1, &device), E_FAIL);
    EXPECT_EQ(device, nullptr);  // a failing call hands back nothing
    EXPECT_EQ(d3d->CreateDevice(IID_IDirect3DRGBDevice, s1, &device), S_OK);  // first matching: skipped
    device->Release();
    EXPECT_EQ(d3d->CreateDevice(IID_IDirect3DRGBDevice, s1, &device), D3DERR_SURFACENOTINVIDMEM);
    EXPECT_EQ(d3d->CreateDevice(IID_IDirect3DRGBDevice, s1, &device), S_OK);
    device->Release();
    EXPECT_TRUE(dx.log.Contains("IDirect3D2#1.CreateDevice(IID_IDirect3DRGBDevice, IDirectDrawSurface#1)"));
    s1->Release();
    s2->Release();
    d3d->Release();
    dx.ExpectAllReleased();
}

TEST(DxDoubles, QueriedInterfacesHoldWhatTheyCameFrom) {
    DxDoubles dx;
    auto* surface = dx.NewSurface();
    IDirect3DTexture2* texture = nullptr;
    ASSERT_EQ(surface->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<void**>(&texture)), S_OK);
    surface->Release();
    EXPECT_EQ(dx.Unreleased({surface, texture}), "");
    texture->Release();

    auto* rmViewport = dx.NewRMViewport();
    IDirect3DViewport* im = nullptr;
    ASSERT_EQ(rmViewport->GetDirect3DViewport(&im), S_OK);
    IDirect3DViewport2* im2 = nullptr;
    ASSERT_EQ(im->QueryInterface(IID_IDirect3DViewport2, reinterpret_cast<void**>(&im2)), S_OK);
    im2->Release();
    im->Release();
    rmViewport->Release();
    dx.ExpectAllReleased();
}

TEST(DxDoubles, RecordsHookedLinesBoxesAndExitsInTheSameLog) {
    DxDoubles dx;
    AfxOutputDebugString("NVX:line\n");
    auto* s = dx.NewSurface();
    s->IsLost();
    EXPECT_THROW(AfxExitProcess(1), dxd::ExitCalled);
    afx_hooks::messageBox("text", MB_OK, 0);
    EXPECT_EQ(dx.log.Texts(), (std::vector<std::string>{"debug:NVX:line\n", "IDirectDrawSurface#1.IsLost()", "exit:1", "box:text"}));
    s->Release();
}

TEST(DxDoubles, FillRecordsLikeDirectDrawUpToTheCallersSize) {
    DxDoubles dx;
    auto* dd = dx.NewDirectDraw();
    dx.config.driverCaps.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
    // A DirectX 5 record: the texture bit arrives in its own field, and not
    // one byte past the 364 it declares is written.
    struct {
        DDCAPS_DX5 caps;
        unsigned char after[sizeof(DDCAPS_DX7) - sizeof(DDCAPS_DX5)];
    } dx5;
    std::memset(&dx5, 0xAB, sizeof dx5);
    dx5.caps.dwSize = sizeof(DDCAPS_DX5);
    ASSERT_EQ(dd->GetCaps(reinterpret_cast<DDCAPS*>(&dx5.caps), nullptr), S_OK);
    EXPECT_EQ(dx5.caps.dwSize, 364u);
    EXPECT_EQ(dx5.caps.ddsCaps.dwCaps, DWORD(DDSCAPS_TEXTURE));
    for (unsigned char byte : dx5.after) ASSERT_EQ(byte, 0xAB);

    // Sizes DirectDraw does not know, or no record at all, are refused
    // and nothing is written.
    DDCAPS_DX7 odd;
    std::memset(&odd, 0xAB, sizeof odd);
    odd.dwSize = 100;
    EXPECT_EQ(dd->GetCaps(&odd, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(odd.dwCaps, 0xABABABABu);
    EXPECT_EQ(dd->GetCaps(nullptr, nullptr), DDERR_INVALIDPARAMS);

    // Surface descriptions: DirectDraw's own size only, and no surface
    // without width or height.
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc - 4;
    desc.dwFlags = DDSD_CAPS;
    IDirectDrawSurface* surface = nullptr;
    EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface, nullptr);
    DDSURFACEDESC flat = {};
    flat.dwSize = sizeof flat;
    flat.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    flat.dwWidth = 626;  // and no height
    flat.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    EXPECT_EQ(dd->CreateSurface(&flat, &surface, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface, nullptr);
    auto* made = dx.NewSurface();
    EXPECT_EQ(made->GetSurfaceDesc(&desc), DDERR_INVALIDPARAMS);
    desc.dwSize = sizeof desc;
    EXPECT_EQ(made->GetSurfaceDesc(&desc), S_OK);

    // A copy reaching outside either surface is refused whole, as by Wine
    // after another program's mode change; the screen-sized one starts at
    // the virtual screen's origin.
    desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = 64;
    desc.dwHeight = 32;
    auto* back = dx.NewSurface(&desc);
    const LONG x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const LONG right = x + GetSystemMetrics(SM_CXVIRTUALSCREEN), bottom = y + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    RECT inside = {right - 64, bottom - 32, right, bottom}, whole = {0, 0, 64, 32};
    RECT below = {x, bottom - 16, x + 64, bottom + 16}, wider = {0, 0, 65, 32};
    EXPECT_EQ(made->Blt(&inside, back, &whole, DDBLT_WAIT, nullptr), S_OK);
    EXPECT_EQ(made->Blt(&below, back, &whole, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    EXPECT_EQ(made->Blt(&inside, back, &wider, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    back->Release();
    made->Release();
    dd->Release();
    dx.ExpectAllReleased();
}

}  // namespace
