// The device layer against the DirectX that Wine really implements: a window
// under the test X server, the whole set-up, a few frames, a resize with its
// rebuild and a second set-up. No fatal path may be taken, and the progress
// lines must come in the layer's order.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/afx_hooks.h"
#include "gfx/device_selection.h"
#include "gfx/device_state.h"
#include "gfx/windowed_surfaces.h"
#include "texture/flake_texture.h"

namespace {

std::vector<std::string> g_lines;
std::vector<std::string> g_boxes;

struct ExitCalled : std::runtime_error {
    explicit ExitCalled(int code) : std::runtime_error("exit " + std::to_string(code)) {}
};

void RecordLine(const char* text) {
    g_lines.emplace_back(text);
    std::fputs(text, stdout);  // what Wine did, in the test's own output
}
int RecordBox(const char* text, unsigned, unsigned) {
    g_boxes.emplace_back(text);
    std::printf("message box: %s\n", text);
    return IDOK;
}
void ThrowOnExit(int code) { throw ExitCalled(code); }

class RealDirectX : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = {afx_hooks::debugOutput, afx_hooks::messageBox, afx_hooks::exitProcess};
        afx_hooks::debugOutput = RecordLine;
        afx_hooks::messageBox = RecordBox;
        afx_hooks::exitProcess = ThrowOnExit;
        g_lines.clear();
        g_boxes.clear();

        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VorlRealDirectX";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        RegisterClassA(&wc);
        window_ = CreateWindowA(wc.lpszClassName, "Vorl real DirectX", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30,
                                400, 320, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(window_, nullptr);
        Pump();
    }
    void TearDown() override {
        ReleaseFrames();
        NvxCleanup();
        if (window_) DestroyWindow(window_);
        afx_hooks::debugOutput = saved_.debug;
        afx_hooks::messageBox = saved_.box;
        afx_hooks::exitProcess = saved_.exit;
    }

    static void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    void ReleaseFrames() {
        if (camera_) camera_->Release();
        if (scene_) scene_->Release();
        camera_ = nullptr;
        scene_ = nullptr;
    }

    // The scene set-up's calls into the layer, as the renderer makes them.
    void SetUpScene() {
        ASSERT_EQ(NvxInitialize(), 1);
        ASSERT_EQ(NvxSetRgbPreference(1), 1);
        ASSERT_EQ(CreateDirectDrawWin(window_), 1);
        ASSERT_EQ(NvxCreateD3DRM(), 1);
        DeviceState& s = g_deviceState;
        ASSERT_NE(s.rm2, nullptr);
        ASSERT_NE(s.device2, nullptr);
        ASSERT_NE(s.rmDevice, nullptr);
        ReleaseFrames();
        ASSERT_EQ(s.rm2->CreateFrame(nullptr, &scene_), 0);
        ASSERT_EQ(s.rm2->CreateFrame(scene_, &camera_), 0);
        ASSERT_EQ(NVXViewport(camera_), 1);
        ASSERT_NE(s.viewport, nullptr);
        ASSERT_EQ(NvxEnableRendering(1), 1);
    }

    // What Wine answers to the calls whose results the layer ignores; printed
    // for the record, not judged.
    static void ShowIgnoredResults() {
        DeviceState& s = g_deviceState;
        std::printf("device: halInUse=%d deviceKind=%d deviceGuid.Data1=%lx bitsPerPixel=%d\n", s.halInUse,
                    s.deviceKind, (unsigned long)s.deviceGuid.Data1, s.bitsPerPixel);
        std::printf("SetBufferCount %lx, SetShades %lx, SetTextureQuality %lx, SetQuality %lx, SetDither %lx\n",
                    (unsigned long)s.rmDevice->SetBufferCount(2), (unsigned long)s.rmDevice->SetShades(16),
                    (unsigned long)s.rmDevice->SetTextureQuality(D3DRMTEXTURE_LINEAR),
                    (unsigned long)s.rmDevice->SetQuality(D3DRMRENDER_GOURAUD), (unsigned long)s.rmDevice->SetDither(TRUE));
        std::printf("SetDefaultTextureColors %lx, SetDefaultTextureShades %lx, ForceUpdate %lx\n",
                    (unsigned long)s.rm2->SetDefaultTextureColors(16), (unsigned long)s.rm2->SetDefaultTextureShades(16),
                    (unsigned long)s.viewport->ForceUpdate(0, 0, s.clientWidth, s.clientHeight));
    }

    void RunFrames(int count) {
        DeviceState& s = g_deviceState;
        for (int i = 0; i < count; ++i) {
            Pump();
            if (s.viewport) s.viewport->Clear();
            EXPECT_EQ(NvxRestoreSurfaces(), 1);
            if (s.rmDevice) s.rmDevice->Update();
            EXPECT_EQ(NvxPresent(), 1);
        }
    }

