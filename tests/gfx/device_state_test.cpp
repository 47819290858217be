// The device record: defaults, release order, setters, wrappers, and the
// release of held interfaces when the set-up runs again.
#include "gfx/binding.h"
#include "gfx/device_state.h"
#include "tests/doubles/dx_doubles.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using dxd::DxDoubles;

class DeviceStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&g_deviceState, 0, sizeof g_deviceState);
        dx.BindDeviceState();
    }
    DxDoubles dx;
    DeviceState& s = g_deviceState;

    // Every interface field filled with a fresh double, as after a full set-up.
    void FillRecord() {
        s.directDraw = dx.NewDirectDraw();
        s.direct3D2 = dx.NewDirect3D2();
        s.rm2 = dx.NewRM2();
        s.primarySurface = dx.NewSurface();
        s.backBuffer = dx.NewSurface();
        s.zBuffer = dx.NewSurface();
        s.palette = dx.NewPalette();
        s.clipper = dx.NewClipper();
        s.device2 = dx.NewDevice2();
        s.rmDevice = dx.NewRMDevice2();
        s.viewport = dx.NewRMViewport();
    }
    std::vector<std::string> ExpectedReleaseOrder() const {
        return {dx.NameOf(s.viewport),  dx.NameOf(s.rmDevice),  dx.NameOf(s.device2),    dx.NameOf(s.palette),
                dx.NameOf(s.zBuffer),   dx.NameOf(s.rm2),       dx.NameOf(s.direct3D2),  dx.NameOf(s.backBuffer),
                dx.NameOf(s.clipper),   dx.NameOf(s.primarySurface), dx.NameOf(s.directDraw)};
    }
    void ExpectNoInterfaces() const {
        EXPECT_EQ(s.directDraw, nullptr);
        EXPECT_EQ(s.direct3D2, nullptr);
        EXPECT_EQ(s.rm2, nullptr);
        EXPECT_EQ(s.rm, nullptr);
        EXPECT_EQ(s.primarySurface, nullptr);
        EXPECT_EQ(s.backBuffer, nullptr);
        EXPECT_EQ(s.zBuffer, nullptr);
        EXPECT_EQ(s.palette, nullptr);
        EXPECT_EQ(s.clipper, nullptr);
        EXPECT_EQ(s.device2, nullptr);
        EXPECT_EQ(s.rmDevice, nullptr);
        EXPECT_EQ(s.viewport, nullptr);
    }
};

TEST_F(DeviceStateTest, InitializeSetsTheDefaultsAndKeepsGuidLibrariesAndEntryPoints) {
    const GUID guid = IID_IDirect3DHALDevice;
    s.deviceGuid = guid;
    s.paletteEntries[200] = PALETTEENTRY{1, 2, 3, 4};
    s.deviceKind = 2;
    s.screenRect = RECT{10, 20, 30, 40};
    s.halInUse = s.preferRgb = s.renderingEnabled = s.windowedReady = s.resizing = s.enumDone = 1;
    std::strcpy(s.fatalText, "old");
    s.clientWidth = 400;
    s.clientHeight = 300;
    s.bitsPerPixel = 8;
    const DeviceState before = s;

    EXPECT_EQ(NvxInitialize(), 1);

    EXPECT_EQ(dx.log.DebugLines(), std::vector<std::string>{"NVX:Norvexa Initialize\n"});
    ExpectNoInterfaces();
    EXPECT_TRUE(IsEqualGUID(s.deviceGuid, guid));
    EXPECT_EQ(s.paletteEntries[200].peRed, 0);
    EXPECT_EQ(s.paletteEntries[200].peFlags, 0);
    EXPECT_EQ(s.deviceKind, 0);
    EXPECT_EQ(s.screenRect.left | s.screenRect.top | s.screenRect.right | s.screenRect.bottom, 0);
    EXPECT_EQ(s.halInUse, 0);
    EXPECT_EQ(s.preferRgb, 0);
    EXPECT_EQ(s.renderingEnabled, 0);
    EXPECT_EQ(s.windowedReady, 0);
    EXPECT_EQ(s.resizing, 0);
    EXPECT_EQ(s.enumDone, 0);
    EXPECT_STREQ(s.fatalText, "");
    EXPECT_EQ(s.clientWidth, 640);
    EXPECT_EQ(s.clientHeight, 480);
    EXPECT_EQ(s.bitsPerPixel, 16);
    EXPECT_EQ(s.ddrawLibrary, before.ddrawLibrary);
    EXPECT_EQ(s.d3drmLibrary, before.d3drmLibrary);
    EXPECT_EQ(s.pfnDirectDrawCreate, before.pfnDirectDrawCreate);
    EXPECT_EQ(s.pfnDirect3DRMCreate, before.pfnDirect3DRMCreate);
    EXPECT_EQ(s.pfnDirectDrawEnumerateA, before.pfnDirectDrawEnumerateA);
    EXPECT_EQ(s.pfnD3DRMCreateColorRGB, before.pfnD3DRMCreateColorRGB);
    dx.ExpectAllReleased();
}

