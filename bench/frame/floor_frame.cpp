#include "bench/frame/floor_frame.h"

#include <cstring>
#include <memory>

#include "app/flake_dlg_render.h"
#include "gfx/device_state.h"
#include "gfx/windowed_surfaces.h"
#include "scene/camera.h"
#include "scene/flake_field.h"
#include "scene/flake_quad.h"

namespace {

// The program draws every square from one four-vertex array; so does the
// floor, refilled from the prepared squares before each call.
D3DTLVERTEX g_quad[4];

}  // namespace

void PrepareFrames(int count, int clientWidth, int clientHeight, PreparedFrames& frames) {
    auto flakes = std::make_unique<Flake[]>(kFlakeCount);
    FlakeRandom random;
    FillFlakes(flakes.get(), kFlakeCount, random);
    // The window's camera defaults; no key is pressed during the run.
    double rotation[9];
    BuildRotation(3.14159265, 0.0, 0.0, rotation);
    const double eyeX = 0.0, eyeY = 0.0, eyeZ = -2.0;

    QuadVertex quad[4];
    WriteQuadConstants(quad);
    frames.vertices.clear();
    frames.first.assign(1, 0);
    for (int n = 0; n < count; ++n) {
        AdvanceFlakes(flakes.get(), kFlakeCount);
        // Every flake through the full arithmetic, as written.
        for (int i = 0; i < kFlakeCount; ++i) {
            const Flake& f = flakes[i];
            const Point3 world = {f.x, f.y, f.z};
            Point3 camera, screen;
            RotateToCamera(rotation, world, camera);
            ProjectToScreen(camera, eyeX, eyeY, eyeZ, clientWidth, clientHeight, screen);
            if (!IsFlakeVisible(screen, clientWidth, clientHeight)) continue;
            WriteQuadPosition(quad, screen);
            for (const QuadVertex& v : quad) {
                D3DTLVERTEX out;
                std::memcpy(&out, &v, sizeof out);
                frames.vertices.push_back(out);
            }
        }
        frames.first.push_back(frames.vertices.size());
    }
}

void DrawPreparedFrame(const FloorFrameHandles& handles, const D3DTLVERTEX* vertices, size_t quads) {
    DeviceState& state = g_deviceState;
    IDirect3DRMViewport* viewport = state.viewport;
    IDirect3DDevice2* device = state.device2;

    IDirect3DViewport2* viewport2 = ImmediateViewportOf(viewport);
    if (viewport2) viewport2->SetBackground(handles.background);
    if (viewport) viewport->Clear();

    if (device && viewport2) {
        device->SetCurrentViewport(viewport2);
        for (const auto& rs : kFrameRenderStates) device->SetRenderState(rs.state, rs.value);
        device->BeginScene();
        device->SetLightState(D3DLIGHTSTATE_MATERIAL, handles.material);
        device->SetRenderState(D3DRENDERSTATE_TEXTUREHANDLE, handles.texture);
        for (size_t q = 0; q < quads; ++q) {
            std::memcpy(g_quad, vertices + 4 * q, sizeof g_quad);
            device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DVT_TLVERTEX, g_quad, 4, 0);
        }
        device->SetLightState(D3DLIGHTSTATE_MATERIAL, 0);
        device->SetRenderState(D3DRENDERSTATE_TEXTUREHANDLE, 0);
        device->EndScene();
    }
    if (viewport) {
        viewport->ForceUpdate(0, 0, static_cast<DWORD>(handles.clientWidth), static_cast<DWORD>(handles.clientHeight));
    }
    if (viewport2) viewport2->Release();

    NvxRestoreSurfaces();
    if (state.rmDevice) state.rmDevice->Update();
    NvxPresent();
}