    HWND window_ = nullptr;
    IDirect3DRMFrame2* scene_ = nullptr;
    IDirect3DRMFrame2* camera_ = nullptr;
    struct {
        afx_hooks::DebugOutputFn debug;
        afx_hooks::MessageBoxFn box;
        afx_hooks::ExitFn exit;
    } saved_{};
};

// Index of the first line at or after `from` that starts with `prefix`, or -1.
int Find(const std::string& prefix, int from = 0) {
    for (size_t i = static_cast<size_t>(from); i < g_lines.size(); ++i) {
        if (g_lines[i].compare(0, prefix.size(), prefix) == 0) return static_cast<int>(i);
    }
    return -1;
}

// Every prefix appears, in the given order, starting at `from`; returns the
// index after the last one found.
int ExpectInOrder(const std::vector<std::string>& prefixes, int from) {
    int at = from;
    for (const std::string& prefix : prefixes) {
        int found = Find(prefix, at);
        EXPECT_GE(found, 0) << "missing after line " << at << ": " << prefix;
        if (found < 0) return at;
        at = found + 1;
    }
    return at;
}

TEST_F(RealDirectX, SetUpFramesResizeAndSetUpAgainWithoutAFatalPath) {
    try {
        SetUpScene();
        ShowIgnoredResults();
        RunFrames(5);

        SetWindowPos(window_, nullptr, 0, 0, 480, 360, SWP_NOMOVE | SWP_NOZORDER);
        Pump();
        RECT client;
        GetClientRect(window_, &client);
        ASSERT_EQ(NvxResizeWindow(window_, client.right, client.bottom), 1);
        EXPECT_EQ(g_deviceState.clientWidth, client.right);
        EXPECT_EQ(g_deviceState.clientHeight, client.bottom);
        EXPECT_EQ(g_deviceState.resizing, 0);
        EXPECT_EQ(g_deviceState.viewport, nullptr);

        SetWindowPos(window_, nullptr, 90, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Pump();
        EXPECT_EQ(NvxUpdateScreenRect(window_), 1);
        POINT origin = {0, 0};
        ClientToScreen(window_, &origin);
        EXPECT_EQ(g_deviceState.screenRect.left, origin.x);
        EXPECT_EQ(g_deviceState.screenRect.top, origin.y);

        SetUpScene();
        ShowIgnoredResults();
        RunFrames(5);

        // Past the screen's bottom right corner: a copy reaching past the
        // primary surface fails whole, clipper or not, as the doubles have
        // it; the present copies the part on the screen.
        SetWindowPos(window_, nullptr, GetSystemMetrics(SM_CXSCREEN) - 200, GetSystemMetrics(SM_CYSCREEN) - 150, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
        Pump();
        EXPECT_EQ(NvxUpdateScreenRect(window_), 1);
        RECT whole = {0, 0, g_deviceState.clientWidth, g_deviceState.clientHeight};
        EXPECT_EQ(g_deviceState.primarySurface->Blt(&g_deviceState.screenRect, g_deviceState.backBuffer, &whole,
                                                     DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
        RunFrames(2);
    } catch (const ExitCalled& e) {
        ADD_FAILURE() << "the fatal path was taken: " << e.what() << (g_boxes.empty() ? "" : " after " + g_boxes.back());
    }

    EXPECT_TRUE(g_boxes.empty()) << g_boxes.size() << " message boxes, first: " << (g_boxes.empty() ? "" : g_boxes[0]);

    char size[64];
    std::snprintf(size, sizeof size, " NVx:%d,%d - param %d,%d \n", g_deviceState.clientWidth,
                  g_deviceState.clientHeight, g_deviceState.clientWidth, g_deviceState.clientHeight);
    const std::vector<std::string> setUp = {
        "NVX:Norvexa Initialize\n", "NVX:CreateDirectDrawWin\n", "NVX:Norvexa Cleanup\n", "NVX:CreateD3DRM\n",
        "NVX:DeviceGuid ",          "NVX:NVXViewport\n",         "NVX:Viewport width:",   "phase 3\n",
        "phase 4\n"};
    int at = ExpectInOrder(setUp, 0);
    at = ExpectInOrder({"NVX:Resize Window\n", size, "NVX:CreateD3DRM\n", "NVX:DeviceGuid "}, at);
    ExpectInOrder(setUp, at);
    EXPECT_EQ(Find("NVX:Error"), -1);
    EXPECT_EQ(Find("NVX:Failed"), -1);
    EXPECT_EQ(Find("NVX:Can't"), -1);
}

// Puts the display mode of the registry back when it goes.
struct RegistryDisplayMode {
    ~RegistryDisplayMode() { ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr); }
};

// A display mode change made through the layer's own DirectDraw object: Wine
// then takes the surfaces away as Windows does. The primary surface of the
// old mode will not come back, so the layer asks for a new set-up instead of
// a message, and that set-up presents in the new mode; the texture comes back
// in place from its system-memory copy.
TEST_F(RealDirectX, DisplayModeChangeTakesTheSurfacesAndTheSetUpAfterItPresents) {
    RegistryDisplayMode restoreMode;
    FlakeTexture texture;
    try {
        SetUpScene();
        ASSERT_EQ(texture.Load(g_deviceState.device2, "Vorl.bmp"), 1);
        RunFrames(2);
        ASSERT_EQ(g_deviceState.directDraw->SetDisplayMode(GetSystemMetrics(SM_CXSCREEN),
                                                           GetSystemMetrics(SM_CYSCREEN), 16), DD_OK);
        EXPECT_EQ(g_deviceState.primarySurface->IsLost(), DDERR_SURFACELOST);
        EXPECT_EQ(NvxRestoreSurfaces(), 1);
        EXPECT_EQ(g_deviceState.surfacesLost, 1);
        EXPECT_EQ(NvxPresent(), 0);
        EXPECT_EQ(texture.RestoreLost(), 1);
        texture.Unload();
        SetUpScene();
        RunFrames(2);
    } catch (const ExitCalled& e) {
        ADD_FAILURE() << "the fatal path was taken: " << e.what() << (g_boxes.empty() ? "" : " after " + g_boxes.back());
    }
    EXPECT_TRUE(g_boxes.empty()) << (g_boxes.empty() ? "" : g_boxes[0]);
}

// Keeps the dwSize of each description the enumeration hands over.
HRESULT CALLBACK RecordDescriptionSizes(GUID*, char*, char* name, D3DDEVICEDESC* hardware, D3DDEVICEDESC* software,
                                        void* context) {
    auto* sizes = static_cast<std::vector<DWORD>*>(context);
    sizes->push_back(hardware ? hardware->dwSize : 0);
    sizes->push_back(software ? software->dwSize : 0);
    std::printf("device %s: description sizes %lu, %lu\n", name ? name : "", (unsigned long)sizes->end()[-2],
                (unsigned long)sizes->back());
    return D3DENUMRET_OK;
}

// The records DirectDraw and Direct3D fill for the layer, in the layouts and
// sizes the layer declares, on either build: the texture capability arrives
// in the DirectX 5 capability record, nothing is written past a record's
// dwSize, and each device description the enumeration hands over holds at
// least the DirectX 5 part that the layer reads.
TEST_F(RealDirectX, RecordsAreFilledInTheLayoutsTheLayerDeclares) {
    try {
        ASSERT_EQ(NvxInitialize(), 1);
        ASSERT_EQ(NvxSetRgbPreference(0), 1);
        ASSERT_EQ(CreateDirectDrawWin(window_), 1);
    } catch (const ExitCalled& e) {
        FAIL() << "the fatal path was taken: " << e.what();
    }
    DeviceState& s = g_deviceState;
    // Wine reports 3D and texture capabilities: RGB without the preference.
    EXPECT_EQ(s.deviceKind, 2);
    ASSERT_NE(s.directDraw, nullptr);

    struct {
        DDCAPS_DX5 caps;
        unsigned char after[64];
    } record;
    std::memset(&record, 0xAB, sizeof record);
    record.caps.dwSize = kCapsSize;
    ASSERT_EQ(s.directDraw->GetCaps(reinterpret_cast<DDCAPS*>(&record.caps), nullptr), DD_OK);
    EXPECT_EQ(record.caps.dwSize, kCapsSize);
    EXPECT_NE(record.caps.ddsCaps.dwCaps & DDSCAPS_TEXTURE, 0u);
    for (unsigned char byte : record.after) ASSERT_EQ(byte, 0xAB) << "written past dwSize";

    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = kSurfaceDescSize;
    ASSERT_NE(s.primarySurface, nullptr);
    EXPECT_EQ(s.primarySurface->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwSize, kSurfaceDescSize);
    EXPECT_EQ(desc.dwWidth, static_cast<DWORD>(GetSystemMetrics(SM_CXSCREEN)));
    // No back buffer for a window sized down to its title bar, as the
    // doubles have it.
    DDSURFACEDESC flat = {};
    flat.dwSize = sizeof flat;
    flat.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    flat.dwWidth = 626;  // and no height
    flat.ddsCaps.dwCaps = DDSCAPS_3DDEVICE | DDSCAPS_OFFSCREENPLAIN;
    IDirectDrawSurface* none = nullptr;
    EXPECT_EQ(s.directDraw->CreateSurface(&flat, &none, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(none, nullptr);

    IDirect3D2* direct3D2 = nullptr;
    ASSERT_EQ(s.directDraw->QueryInterface(IID_IDirect3D2, reinterpret_cast<void**>(&direct3D2)), S_OK);
    std::vector<DWORD> sizes;
    EXPECT_EQ(direct3D2->EnumDevices(RecordDescriptionSizes, &sizes), D3D_OK);
    direct3D2->Release();
    ASSERT_FALSE(sizes.empty());
    for (DWORD size : sizes) EXPECT_GE(size, kDeviceDescV5Size);
}

}  // namespace
