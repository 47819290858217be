// Windowed set-up, resize, presentation and surface restoring, against the
// DirectX doubles.
#include "tests/surfaces/layer_fixture.h"

namespace surfaces_test {
namespace {

using Windowed = LayerTest;

TEST_F(Windowed, SetUpMakesTheObjectsInOrderWithTheirDescriptions) {
    ASSERT_EQ(CreateDirectDrawWin(window), 1);
    const std::vector<std::string> expected = {
        "debug:NVX:CreateDirectDrawWin\n",
        "debug:NVX:Norvexa Cleanup\n",
        "DirectDrawCreate(guid=null, outer=null)",
        "IDirectDraw#1.GetCaps(driver.dwSize=364, hel.dwSize=364)",
        "IDirectDraw#1.SetCooperativeLevel(hwnd=" + Hwnd() + ", flags=0x8)",
        "IDirectDraw#1.CreateSurface(" + Desc(0x1, 0x200, 0, 0, 0) + ", outer=null)",
        "IDirectDraw#1.CreateSurface(" + Desc(0x7, 0x6040, kWidth, kHeight, 0) + ", outer=null)",
        "IDirectDraw#1.CreateClipper(flags=0x0, outer=null)",
        "IDirectDrawClipper#1.SetHWnd(flags=0x0, hwnd=" + Hwnd() + ")",
        "IDirectDrawSurface#1.SetClipper(IDirectDrawClipper#1)",
    };
    EXPECT_EQ(Events(dx.log), expected) << dx.log.Dump();

    const DeviceState& s = g_deviceState;
    EXPECT_EQ(s.windowedReady, 1);
    EXPECT_EQ(s.primarySurface, dx.surfaces.at(0)->iface);
    EXPECT_EQ(s.backBuffer, dx.surfaces.at(1)->iface);
    EXPECT_EQ(s.clipper, dx.clippers.at(0)->iface);
    EXPECT_EQ(s.screenRect.left, kLeft);
    EXPECT_EQ(s.screenRect.top, kTop);
    EXPECT_EQ(s.screenRect.right, kLeft + kWidth);
    EXPECT_EQ(s.screenRect.bottom, kTop + kHeight);
    EXPECT_EQ(s.clientWidth, kWidth);
    EXPECT_EQ(s.clientHeight, kHeight);
    HDC dc = GetDC(window);
    EXPECT_EQ(s.bitsPerPixel, GetDeviceCaps(dc, BITSPIXEL));
    ReleaseDC(window, dc);

    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Windowed, SetUpReleasesWhatTheRecordStillHolds) {
    SetUpDevice();
    dx.log.Clear();
    ASSERT_EQ(CreateDirectDrawWin(window), 1);
    // Everything of the first set-up is gone before the new DirectDraw object.
    int releasesBefore = 0;
    for (const dxd::LogEntry& e : dx.log.entries) {
        if (e.method == "DirectDrawCreate") break;
        if (e.method == "Release") ++releasesBefore;
    }
    EXPECT_EQ(releasesBefore, 9) << dx.log.Dump();
    EXPECT_EQ(dx.directDraws.at(0)->refs, 0);
    EXPECT_EQ(dx.rm2s.at(0)->refs, 0);
    NvxCleanup();
    dx.ExpectAllReleased();
}

struct ColourCase {
    DWORD driverCaps, surfaceCaps;
    int preferRgb;
    int kind;
};

TEST_F(Windowed, ColourModelFollowsTheDriverCapabilitiesThenThePreference) {
    const ColourCase cases[] = {
        {DDCAPS_3D, DDSCAPS_TEXTURE, 0, 2},  // 3D with textures: RGB whatever the preference
        {DDCAPS_3D, DDSCAPS_TEXTURE, 1, 2},
        {DDCAPS_3D, 0, 0, 1},                // either bit missing: the preference decides
        {0, DDSCAPS_TEXTURE, 0, 1},
        {DDCAPS_3D, 0, 7, 2},
        {0, 0, 1, 2},
    };
    for (const ColourCase& c : cases) {
        dx.config.driverCaps.dwCaps = c.driverCaps;
        dx.config.driverCaps.ddsCaps.dwCaps = c.surfaceCaps;
        // The emulation record is not looked at.
        dx.config.emulationCaps.dwCaps = DDCAPS_3D;
        dx.config.emulationCaps.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
        NvxSetRgbPreference(c.preferRgb);
        ASSERT_EQ(CreateDirectDrawWin(window), 1);
        EXPECT_EQ(g_deviceState.deviceKind, c.kind)
            << "caps " << c.driverCaps << "/" << c.surfaceCaps << " preferRgb " << c.preferRgb;
    }
    NvxCleanup();
    dx.ExpectAllReleased();
}

struct FatalCase {
    const char* key;
    int after;
    HRESULT code;
    const char* name;
};

TEST_F(Windowed, EveryFailingDirectDrawCallOfTheSetUpEndsTheProgram) {
    const FatalCase cases[] = {
        {"DirectDrawCreate", 0, DDERR_NODIRECTDRAWHW, "DDERR_NODIRECTDRAWHW"},
        {"IDirectDraw::SetCooperativeLevel", 0, DDERR_HWNDALREADYSET, "DDERR_HWNDALREADYSET"},
        {"IDirectDraw::CreateSurface", 0, DDERR_PRIMARYSURFACEALREADYEXISTS, "DDERR_PRIMARYSURFACEALREADYEXISTS"},
        {"IDirectDraw::CreateSurface", 1, DDERR_OUTOFVIDEOMEMORY, nullptr},
        {"IDirectDraw::CreateClipper", 0, DDERR_OUTOFMEMORY, "DDERR_OUTOFMEMORY"},
        {"IDirectDrawClipper::SetHWnd", 0, DDERR_INVALIDPARAMS, "DDERR_INVALIDPARAMS"},
        {"IDirectDrawSurface::SetClipper", 0, DDERR_NOCLIPPERATTACHED, "DDERR_NOCLIPPERATTACHED"},
    };
    for (const FatalCase& c : cases) {
        SCOPED_TRACE(c.key);
        NvxInitialize();
        dx.log.Clear();
        dx.Fail(c.key, c.code, 1, c.after);
        EXPECT_EQ(ExitCodeOf([&] { CreateDirectDrawWin(window); }), 1);
        const std::vector<std::string> boxes = dx.log.MessageBoxes();
        ASSERT_EQ(boxes.size(), 1u) << dx.log.Dump();
        if (c.name) {
            EXPECT_EQ(boxes[0], std::string("DirectDraw Error ") + c.name);
        } else {  // the video-memory sentence
            EXPECT_EQ(boxes[0].rfind("DirectDraw Error \x81\x7c\x83\x72\x83\x66\x83\x49", 0), 0u) << boxes[0];
        }
        EXPECT_EQ(g_deviceState.windowedReady, 0);
    }
    NvxCleanup();
}

TEST_F(Windowed, AFailingCapabilityQueryIsNotAnError) {
    dx.Fail("IDirectDraw::GetCaps", DDERR_GENERIC);
    NvxSetRgbPreference(0);
    ASSERT_EQ(CreateDirectDrawWin(window), 1);
    EXPECT_TRUE(dx.log.MessageBoxes().empty());
    EXPECT_EQ(g_deviceState.deviceKind, 1);  // nothing read from the zeroed records
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Windowed, ResizeBeforeTheFirstSetUpOnlyWritesItsLine) {
    EXPECT_EQ(NvxResizeWindow(window, 400, 300), 0);
    EXPECT_EQ(Events(dx.log), std::vector<std::string>{"debug:NVX:Resize Window\n"});
    EXPECT_EQ(g_deviceState.resizing, 0);
    EXPECT_EQ(g_deviceState.clientWidth, 640);  // untouched defaults
}

// Records, for each debugger line, whether the layer was resizing and whether
// a present would have shown anything at that moment.
struct ResizeWatch {
    static ResizeWatch* active;
    afx_hooks::DebugOutputFn next;
    std::vector<std::string> lines;
    std::vector<int> resizing;
    std::vector<int> presented;

