// The frame renderer on a real main window, with the device layer running
// against the DirectX doubles: the set-up's order, its failure exit, the
// early return after a resize, the repeated set-up, the drawing phase with
// its render states and exact vertices, and no allocation per frame.
#include "app/flake_dlg_render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "app/flake_dlg.h"
#include "framework/afx_hooks.h"
#include "gfx/device_state.h"
#include "scene/flake_quad.h"
#include "tests/doubles/dx_doubles.h"
#include "tests/scene/test_flakes.h"

// Allocation counter for the per-frame check; counts only while armed.
namespace {
std::atomic<bool> g_countAllocations{false};
std::atomic<int> g_allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    if (g_countAllocations) ++g_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

const char kSetupFailed[] = "DirectX\x82\xcc\x8f\x89\x8a\xfa\x89\xbb\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd";

// Every flake far behind the camera: nothing visible.
void HideAllFlakes(CFlakeDlg& dlg) {
    for (Flake& f : dlg.m_flakes) f = FlakeAt(0.0, 100.0, 0.0);
}

// Left, top, right and bottom of the square of every flake that the window's
// WorldToCamera, Project and the visibility test place in the picture, in
// array order, rounded as the vertices store them.
std::vector<float> SquaresOfTheProjection(CFlakeDlg& dlg) {
    std::vector<float> squares;
    for (const Flake& flake : dlg.m_flakes) {
        Point3 camera, screen;
        dlg.WorldToCamera({flake.x, flake.y, flake.z}, camera);
        dlg.Project(camera, screen);
        if (!IsFlakeVisible(screen, dlg.m_clientWidth, dlg.m_clientHeight)) continue;
        const double half = 1.0 / screen.z;
        squares.push_back(static_cast<float>(screen.x - half));
        squares.push_back(static_cast<float>(screen.y - half));
        squares.push_back(static_cast<float>(screen.x + half));
        squares.push_back(static_cast<float>(screen.y + half));
    }
    return squares;
}

// The same four figures for every fan a device double drew.
std::vector<float> SquaresDrawn(const dxd::Device2Double& device) {
    std::vector<float> squares;
    for (const auto& draw : device.draws) {
        if (draw.vertices.size() != 4) {
            ADD_FAILURE() << "a fan of " << draw.vertices.size() << " vertices";
            continue;
        }
        squares.push_back(draw.vertices[0].sx);
        squares.push_back(draw.vertices[0].sy);
        squares.push_back(draw.vertices[2].sx);
        squares.push_back(draw.vertices[2].sy);
    }
    return squares;
}

// Every byte of every vertex a device double drew, in order.
std::vector<unsigned char> VertexBytesDrawn(const dxd::Device2Double& device) {
    std::vector<unsigned char> bytes;
    for (const auto& draw : device.draws) {
        const auto* first = reinterpret_cast<const unsigned char*>(draw.vertices.data());
        bytes.insert(bytes.end(), first, first + draw.vertices.size() * sizeof(D3DTLVERTEX));
    }
    return bytes;
}

// Checks that the log holds entries containing each part, in this order.
::testing::AssertionResult InOrder(const dxd::CallLog& log, const std::vector<std::string>& parts) {
    const std::vector<std::string> texts = log.Texts();
    size_t at = 0;
    for (const std::string& part : parts) {
        while (at < texts.size() && texts[at].find(part) == std::string::npos) ++at;
        if (at == texts.size()) return ::testing::AssertionFailure() << "missing, or out of order: " << part << "\n" << log.Dump();
        ++at;
    }
    return ::testing::AssertionSuccess();
}

class RenderFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        dx.BindDeviceState();
        dlg = new CFlakeDlg;
        ASSERT_TRUE(dlg->Create(CFlakeDlg::IDD));
        hwnd = dlg->m_hWnd;
        // The initial camera over a 640 x 480 client area.
        SetClientSize(640, 480);
        dlg->UpdateRotation();
        HideAllFlakes(*dlg);
        // Nothing made these yet: the first set-up must not touch them.
        dlg->m_sceneFrame = reinterpret_cast<IDirect3DRMFrame2*>(0x10);
        dlg->m_cameraFrame = reinterpret_cast<IDirect3DRMFrame2*>(0x20);
        dlg->m_backgroundMaterial = reinterpret_cast<IDirect3DMaterial2*>(0x30);
        dx.log.Clear();
    }
    void TearDown() override {
        if (IsWindow(hwnd)) {
            dlg->m_texture.Unload();
            ReleaseSceneObjects(*dlg);
            DestroyWindow(hwnd);  // deletes dlg
        }
        NvxCleanup();
        dx.ExpectAllReleased();
        EXPECT_TRUE(dx.errors.empty()) << (dx.errors.empty() ? "" : dx.errors.front());
    }

    void SetClientSize(int width, int height) {
        RECT r = {0, 0, width, height};
        AdjustWindowRectEx(&r, GetWindowLongA(hwnd, GWL_STYLE), FALSE, GetWindowLongA(hwnd, GWL_EXSTYLE));
        SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
        ASSERT_EQ(dlg->m_clientWidth, width);
        ASSERT_EQ(dlg->m_clientHeight, height);
    }
    // A key put down or up as the keyboard does it, in the asynchronous key
    // state that the frame step reads; the key messages it queues are dropped.
    static void PressKey(WORD key, bool down) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
        MSG message;
        while (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        }
        if (!down) GetAsyncKeyState(key);  // nor "pressed since the last query" for a later read
    }
    dxd::Device2Double* Device() const { return dx.devices.empty() ? nullptr : dx.devices.back(); }
    // One frame on doubles that have drawn nothing yet; the device that drew
    // it (a set-up in the frame makes a new one).
    dxd::Device2Double& DrawFrame() {
        for (dxd::Device2Double* device : dx.devices) device->draws.clear();
        dlg->RenderFrame();
        return *Device();
    }

    dxd::DxDoubles dx;
    CFlakeDlg* dlg = nullptr;
    HWND hwnd = nullptr;
};

