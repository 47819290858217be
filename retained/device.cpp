#include "retained/device.h"

#include "retained/viewport.h"

namespace retained {

HRESULT Device::Make(IDirect3DRM* owner, IDirect3D2* direct3D, IDirect3DDevice2* device, IDirect3DRMDevice2** out) {
    // The device's size is its render target's.
    IDirectDrawSurface* target = nullptr;
    HRESULT result = device->GetRenderTarget(&target);
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof desc;
    if (result == DD_OK && target) result = target->GetSurfaceDesc(&desc);
    if (target) target->Release();
    if (result == DD_OK && !target) result = D3DRMERR_BADOBJECT;  // a device that names no target
    if (result == DD_OK) {
        *out = MakeCounted<Device, IDirect3DRMDevice2Stub>(owner, direct3D, device, desc.dwWidth, desc.dwHeight);
        if (*out) return D3DRM_OK;
        result = E_OUTOFMEMORY;
    }
    owner->Release();
    return result;
}

Device::Device(IDirect3DRM* owner, IDirect3D2* direct3D, IDirect3DDevice2* device, DWORD width, DWORD height)
    : owner_(owner), direct3D_(direct3D), device_(device), width_(width), height_(height) {
    direct3D_->AddRef();
    device_->AddRef();
}

Device::~Device() {
    while (viewports_) {
        Viewport* viewport = viewports_;
        viewports_ = viewport->nextOnDevice;
        viewport->nextOnDevice = nullptr;
        viewport->DeviceGone();
    }
    device_->Release();
    direct3D_->Release();
    owner_->Release();
}

void Device::Attach(Viewport* viewport) {
    viewport->nextOnDevice = viewports_;
    viewports_ = viewport;
}

void Device::Detach(Viewport* viewport) {
    for (Viewport** link = &viewports_; *link; link = &(*link)->nextOnDevice) {
        if (*link == viewport) {
            *link = viewport->nextOnDevice;
            viewport->nextOnDevice = nullptr;
            return;
        }
    }
}

HRESULT STDMETHODCALLTYPE Device::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == kClassId) {
        *out = this;
    } else if (iid == IID_IUnknown || iid == IID_IDirect3DRMObject || iid == IID_IDirect3DRMDevice ||
               iid == IID_IDirect3DRMDevice2) {
        *out = Share();
    } else {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return S_OK;
}

// The caller draws into the device's target through Immediate Mode and
// presents it itself: buffer count, shades, quality, texture quality and
// dithering concern Retained Mode's own drawing, of which there is none, and
// Update has no surface of its own to bring up to date.
HRESULT STDMETHODCALLTYPE Device::SetBufferCount(DWORD) { return D3DRM_OK; }
HRESULT STDMETHODCALLTYPE Device::SetShades(DWORD) { return D3DRM_OK; }
HRESULT STDMETHODCALLTYPE Device::SetQuality(D3DRMRENDERQUALITY) { return D3DRM_OK; }
HRESULT STDMETHODCALLTYPE Device::SetTextureQuality(D3DRMTEXTUREQUALITY) { return D3DRM_OK; }
HRESULT STDMETHODCALLTYPE Device::SetDither(WINBOOL) { return D3DRM_OK; }
HRESULT STDMETHODCALLTYPE Device::Update() { return D3DRM_OK; }

}  // namespace retained
