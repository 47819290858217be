// Device choice, Z-buffer, retained-mode device, quality sets, palette and
// viewport, against the DirectX doubles.
#include "tests/surfaces/layer_fixture.h"

#include "retained/retained_mode.h"

namespace surfaces_test {
namespace {

// Message texts in code page 932.
const char kNoRM[] = "IDirect3DRM\x82\xcc\x8e\xe6\x93\xbe\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd";
const char kNoRM2[] =
    "IDirect3DRM2\x82\xcc\x8e\xe6\x93\xbe\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42"
    "DirectX5\x88\xc8\x8f\xe3\x82\xaa\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b\x82\xb3\x82\xea\x82\xc4\x82\xa2"
    "\x82\xe9\x82\xa9\x8a\x6d\x94\x46\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42";
const char kNoD3D2[] = "Direct3D2\x83\x43\x83\x93\x83\x5e\x81\x5b\x83\x74\x83\x46\x83\x43\x83\x58\x82\xcc\x8e\xe6\x93\xbe"
                       "\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd";
const char kNoZCreate[] = "Z\x83\x6f\x83\x62\x83\x74\x83\x40\x82\xcc\x90\xb6\x90\xac\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc"
                          "\x82\xb5\x82\xbd";
const char kNoZAttach[] = "Z\x83\x6f\x83\x62\x83\x74\x83\x40\x82\xcc\x83\x41\x83\x5e\x83\x62\x83\x60\x82\xc9\x8e\xb8\x94\x73"
                          "\x82\xb5\x82\xdc\x82\xb5\x82\xbd";
const char kNoDevice2[] = "Direct3DDevice2\x82\xcc\x8e\xe6\x93\xbe\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd";
const char kNoDevice[] = "Direct3DDevice\x82\xcc\x90\xb6\x90\xac\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd";

const char kFailLine[] = "debug:NVX:Error:Fail to Direct3D create \n ";

const GUID kHal1 = {0x11112222, 0x1, 0x2, {1, 2, 3, 4, 5, 6, 7, 8}};
const GUID kHal2 = {0xabcd0042, 0x1, 0x2, {1, 2, 3, 4, 5, 6, 7, 9}};
const GUID kSoft1 = {0x5eed0001, 0x1, 0x2, {1, 2, 3, 4, 5, 6, 7, 10}};
const GUID kSoft2 = {0x5eed0002, 0x1, 0x2, {1, 2, 3, 4, 5, 6, 7, 11}};

class Devices : public LayerTest {
protected:
    // Windowed surfaces for the colour model `kind`, and the log cleared.
    void Surfaces(int kind) {
        ASSERT_EQ(CreateDirectDrawWin(window), 1);
        g_deviceState.deviceKind = kind;
        dx.log.Clear();
    }
    std::string CreatedWith() const {  // the GUIDs CreateDevice was called with, in order
        std::string all;
        for (const std::string& t : dx.log.Matching(".CreateDevice("))
            all += t.substr(t.find('(') + 1, t.find(',') - t.find('(') - 1) + ";";
        return all;
    }
    std::vector<std::string> DeviceLines() const {
        std::vector<std::string> lines;
        for (const std::string& line : dx.log.DebugLines())
            if (line.rfind("NVX:", 0) == 0 && line != "NVX:CreateD3DRM\n") lines.push_back(line);
        return lines;
    }
};

TEST_F(Devices, HardwareDeviceWithItsZBufferAndTheHardwareQualitySet) {
    dx.config.devices = {dxd::SoftwareDevice(kSoft1, "Soft", D3DCOLOR_RGB),
                         dxd::HardwareDevice(kHal1, "Hal One", D3DCOLOR_RGB, DDBD_16 | DDBD_32)};
    Surfaces(2);
    ASSERT_EQ(CreateD3DRM(), 1);
    const std::vector<std::string> expected = {
        "debug:NVX:CreateD3DRM\n",
        "Direct3DRMCreate()",
        "IDirect3DRM#1.QueryInterface(IID_IDirect3DRM2)",
        "IDirectDraw#1.QueryInterface(IID_IDirect3D2)",
        "IDirect3D2#1.EnumDevices()",
        "debug:NVX:DeviceName :Soft 5eed0001\n",
        "debug:NVX:HAL DeviceName :Hal One 11112222\n",
        "debug:NVX:I'll use HAL\n",
        "debug:NVX:DeviceGuid 11112222\n",
        dxd::Format("IDirectDrawSurface#2.GetSurfaceDesc(dwSize=%lu)", (unsigned long)kSurfaceDescSize),
        "IDirectDraw#1.CreateSurface(" + Desc(0x47, 0x24000, kWidth, kHeight, 16) + ", outer=null)",
        "IDirectDrawSurface#2.AddAttachedSurface(IDirectDrawSurface#3)",
        "IDirect3D2#1.CreateDevice(" + dxd::GuidName(kHal1) + ", IDirectDrawSurface#2)",
        "IDirect3DRM2#1.CreateDeviceFromD3D(IDirect3D2#1, IDirect3DDevice2#1)",
        "IDirect3DRMDevice2#1.SetBufferCount(2)",
        "IDirect3DRMDevice2#1.SetShades(16)",
        "IDirect3DRM2#1.SetDefaultTextureColors(16)",
        "IDirect3DRM2#1.SetDefaultTextureShades(16)",
        "IDirect3DRMDevice2#1.SetTextureQuality(1)",
        "IDirect3DRMDevice2#1.SetQuality(137)",
        "IDirect3DRMDevice2#1.SetDither(1)",
    };
    EXPECT_EQ(Events(dx.log), expected) << dx.log.Dump();
    // Only rm2 is left of the first retained-mode object.
    EXPECT_EQ(g_deviceState.rm, nullptr);
    EXPECT_EQ(dx.rms.at(0)->refs, 0);
    EXPECT_EQ(g_deviceState.halInUse, 1);
    EXPECT_TRUE(IsEqualGUID(g_deviceState.deviceGuid, kHal1));
    EXPECT_EQ(g_deviceState.zBuffer, dx.surfaces.at(2)->iface);
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Devices, UnimplementedQualityCallsDoNotStopTheSetUp) {
    for (const char* key : {"IDirect3DRMDevice2::SetBufferCount", "IDirect3DRMDevice2::SetShades",
                            "IDirect3DRMDevice2::SetTextureQuality", "IDirect3DRM2::SetDefaultTextureColors",
                            "IDirect3DRM2::SetDefaultTextureShades", "IDirect3DRMDevice2::SetQuality",
                            "IDirect3DRMDevice2::SetDither", "IDirectDrawSurface::GetSurfaceDesc"})
        dx.Fail(key, E_NOTIMPL);
    Surfaces(2);
    ASSERT_EQ(CreateD3DRM(), 1);
    EXPECT_TRUE(dx.log.MessageBoxes().empty()) << dx.log.Dump();
    EXPECT_EQ(dx.log.Count("IDirect3DRMDevice2#1.SetDither(1)"), 1);  // the whole set was still applied
    EXPECT_EQ(dx.Find(g_deviceState.zBuffer) ? static_cast<dxd::SurfaceDouble*>(dx.Find(g_deviceState.zBuffer))->created.dwWidth : 0,
              static_cast<DWORD>(g_deviceState.clientWidth));  // the back buffer's size without its description
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Devices, LowQualitySetWithoutHardware) {
    dx.config.devices = {dxd::SoftwareDevice(kSoft1, "Soft", D3DCOLOR_RGB | D3DCOLOR_MONO)};
    Surfaces(1);
    ASSERT_EQ(CreateD3DRM(), 1);
    const std::vector<std::string> events = Events(dx.log);
    const int at = IndexOf(events, "IDirect3DRMDevice2#1.SetBufferCount(2)");
    ASSERT_GE(at, 0) << dx.log.Dump();
    const std::vector<std::string> tail(events.begin() + at + 1, events.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"IDirect3DRMDevice2#1.SetDither(0)", "IDirect3DRMDevice2#1.SetQuality(136)",
                                              "IDirect3DRMDevice2#1.SetTextureQuality(0)",
                                              "IDirect3DRMDevice2#1.SetShades(32)"}));
    EXPECT_EQ(g_deviceState.halInUse, 0);
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Devices, EightBitDisplayGetsThePaletteAndTheLowSetEvenWithHardware) {
    dx.config.devices = {dxd::HardwareDevice(kHal1, "Hal", D3DCOLOR_RGB, DDBD_16)};
    Surfaces(2);
    g_deviceState.bitsPerPixel = 8;
    ASSERT_EQ(CreateD3DRM(), 1);
    const std::vector<std::string> events = Events(dx.log);
    const int at = IndexOf(events, "debug:NVX:palettized \n");
    ASSERT_GE(at, 0) << dx.log.Dump();
    EXPECT_EQ(events.at(at + 1), "IDirectDraw#1.CreatePalette(flags=0xc, entries=set, outer=null)");
    EXPECT_EQ(events.at(at + 2), "IDirectDrawSurface#2.SetPalette(IDirectDrawPalette#1)");
    EXPECT_EQ(events.at(at + 3), "IDirectDrawSurface#1.SetPalette(IDirectDrawPalette#1)");
    EXPECT_LT(at, IndexOf(events, "IDirectDraw#1.QueryInterface(IID_IDirect3D2)"));

    ASSERT_EQ(dx.palettes.size(), 1u);
    const std::vector<PALETTEENTRY>& entries = dx.palettes[0]->entries;
    ASSERT_EQ(entries.size(), 256u);
    for (int i = 0; i < 256; ++i) {
        const BYTE expected = (i <= 9 || i >= 246) ? 0x40 : 0x01;
        EXPECT_EQ(entries[i].peFlags, expected) << "entry " << i;
        EXPECT_EQ(g_deviceState.paletteEntries[i].peFlags, expected) << "entry " << i;
    }
    EXPECT_EQ(g_deviceState.halInUse, 1);
    EXPECT_EQ(dx.log.Count("IDirect3DRMDevice2#1.SetQuality(136)"), 1);
    EXPECT_EQ(dx.log.Count("IDirect3DRM2#1.SetDefaultTextureColors(16)"), 0);
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Devices, ASecondCallWithADeviceOnlyRepeatsThePalette) {
    Surfaces(2);
    ASSERT_EQ(CreateD3DRM(), 1);
    IDirect3DRMDevice2* rmDevice = g_deviceState.rmDevice;
    g_deviceState.bitsPerPixel = 8;
    dx.log.Clear();
    ASSERT_EQ(NvxCreateD3DRM(), 1);
    const std::vector<std::string> events = Events(dx.log);
    EXPECT_EQ(events.front(), "debug:NVX:CreateD3DRM\n");
    EXPECT_EQ(IndexOf(events, "debug:NVX:palettized \n"), 1);
    EXPECT_TRUE(dx.log.Matching("IDirect3DRMDevice2").empty()) << dx.log.Dump();
    EXPECT_TRUE(dx.log.Matching("Direct3DRMCreate").empty());
    EXPECT_TRUE(dx.log.Matching("QueryInterface").empty());
    EXPECT_EQ(g_deviceState.rmDevice, rmDevice);
    // A third call replaces the palette instead of dropping the second.
    ASSERT_EQ(CreateD3DRM(), 1);
    EXPECT_EQ(dx.palettes.at(0)->refs, 0);
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Devices, FirstQualifyingHardwareDeviceWinsAndLaterOnesAreSilent) {
    dx.config.devices = {dxd::HardwareDevice(kHal1, "First", D3DCOLOR_RGB, DDBD_24 | DDBD_32),
                         dxd::HardwareDevice(kHal2, "Second", D3DCOLOR_RGB, DDBD_16),
                         dxd::SoftwareDevice(kSoft1, "Soft", D3DCOLOR_RGB)};
    Surfaces(2);
    ASSERT_EQ(CreateD3DRM(), 1);
    EXPECT_EQ(DeviceLines(), (std::vector<std::string>{"NVX:HAL DeviceName :First 11112222\n", "NVX:I'll use HAL\n",
                                                       "NVX:DeviceGuid 11112222\n"}));
    EXPECT_EQ(CreatedWith(), dxd::GuidName(kHal1) + ";");
    EXPECT_EQ(dx.log.Count("IDirectDraw#1.CreateSurface(" + Desc(0x47, 0x24000, kWidth, kHeight, 24) + ", outer=null)"), 1);
    EXPECT_EQ(dx.direct3D2s.at(0)->callbackAnswers, (std::vector<HRESULT>{D3DENUMRET_OK, D3DENUMRET_OK, D3DENUMRET_OK}));
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Devices, ZBufferDepthPrefersSixteenThenTwentyFourThenThirtyTwo) {
    const struct {
        DWORD offered, chosen;
    } cases[] = {{DDBD_16 | DDBD_24 | DDBD_32, 16}, {DDBD_24 | DDBD_32, 24}, {DDBD_32, 32}, {DDBD_32 | DDBD_8, 32}};
    for (const auto& c : cases) {
        dx.config.devices = {dxd::HardwareDevice(kHal1, "Hal", D3DCOLOR_RGB, c.offered)};
        Surfaces(2);
        ASSERT_EQ(NvxCreateDevice(2), 1);
        EXPECT_EQ(dx.log.Count("IDirectDraw#" + std::to_string(dx.directDraws.size()) + ".CreateSurface(" +
                               Desc(0x47, 0x24000, kWidth, kHeight, c.chosen) + ", outer=null)"),
                  1)
            << dx.log.Dump();
    }
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Devices, HardwareWithoutAUsableZBufferIsSkipped) {
    // The first device offers only an 8-bit Z-buffer, the next is looked at.
    dx.config.devices = {dxd::HardwareDevice(kHal1, "Eight", D3DCOLOR_RGB, DDBD_8),
                         dxd::HardwareDevice(kHal2, "Good", D3DCOLOR_RGB, DDBD_16)};
    dx.config.devices[0].software.dcmColorModel = D3DCOLOR_RGB;  // not looked at either
    Surfaces(2);
    ASSERT_EQ(NvxCreateDevice(2), 1);
    EXPECT_EQ(DeviceLines(), (std::vector<std::string>{"NVX:HAL DeviceName :Good abcd0042\n", "NVX:I'll use HAL\n",
                                                       "NVX:DeviceGuid abcd0042\n"}));
    EXPECT_EQ(CreatedWith(), dxd::GuidName(kHal2) + ";");
    NvxCleanup();

    // With no other hardware: the software path, 16-bit Z-buffer in system memory.
    NvxInitialize();
    dx.config.devices = {dxd::HardwareDevice(kHal1, "Eight", D3DCOLOR_RGB, DDBD_8)};
    Surfaces(2);
    ASSERT_EQ(NvxCreateDevice(2), 1);
    EXPECT_EQ(dx.log.Count("IDirectDraw#2.CreateSurface(" + Desc(0x47, 0x20800, kWidth, kHeight, 16) + ", outer=null)"),
              1)
        << dx.log.Dump();
    EXPECT_EQ(CreatedWith(), "IID_IDirect3DMMXDevice;");
    EXPECT_EQ(g_deviceState.halInUse, 0);
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Devices, MonoRequestDoesNotTakeRgbOnlyHardware) {
    dx.config.devices = {dxd::HardwareDevice(kHal1, "Hal", D3DCOLOR_RGB, DDBD_16),
                         dxd::SoftwareDevice(kSoft1, "Ramp one", D3DCOLOR_MONO),
                         dxd::SoftwareDevice(kSoft2, "Ramp two", D3DCOLOR_MONO)};
    Surfaces(1);
    ASSERT_EQ(NvxCreateDevice(1), 1);
    // Only the first software match is logged; the software GUID does not pick the device.
    EXPECT_EQ(DeviceLines(), (std::vector<std::string>{"NVX:DeviceName :Ramp one 5eed0001\n", "NVX:DeviceGuid 0\n",
                                                       "NVX:Created Direct3DDevice with MMX(HEL)\n"}));
    EXPECT_EQ(CreatedWith(), "IID_IDirect3DMMXDevice;");
    EXPECT_EQ(g_deviceState.halInUse, 0);
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Devices, SoftwarePathShowsTheGuidOfAnEarlierHardwareChoice) {
    dx.config.devices = {dxd::HardwareDevice(kHal2, "Hal", D3DCOLOR_RGB, DDBD_16)};
    Surfaces(2);
    ASSERT_EQ(CreateD3DRM(), 1);
    ASSERT_EQ(NvxResizeWindow(window, kWidth, kHeight), 1);  // ramp model: the hardware no longer matches
    EXPECT_EQ(dx.log.Count("debug:NVX:DeviceGuid abcd0042\n"), 2);
    EXPECT_EQ(dx.log.Count("debug:NVX:Created Direct3DDevice with MMX(HEL)\n"), 1);
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Devices, AfterMmxTheColourModelPicksRgbOrRamp) {
    dx.config.devices = {};
    for (int kind : {2, 1, 3}) {
        SCOPED_TRACE(kind);
        NvxInitialize();
        Surfaces(kind);
        dx.Fail("IDirect3D2::CreateDevice", D3DERR_INVALID_DEVICE, 1);  // MMX only
        ASSERT_EQ(NvxCreateDevice(kind), 1);
        const char* fallback = kind == 2 ? "IID_IDirect3DRGBDevice" : "IID_IDirect3DRampDevice";
        EXPECT_EQ(CreatedWith(), std::string("IID_IDirect3DMMXDevice;") + fallback + ";");
        EXPECT_EQ(DeviceLines().back(), kind == 2 ? "NVX:Created Direct3DDevice with RGB(HEL)\n"
                                                  : "NVX:Created Direct3DDevice with RAMP(HEL)\n");
        EXPECT_EQ(dx.log.Count("debug:NVX:Created Direct3DDevice with MMX(HEL)\n"), 0);
        EXPECT_TRUE(dx.log.MessageBoxes().empty());
    }
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Devices, TheFallbackLineComesBeforeItsFailure) {
    dx.config.devices = {};
    Surfaces(2);
    dx.Fail("IDirect3D2::CreateDevice", D3DERR_INVALID_DEVICE);
    ASSERT_EQ(CreateD3DRM(), 0);
    const std::vector<std::string> events = Events(dx.log);
    const int rgb = IndexOf(events, "IDirect3D2#1.CreateDevice(IID_IDirect3DRGBDevice, IDirectDrawSurface#2)");
    ASSERT_GE(rgb, 0) << dx.log.Dump();
    EXPECT_EQ(events.at(rgb + 1), "debug:NVX:Created Direct3DDevice with RGB(HEL)\n");
    EXPECT_EQ(events.at(rgb + 2), "debug:NVX:Failed to Create Direct3DDevice!\n");
    EXPECT_EQ(events.at(rgb + 3), std::string("box:") + kNoDevice);
    EXPECT_EQ(events.at(rgb + 4), "debug:NVX:Norvexa Cleanup\n");
    EXPECT_EQ(events.at(rgb + 5), "debug:NVX:Norvexa Cleanup\n");
    EXPECT_EQ(events.at(rgb + 6), kFailLine);
    EXPECT_EQ(events.size(), static_cast<size_t>(rgb + 7));
    dx.ExpectAllReleased();
}

