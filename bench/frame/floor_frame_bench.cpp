// The floor of the whole-frame benchmark: the same window template, device
// layer, texture and set-up as the program, and per frame the same DirectX
// calls in the same order with the same arguments, but every vertex is
// computed before the first frame. Its frame time is what the DirectX calls
// cost on their own; the program cannot be faster than this.
//
//   floor_frame_bench.exe --warmup N --frames N --out FILE
//   floor_frame_bench.exe --memory --out FILE
//     the program's memory run on the floor: 1,000 frames, a resize before
//     every 20th with the program's releases and repeated set-up, so that what
//     the device layer and the runtime keep per resize shows apart from the
//     program's own objects.
//
// The flakes start from the same fill and the camera from the same defaults,
// so frame n draws exactly the squares the program's frame n draws (the
// output's visible counts let the script check that).
#include <windows.h>
#include <d3d.h>
#include <d3drm.h>
#include <ddraw.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/frame/bench_output.h"
#include "bench/frame/floor_frame.h"
#include "framework/afx_hooks.h"
#include "gfx/device_selection.h"
#include "gfx/device_state.h"
#include "gfx/windowed_surfaces.h"
#include "res/resource.h"
#include "texture/flake_texture.h"

namespace {

int g_clientWidth = 0;
int g_clientHeight = 0;
bool g_closed = false;

INT_PTR CALLBACK FloorDialogProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_SIZE: {
        const int cx = LOWORD(lParam), cy = HIWORD(lParam);
        if (cx == 0 || cy == 0) return TRUE;
        g_clientWidth = cx;
        g_clientHeight = cy;
        NvxResizeWindow(window, cx, cy);
        return TRUE;
    }
    case WM_MOVE:
        NvxUpdateScreenRect(window);
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(window);
        return TRUE;
    case WM_DESTROY:
        g_closed = true;
        PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

struct FloorScene {
    FlakeTexture texture;
    IDirect3DRMFrame2* sceneFrame = nullptr;
    IDirect3DRMFrame2* cameraFrame = nullptr;
    IDirect3DMaterial2* backgroundMaterial = nullptr;
    D3DMATERIAL backgroundMaterialDesc;
    D3DMATERIALHANDLE backgroundMaterialHandle = 0;
};

// The program's set-up, call for call.
bool SetUp(HWND window, FloorScene& scene) {
    DeviceState& state = g_deviceState;
    if (!NvxInitialize() || !NvxSetRgbPreference(1) || !CreateDirectDrawWin(window) || !NvxCreateD3DRM()) return false;
    if (state.rm2) {
        state.rm2->CreateFrame(nullptr, &scene.sceneFrame);
        if (scene.sceneFrame) state.rm2->CreateFrame(scene.sceneFrame, &scene.cameraFrame);
    }
    if (scene.cameraFrame) scene.cameraFrame->SetPosition(scene.sceneFrame, 0.0f, 0.0f, 0.0f);
    NVXViewport(scene.cameraFrame);
    NvxEnableRendering(1);
    scene.texture.Load(state.device2, "Vorl.bmp");
    if (state.direct3D2) state.direct3D2->CreateMaterial(&scene.backgroundMaterial, nullptr);
    std::memset(&scene.backgroundMaterialDesc, 0, sizeof scene.backgroundMaterialDesc);
    scene.backgroundMaterialDesc.dwSize = sizeof(D3DMATERIAL);
    scene.backgroundMaterialDesc.diffuse.a = 1.0f;
    scene.backgroundMaterialDesc.dwRampSize = 16;
    if (scene.backgroundMaterial) {
        scene.backgroundMaterial->SetMaterial(&scene.backgroundMaterialDesc);
        scene.backgroundMaterial->GetHandle(state.device2, &scene.backgroundMaterialHandle);
    }
    return true;
}

// What the program releases for a repeated set-up (the texture went with the resize).
void ReleaseForSetUp(FloorScene& scene) {
    if (scene.cameraFrame) scene.cameraFrame->Release();
    if (scene.sceneFrame) scene.sceneFrame->Release();
    if (scene.backgroundMaterial) scene.backgroundMaterial->Release();
    scene.cameraFrame = nullptr;
    scene.sceneFrame = nullptr;
    scene.backgroundMaterial = nullptr;
    scene.backgroundMaterialHandle = 0;
}

void TearDown(FloorScene& scene) {
    scene.texture.Unload();
    if (scene.cameraFrame) scene.cameraFrame->Release();
    if (scene.sceneFrame) scene.sceneFrame->Release();
    if (scene.backgroundMaterial) scene.backgroundMaterial->Release();
    NvxCleanup();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const FrameBenchOptions options = ParseFrameBenchOptions();

    HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, FloorDialogProc, 0);
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    ApplyClientSize(window, options);
    if (g_clientWidth == 0 || g_clientHeight == 0) {
        // The template's size messages can come before the procedure is
        // attached: take the client size as the program's window learns it.
        RECT client;
        GetClientRect(window, &client);
        g_clientWidth = client.right - client.left;
        g_clientHeight = client.bottom - client.top;
        NvxUpdateScreenRect(window);
    }

