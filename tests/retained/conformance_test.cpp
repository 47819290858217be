// Retained Mode as Vorl calls it, on Wine's real DirectDraw and Direct3D, run
// once against Wine's own d3drm.dll and once against ours (VORL_D3DRM says
// which one the run must have loaded). The same assertions hold for both:
// results, reference counts, the Immediate Mode viewport's data and the
// pixels after Clear. Where Wine is known to differ from Windows, the
// assertion runs against ours only and says why.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <limits>
#include <string>

#include "gfx/device_selection.h"
#include "gfx/device_state.h"
#include "gfx/windowed_surfaces.h"

namespace {

ULONG Count(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

// The d3drm.dll of this process is ours: it exports only what Vorl binds,
// Wine's also the vector helpers. (Wine names its builtin after the path it
// was asked for, so the file name tells nothing.)
bool LoadedOurs() {
    HMODULE module = GetModuleHandleA("d3drm.dll");
    return module && !GetProcAddress(module, "D3DRMVectorAdd");
}

constexpr DWORD kSurround = 0x00FF00FF;  // the target's colour before a Clear
constexpr DWORD kBackground = 0x000000FF;  // the viewport's background material

class RetainedConformance : public ::testing::Test {
protected:
    void SetUp() override {
        const char* expected = std::getenv("VORL_D3DRM");
        ASSERT_NE(expected, nullptr) << "VORL_D3DRM (ours or wine) names the d3drm.dll this run must load";
        ours_ = std::string(expected) == "ours";

        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VorlRetainedConformance";
        RegisterClassA(&wc);
        window_ = CreateWindowA(wc.lpszClassName, "Vorl Retained Mode", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 360,
                                300, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(window_, nullptr);

        // The device layer makes the surfaces, the Z-buffer and the Immediate
        // Mode device as the program does, and binds d3drm.dll.
        ASSERT_EQ(NvxInitialize(), 1);
        ASSERT_EQ(LoadedOurs(), ours_) << "the wrong d3drm.dll was loaded";
        ASSERT_EQ(NvxSetRgbPreference(1), 1);
        ASSERT_EQ(CreateDirectDrawWin(window_), 1);
        DeviceState& s = g_deviceState;
        ASSERT_EQ(NvxCreateDevice(s.deviceKind), 1);
        ASSERT_NE(s.device2, nullptr);
        d3d_ = s.direct3D2;
        device_ = s.device2;
        d3dCount_ = Count(d3d_);
        deviceCount_ = Count(device_);

        ASSERT_EQ(s.pfnDirect3DRMCreate(&rm_), D3DRM_OK);
        ASSERT_EQ(rm_->QueryInterface(IID_IDirect3DRM2, reinterpret_cast<void**>(&rm2_)), S_OK);
        rmCount_ = Count(rm_);
    }

    void TearDown() override {
        if (rm2_) {
            EXPECT_EQ(rm2_->Release(), 0u);
        }
        if (rm_) {
            EXPECT_EQ(Count(rm_), 1u) << "something made here still holds the Retained Mode object";
            EXPECT_EQ(rm_->Release(), 0u);
        }
        if (d3d_) {
            EXPECT_EQ(Count(d3d_), d3dCount_);
        }
        if (device_) {
            EXPECT_EQ(Count(device_), deviceCount_);
        }
        NvxCleanup();
        if (window_) DestroyWindow(window_);
    }

    // A root frame and a camera frame under it, as the scene set-up makes them.
    void MakeFrames() {
        ASSERT_EQ(rm2_->CreateFrame(nullptr, &scene_), D3DRM_OK);
        ASSERT_EQ(rm2_->CreateFrame(scene_, &camera_), D3DRM_OK);
    }
    void ReleaseFrames() {
        if (camera_) camera_->Release();
        if (scene_) scene_->Release();
        camera_ = scene_ = nullptr;
    }

    void MakeDevice() { ASSERT_EQ(rm2_->CreateDeviceFromD3D(d3d_, device_, &rmDevice_), D3DRM_OK); }

    // The target filled with kSurround and the Z-buffer with 0 (nearest).
    void FillTargetAndDepth() {
        DeviceState& s = g_deviceState;
        DDBLTFX fx = {};
        fx.dwSize = sizeof fx;
        fx.dwFillColor = kSurround;
        ASSERT_EQ(s.backBuffer->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
        fx.dwFillDepth = 0;
        ASSERT_EQ(s.zBuffer->Blt(nullptr, nullptr, nullptr, DDBLT_DEPTHFILL | DDBLT_WAIT, &fx), DD_OK);
    }

    // IDirect3DRMObject is answered with the object's IUnknown pointer,
    // counted once more.
    static void ExpectObjectInterface(IUnknown* iface) {
        IUnknown* unknown = nullptr;
        ASSERT_EQ(iface->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
        const ULONG before = Count(iface);
        IUnknown* object = nullptr;
        EXPECT_EQ(iface->QueryInterface(IID_IDirect3DRMObject, reinterpret_cast<void**>(&object)), S_OK);
        EXPECT_EQ(object, unknown);
        EXPECT_EQ(Count(iface), before + 1);
        if (object) object->Release();
        unknown->Release();
    }

    // One value of a locked surface: 32-bit colour or 16-bit depth.
    static DWORD Read(IDirectDrawSurface* surface, int x, int y) {
        DDSURFACEDESC desc = {};
        desc.dwSize = sizeof desc;
        if (surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr) != DD_OK) return 0xDEADBEEF;
        const BYTE* row = static_cast<const BYTE*>(desc.lpSurface) + y * desc.lPitch;
        DWORD value;
        if (desc.dwFlags & DDSD_ZBUFFERBITDEPTH || desc.ddpfPixelFormat.dwFlags & DDPF_ZBUFFER) {
            value = reinterpret_cast<const WORD*>(row)[x];
        } else {
            value = reinterpret_cast<const DWORD*>(row)[x] & 0x00FFFFFF;
        }
        surface->Unlock(nullptr);
        return value;
    }

    bool ours_ = false;
    HWND window_ = nullptr;
    IDirect3D2* d3d_ = nullptr;
    IDirect3DDevice2* device_ = nullptr;
    ULONG d3dCount_ = 0, deviceCount_ = 0, rmCount_ = 0;
    IDirect3DRM* rm_ = nullptr;
    IDirect3DRM2* rm2_ = nullptr;
    IDirect3DRMFrame2* scene_ = nullptr;
    IDirect3DRMFrame2* camera_ = nullptr;
    IDirect3DRMDevice2* rmDevice_ = nullptr;
};

TEST_F(RetainedConformance, ObjectInterfacesAndFramesCountAsWindowsDoes) {
    // IDirect3DRM and IDirect3DRM2 count apart; IUnknown shares IDirect3DRM.
    EXPECT_EQ(rmCount_, 1u);
    EXPECT_EQ(Count(rm2_), 1u);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(rm2_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown, static_cast<IUnknown*>(rm_));
    EXPECT_EQ(Count(rm_), 2u);
    unknown->Release();
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(rm_->QueryInterface(IID_IDirectDraw, &other), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(other, nullptr);
    if (ours_) {  // Wine lets the IDirect3DRM2 count go below zero
        EXPECT_EQ(rm2_->Release(), 0u);
        EXPECT_EQ(rm2_->Release(), 0u) << "released once more than counted, while IDirect3DRM holds the object";
        EXPECT_EQ(Count(rm_), rmCount_);
        ASSERT_EQ(rm_->QueryInterface(IID_IDirect3DRM2, reinterpret_cast<void**>(&rm2_)), S_OK);
        EXPECT_EQ(Count(rm2_), 1u);
    }

    // Frames hold the object on its IDirect3DRM count only; a parent holds
    // its child, a child not its parent.
    MakeFrames();
    EXPECT_EQ(Count(rm_), rmCount_ + 2);
    EXPECT_EQ(Count(rm2_), 1u);
    EXPECT_EQ(Count(scene_), 1u);
    EXPECT_EQ(Count(camera_), 2u);
    IDirect3DRMFrame* frame = nullptr;
    ASSERT_EQ(camera_->QueryInterface(IID_IDirect3DRMFrame, reinterpret_cast<void**>(&frame)), S_OK);
    EXPECT_EQ(Count(camera_), 3u) << "the frame's interfaces share one count";
    frame->Release();
    ExpectObjectInterface(camera_);
    EXPECT_EQ(camera_->QueryInterface(IID_IDirect3DRM, &other), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(other, nullptr);

    if (ours_) {  // Wine: SetPosition is not implemented (E_NOTIMPL)
        EXPECT_EQ(camera_->SetPosition(scene_, 0.0f, 0.0f, 0.0f), D3DRM_OK);
        EXPECT_EQ(camera_->SetPosition(nullptr, 1.0f, 2.0f, 3.0f), D3DRM_OK);
        EXPECT_EQ(camera_->SetPosition(reinterpret_cast<IDirect3DRMFrame*>(rm_), 0.0f, 0.0f, 0.0f), D3DRMERR_BADOBJECT);
    }

    // Releasing the parent first drops its hold on the child.
    EXPECT_EQ(scene_->Release(), 0u);
    scene_ = nullptr;
    EXPECT_EQ(Count(camera_), 1u);
    EXPECT_EQ(Count(rm_), rmCount_ + 1);
    ReleaseFrames();
    EXPECT_EQ(Count(rm_), rmCount_);
}

TEST_F(RetainedConformance, DeviceFromD3DHoldsTheImmediateModeObjectsAndTakesTheSettings) {
    IDirect3DRMDevice2* device = reinterpret_cast<IDirect3DRMDevice2*>(1);
    EXPECT_EQ(rm2_->CreateDeviceFromD3D(nullptr, device_, &device), D3DRMERR_BADVALUE);
    EXPECT_EQ(device, nullptr);
    device = reinterpret_cast<IDirect3DRMDevice2*>(1);
    EXPECT_EQ(rm2_->CreateDeviceFromD3D(d3d_, nullptr, &device), D3DRMERR_BADVALUE);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(rm2_->CreateDeviceFromD3D(d3d_, device_, nullptr), D3DRMERR_BADVALUE);
    EXPECT_EQ(Count(d3d_), d3dCount_);
    EXPECT_EQ(Count(device_), deviceCount_);

    MakeDevice();
    EXPECT_EQ(Count(rmDevice_), 1u);
    EXPECT_EQ(Count(rm_), rmCount_ + 1);
    EXPECT_EQ(Count(rm2_), 1u);
    EXPECT_EQ(Count(d3d_), d3dCount_ + 1);
    EXPECT_EQ(Count(device_), deviceCount_ + 1);

    // The program's calls, both quality sets. Wine does not implement
    // SetBufferCount, SetShades, SetTextureQuality and the default texture
    // settings (E_NOTIMPL); Windows accepts them.
    EXPECT_EQ(rmDevice_->SetQuality(D3DRMRENDER_GOURAUD), D3DRM_OK);
    EXPECT_EQ(rmDevice_->SetQuality(D3DRMRENDER_FLAT), D3DRM_OK);
    EXPECT_EQ(rmDevice_->SetDither(TRUE), D3DRM_OK);
    EXPECT_EQ(rmDevice_->SetDither(FALSE), D3DRM_OK);
    EXPECT_EQ(rmDevice_->Update(), D3DRM_OK);
    if (ours_) {
        EXPECT_EQ(rmDevice_->SetBufferCount(2), D3DRM_OK);
        EXPECT_EQ(rmDevice_->SetShades(16), D3DRM_OK);
        EXPECT_EQ(rmDevice_->SetShades(32), D3DRM_OK);
        EXPECT_EQ(rmDevice_->SetTextureQuality(D3DRMTEXTURE_LINEAR), D3DRM_OK);
        EXPECT_EQ(rmDevice_->SetTextureQuality(D3DRMTEXTURE_NEAREST), D3DRM_OK);
        EXPECT_EQ(rm2_->SetDefaultTextureColors(16), D3DRM_OK);
        EXPECT_EQ(rm2_->SetDefaultTextureShades(16), D3DRM_OK);
    }
    if (ours_) {  // only what Vorl calls is implemented; Wine has the whole component
        IDirect3DRMMeshBuilder2* builder = nullptr;
        EXPECT_EQ(rm2_->CreateMeshBuilder(&builder), E_NOTIMPL);
        EXPECT_EQ(rm_->CreateFrame(nullptr, nullptr), E_NOTIMPL);
        EXPECT_EQ(rmDevice_->AddUpdateCallback(nullptr, nullptr), E_NOTIMPL);
        EXPECT_EQ(rmDevice_->GetWidth(), 0u);
    }
    ExpectObjectInterface(rmDevice_);
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(rmDevice_->QueryInterface(IID_IDirect3DRMFrame, &other), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(other, nullptr);

    EXPECT_EQ(rmDevice_->Release(), 0u);
    rmDevice_ = nullptr;
    EXPECT_EQ(Count(rm_), rmCount_);
    EXPECT_EQ(Count(d3d_), d3dCount_);
    EXPECT_EQ(Count(device_), deviceCount_);
}

TEST_F(RetainedConformance, ViewportArgumentsCountsAndImmediateModeData) {
    MakeFrames();
    MakeDevice();
    DeviceState& s = g_deviceState;
    const DWORD width = s.clientWidth, height = s.clientHeight;

    IDirect3DRMViewport* viewport = reinterpret_cast<IDirect3DRMViewport*>(1);
    EXPECT_EQ(rm2_->CreateViewport(nullptr, camera_, 0, 0, width, height, &viewport), D3DRMERR_BADOBJECT);
    EXPECT_EQ(viewport, nullptr);
    viewport = reinterpret_cast<IDirect3DRMViewport*>(1);
    EXPECT_EQ(rm2_->CreateViewport(rmDevice_, nullptr, 0, 0, width, height, &viewport), D3DRMERR_BADOBJECT);
    EXPECT_EQ(viewport, nullptr);
    EXPECT_EQ(rm2_->CreateViewport(rmDevice_, camera_, 0, 0, width + 1, height, &viewport), D3DRMERR_BADVALUE);
    EXPECT_EQ(viewport, nullptr);
    EXPECT_EQ(rm2_->CreateViewport(rmDevice_, camera_, 0, 0, width, height + 1, &viewport), D3DRMERR_BADVALUE);
    EXPECT_EQ(rm2_->CreateViewport(rmDevice_, camera_, 0, 0, width, height, nullptr), D3DRMERR_BADVALUE);
    if (ours_) {  // Wine checks the size alone and lets x and y carry the rectangle past the device
        EXPECT_EQ(rm2_->CreateViewport(rmDevice_, camera_, 1, 0, width, height, &viewport), D3DRMERR_BADVALUE);
        EXPECT_EQ(rm2_->CreateViewport(rmDevice_, camera_, 0, 0xFFFFFFFF, 2, 2, &viewport), D3DRMERR_BADVALUE);
        EXPECT_EQ(viewport, nullptr);
    }
    ASSERT_EQ(rm2_->CreateViewport(rmDevice_, camera_, 0, 0, width, height, &viewport), D3DRM_OK)
        << "exactly the device's size";
    EXPECT_EQ(viewport->Release(), 0u);
    const ULONG cameraCount = Count(camera_);
    EXPECT_EQ(Count(rm_), rmCount_ + 3);

    // A viewport holds the camera and the object, not the device.
    ASSERT_EQ(rm2_->CreateViewport(rmDevice_, camera_, 10, 20, 100, 50, &viewport), D3DRM_OK);
    EXPECT_EQ(Count(viewport), 1u);
    EXPECT_EQ(Count(camera_), cameraCount + 1);
    EXPECT_EQ(Count(rm_), rmCount_ + 4);
    EXPECT_EQ(Count(rmDevice_), 1u);

    // The same Immediate Mode viewport each time, one more reference each.
    EXPECT_EQ(viewport->GetDirect3DViewport(nullptr), D3DRMERR_BADVALUE);
    IDirect3DViewport* immediate = nullptr;
    ASSERT_EQ(viewport->GetDirect3DViewport(&immediate), D3DRM_OK);
    const ULONG immediateCount = Count(immediate);
    IDirect3DViewport* again = nullptr;
    ASSERT_EQ(viewport->GetDirect3DViewport(&again), D3DRM_OK);
    EXPECT_EQ(again, immediate);
    EXPECT_EQ(Count(immediate), immediateCount + 1);
    again->Release();

    D3DVIEWPORT data = {};
    data.dwSize = sizeof data;
    ASSERT_EQ(immediate->GetViewport(&data), D3D_OK);
    EXPECT_EQ(data.dwX, 10u);
    EXPECT_EQ(data.dwY, 20u);
    EXPECT_EQ(data.dwWidth, 100u);
    EXPECT_EQ(data.dwHeight, 50u);
    EXPECT_EQ(data.dvScaleX, 50.0f);
    EXPECT_EQ(data.dvScaleY, 50.0f);
    EXPECT_EQ(data.dvMaxX, 1.0f);
    EXPECT_EQ(data.dvMaxY, 0.5f);

    // It was added to the Immediate Mode device.
    IDirect3DViewport2* immediate2 = nullptr;
    ASSERT_EQ(immediate->QueryInterface(IID_IDirect3DViewport2, reinterpret_cast<void**>(&immediate2)), S_OK);
    IDirect3DViewport2* first = nullptr;
    EXPECT_EQ(device_->NextViewport(immediate2, &first, D3DNEXT_HEAD), D3D_OK);
    EXPECT_EQ(first, immediate2);
    immediate2->Release();

    // The back plane must lie behind the front one (1.0).
    EXPECT_EQ(viewport->SetBack(5000.0f), D3DRM_OK);
    EXPECT_EQ(viewport->SetBack(1.0f), D3DRMERR_BADVALUE);
    EXPECT_EQ(viewport->SetBack(0.5f), D3DRMERR_BADVALUE);
    if (ours_) {  // Wine's check (back <= front) lets NaN through
        EXPECT_EQ(viewport->SetBack(std::numeric_limits<float>::quiet_NaN()), D3DRMERR_BADVALUE);
    }
    ExpectObjectInterface(viewport);
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(viewport->QueryInterface(IID_IDirect3DRMFrame, &other), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(other, nullptr);

    EXPECT_EQ(viewport->Release(), 0u);
    EXPECT_EQ(Count(camera_), cameraCount);
    EXPECT_EQ(Count(rm_), rmCount_ + 3);
    if (ours_) {  // Wine leaves the Immediate Mode viewport on the device until the device goes
        EXPECT_EQ(Count(immediate), immediateCount - 2) << "released by the viewport and by the device";
        first = nullptr;
        EXPECT_NE(device_->NextViewport(nullptr, &first, D3DNEXT_HEAD), D3D_OK);
    }
    immediate->Release();

    // A viewport of no size is allowed, as on Windows.
    ASSERT_EQ(rm2_->CreateViewport(rmDevice_, camera_, 0, 0, 0, 0, &viewport), D3DRM_OK);
    EXPECT_EQ(viewport->Release(), 0u);

    rmDevice_->Release();
    rmDevice_ = nullptr;
    ReleaseFrames();
}

TEST_F(RetainedConformance, ClearFillsTheViewportWithItsBackgroundAndTheFarPlane) {
    MakeFrames();
    MakeDevice();
    DeviceState& s = g_deviceState;
    IDirect3DRMViewport* viewport = nullptr;
    ASSERT_EQ(rm2_->CreateViewport(rmDevice_, camera_, 10, 20, 100, 50, &viewport), D3DRM_OK);

    // A blue background material, as the frame sets its black one.
    IDirect3DMaterial2* material = nullptr;
    ASSERT_EQ(d3d_->CreateMaterial(&material, nullptr), D3D_OK);
    D3DMATERIAL desc = {};
    desc.dwSize = sizeof desc;
    desc.diffuse.b = 1.0f;
    desc.diffuse.a = 1.0f;
    ASSERT_EQ(material->SetMaterial(&desc), D3D_OK);
    D3DMATERIALHANDLE handle = 0;
    ASSERT_EQ(material->GetHandle(device_, &handle), D3D_OK);
    IDirect3DViewport* immediate = nullptr;
    ASSERT_EQ(viewport->GetDirect3DViewport(&immediate), D3DRM_OK);
    ASSERT_EQ(immediate->SetBackground(handle), D3D_OK);

    FillTargetAndDepth();
    ASSERT_EQ(Read(s.backBuffer, 60, 40), kSurround);
    ASSERT_EQ(Read(s.zBuffer, 60, 40), 0u);
    EXPECT_EQ(viewport->Clear(), D3DRM_OK);
    EXPECT_EQ(Read(s.backBuffer, 10, 20), kBackground);
    EXPECT_EQ(Read(s.backBuffer, 109, 69), kBackground);
    EXPECT_EQ(Read(s.zBuffer, 60, 40), 0xFFFFu) << "the Z-buffer is cleared to the far plane";
    if (ours_) {  // Wine clears the whole device, not the viewport's rectangle
        EXPECT_EQ(Read(s.backBuffer, 9, 40), kSurround);
        EXPECT_EQ(Read(s.backBuffer, 110, 40), kSurround);
        EXPECT_EQ(Read(s.backBuffer, 60, 19), kSurround);
        EXPECT_EQ(Read(s.backBuffer, 60, 70), kSurround);
        EXPECT_EQ(Read(s.zBuffer, 5, 5), 0u);
    }

    // With the Z-buffer taken off the target, only the target is cleared.
    FillTargetAndDepth();
    ASSERT_EQ(s.backBuffer->DeleteAttachedSurface(0, s.zBuffer), DD_OK);
    viewport->ForceUpdate(0, 0, s.clientWidth, s.clientHeight);  // Wine: E_NOTIMPL, and it clears every time
    EXPECT_EQ(viewport->Clear(), D3DRM_OK);
    EXPECT_EQ(Read(s.backBuffer, 60, 40), kBackground);
    EXPECT_EQ(Read(s.zBuffer, 60, 40), 0u);
    ASSERT_EQ(s.backBuffer->AddAttachedSurface(s.zBuffer), DD_OK);

    // Windows clears only what was marked as changed: the whole viewport when
    // it is new, then what ForceUpdate marks. Wine clears every time and does
    // not implement ForceUpdate (E_NOTIMPL).
    if (ours_) {
        FillTargetAndDepth();
        EXPECT_EQ(viewport->Clear(), D3DRM_OK);
        EXPECT_EQ(Read(s.backBuffer, 60, 40), kSurround) << "nothing was marked since the last Clear";
        EXPECT_EQ(viewport->ForceUpdate(30, 30, 40, 35), D3DRM_OK);
        EXPECT_EQ(viewport->ForceUpdate(40, 30, 30, 35), D3DRMERR_BADVALUE);
        EXPECT_EQ(viewport->Clear(), D3DRM_OK);
        EXPECT_EQ(Read(s.backBuffer, 30, 30), kBackground);
        EXPECT_EQ(Read(s.backBuffer, 39, 34), kBackground);
        EXPECT_EQ(Read(s.backBuffer, 40, 30), kSurround);
        EXPECT_EQ(Read(s.backBuffer, 29, 30), kSurround);
        EXPECT_EQ(Read(s.zBuffer, 35, 32), 0xFFFFu);
        // Two marks before one Clear: the box around both.
        FillTargetAndDepth();
        EXPECT_EQ(viewport->ForceUpdate(50, 30, 70, 40), D3DRM_OK);
        EXPECT_EQ(viewport->ForceUpdate(30, 45, 45, 60), D3DRM_OK);
        EXPECT_EQ(viewport->Clear(), D3DRM_OK);
        EXPECT_EQ(Read(s.backBuffer, 30, 30), kBackground);
        EXPECT_EQ(Read(s.backBuffer, 69, 59), kBackground);
        EXPECT_EQ(Read(s.backBuffer, 29, 45), kSurround);
        EXPECT_EQ(Read(s.backBuffer, 70, 35), kSurround);
        // The frame marks the whole client area: only the viewport is cleared.
        FillTargetAndDepth();
        EXPECT_EQ(viewport->ForceUpdate(0, 0, s.clientWidth, s.clientHeight), D3DRM_OK);
        EXPECT_EQ(viewport->Clear(), D3DRM_OK);
        EXPECT_EQ(Read(s.backBuffer, 10, 20), kBackground);
        EXPECT_EQ(Read(s.backBuffer, 109, 69), kBackground);
        EXPECT_EQ(Read(s.backBuffer, 110, 69), kSurround);
    }

    immediate->Release();
    material->Release();
    EXPECT_EQ(viewport->Release(), 0u);
    rmDevice_->Release();
    rmDevice_ = nullptr;
    ReleaseFrames();
}

// Wine's viewport keeps a bare pointer to its device and reads freed memory
// when used after the device has gone; Windows' holds no reference either.
// Ours answers D3DRMERR_BADOBJECT to what needs the device.
TEST_F(RetainedConformance, MisuseThatWineWouldCrashOnGetsAPlainError) {
    if (!ours_) GTEST_SKIP() << "Wine's viewport reads its freed device";
    MakeFrames();
    MakeDevice();
    IDirect3DRMViewport* viewport = nullptr;
    ASSERT_EQ(rm2_->CreateViewport(rmDevice_, camera_, 0, 0, 64, 64, &viewport), D3DRM_OK);
    EXPECT_EQ(rmDevice_->Release(), 0u);
    rmDevice_ = nullptr;
    EXPECT_EQ(Count(device_), deviceCount_) << "the device let go of the Immediate Mode device";
    EXPECT_EQ(viewport->Clear(), D3DRMERR_BADOBJECT);
    EXPECT_EQ(viewport->ForceUpdate(0, 0, 64, 64), D3DRMERR_BADOBJECT);
    EXPECT_EQ(viewport->SetBack(5000.0f), D3DRM_OK);
    IDirect3DRMViewport* another = reinterpret_cast<IDirect3DRMViewport*>(1);
    EXPECT_EQ(rm2_->CreateViewport(nullptr, camera_, 0, 0, 64, 64, &another), D3DRMERR_BADOBJECT);
    EXPECT_EQ(viewport->Release(), 0u);
    ReleaseFrames();

    // Null out-pointers, which Wine writes through.
    EXPECT_EQ(rm2_->CreateFrame(nullptr, nullptr), D3DRMERR_BADVALUE);
    EXPECT_EQ(rm_->QueryInterface(IID_IDirect3DRM2, nullptr), E_POINTER);
    EXPECT_EQ(g_deviceState.pfnDirect3DRMCreate(nullptr), D3DRMERR_BADVALUE);
}

TEST_F(RetainedConformance, ColourHelpersTruncateEachChannel) {
    DeviceState& s = g_deviceState;
    EXPECT_EQ(s.pfnD3DRMCreateColorRGB(0.8f, 0.3f, 0.55f), 0xFFCC4C8Cu);
    EXPECT_EQ(s.pfnD3DRMCreateColorRGB(-0.88f, 2.37f, 1.0f), 0xFF00FFFFu);
    EXPECT_NEAR(s.pfnD3DRMColorGetRed(0xB62D7A1C), 45.0f / 255.0f, 1e-6);
    EXPECT_NEAR(s.pfnD3DRMColorGetGreen(0xAD971203), 18.0f / 255.0f, 1e-6);
    EXPECT_NEAR(s.pfnD3DRMColorGetBlue(0xC82A1455), 85.0f / 255.0f, 1e-6);
}

}  // namespace