// One row of the failure table: what fails, and what the log must show from
// the failing call on (calls without reference counting, lines, boxes).
struct FailureRow {
    const char* name;
    const char* key;
    HRESULT code;
    std::vector<std::string> from;  // starts with the failing call
};

const std::string kCleanup = "debug:NVX:Norvexa Cleanup\n";

const FailureRow kFailureRows[] = {
    {"RetainedModeObject", "Direct3DRMCreate", D3DRMERR_BADALLOC,
     {"Direct3DRMCreate()", kCleanup, std::string("box:") + kNoRM}},
    {"RetainedMode2Query", "IDirect3DRM::QueryInterface", E_NOINTERFACE,
     {"IDirect3DRM#1.QueryInterface(IID_IDirect3DRM2)", kCleanup, std::string("box:") + kNoRM2}},
    {"Direct3D2Query", "IDirectDraw::QueryInterface", E_NOINTERFACE,
     {"IDirectDraw#1.QueryInterface(IID_IDirect3D2)", "debug:NVX:Error:Failed to QI Direct3D2 from DirectDraw\n",
      std::string("box:") + kNoD3D2, kCleanup, kFailLine}},
    {"ZBufferCreation", "IDirectDraw::CreateSurface", DDERR_OUTOFVIDEOMEMORY,
     {"IDirectDraw#1.CreateSurface(" + Desc(0x47, 0x24000, kWidth, kHeight, 16) + ", outer=null)",
      std::string("box:") + kNoZCreate, kCleanup, kFailLine}},
    {"ZBufferAttachment", "IDirectDrawSurface::AddAttachedSurface", DDERR_CANNOTATTACHSURFACE,
     {"IDirectDrawSurface#2.AddAttachedSurface(IDirectDrawSurface#3)", std::string("box:") + kNoZAttach, kCleanup,
      kFailLine}},
    {"HardwareDevice", "IDirect3D2::CreateDevice", D3DERR_INVALID_DEVICE,
     {"IDirect3D2#1.CreateDevice(IID_IDirect3DHALDevice, IDirectDrawSurface#2)",
      "debug:NVX:Can't Create Direct3DDevice2 from Direct3D2\n", std::string("box:") + kNoDevice2, kCleanup, kCleanup,
      kFailLine}},
};