    ResizeWatch() : next(afx_hooks::debugOutput) {
        active = this;
        afx_hooks::debugOutput = Hook;
    }
    ~ResizeWatch() {
        afx_hooks::debugOutput = next;
        active = nullptr;
    }
    static void Hook(const char* text) {
        active->lines.push_back(text);
        active->resizing.push_back(g_deviceState.resizing);
        active->presented.push_back(NvxPresent());
        active->next(text);
    }
};
ResizeWatch* ResizeWatch::active = nullptr;

TEST_F(Windowed, ResizeRebuildsInOrderAndRemakesTheDevice) {
    NvxSetRgbPreference(1);
    SetUpScene();
    IDirect3DRM2* rm2 = g_deviceState.rm2;
    SetWindowPos(window, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    dx.log.Clear();
    {
        ResizeWatch watch;
        ASSERT_EQ(NvxResizeWindow(window, 640, 480), 1);
        // The width and height passed in only appear in the line.
        const std::vector<std::string> lines = {"NVX:Resize Window\n", " NVx:400,300 - param 640,480 \n",
                                                "NVX:CreateD3DRM\n"};
        ASSERT_GE(watch.lines.size(), 3u);
        EXPECT_EQ(std::vector<std::string>(watch.lines.begin(), watch.lines.begin() + 3), lines);
        EXPECT_EQ(watch.resizing.front(), 0);
        for (size_t i = 1; i < watch.lines.size(); ++i) {
            EXPECT_EQ(watch.resizing[i], 1) << watch.lines[i];
            EXPECT_EQ(watch.presented[i], 0) << "presented while rebuilding, at " << watch.lines[i];
        }
    }
    EXPECT_EQ(g_deviceState.resizing, 0);

    // Release order: what depends on the surfaces first, DirectDraw last, rm2 kept.
    std::vector<std::string> released;
    for (const std::string& name : dx.log.Released())  // the viewport's own inner viewport goes with it
        if (name.rfind("IDirect3DViewport", 0) != 0) released.push_back(name);
    released.resize(std::min<size_t>(released.size(), 9));
    const std::vector<std::string> order = {
        "IDirect3DRMViewport#1", "IDirect3DRMDevice2#1", "IDirect3DDevice2#1",
        "IDirect3D2#1",          "IDirectDrawSurface#3", "IDirectDrawSurface#2",
        "IDirectDrawClipper#1",  "IDirectDrawSurface#1", "IDirectDraw#1"};
    EXPECT_EQ(released, order) << dx.log.Dump();
    EXPECT_EQ(g_deviceState.rm2, rm2);
    EXPECT_EQ(dx.Find(rm2)->releases, 0);

    const std::vector<std::string> events = Events(dx.log);
    const int created = IndexOf(events, "DirectDrawCreate(guid=null, outer=null)");
    ASSERT_GE(created, 0);
    EXPECT_EQ(events.at(created + 1), "IDirectDraw#2.SetCooperativeLevel(hwnd=" + Hwnd() + ", flags=0x8)");
    EXPECT_EQ(events.at(created + 2), "IDirectDraw#2.CreateSurface(" + Desc(0x1, 0x200, 0, 0, 0) + ", outer=null)");
    EXPECT_EQ(events.at(created + 3), "IDirectDraw#2.CreateSurface(" + Desc(0x7, 0x2040, 400, 300, 0) + ", outer=null)");
    EXPECT_EQ(events.at(created + 4), "IDirectDraw#2.CreateClipper(flags=0x0, outer=null)");
    EXPECT_EQ(events.at(created + 5), "IDirectDrawClipper#2.SetHWnd(flags=0x0, hwnd=" + Hwnd() + ")");
    EXPECT_EQ(events.at(created + 6), "IDirectDrawSurface#4.SetClipper(IDirectDrawClipper#2)");
    EXPECT_EQ(events.at(created + 7), "debug:NVX:CreateD3DRM\n");
    EXPECT_EQ(dx.log.Count("IDirectDraw#2.GetCaps(driver.dwSize=364, hel.dwSize=364)"), 0);

    // The rebuild asks for the ramp model: the RGB-only hardware device no longer qualifies.
    EXPECT_EQ(g_deviceState.deviceKind, 1);
    EXPECT_EQ(dx.log.Count("debug:NVX:Created Direct3DDevice with MMX(HEL)\n"), 1);
    const DeviceState& s = g_deviceState;
    EXPECT_NE(s.device2, nullptr);
    EXPECT_NE(s.rmDevice, nullptr);
    EXPECT_NE(s.zBuffer, nullptr);
    EXPECT_EQ(s.viewport, nullptr);
    EXPECT_EQ(s.windowedReady, 1);
    EXPECT_EQ(s.renderingEnabled, 1);
    EXPECT_EQ(s.clientWidth, 400);
    EXPECT_EQ(s.clientHeight, 300);

    ReleaseCamera();
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Windowed, ResizeWithoutRetainedModeRebuildsOnlyDirectDraw) {
    ASSERT_EQ(CreateDirectDrawWin(window), 1);
    dx.log.Clear();
    ASSERT_EQ(NvxResizeWindow(window, kWidth, kHeight), 1);
    EXPECT_EQ(dx.log.Count("debug:NVX:CreateD3DRM\n"), 0);
    EXPECT_TRUE(dx.log.Matching("IDirect3D").empty()) << dx.log.Dump();
    EXPECT_TRUE(dx.log.Matching("Direct3DRMCreate").empty());
    EXPECT_EQ(g_deviceState.deviceKind, 1);
    EXPECT_EQ(g_deviceState.resizing, 0);
    // Sized down to nothing: everything let go, nothing asked for, no message.
    SetWindowPos(window, nullptr, 0, 0, kWidth, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    dx.log.Clear();
    EXPECT_EQ(NvxResizeWindow(window, kWidth, 0), 0);
    EXPECT_TRUE(dx.log.Matching("Create").empty() && dx.log.MessageBoxes().empty()) << dx.log.Dump();
    EXPECT_EQ(g_deviceState.primarySurface, nullptr);
    EXPECT_EQ(g_deviceState.resizing, 0);
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Windowed, AFailingCallOfTheRebuildEndsTheProgram) {
    ASSERT_EQ(CreateDirectDrawWin(window), 1);
    dx.Fail("IDirectDraw::CreateSurface", DDERR_INVALIDCAPS, 1, 1);  // the back buffer
    EXPECT_EQ(ExitCodeOf([&] { NvxResizeWindow(window, kWidth, kHeight); }), 1);
    EXPECT_EQ(dx.log.MessageBoxes(), std::vector<std::string>{"DirectDraw Error DDERR_INVALIDCAPS"});
    NvxCleanup();
}

// The one copy of a present, as the log shows it.
std::vector<std::string> BltOf(RECT dest, RECT src) {
    return {dxd::Format("IDirectDrawSurface#1.Blt(dest={%ld,%ld,%ld,%ld}, src=IDirectDrawSurface#2, "
                        "srcRect={%ld,%ld,%ld,%ld}, flags=0x1000000, fx=null)",
                        dest.left, dest.top, dest.right, dest.bottom, src.left, src.top, src.right, src.bottom)};
}

TEST_F(Windowed, PresentCopiesTheBackBufferToTheMovedClientArea) {
    ASSERT_EQ(CreateDirectDrawWin(window), 1);
    NvxEnableRendering(1);
    SetWindowPos(window, nullptr, 30, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(NvxUpdateScreenRect(window), 1);
    EXPECT_EQ(g_deviceState.clientWidth, kWidth);
    EXPECT_EQ(g_deviceState.clientHeight, kHeight);
    dx.log.Clear();

    ASSERT_EQ(NvxPresent(), 1);
    EXPECT_EQ(Events(dx.log), BltOf({30, 20, 30 + kWidth, 20 + kHeight}, {0, 0, kWidth, kHeight}));
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Windowed, PresentShowsOnlyThePartOfAWindowThatIsOnTheScreen) {
    ASSERT_EQ(CreateDirectDrawWin(window), 1);
    NvxEnableRendering(1);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);

    // Past the top left corner: both rectangles lose the same strips.
    EXPECT_EQ(PresentAt(-40, -30), BltOf({0, 0, kWidth - 40, kHeight - 30}, {40, 30, kWidth, kHeight}));
    // Past the bottom right corner.
    const int x = screenWidth - 100, y = screenHeight - 50;
    EXPECT_EQ(PresentAt(x, y), BltOf({x, y, screenWidth, screenHeight}, {0, 0, 100, 50}));
    // Wholly off the screen: nothing to copy, and no error either.
    EXPECT_TRUE(PresentAt(screenWidth + 10, 0).empty());
    NvxCleanup();
    dx.ExpectAllReleased();
}

// A second monitor, 1280 x 1024, left of the 1024 x 768 primary one: the
// virtual screen runs from x = -1280 to 1024 and from y = 0 to 1024.
int TwoMonitorMetric(int index) {
    switch (index) {
        case SM_XVIRTUALSCREEN: return -1280;
        case SM_YVIRTUALSCREEN: return 0;
        case SM_CXVIRTUALSCREEN: return 2304;
        case SM_CYVIRTUALSCREEN: return 1024;
        case SM_CXSCREEN: return 1024;
        case SM_CYSCREEN: return 768;
        default: return GetSystemMetrics(index);
    }
}

TEST_F(Windowed, PresentReachesAWindowOnEveryMonitor) {
    const afx_hooks::SystemMetricFn saved = afx_hooks::systemMetric;
    afx_hooks::systemMetric = TwoMonitorMetric;
    ASSERT_EQ(CreateDirectDrawWin(window), 1);
    NvxEnableRendering(1);
    const RECT whole = {0, 0, kWidth, kHeight};
    // Wholly on the second monitor, at negative coordinates.
    EXPECT_EQ(PresentAt(-900, 100), BltOf({-900, 100, -900 + kWidth, 100 + kHeight}, whole));
    // Across both monitors, and below the primary one's bottom edge.
    EXPECT_EQ(PresentAt(-kWidth / 2, 700), BltOf({-kWidth / 2, 700, kWidth / 2, 700 + kHeight}, whole));
    // Past the second monitor's left edge: only that strip goes.
    EXPECT_EQ(PresentAt(-1300, 0), BltOf({-1280, 0, -1300 + kWidth, kHeight}, {20, 0, kWidth, kHeight}));
    // Past the primary one's right edge, the virtual screen's right edge too;
    // just beyond it, wholly off every monitor: no copy of nothing.
    EXPECT_EQ(PresentAt(924, 0), BltOf({924, 0, 1024, kHeight}, {0, 0, 100, kHeight}));
    EXPECT_TRUE(PresentAt(1024, 0).empty());
    afx_hooks::systemMetric = saved;
    NvxCleanup();
    dx.ExpectAllReleased();
}

// One monitor whose mode another program changes: the screen's size as the
// metrics give it now.
SIZE g_screen;
int ChangingScreenMetric(int index) {
    switch (index) {
        case SM_XVIRTUALSCREEN: case SM_YVIRTUALSCREEN: return 0;
        case SM_CXVIRTUALSCREEN: case SM_CXSCREEN: return g_screen.cx;
        case SM_CYVIRTUALSCREEN: case SM_CYSCREEN: return g_screen.cy;
        default: return GetSystemMetrics(index);
    }
}

// The primary surface keeps the size it was made with through a mode change
// that does not take it away (Wine's, made by another program), while the
// metrics give the new screen at once: until the change's own set-up the
// copy stays inside both, and the double refuses any copy that does not.
TEST_F(Windowed, PresentStaysInsideThePrimarySurfaceAsItWasMade) {
    const afx_hooks::SystemMetricFn saved = afx_hooks::systemMetric;
    afx_hooks::systemMetric = ChangingScreenMetric;
    g_screen = {800, 600};
    ASSERT_EQ(CreateDirectDrawWin(window), 1);
    NvxEnableRendering(1);
    g_screen = {1024, 768};  // grown: the window reaches past the old screen
    EXPECT_EQ(PresentAt(700, 500), BltOf({700, 500, 800, 600}, {0, 0, 100, 100}));
    EXPECT_TRUE(PresentAt(850, 100).empty());  // on the new screen only
    g_screen = {640, 480};  // shrunk: the new screen's edges cut
    EXPECT_EQ(PresentAt(500, 400), BltOf({500, 400, 640, 480}, {0, 0, 140, 80}));
    afx_hooks::systemMetric = saved;
    EXPECT_TRUE(dx.log.MessageBoxes().empty());
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Windowed, PresentDoesNothingWithRenderingDisabledOrNoSurfaces) {
    ASSERT_EQ(CreateDirectDrawWin(window), 1);
    EXPECT_EQ(NvxPresent(), 0);  // rendering not enabled yet
    NvxEnableRendering(1);
    NvxEnableRendering(0);
    EXPECT_EQ(NvxPresent(), 0);
    EXPECT_TRUE(dx.surfaces.at(0)->blts.empty());
    NvxCleanup();
    g_deviceState.renderingEnabled = 1;  // a record without surfaces
    EXPECT_EQ(NvxPresent(), 0);
    dx.ExpectAllReleased();
}

TEST_F(Windowed, AFailingPresentEndsTheProgramWithItsMessage) {
    ASSERT_EQ(CreateDirectDrawWin(window), 1);
    NvxEnableRendering(1);
    dx.Fail("IDirectDrawSurface::Blt", DDERR_INVALIDRECT);
    EXPECT_EQ(ExitCodeOf([] { NvxPresent(); }), 1);
    EXPECT_EQ(dx.log.MessageBoxes(), std::vector<std::string>{"DirectDraw Error DDERR_INVALIDRECT"});
    NvxCleanup();
}

// Surfaces taken away for good: one of the three will not come back, or the
// present finds them lost. No message, nothing presented until the next
// set-up, which starts clean.
TEST_F(Windowed, SurfacesLostForGoodAskForANewSetUpWithoutAMessage) {
    for (int lost = 0; lost < 4; ++lost) {
        SCOPED_TRACE(lost);
        ASSERT_EQ(NvxInitialize(), 1);
        SetUpScene();
        IDirectDrawSurface* surfaces[] = {g_deviceState.primarySurface, g_deviceState.backBuffer,
                                          g_deviceState.zBuffer};
        if (lost < 3) {
            dx.Fail(dx.Find(surfaces[lost]), "IsLost", DDERR_SURFACELOST, 1);
            dx.Fail(dx.Find(surfaces[lost]), "Restore", DDERR_WRONGMODE, 1);
        } else {
            dx.FailOnce("IDirectDrawSurface::Blt", DDERR_WRONGMODE);
        }
        dx.log.Clear();
        NvxRestoreSurfaces();
        EXPECT_EQ(NvxPresent(), 0);
        EXPECT_EQ(NvxPresent(), 0);
        EXPECT_EQ(dx.log.Matching(".Blt(").size(), lost == 3 ? 1u : 0u);
        EXPECT_EQ(g_deviceState.surfacesLost, 1);
        ReleaseCamera();
    }
    NvxCleanup();
    EXPECT_TRUE(dx.log.MessageBoxes().empty());
    dx.ExpectAllReleased();
}

TEST_F(Windowed, RestoreTestsPrimaryBackBufferAndZBufferInOrder) {
    SetUpScene();
    dx.log.Clear();
    ASSERT_EQ(NvxRestoreSurfaces(), 1);
    EXPECT_EQ(Events(dx.log), (std::vector<std::string>{"IDirectDrawSurface#1.IsLost()", "IDirectDrawSurface#2.IsLost()",
                                                        "IDirectDrawSurface#3.IsLost()"}));
    ReleaseCamera();
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Windowed, RestoreBringsBackEachLostSurfaceAndUpdatesTheViewport) {
    SetUpScene();
    const std::string update = dxd::Format("IDirect3DRMViewport#1.ForceUpdate(0, 0, %d, %d)", kWidth, kHeight);
    const char* names[] = {"IDirectDrawSurface#1", "IDirectDrawSurface#2", "IDirectDrawSurface#3"};
    for (const char* lost : names) {
        SCOPED_TRACE(lost);
        dx.log.Clear();
        dx.Fail(std::string(lost) + "::IsLost", DDERR_SURFACELOST, 1);
        ASSERT_EQ(NvxRestoreSurfaces(), 1);
        const std::vector<std::string> events = Events(dx.log);
        const int at = IndexOf(events, std::string(lost) + ".IsLost()");
        ASSERT_GE(at, 0) << dx.log.Dump();
        EXPECT_EQ(events.at(at + 1), std::string(lost) + ".Restore()");
        EXPECT_EQ(events.at(at + 2), update);
        EXPECT_EQ(dx.log.Matching(".Restore()").size(), 1u);
        EXPECT_EQ(dx.log.Matching("ForceUpdate").size(), 1u);
    }
    ReleaseCamera();
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Windowed, RestoreWithoutViewportSkipsTheUpdate) {
    SetUpDevice();
    NvxEnableRendering(1);
    dx.Fail("IDirectDrawSurface::IsLost", DDERR_SURFACELOST);
    ASSERT_EQ(NvxRestoreSurfaces(), 1);
    EXPECT_EQ(dx.log.Matching(".Restore()").size(), 3u);
    EXPECT_TRUE(dx.log.Matching("ForceUpdate").empty());
    NvxCleanup();
    dx.ExpectAllReleased();
}

TEST_F(Windowed, RestoreLooksAtNothingWhenDisabledOrWithoutPrimary) {
    SetUpDevice();
    dx.log.Clear();
    EXPECT_EQ(NvxRestoreSurfaces(), 1);  // rendering disabled
    EXPECT_TRUE(Events(dx.log).empty());

    NvxEnableRendering(1);
    IDirectDrawSurface* primary = g_deviceState.primarySurface;
    g_deviceState.primarySurface = nullptr;
    EXPECT_EQ(NvxRestoreSurfaces(), 1);  // the Z-buffer is not examined either
    EXPECT_TRUE(Events(dx.log).empty()) << dx.log.Dump();
    g_deviceState.primarySurface = primary;
    NvxCleanup();
    dx.ExpectAllReleased();
}

}  // namespace
}  // namespace surfaces_test