    constexpr int kMemoryFrames = 1000, kResizeEvery = 20, kPreparedForMemory = 20;
    const int total = options.memory ? kMemoryFrames : options.warmupFrames + options.timedFrames;
    PreparedFrames prepared;
    PrepareFrames(options.memory ? kPreparedForMemory : total, g_clientWidth, g_clientHeight, prepared);
    RECT windowRect;
    GetWindowRect(window, &windowRect);
    const SIZE originalSize = {windowRect.right - windowRect.left, windowRect.bottom - windowRect.top};
    int resizes = 0;
    std::string memory;

    auto scene = std::make_unique<FloorScene>();
    if (!SetUp(window, *scene)) return 1;

    std::vector<FrameRecord> records;
    records.reserve(static_cast<size_t>(options.timedFrames));
    int frame = 0;
    MSG msg;
    while (!g_closed && frame < total) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) break;
            if (!IsDialogMessageA(window, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (g_closed) break;
        if (options.memory && (frame + 1) % kResizeEvery == 0) {
            ++resizes;
            const bool grow = (resizes % 2) == 1;
            scene->texture.Unload();
            SetWindowPos(window, nullptr, 0, 0, originalSize.cx + (grow ? 96 : 0), originalSize.cy + (grow ? 64 : 0),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            ReleaseForSetUp(*scene);
            if (!SetUp(window, *scene)) return 1;
        }
        const size_t index = static_cast<size_t>(options.memory ? frame % kPreparedForMemory : frame);
        const size_t quads = prepared.Quads(index);
        const FloorFrameHandles handles = {scene->backgroundMaterialHandle, scene->texture.m_materialHandle,
                                           scene->texture.m_textureHandle, g_clientWidth, g_clientHeight};
        const double start = BenchNow();
        DrawPreparedFrame(handles, prepared.Vertices(index), quads);
        const double end = BenchNow();
        BetweenFrames(end, options);
        ++frame;
        if (options.memory) {
            if (frame == 1) memory += MemoryLine("start");
            if (frame == kResizeEvery) memory += MemoryLine("resizes_1");
            if (frame == 2 * kResizeEvery) memory += MemoryLine("resizes_2");
            if (frame % 200 == 0) {
                char label[64];
                std::snprintf(label, sizeof label, "frames_%d_resizes_%d", frame, resizes);
                memory += MemoryLine(label);
            }
            continue;
        }
        if (frame > options.warmupFrames) records.push_back({(end - start) * 1000.0, static_cast<int>(quads), (end - start) * 1000.0, 0.0, 0.0});
    }

    bool written;
    if (options.memory) {
        FILE* file = std::fopen(options.output.c_str(), "w");
        written = file && std::fputs(memory.c_str(), file) >= 0;
        if (file && std::fclose(file) != 0) written = false;
    } else {
        written = WriteFrameTimes(options.output, g_clientWidth, g_clientHeight, records) &&
                  static_cast<int>(records.size()) == options.timedFrames;
    }
    TearDown(*scene);
    DestroyWindow(window);
    return written && frame == total ? 0 : 1;
}