// A repeated set-up (after every resize) must not drop the interfaces the
// record still holds: each is released exactly once, in the cleanup order,
// without the cleanup's progress line.
TEST_F(DeviceStateTest, InitializeReleasesWhatTheRecordHoldsOnceInCleanupOrder) {
    FillRecord();
    s.rm = dx.NewRM();
    std::vector<std::string> order = ExpectedReleaseOrder();
    order.push_back(dx.NameOf(s.rm));

    EXPECT_EQ(NvxInitialize(), 1);

    EXPECT_EQ(dx.log.Released(), order);
    EXPECT_EQ(dx.log.DebugLines(), std::vector<std::string>{"NVX:Norvexa Initialize\n"});
    ExpectNoInterfaces();
    dx.ExpectAllReleased();
}

TEST_F(DeviceStateTest, CleanupReleasesInItsOrderAndLeavesTheRestAlone) {
    FillRecord();
    s.rm = dx.NewRM();
    IDirect3DRM* rm = s.rm;
    s.renderingEnabled = 1;
    s.windowedReady = s.resizing = 1;
    s.deviceKind = 2;
    s.clientWidth = 400;
    const std::vector<std::string> order = ExpectedReleaseOrder();

    EXPECT_EQ(NvxCleanup(), 1);

    EXPECT_EQ(dx.log.DebugLines(), std::vector<std::string>{"NVX:Norvexa Cleanup\n"});
    EXPECT_EQ(dx.log.Texts().front(), "debug:NVX:Norvexa Cleanup\n");  // the line comes before any release
    EXPECT_EQ(dx.log.Released(), order);
    EXPECT_EQ(s.renderingEnabled, 0);
    EXPECT_EQ(s.rm, rm);
    EXPECT_EQ(s.windowedReady, 1);
    EXPECT_EQ(s.resizing, 1);
    EXPECT_EQ(s.deviceKind, 2);
    EXPECT_EQ(s.clientWidth, 400);
    dx.ExpectAllReleased({rm});
    s.rm->Release();
    s.rm = nullptr;
}

TEST_F(DeviceStateTest, CleanupToleratesAPartialOrEmptyRecordAndASecondRun) {
    s.backBuffer = dx.NewSurface();
    s.rm2 = dx.NewRM2();
    const std::vector<std::string> order = {dx.NameOf(s.rm2), dx.NameOf(s.backBuffer)};
    EXPECT_EQ(NvxCleanup(), 1);
    EXPECT_EQ(dx.log.Released(), order);
    EXPECT_EQ(NvxCleanup(), 1);
    EXPECT_EQ(dx.log.Released(), order);
    EXPECT_EQ(dx.log.DebugLines(), (std::vector<std::string>{"NVX:Norvexa Cleanup\n", "NVX:Norvexa Cleanup\n"}));
    ExpectNoInterfaces();
    dx.ExpectAllReleased();
}

