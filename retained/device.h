// A Retained Mode device made around the caller's Immediate Mode device:
// IDirect3DRMDevice2, with IDirect3DRMDevice, IDirect3DRMObject and IUnknown
// on the same pointer and count. It holds the IDirect3D2 and the
// IDirect3DDevice2 it was made from, and renders into that device's target.
// The quality settings are accepted; the caller draws through Immediate Mode
// itself, so Update has nothing to present.
#pragma once

#include "retained/com_object.h"
#include "retained/stub_bases.h"

namespace retained {

class Viewport;

class Device final : public ComObject, public Counted<Device, IDirect3DRMDevice2Stub> {
public:
    static const GUID kClassId;

    // CreateDeviceFromD3D: a device counted once, in *out; the size comes
    // from the render target. An Immediate Mode failure hands its code back.
    static HRESULT Make(IDirect3DRM* owner, IDirect3D2* direct3D, IDirect3DDevice2* device, IDirect3DRMDevice2** out);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE SetBufferCount(DWORD count) override;
    HRESULT STDMETHODCALLTYPE SetShades(DWORD shades) override;
    HRESULT STDMETHODCALLTYPE SetQuality(D3DRMRENDERQUALITY quality) override;
    HRESULT STDMETHODCALLTYPE SetTextureQuality(D3DRMTEXTUREQUALITY quality) override;
    HRESULT STDMETHODCALLTYPE SetDither(WINBOOL dither) override;
    HRESULT STDMETHODCALLTYPE Update() override;

    IDirect3D2* Direct3D() const { return direct3D_; }
    IDirect3DDevice2* Immediate() const { return device_; }
    DWORD Width() const { return width_; }
    DWORD Height() const { return height_; }

    // A viewport holds no reference on its device: the device tells its
    // viewports when it goes, so that none uses it afterwards.
    void Attach(Viewport* viewport);
    void Detach(Viewport* viewport);

    Device(IDirect3DRM* owner, IDirect3D2* direct3D, IDirect3DDevice2* device, DWORD width, DWORD height);
    ~Device() override;

private:
    IDirect3DRM* owner_;         // counted
    IDirect3D2* direct3D_;       // counted
    IDirect3DDevice2* device_;   // counted
    DWORD width_, height_;
    Viewport* viewports_ = nullptr;  // not counted
};

}  // namespace retained