// ---------------------------------------------------------------- set-up

TEST_F(RenderFrameTest, FirstFrameSetsUpInOrderAndDrawsInTheSameCall) {
    ASSERT_TRUE(dlg->m_needsSetup);
    dlg->RenderFrame();

    EXPECT_FALSE(dlg->m_needsSetup);
    EXPECT_EQ(g_deviceState.preferRgb, 1);
    EXPECT_EQ(g_deviceState.renderingEnabled, 1);
    ASSERT_EQ(dx.frames.size(), 2u);
    ASSERT_EQ(dx.rmViewports.size(), 1u);
    const std::string scene = dx.NameOf(dlg->m_sceneFrame);
    const std::string camera = dx.NameOf(dlg->m_cameraFrame);
    EXPECT_EQ(dx.frames[1]->parent, static_cast<IDirect3DRMFrame*>(dlg->m_sceneFrame));
    EXPECT_EQ(dx.rmViewports[0]->camera, static_cast<IDirect3DRMFrame*>(dlg->m_cameraFrame));

    ASSERT_EQ(dx.materials.size(), 2u);  // the texture's, then the background
    dxd::MaterialDouble* background = dx.materials[1];
    EXPECT_EQ(dlg->m_backgroundMaterial, static_cast<IDirect3DMaterial2*>(background));
    EXPECT_EQ(dlg->m_backgroundMaterialHandle, background->handle);

    EXPECT_TRUE(InOrder(dx.log, {
        "debug:NVX:Norvexa Initialize", "debug:NVX:CreateDirectDrawWin", "DirectDrawCreate",
        "debug:NVX:CreateD3DRM", "Direct3DRMCreate", "CreateDeviceFromD3D",
        "CreateFrame(parent=null)", "CreateFrame(parent=" + scene + ")",
        camera + ".SetPosition(" + scene + ", 0, 0, 0)",
        "debug:NVX:NVXViewport", "CreateViewport(", "debug:phase 4",
        "EnumTextureFormats", "CreateSurface(", "CreateMaterial(outer=null)",  // the texture
        "CreateMaterial(outer=null)", dx.NameOf(background) + ".SetMaterial(dwSize=80)",
        dx.NameOf(background) + ".GetHandle(" + dx.NameOf(Device()) + ")",
        "GetDirect3DViewport", "QueryInterface(IID_IDirect3DViewport2)", "SetBackground(",
        ".Clear()", "SetCurrentViewport", "BeginScene", "EndScene", "ForceUpdate(0, 0, 640, 480)",
        "Update()", "Blt("}));

    // The background: black, opaque diffuse, ramp size 16, no texture.
    ASSERT_TRUE(background->descSet);
    const D3DMATERIAL& m = background->desc;
    EXPECT_EQ(m.dwSize, 80u);
    EXPECT_EQ(m.diffuse.r + m.diffuse.g + m.diffuse.b, 0.0f);
    EXPECT_EQ(m.diffuse.a, 1.0f);
    EXPECT_EQ(m.ambient.a + m.specular.a + m.emissive.a + m.power, 0.0f);
    EXPECT_EQ(m.hTexture, 0u);
    EXPECT_EQ(m.dwRampSize, 16u);
    EXPECT_EQ(std::memcmp(&m, &dlg->m_backgroundMaterialDesc, sizeof(m)), 0);
    EXPECT_EQ(dx.viewports[0]->background, background->handle);
}

TEST_F(RenderFrameTest, LaterFramesOnlyDraw) {
    dlg->RenderFrame();
    dx.log.Clear();
    dlg->RenderFrame();
    EXPECT_TRUE(dx.log.Matching("Norvexa").empty());
    EXPECT_TRUE(dx.log.Matching("CreateFrame").empty());
    EXPECT_TRUE(dx.log.Matching("CreateMaterial").empty());
    EXPECT_EQ(dx.log.Matching(".Clear()").size(), 1u);
    EXPECT_EQ(dx.log.Matching(".Update()").size(), 1u);
    EXPECT_EQ(dx.log.Matching(".Blt(").size(), 1u);
}