TEST_F(DeviceStateTest, EnableRenderingTakesOnlyZeroAndOne) {
    EXPECT_EQ(NvxEnableRendering(1), 1);
    EXPECT_EQ(s.renderingEnabled, 1);
    EXPECT_EQ(NvxEnableRendering(2), 1);
    EXPECT_EQ(s.renderingEnabled, 1);
    EXPECT_EQ(NvxEnableRendering(0), 1);
    EXPECT_EQ(s.renderingEnabled, 0);
    EXPECT_EQ(NvxEnableRendering(-1), 1);
    EXPECT_EQ(s.renderingEnabled, 0);
}

TEST_F(DeviceStateTest, RgbPreferenceIsStoredUnchanged) {
    EXPECT_EQ(NvxSetRgbPreference(5), 1);
    EXPECT_EQ(s.preferRgb, 5);
    EXPECT_EQ(NvxSetRgbPreference(0), 1);
    EXPECT_EQ(s.preferRgb, 0);
}

TEST_F(DeviceStateTest, BoundLibrariesAreNotLoadedAgain) {
    const DeviceState before = s;
    EXPECT_EQ(NvxLoadLibraries(), 0);
    EXPECT_EQ(std::memcmp(&before, &s, sizeof s), 0);
}

TEST_F(DeviceStateTest, WrappersPassTheirArgumentsAndResults) {
    IDirectDraw* dd = nullptr;
    GUID driver = IID_IDirect3DHALDevice;
    EXPECT_EQ(NvxDirectDrawCreate(&driver, &dd, nullptr), S_OK);
    ASSERT_NE(dd, nullptr);
    EXPECT_TRUE(dx.log.Contains("DirectDrawCreate(guid=IID_IDirect3DHALDevice, outer=null)"));
    dd->Release();

    dx.FailOnce("DirectDrawCreate", DDERR_NODIRECTDRAWHW);
    EXPECT_EQ(NvxDirectDrawCreate(nullptr, &dd, nullptr), DDERR_NODIRECTDRAWHW);
    EXPECT_EQ(dd, nullptr);

    IDirect3DRM* rm = nullptr;
    EXPECT_EQ(NvxDirect3DRMCreate(&rm), S_OK);
    ASSERT_NE(rm, nullptr);
    rm->Release();
    dx.FailOnce("Direct3DRMCreate", D3DRMERR_BADALLOC);
    EXPECT_EQ(NvxDirect3DRMCreate(&rm), D3DRMERR_BADALLOC);

    const size_t calls = dx.log.entries.size();
    EXPECT_EQ(NvxDirect3DRMCreate(nullptr), 0);  // nothing called, nothing created
    EXPECT_EQ(dx.log.entries.size(), calls);
    EXPECT_TRUE(dx.rms.size() == 1);
    dx.ExpectAllReleased();
}

TEST_F(DeviceStateTest, WrappersWithoutEntryPointFailWithoutCalling) {
    s.pfnDirectDrawCreate = nullptr;
    s.pfnDirect3DRMCreate = nullptr;
    IDirectDraw* dd = reinterpret_cast<IDirectDraw*>(1);
    IDirect3DRM* rm = reinterpret_cast<IDirect3DRM*>(1);
    EXPECT_EQ(NvxDirectDrawCreate(nullptr, &dd, nullptr), kNvxNoEntryPoint);
    EXPECT_EQ(NvxDirect3DRMCreate(&rm), kNvxNoEntryPoint);
    EXPECT_EQ(dd, nullptr);
    EXPECT_EQ(rm, nullptr);
    EXPECT_TRUE(dx.log.entries.empty());
    EXPECT_LT(kNvxNoEntryPoint, 0);  // a failure to every caller
}

}  // namespace
