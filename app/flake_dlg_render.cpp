// The main window's frame: the device and scene set-up when it is pending,
// then the clear, the render states, one textured, additively blended square
// per visible flake, and the presentation.
#include "app/flake_dlg_render.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "app/flake_dlg.h"
#include "framework/afx_hooks.h"
#include "gfx/com_release.h"
#include "gfx/device_selection.h"
#include "gfx/device_state.h"
#include "gfx/error_report.h"
#include "gfx/windowed_surfaces.h"
#include "scene/flake_cull.h"
#include "scene/flake_quad.h"

// The portable square writer fills QuadVertex; the device reads D3DTLVERTEX.
static_assert(sizeof(QuadVertex) == sizeof(D3DTLVERTEX), "QuadVertex size");
static_assert(offsetof(QuadVertex, sx) == offsetof(D3DTLVERTEX, sx), "sx");
static_assert(offsetof(QuadVertex, sy) == offsetof(D3DTLVERTEX, sy), "sy");
static_assert(offsetof(QuadVertex, sz) == offsetof(D3DTLVERTEX, sz), "sz");
static_assert(offsetof(QuadVertex, rhw) == offsetof(D3DTLVERTEX, rhw), "rhw");
static_assert(offsetof(QuadVertex, color) == offsetof(D3DTLVERTEX, color), "color");
static_assert(offsetof(QuadVertex, specular) == offsetof(D3DTLVERTEX, specular), "specular");
static_assert(offsetof(QuadVertex, tu) == offsetof(D3DTLVERTEX, tu), "tu");
static_assert(offsetof(QuadVertex, tv) == offsetof(D3DTLVERTEX, tv), "tv");
static_assert(sizeof(D3DMATERIAL) == 80, "D3DMATERIAL is the 80-byte public record");

D3DTLVERTEX flakeQuad[4];

namespace {

QuadVertex* Quad() { return reinterpret_cast<QuadVertex*>(flakeQuad); }

}  // namespace

void FillBackgroundMaterial(D3DMATERIAL& material) {
    std::memset(&material, 0, sizeof(material));
    material.dwSize = sizeof(D3DMATERIAL);
    material.diffuse.a = 1.0f;
    material.dwRampSize = 16;
}

void ReleaseSceneObjects(CFlakeDlg& window) {
    // The objects exist only once a set-up got past the windowed surfaces
    // (any failure before that ends the process), and every set-up that got
    // that far assigns all three; with the record emptied, what they named is
    // gone with it.
    if (!g_deviceState.windowedReady) return;
    NvxRelease(window.m_cameraFrame);
    NvxRelease(window.m_sceneFrame);
    NvxRelease(window.m_backgroundMaterial);
    window.m_backgroundMaterialHandle = 0;
}

namespace {

// A later set-up is tried this many times, this far apart (about two
// seconds in all), before its failure is shown.
constexpr int kSetUpTries = 5;
constexpr ULONGLONG kSetUpRetryMs = 500;

// Milliseconds from the performance counter. Wine's tick count is the one its
// server keeps, which fell more than half a second behind on a loaded machine.
ULONGLONG NowMs() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<ULONGLONG>(count.QuadPart / (frequency.QuadPart / 1000));
}

bool ClientAreaIsEmpty(HWND window) {
    RECT client;
    return !GetClientRect(window, &client) || IsRectEmpty(&client);
}

}  // namespace

void CFlakeDlg::RunSetUp() {
    DeviceState& state = g_deviceState;
    // A repeated set-up replaces the objects of the earlier one.
    ReleaseSceneObjects(*this);
    m_backgroundMaterialHandle = 0;

    if (!NvxInitialize() || !NvxSetRgbPreference(1) || !CreateDirectDrawWin(m_hWnd) || !NvxCreateD3DRM()) {
        if (NvxSetUpIsTentative()) throw NvxSetUpFailure{};
        AfxMessageBox("DirectXの初期化に失敗しました");
        DestroyWindow();  // deletes this object: touch no member afterwards
        AfxExitProcess(1);
    }

    m_sceneFrame = nullptr;
    m_cameraFrame = nullptr;
    m_backgroundMaterial = nullptr;
    if (state.rm2) {
        state.rm2->CreateFrame(nullptr, &m_sceneFrame);
        if (m_sceneFrame) state.rm2->CreateFrame(m_sceneFrame, &m_cameraFrame);
    }
    if (m_cameraFrame) m_cameraFrame->SetPosition(m_sceneFrame, 0.0f, 0.0f, 0.0f);
    NVXViewport(m_cameraFrame);
    NvxEnableRendering(1);
    m_needsSetup = FALSE;

    m_texture.Load(state.device2, "Vorl.bmp");

    if (state.direct3D2) state.direct3D2->CreateMaterial(&m_backgroundMaterial, nullptr);
    FillBackgroundMaterial(m_backgroundMaterialDesc);
    if (m_backgroundMaterial) {
        m_backgroundMaterial->SetMaterial(&m_backgroundMaterialDesc);
        m_backgroundMaterial->GetHandle(state.device2, &m_backgroundMaterialHandle);
    }
}