class FailureTable : public Devices, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(FailureTable, LineBoxAndCleanUp) {
    const FailureRow& row = GetParam();
    Surfaces(2);
    dx.Fail(row.key, row.code, 1);
    EXPECT_EQ(CreateD3DRM(), 0);
    const std::vector<std::string> events = Events(dx.log);
    const int at = IndexOf(events, row.from.front());
    ASSERT_GE(at, 0) << dx.log.Dump();
    EXPECT_EQ(std::vector<std::string>(events.begin() + at, events.end()), row.from) << dx.log.Dump();
    // The clean-up has run: nothing of the layer is held any more.
    dx.ExpectAllReleased();
    EXPECT_EQ(g_deviceState.rm, nullptr);
    EXPECT_EQ(g_deviceState.directDraw, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Rows, FailureTable, ::testing::ValuesIn(kFailureRows),
                         [](const ::testing::TestParamInfo<FailureRow>& info) { return std::string(info.param.name); });

TEST_F(Devices, OnlyANegativeAnswerFailsTheDirect3D2Query) {
    Surfaces(2);
    dx.Fail("IDirectDraw::QueryInterface", S_FALSE, 1);
    ASSERT_EQ(CreateD3DRM(), 1);
    EXPECT_TRUE(dx.log.MessageBoxes().empty()) << dx.log.Dump();
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Devices, AFailingRetainedModeDeviceEndsTheProgram) {
    Surfaces(2);
    dx.Fail("IDirect3DRM2::CreateDeviceFromD3D", D3DRMERR_BADDEVICE);
    EXPECT_EQ(ExitCodeOf([] { CreateD3DRM(); }), 1);
    EXPECT_EQ(dx.log.MessageBoxes(), std::vector<std::string>{"Direct3D-RM Error : D3DRMERR_BADDEVICE"});
    NvxCleanup();
}

TEST_F(Devices, ViewportOverTheClientAreaWithItsBackPlane) {
    SetUpDevice();
    ASSERT_EQ(g_deviceState.rm2->CreateFrame(nullptr, &camera), 0);
    dx.log.Clear();
    ASSERT_EQ(NVXViewport(camera), 1);
    EXPECT_EQ(Events(dx.log),
              (std::vector<std::string>{"debug:NVX:NVXViewport\n", dxd::Format("debug:NVX:Viewport width:%d height:%d\n", kWidth, kHeight),
                                        dxd::Format("IDirect3DRM2#1.CreateViewport(IDirect3DRMDevice2#1, IDirect3DRMFrame2#1, "
                                               "0, 0, %d, %d)",
                                               kWidth, kHeight),
                                        "debug:phase 3\n", "IDirect3DRMViewport#1.SetBack(5000)", "debug:phase 4\n"}));
    EXPECT_EQ(g_deviceState.viewport, dx.rmViewports.at(0)->iface);
    EXPECT_EQ(dx.frames.at(0)->refs, 1);  // the caller keeps the frame
    ReleaseCamera();
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Devices, FailingViewportCallsEndTheProgramAfterTheirPhase) {
    SetUpDevice();
    ASSERT_EQ(g_deviceState.rm2->CreateFrame(nullptr, &camera), 0);
    dx.Fail("IDirect3DRMViewport::SetBack", D3DRMERR_BADVALUE, 1);
    EXPECT_EQ(ExitCodeOf([&] { NVXViewport(camera); }), 1);
    EXPECT_EQ(dx.log.Count("debug:phase 3\n"), 1);  // the viewport existed
    EXPECT_EQ(dx.log.Count("debug:phase 4\n"), 0);
    EXPECT_EQ(dx.log.MessageBoxes(), std::vector<std::string>{"Direct3D-RM Error : D3DRMERR_BADVALUE"});

    dx.log.Clear();
    dx.Fail("IDirect3DRM2::CreateViewport", D3DRMERR_BADOBJECT, 1);
    EXPECT_EQ(ExitCodeOf([&] { NVXViewport(camera); }), 1);
    EXPECT_EQ(dx.log.Count("debug:phase 3\n"), 0);
    EXPECT_EQ(dx.log.MessageBoxes(), std::vector<std::string>{"Direct3D-RM Error : D3DRMERR_BADOBJECT"});
    ReleaseCamera();
    NvxCleanup();
}

// Our Retained Mode over the doubles: the rectangle its Clear hands to the
// Immediate Mode viewport, which Wine's Clear would clip to the viewport anyway.
TEST_F(Devices, OurRetainedModeClearsOnlyTheMarkedPartOfItsViewport) {
    g_deviceState.pfnDirect3DRMCreate = retained::CreateDirect3DRM;
    SetUpDevice();
    ASSERT_EQ(g_deviceState.rm2->CreateFrame(nullptr, &camera), D3DRM_OK);
    IDirect3DRMViewport* viewport = nullptr;
    ASSERT_EQ(g_deviceState.rm2->CreateViewport(g_deviceState.rmDevice, camera, 10, 20, 100, 50, &viewport), D3DRM_OK);
    const std::vector<dxd::ViewportDouble::ClearCall>& clears = dx.viewports.back()->clears;
    EXPECT_EQ(viewport->Clear(), D3DRM_OK);  // new: all of it
    EXPECT_EQ(viewport->ForceUpdate(0, 0, kWidth, kHeight), D3DRM_OK);
    EXPECT_EQ(viewport->Clear(), D3DRM_OK);
    ASSERT_EQ(clears.size(), 2u);
    for (const dxd::ViewportDouble::ClearCall& clear : clears) {
        ASSERT_EQ(clear.rects.size(), 1u);
        const D3DRECT& r = clear.rects[0];
        EXPECT_EQ(dxd::Format("%ld,%ld,%ld,%ld", r.x1, r.y1, r.x2, r.y2), "10,20,110,70");
        EXPECT_EQ(clear.flags, DWORD(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER));
    }
    EXPECT_EQ(viewport->ForceUpdate(200, 100, 300, 200), D3DRM_OK);  // right of and below it
    EXPECT_EQ(viewport->Clear(), D3DRM_OK);
    EXPECT_EQ(clears.size(), 2u) << "a mark outside the viewport clears nothing";
    viewport->Release();
    ReleaseCamera();
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Devices, ResizeAndANewSetUpLeaveNoReferenceBehind) {
    NvxSetRgbPreference(1);
    SetUpScene();
    SetWindowPos(window, nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(NvxResizeWindow(window, 200, 150), 1);
    ReleaseCamera();

    ASSERT_EQ(NvxInitialize(), 1);
    NvxSetRgbPreference(1);
    SetUpScene();
    EXPECT_EQ(g_deviceState.clientWidth, 200);
    EXPECT_TRUE(dx.log.MessageBoxes().empty()) << dx.log.Dump();
    ReleaseCamera();
    NvxCleanup();
    dx.ExpectAllReleased();
}

}  // namespace
}  // namespace surfaces_test