TEST_F(RenderFrameTest, FailingLayerStopsTheSetUpWithItsMessageAndExitCodeOne) {
    dx.Fail("Direct3DRMCreate", E_FAIL);
    EXPECT_THROW(dlg->RenderFrame(), dxd::ExitCalled);

    const std::vector<std::string> boxes = dx.log.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);  // the layer's own, then the set-up's
    EXPECT_EQ(boxes[1], kSetupFailed);
    EXPECT_TRUE(InOrder(dx.log, {"box:", std::string("box:") + kSetupFailed, "exit:1"}));
    EXPECT_TRUE(dx.log.Matching("CreateFrame").empty());
    EXPECT_TRUE(dx.log.Matching("CreateMaterial").empty());
    EXPECT_TRUE(dx.log.Matching("debug:NVX:NVXViewport").empty());
    // The main window is gone (and with it the object).
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(RenderFrameTest, ResizeDuringTheSetUpReturnsBeforeDrawingAndTheNextFrameStartsOver) {
    // A size change handled while the texture loads (its material failing
    // writes a line at that moment; the resize rides on it).
    static CFlakeDlg* target;
    static afx_hooks::DebugOutputFn recorder;
    target = dlg;
    recorder = afx_hooks::debugOutput;
    afx_hooks::debugOutput = [](const char* text) {
        recorder(text);
        if (std::string(text) == "vusk: Failed to CreateMaterial\n") target->m_needsSetup = TRUE;
    };
    dx.FailOnce("IDirect3D2::CreateMaterial", DDERR_OUTOFMEMORY);
    dlg->RenderFrame();
    afx_hooks::debugOutput = recorder;

    EXPECT_TRUE(dlg->m_needsSetup);
    EXPECT_EQ(dx.log.Count("debug:vusk: Failed to CreateMaterial\n"), 1);
    EXPECT_EQ(dx.log.Matching("CreateMaterial(").size(), 2u);  // the background's still made
    EXPECT_TRUE(dx.log.Matching("GetDirect3DViewport").empty());
    EXPECT_TRUE(dx.log.Matching("BeginScene").empty());
    EXPECT_TRUE(dx.log.Matching(".Blt(").empty());

    dx.log.Clear();
    dlg->RenderFrame();
    EXPECT_FALSE(dlg->m_needsSetup);
    EXPECT_TRUE(InOrder(dx.log, {"debug:NVX:Norvexa Initialize", "debug:phase 4", "BeginScene", ".Blt("}));
}

TEST_F(RenderFrameTest, RepeatedSetUpReleasesTheEarlierFramesMaterialAndTexture) {
    dlg->RenderFrame();
    IDirect3DRMFrame2* oldScene = dlg->m_sceneFrame;
    IDirect3DRMFrame2* oldCamera = dlg->m_cameraFrame;
    IDirect3DMaterial2* oldBackground = dlg->m_backgroundMaterial;
    const size_t surfacesBefore = dx.surfaces.size();

    SetClientSize(400, 300);  // WM_SIZE: texture emptied, surfaces rebuilt, set-up pending
    ASSERT_TRUE(dlg->m_needsSetup);
    dlg->RenderFrame();

    EXPECT_NE(dlg->m_sceneFrame, oldScene);
    EXPECT_NE(dlg->m_backgroundMaterial, oldBackground);
    EXPECT_EQ(dx.Find(oldScene)->refs, 0);
    EXPECT_EQ(dx.Find(oldCamera)->refs, 0);
    EXPECT_EQ(dx.Find(oldBackground)->refs, 0);
    // Nothing from before the resize is still referenced, except the
    // retained-mode object, which the layer keeps across resizes.
    for (size_t i = 0; i < surfacesBefore; ++i) {
        IDirectDrawSurface* s = dx.surfaces[i];
        if (s == g_deviceState.primarySurface || s == g_deviceState.backBuffer || s == g_deviceState.zBuffer) continue;
        EXPECT_EQ(dx.surfaces[i]->refs, 0) << dx.surfaces[i]->Name();
    }
    EXPECT_EQ(dx.rmViewports.front()->refs, 0);
    EXPECT_TRUE(dx.log.Contains(dx.NameOf(dx.rmViewports.back()) + ".ForceUpdate(0, 0, 400, 300)"));
    EXPECT_EQ(g_deviceState.clientWidth, 400);
}

TEST_F(RenderFrameTest, SceneObjectsAreReleasedOnlyOnceMade) {
    // Before any set-up the members hold nothing to release (poisoned here).
    ReleaseSceneObjects(*dlg);
    EXPECT_EQ(dlg->m_sceneFrame, reinterpret_cast<IDirect3DRMFrame2*>(0x10));
    EXPECT_TRUE(dx.log.entries.empty());

    dlg->RenderFrame();
    ReleaseSceneObjects(*dlg);
    EXPECT_EQ(dlg->m_sceneFrame, nullptr);
    EXPECT_EQ(dlg->m_cameraFrame, nullptr);
    EXPECT_EQ(dlg->m_backgroundMaterial, nullptr);
    EXPECT_EQ(dlg->m_backgroundMaterialHandle, 0u);
    for (auto* f : dx.frames) EXPECT_EQ(f->refs, 0);
    EXPECT_EQ(dx.materials.back()->refs, 0);
    ReleaseSceneObjects(*dlg);  // again: nothing left to release
}