// The first set-up shows a failure at once: a machine without DirectX or 3D
// gets its message. A later one that fails (the display in the middle of a
// change) lets go of what it made, draws nothing and is tried again on a
// later frame, with messages handled in between; the last try takes the
// fatal path as the first set-up does.
bool CFlakeDlg::SetUpScene() {
    if (m_setUpTries > 0) {
        if (NowMs() < m_nextSetUpTry) return false;
        char line[64];
        std::snprintf(line, sizeof line, "NVX:Set-up, try %d of %d\n", m_setUpTries + 1, kSetUpTries);
        AfxOutputDebugString(line);
    }
    if (!m_setUpDone || m_setUpTries + 1 >= kSetUpTries) {
        RunSetUp();
    } else {
        try {
            NvxTentativeSetUp tentative;
            g_deviceState.fatalText[0] = '\0';
            RunSetUp();
        } catch (const NvxSetUpFailure&) {
            ++m_setUpTries;
            char line[sizeof g_deviceState.fatalText + 64];
            std::snprintf(line, sizeof line, "NVX:Set-up failed (%s); trying again in %lu ms\n",
                          g_deviceState.fatalText, static_cast<unsigned long>(kSetUpRetryMs));
            AfxOutputDebugString(line);
            m_texture.Unload();
            ReleaseSceneObjects(*this);
            NvxCleanup();
            m_needsSetup = TRUE;
            m_nextSetUpTry = NowMs() + kSetUpRetryMs;
            return false;
        }
    }
    m_setUpTries = 0;
    m_setUpDone = TRUE;
    return true;
}

void CFlakeDlg::RenderFrame() {
    DeviceState& state = g_deviceState;

    if (m_needsSetup) {
        // Minimised, or sized down to its title bar (an edge dragged as far
        // as it goes), the window has no client area to make surfaces for:
        // DirectDraw refuses a back buffer without width or height. The size
        // message that gives it one comes before the set-up.
        if (IsIconic() || ClientAreaIsEmpty(m_hWnd)) return;
        if (!SetUpScene()) return;
        // A size change handled during the set-up: the next frame starts over.
        if (m_needsSetup) return;
    }

    IDirect3DRMViewport* viewport = state.viewport;
    IDirect3DDevice2* device = state.device2;

    IDirect3DViewport2* viewport2 = ImmediateViewportOf(viewport);
    if (viewport2) viewport2->SetBackground(m_backgroundMaterialHandle);
    if (viewport) viewport->Clear();

    if (device && viewport2) {
        device->SetCurrentViewport(viewport2);
        for (const auto& rs : kFrameRenderStates) device->SetRenderState(rs.state, rs.value);
        device->BeginScene();
        device->SetLightState(D3DLIGHTSTATE_MATERIAL, m_texture.m_materialHandle);
        device->SetRenderState(D3DRENDERSTATE_TEXTUREHANDLE, m_texture.m_textureHandle);

        QuadVertex* quad = Quad();
        WriteQuadConstants(quad);
        // The quick test only leaves out flakes that Project would place
        // behind the eye or outside the picture; every other one goes through
        // WorldToCamera, Project and the visibility test, so exactly the same
        // squares are drawn, in array order, without two divisions for each
        // of the thousands that are not. The test ran during AdvanceFlakes;
        // where the camera or the client size is no longer the one it saw (a
        // size message handled inside this frame), or no advance came before
        // this frame, the field is walked with the test here instead.
        m_candidates.ForEachMayBeVisible(QuickTestCull(), m_flakes, kFlakeCount, [&](const Flake& flake) {
            const Point3 world = {flake.x, flake.y, flake.z};
            Point3 camera;
            Point3 screen;
            WorldToCamera(world, camera);
            Project(camera, screen);
            if (!IsFlakeVisible(screen, m_clientWidth, m_clientHeight)) return;
            WriteQuadPosition(quad, screen);
            device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DVT_TLVERTEX, flakeQuad, 4, 0);
        });

        device->SetLightState(D3DLIGHTSTATE_MATERIAL, 0);
        device->SetRenderState(D3DRENDERSTATE_TEXTUREHANDLE, 0);
        device->EndScene();
    }
    // The advance's result serves the one frame drawn after it.
    m_candidates.Forget();
    if (viewport) {
        viewport->ForceUpdate(0, 0, static_cast<DWORD>(m_clientWidth), static_cast<DWORD>(m_clientHeight));
    }
    NvxRelease(viewport2);

    NvxRestoreSurfaces();
    const bool textureWhole = m_texture.RestoreLost() != 0;
    if (state.rmDevice) state.rmDevice->Update();
    NvxPresent();
    // Surfaces the system took away for good (a display change) are made
    // anew, and the texture loaded again, by the next frame's set-up.
    if (state.surfacesLost || !textureWhole) SetUpAgain();
}