// A display change: the primary surface will not come back, the present
// finds a surface lost, the texture will not come back, WM_DISPLAYCHANGE, or
// WM_DPICHANGED to 144 DPI and back to 96, whose suggested rectangle the
// window takes. No message; the next frame sets up again (at the new client
// size) and draws the texture loaded anew.
// A texture restored in place is loaded from its copy, with no set-up; while
// minimised the set-up waits for the restoring.
TEST_F(RenderFrameTest, DisplayChangeSetsUpAgainAndDrawsTheTextureWithoutAMessage) {
    dlg->RenderFrame();
    ASSERT_EQ(g_deviceState.halInUse, 1);  // the texture has a system-memory copy
    auto texture = [&] { return static_cast<dxd::SurfaceDouble*>(dx.Find(dlg->m_texture.m_textureSurface)); };
    auto drewTheTexture = [&] {  // with the handle of a texture filled from its copy
        const std::pair<DWORD, DWORD> set = {D3DRENDERSTATE_TEXTUREHANDLE, dlg->m_texture.m_textureHandle};
        const auto& states = Device()->renderStates;
        return set.second != 0 && texture() && texture()->texture && !texture()->texture->loads.empty() &&
               std::find(states.begin(), states.end(), set) != states.end();
    };
    RECT window, start;
    GetWindowRect(hwnd, &start);
    for (int lost = 0; lost < 6; ++lost) {
        SCOPED_TRACE(lost);
        dxd::SurfaceDouble* oldTexture = texture();
        ASSERT_NE(oldTexture, nullptr);
        const dxd::DxObject* wrongMode = lost == 0 ? dx.Find(g_deviceState.primarySurface) : oldTexture;
        if (lost == 0 || lost == 2) {
            dx.Fail(wrongMode, "IsLost", DDERR_SURFACELOST, 1);
            dx.Fail(wrongMode, "Restore", DDERR_WRONGMODE, 1);
        }
        if (lost == 1) dx.FailOnce("IDirectDrawSurface::Blt", DDERR_SURFACELOST);
        RECT suggested = {start.left, start.top, start.left + (start.right - start.left) * 3 / 2,
                          start.top + (start.bottom - start.top) * 3 / 2};
        if (lost == 5) suggested = start;
        if (lost == 3) {
            dlg->SendMessage(WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
        } else if (lost >= 4) {
            dlg->SendMessage(WM_DPICHANGED, lost == 4 ? MAKEWPARAM(144, 144) : MAKEWPARAM(96, 96),
                             reinterpret_cast<LPARAM>(&suggested));
            GetWindowRect(hwnd, &window);
            EXPECT_TRUE(EqualRect(&window, &suggested));
        } else {
            EXPECT_NO_THROW(dlg->RenderFrame());
        }
        EXPECT_TRUE(dlg->m_needsSetup);
        EXPECT_EQ(oldTexture->refs, 0);  // emptied before the device goes
        EXPECT_TRUE(dx.log.MessageBoxes().empty());
        dx.log.Clear();
        EXPECT_NO_THROW(dlg->RenderFrame());
        RECT client;
        GetClientRect(hwnd, &client);
        const std::string viewport = "Viewport width:" + std::to_string(client.right) + " height:" + std::to_string(client.bottom);
        EXPECT_TRUE(InOrder(dx.log, {"debug:NVX:Norvexa Initialize", viewport, "EnumTextureFormats", "BeginScene", ".Blt("}));
        EXPECT_TRUE(drewTheTexture());
    }

    dxd::SurfaceDouble* video = texture();
    dx.Fail(video, "IsLost", DDERR_SURFACELOST, 1);
    dx.log.Clear();
    dlg->RenderFrame();
    EXPECT_FALSE(dlg->m_needsSetup);
    EXPECT_TRUE(InOrder(dx.log, {video->Name() + ".Restore()", dx.NameOf(video->texture) + ".Load(", ".Blt("}));

    ShowWindow(hwnd, SW_MINIMIZE);
    dlg->SendMessage(WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
    dx.log.Clear();
    dlg->RenderFrame();
    EXPECT_TRUE(dx.log.entries.empty()) << dx.log.Dump();
    ShowWindow(hwnd, SW_RESTORE);
    dlg->RenderFrame();
    EXPECT_TRUE(InOrder(dx.log, {"debug:NVX:Norvexa Initialize", ".Blt("}));
    EXPECT_TRUE(drewTheTexture());
    EXPECT_TRUE(dx.log.MessageBoxes().empty());
}

// A drag of the bottom edge up to the title bar: the modal size loop sends a
// size with an area (the rebuild, the set-up pending) and then one without,
// before any frame. The set-up waits, with no message, for the next size with
// an area, and the frame after it sets up and draws.
TEST_F(RenderFrameTest, SetUpWaitsWhileTheClientAreaIsEmpty) {
    dlg->RenderFrame();
    SetClientSize(626, 200);
    RECT frame = {0, 0, 626, 0};
    AdjustWindowRectEx(&frame, GetWindowLongA(hwnd, GWL_STYLE), FALSE, GetWindowLongA(hwnd, GWL_EXSTYLE));
    SetWindowPos(hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(hwnd, &client);
    ASSERT_EQ(client.bottom, 0);
    dx.log.Clear();
    for (int frames = 0; frames < 3; ++frames) EXPECT_NO_THROW(dlg->RenderFrame());
    EXPECT_TRUE(dx.log.entries.empty()) << dx.log.Dump();
    EXPECT_TRUE(dlg->m_needsSetup);

    SetClientSize(626, 120);
    dlg->RenderFrame();
    EXPECT_FALSE(dlg->m_needsSetup);
    EXPECT_TRUE(InOrder(dx.log, {"debug:NVX:Norvexa Initialize", "width=626, height=120", "BeginScene", ".Blt("}));
    EXPECT_TRUE(dx.log.MessageBoxes().empty());
}

// A set-up after a size or display change may fail for a moment (Wine's
// DirectDraw made in the middle of a mode change comes up without 3D). The
// rebuild of a size message and a later set-up that fail show no message:
// the set-up is tried again about half a second later, and the frame after
// it draws. A set-up that fails at every try shows the failing call's
// message after the fifth and ends with 1.
TEST_F(RenderFrameTest, LaterSetUpThatFailsIsTriedAgainBeforeItsMessage) {
    const std::string failedLine = "debug:NVX:Set-up failed (DirectDraw Error DDERR_NODIRECTDRAWHW); trying again in 500 ms\n";
    dlg->RenderFrame();
    dx.FailOnce("IDirectDraw::CreateSurface", DDERR_NODIRECTDRAWHW);
    SetClientSize(600, 400);  // the rebuild's primary surface fails
    EXPECT_TRUE(dlg->m_needsSetup);
    EXPECT_EQ(g_deviceState.primarySurface, nullptr);
    dx.log.Clear();
    dlg->RenderFrame();
    EXPECT_TRUE(InOrder(dx.log, {"debug:NVX:Norvexa Initialize", "width=600, height=400", ".Blt("}));

    dlg->SendMessage(WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
    dx.Fail("IDirectDraw::CreateSurface", DDERR_NODIRECTDRAWHW, 1, 1);  // the back buffer
    dx.log.Clear();
    EXPECT_NO_THROW(dlg->RenderFrame());
    EXPECT_EQ(dx.log.Count(failedLine), 1) << dx.log.Dump();
    EXPECT_TRUE(dx.log.Matching(".Blt(").empty());
    dlg->RenderFrame();  // too soon for the next try
    EXPECT_EQ(dx.log.Count("debug:NVX:Norvexa Initialize\n"), 1);
    Sleep(510);
    dlg->RenderFrame();
    EXPECT_TRUE(InOrder(dx.log, {"debug:NVX:Set-up, try 2 of 5\n", "debug:NVX:Norvexa Initialize", ".Blt("}));
    EXPECT_TRUE(dx.log.MessageBoxes().empty());
    EXPECT_FALSE(dlg->m_needsSetup);

    dlg->SendMessage(WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
    dx.Fail("IDirectDraw::CreateSurface", DDERR_NODIRECTDRAWHW);
    dx.log.Clear();
    for (int tries = 1; tries < 5; ++tries) {
        dlg->RenderFrame();
        dlg->m_nextSetUpTry = 0;  // the pause is over
    }
    EXPECT_EQ(dx.log.Count(failedLine), 4);
    EXPECT_TRUE(dx.log.MessageBoxes().empty());
    EXPECT_THROW(dlg->RenderFrame(), dxd::ExitCalled);
    EXPECT_TRUE(InOrder(dx.log, {"debug:NVX:Set-up, try 5 of 5\n", "box:DirectDraw Error DDERR_NODIRECTDRAWHW", "exit:1"}));
    EXPECT_EQ(dx.log.MessageBoxes().size(), 1u);
}

// ---------------------------------------------------------------- drawing

TEST_F(RenderFrameTest, RenderStatesHandlesAndOneFanPerVisibleFlakeWithExactVertices) {
    // Column 400, row 319, depth just under 1: twice, so it adds up.
    dlg->m_flakes[5] = FlakeAt(1.0, -10.0, 1.0);
    dlg->m_flakes[17] = FlakeAt(1.0, -10.0, 1.0);
    dlg->RenderFrame();
    dxd::Device2Double* device = Device();
    ASSERT_NE(device, nullptr);

    const DWORD texture = dlg->m_texture.m_textureHandle;
    const DWORD material = dlg->m_texture.m_materialHandle;
    ASSERT_NE(texture, 0u);
    ASSERT_NE(material, 0u);
    const std::vector<std::pair<DWORD, DWORD>> states = {
        {22, 1}, {14, 1}, {23, 4}, {27, 1}, {19, 5}, {20, 2}, {9, 1}, {1, texture}, {1, 0}};
    EXPECT_EQ(device->renderStates, states);
    const std::vector<std::pair<DWORD, DWORD>> lights = {{1, material}, {1, 0}};
    EXPECT_EQ(device->lightStates, lights);
    EXPECT_EQ(device->scenesBegun, 1);
    EXPECT_EQ(device->scenesEnded, 1);
    EXPECT_EQ(device->currentViewport, static_cast<IDirect3DViewport2*>(dx.viewports[0]));
    EXPECT_TRUE(InOrder(dx.log, {"SetRenderState(9, 1)", "BeginScene", "SetLightState(1, ", "SetRenderState(1, ",
                                 "DrawPrimitive", "DrawPrimitive", "SetLightState(1, 0)", "SetRenderState(1, 0)",
                                 "EndScene"}));

    ASSERT_EQ(device->draws.size(), 2u);
    for (const auto& draw : device->draws) {
        EXPECT_EQ(draw.type, D3DPT_TRIANGLEFAN);
        EXPECT_EQ(draw.vertexType, D3DVT_TLVERTEX);
        EXPECT_EQ(draw.count, 4u);
        EXPECT_EQ(draw.flags, 0u);
        ASSERT_EQ(draw.vertices.size(), 4u);
        const float sx[4] = {399, 401, 401, 399};
        const float sy[4] = {318, 318, 320, 320};
        const float tu[4] = {0, 1, 1, 0};
        const float tv[4] = {0, 0, 1, 1};
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            const D3DTLVERTEX& v = draw.vertices[i];
            EXPECT_EQ(v.sx, sx[i]);
            EXPECT_EQ(v.sy, sy[i]);
            EXPECT_EQ(v.sz, 0.01f);
            EXPECT_EQ(v.rhw, 100.0f);
            EXPECT_EQ(v.color, 0xFF808080u);
            EXPECT_EQ(v.specular, 0u);
            EXPECT_EQ(v.tu, tu[i]);
            EXPECT_EQ(v.tv, tv[i]);
        }
    }
}

// The whole field under several cameras and client sizes, frame after frame:
// after the window's AdvanceFlakes, which runs the quick test in the same
// pass, the frame draws exactly the squares of the flakes that WorldToCamera,
// Project and the visibility test place in the picture, in array order; and
// the plain advance followed by the walk over the field leaves the same field
// and draws the same vertices, to the last bit.
TEST_F(RenderFrameTest, WholeFieldInOnePassDrawsWhatTheTwoPassWalkAndTheProjectionDraw) {
    dlg->RenderFrame();  // the set-up frame, with nothing visible

    FlakeRandom random;
    FillFlakes(dlg->m_flakes, kFlakeCount, random);
    // Visible flakes in both places of a pair, and one on each edge column of
    // the initial camera at 640 x 480 (world x -4 and 4 land on columns 0 and
    // 640 at depth 1). They stay put: they have no velocity.
    dlg->m_flakes[0] = FlakeAt(0.0, -10.0, 2.0);
    dlg->m_flakes[1] = FlakeAt(-4.0, -10.0, 2.0);
    dlg->m_flakes[2] = FlakeAt(4.0, -10.0, 2.0);

    struct Camera {
        double turn, tilt, eyeY;
    };
    const Camera cameras[] = {{0, 3.14159265, 0}, {-0.6, 3.14159265, 0}, {1.9, 3.0, 2.5}, {0.2, 3.3, -4.0}};
    const int sizes[][2] = {{640, 480}, {641, 479}, {1000, 700}, {200, 150}};
    long drawn = 0;
    for (const auto& size : sizes) {
        // Resized before the advance: the first frame sets up again between
        // the advance and the drawing.
        SetClientSize(size[0], size[1]);
        for (const Camera& camera : cameras) {
            dlg->m_turn = camera.turn;
            dlg->m_tilt = camera.tilt;
            dlg->m_eyeY = camera.eyeY;
            for (int frame = 0; frame < 4; ++frame) {
                SCOPED_TRACE(::testing::Message() << size[0] << " x " << size[1] << ", turn " << camera.turn
                                                  << ", frame " << frame);
                dlg->UpdateRotation();
                const std::vector<Flake> before(dlg->m_flakes, dlg->m_flakes + kFlakeCount);

                dlg->AdvanceFlakes();
                const std::vector<Flake> onePassField(dlg->m_flakes, dlg->m_flakes + kFlakeCount);
                const std::vector<float> expected = SquaresOfTheProjection(*dlg);
                const dxd::Device2Double& onePass = DrawFrame();
                ASSERT_EQ(SquaresDrawn(onePass), expected);
                const std::vector<unsigned char> onePassVertices = VertexBytesDrawn(onePass);
                drawn += static_cast<long>(onePass.draws.size());

                // The same step again, as two passes.
                std::copy(before.begin(), before.end(), dlg->m_flakes);
                ::AdvanceFlakes(dlg->m_flakes, kFlakeCount);
                ASSERT_TRUE(SameFlakes(dlg->m_flakes, onePassField.data()));
                ASSERT_EQ(VertexBytesDrawn(DrawFrame()), onePassVertices);
            }
        }
    }
    EXPECT_GT(drawn, 4000);
}

// The frame draws from the advance's quick test only while everything that
// test assumed still holds. A client size or camera changed since the
// advance, or a frame that follows no advance, walks the field instead. A
// flake put into the picture after the advance shows which way a frame went.
TEST_F(RenderFrameTest, FrameWalksTheFieldWhereTheAdvancesQuickTestNoLongerHolds) {
    dlg->RenderFrame();  // the set-up frame, with nothing visible
    // Column 680 at 640 x 480 under the initial camera: out of the picture.
    const Flake outside = FlakeAt(4.5, -10.0, 2.0);
    const Flake centre = FlakeAt(0.0, -10.0, 2.0);

    // Nothing changed: the frame visits only the flakes that passed the test
    // during the advance, so a flake put into the picture after it is left out.
    dlg->AdvanceFlakes();
    dlg->m_flakes[4] = centre;
    ASSERT_EQ(SquaresOfTheProjection(*dlg).size(), 4u);
    EXPECT_TRUE(DrawFrame().draws.empty()) << "the frame after an advance walked the field";

    // The next frame follows no advance.
    EXPECT_EQ(SquaresDrawn(DrawFrame()), SquaresOfTheProjection(*dlg)) << "a frame without an advance";
    HideAllFlakes(*dlg);

    // The camera turned after the advance brings the flake into the picture.
    dlg->m_flakes[6] = outside;
    dlg->AdvanceFlakes();
    dlg->m_turn = -0.3;
    dlg->UpdateRotation();
    std::vector<float> expected = SquaresOfTheProjection(*dlg);
    ASSERT_EQ(expected.size(), 4u);
    EXPECT_EQ(SquaresDrawn(DrawFrame()), expected) << "camera turned after the advance";
    dlg->m_turn = 0.0;
    dlg->UpdateRotation();

    // A resize after the advance: the frame sets up again and draws at the
    // new size, which brings the flake in at column 760.
    dlg->AdvanceFlakes();
    SetClientSize(800, 600);
    ASSERT_TRUE(dlg->m_needsSetup);
    expected = SquaresOfTheProjection(*dlg);
    ASSERT_EQ(expected.size(), 4u);
    EXPECT_EQ(SquaresDrawn(DrawFrame()), expected) << "resized after the advance";
}

// A camera key held through a whole frame step: the step reads the keys and
// rebuilds the rotation before the advance, so the advance's quick test saw
// the camera this frame draws with, and the frame draws from its record
// without reading the field a second time. A flake put into the picture
// during the set-up, after the advance and before the drawing, shows which
// way the frame went.
TEST_F(RenderFrameTest, FrameStepWithACameraKeyHeldDrawsFromTheAdvancesQuickTest) {
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    ASSERT_EQ(GetFocus(), hwnd);  // the step does nothing without the focus
    static CFlakeDlg* target;
    static afx_hooks::DebugOutputFn recorder;
    target = dlg;
    recorder = afx_hooks::debugOutput;
    afx_hooks::debugOutput = [](const char* text) {
        recorder(text);
        if (std::string(text) == "phase 4\n") target->m_flakes[4] = FlakeAt(0.0, -10.0, 2.0);
    };
    PressKey(VK_LEFT, true);
    dlg->StepFrame();
    PressKey(VK_LEFT, false);
    afx_hooks::debugOutput = recorder;

    ASSERT_EQ(dlg->m_turn, -0.02) << "the held key was not read";
    ASSERT_EQ(dx.log.Count("debug:phase 4\n"), 1);
    ASSERT_EQ(SquaresOfTheProjection(*dlg).size(), 4u);  // a walk of the field draws it
    ASSERT_NE(Device(), nullptr);
    EXPECT_EQ(Device()->scenesBegun, 1);
    EXPECT_TRUE(Device()->draws.empty()) << "the frame walked the field: the advance saw another camera";
}

// FNV-1a over the bytes of a record.
template <typename T>
void Digest(std::uint64_t& digest, const T* data, size_t count) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    for (size_t i = 0; i < sizeof(T) * count; ++i) digest = (digest ^ bytes[i]) * 0x100000001B3ull;
}

// The squares drawn and the field they come from, to the bit, over frames
// under several cameras and client sizes: both Windows builds must give
// these digests (the 32-bit one is what Windows users run). A change here
// means the picture changed.
TEST_F(RenderFrameTest, SquaresAndFieldAreTheSameToTheBitOnEveryBuild) {
    dlg->RenderFrame();  // the set-up frame, with nothing visible
    ASSERT_NE(Device(), nullptr);
    FlakeRandom random;
    FillFlakes(dlg->m_flakes, kFlakeCount, random);

    struct View {
        int width, height;
        double turn, tilt, eyeY;
    };
    const View views[] = {{611, 564, 0, 3.14159265, 0}, {1000, 700, -0.6, 3.14159265, 0}, {131, 301, 1.9, 3.0, 2.5}};
    std::uint64_t squares = 0xCBF29CE484222325ull, field = squares;
    long drawn = 0;
    for (const View& view : views) {
        SetClientSize(view.width, view.height);  // the next frame sets up again
        dlg->m_turn = view.turn;
        dlg->m_tilt = view.tilt;
        dlg->m_eyeY = view.eyeY;
        for (int frame = 0; frame < 20; ++frame) {
            dlg->UpdateRotation();
            dlg->AdvanceFlakes();
            dlg->RenderFrame();
            for (const auto& draw : Device()->draws) Digest(squares, draw.vertices.data(), draw.vertices.size());
            drawn += static_cast<long>(Device()->draws.size());
            Device()->draws.clear();
        }
        Digest(field, dlg->m_flakes, kFlakeCount);
    }
    EXPECT_EQ(drawn, 35019L);
    EXPECT_EQ(squares, 15752102518800312661ull);
    EXPECT_EQ(field, 9444334862654922108ull);
}

TEST_F(RenderFrameTest, FrameWithoutVisibleFlakesStillClearsUpdatesAndPresents) {
    dlg->m_flakes[3] = FlakeAt(0.0, -1.0, 2.0);  // depth 0.0999999993: not drawn
    dlg->RenderFrame();
    dx.log.Clear();
    dlg->RenderFrame();
    EXPECT_TRUE(Device()->draws.empty());
    EXPECT_TRUE(InOrder(dx.log, {"SetBackground(", ".Clear()", "BeginScene", "EndScene", "ForceUpdate", "Update()",
                                 ".Blt("}));
}

TEST_F(RenderFrameTest, MissingObjectsSkipTheDrawingWithoutACrash) {
    dlg->RenderFrame();
    dlg->m_flakes[0] = FlakeAt(1.0, -10.0, 1.0);

    // No Immediate Mode viewport behind the retained-mode one.
    dx.Fail("IDirect3DRMViewport::GetDirect3DViewport", D3DRMERR_BADOBJECT, 1);
    dx.log.Clear();
    dlg->RenderFrame();
    EXPECT_TRUE(dx.log.Matching("DrawPrimitive").empty());
    EXPECT_TRUE(dx.log.Matching("Update()").size() == 1);

    // No device, then no viewport at all.
    IDirect3DDevice2* device = g_deviceState.device2;
    g_deviceState.device2 = nullptr;
    dx.log.Clear();
    dlg->RenderFrame();
    EXPECT_TRUE(dx.log.Matching("DrawPrimitive").empty());
    g_deviceState.device2 = device;

    IDirect3DRMViewport* viewport = g_deviceState.viewport;
    g_deviceState.viewport = nullptr;
    dx.log.Clear();
    dlg->RenderFrame();
    EXPECT_TRUE(dx.log.Matching("DrawPrimitive").empty());
    EXPECT_TRUE(dx.log.Matching(".Blt(").size() == 1);
    g_deviceState.viewport = viewport;

    // Every reference the frames took was given back.
    dx.log.Clear();
    dlg->RenderFrame();
    EXPECT_EQ(dx.viewports[0]->refs, 1);  // held by the retained-mode viewport only
}

TEST_F(RenderFrameTest, FailedFrameCreationSkipsWhatDependsOnTheFrame) {
    dx.Fail("IDirect3DRM2::CreateFrame", D3DRMERR_BADALLOC, 1);
    dlg->RenderFrame();
    EXPECT_EQ(dlg->m_sceneFrame, nullptr);
    EXPECT_EQ(dlg->m_cameraFrame, nullptr);
    EXPECT_EQ(dx.log.Matching("CreateFrame").size(), 1u);
    EXPECT_TRUE(dx.log.Matching("SetPosition").empty());
}

// ---------------------------------------------------------------- allocation

// Doubles that neither log nor allocate, for counting the frame's own
// allocations.
struct QuietViewport final : dxd::IDirect3DViewport2Stub {
    long refs = 1;
    D3DMATERIALHANDLE background = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        ++refs;
        *out = static_cast<IDirect3DViewport2*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE SetBackground(D3DMATERIALHANDLE h) override {
        background = h;
        return S_OK;
    }
    void Unimplemented(const char*) override { ADD_FAILURE(); }
};

struct QuietRMViewport final : dxd::IDirect3DRMViewportStub {
    QuietViewport* immediate = nullptr;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Clear() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ForceUpdate(DWORD, DWORD, DWORD, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetDirect3DViewport(IDirect3DViewport** out) override {
        immediate->AddRef();
        *out = immediate;
        return S_OK;
    }
    void Unimplemented(const char*) override { ADD_FAILURE(); }
};

struct QuietDevice final : dxd::IDirect3DDevice2Stub {
    int draws = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE SetCurrentViewport(IDirect3DViewport2*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetLightState(D3DLIGHTSTATETYPE, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE BeginScene() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EndScene() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE, D3DVERTEXTYPE, void*, DWORD, DWORD) override {
        ++draws;
        return S_OK;
    }
    void Unimplemented(const char*) override { ADD_FAILURE(); }
};

struct QuietRMDevice final : dxd::IDirect3DRMDevice2Stub {
    int updates = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Update() override {
        ++updates;
        return S_OK;
    }
    void Unimplemented(const char*) override { ADD_FAILURE(); }
};

TEST(RenderFrameAllocation, DrawingPhaseAllocatesNothing) {
    dxd::DxDoubles dx;  // the hooks; no double of it is used
    QuietViewport immediate;
    QuietRMViewport viewport;
    viewport.immediate = &immediate;
    QuietDevice device;
    QuietRMDevice rmDevice;
    g_deviceState.viewport = &viewport;
    g_deviceState.device2 = &device;
    g_deviceState.rmDevice = &rmDevice;
    g_deviceState.renderingEnabled = 0;  // no surfaces to restore or present

    auto* dlg = new CFlakeDlg;  // no window: the set-up is not run
    dlg->InitScene();
    dlg->m_needsSetup = FALSE;
    dlg->m_clientWidth = 640;
    dlg->m_clientHeight = 480;
    dlg->UpdateRotation();
    for (int i = 0; i < 100; ++i) dlg->m_flakes[i] = FlakeAt(i * 0.01, -10.0, 1.0);

    dlg->RenderFrame();  // warm-up
    g_allocations = 0;
    g_countAllocations = true;
    dlg->RenderFrame();
    dlg->RenderFrame();
    g_countAllocations = false;

    EXPECT_EQ(g_allocations.load(), 0);
    EXPECT_GE(device.draws, 300);
    EXPECT_EQ(rmDevice.updates, 3);
    EXPECT_EQ(immediate.refs, 1);  // each frame gave back both references it took
    g_deviceState.viewport = nullptr;
    g_deviceState.device2 = nullptr;
    g_deviceState.rmDevice = nullptr;
    delete dlg;
}

}  // namespace
