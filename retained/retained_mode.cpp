#include "retained/retained_mode.h"

#include "retained/device.h"
#include "retained/frame.h"
#include "retained/viewport.h"

namespace retained {

HRESULT WINAPI CreateDirect3DRM(IDirect3DRM** out) {
    if (!out) return D3DRMERR_BADVALUE;
    *out = MakeCounted<RetainedMode, IDirect3DRMStub>();
    return *out ? D3DRM_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE RetainedMode::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDirect3DRM) {
        *out = Hold();
    } else if (iid == IID_IDirect3DRM2) {
        *out = RetainedMode2::Share();
    } else {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return S_OK;
}

RetainedMode& RetainedMode2::Self() { return *static_cast<RetainedMode*>(this); }

HRESULT STDMETHODCALLTYPE RetainedMode2::CreateFrame(IDirect3DRMFrame* parent, IDirect3DRMFrame2** frame) {
    if (!frame) return D3DRMERR_BADVALUE;
    *frame = nullptr;
    Frame* parentFrame = OwnObject<Frame>(parent);
    if (parent && !parentFrame) return D3DRMERR_BADOBJECT;
    *frame = Frame::Make(Self().Hold(), parentFrame);
    return *frame ? D3DRM_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE RetainedMode2::CreateDeviceFromD3D(IDirect3D2* direct3D, IDirect3DDevice2* device,
                                                             IDirect3DRMDevice2** out) {
    if (!out) return D3DRMERR_BADVALUE;
    *out = nullptr;
    if (!direct3D || !device) return D3DRMERR_BADVALUE;
    return Device::Make(Self().Hold(), direct3D, device, out);
}

HRESULT STDMETHODCALLTYPE RetainedMode2::CreateViewport(IDirect3DRMDevice* device, IDirect3DRMFrame* camera, DWORD x,
                                                        DWORD y, DWORD width, DWORD height, IDirect3DRMViewport** out) {
    if (!out) return D3DRMERR_BADVALUE;
    *out = nullptr;
    Device* onDevice = OwnObject<Device>(device);
    Frame* cameraFrame = OwnObject<Frame>(camera);
    if (!onDevice || !cameraFrame) return D3DRMERR_BADOBJECT;
    // In 64 bits, so that a huge x or width cannot wrap round into range.
    if (ULONGLONG(x) + width > onDevice->Width() || ULONGLONG(y) + height > onDevice->Height()) {
        return D3DRMERR_BADVALUE;
    }
    return Viewport::Make(Self().Hold(), onDevice, cameraFrame, x, y, width, height, out);
}

// Texture colours and shades concern textures that Retained Mode itself
// draws; ours draws none, so there is nothing to keep.
HRESULT STDMETHODCALLTYPE RetainedMode2::SetDefaultTextureColors(DWORD) { return D3DRM_OK; }
HRESULT STDMETHODCALLTYPE RetainedMode2::SetDefaultTextureShades(DWORD) { return D3DRM_OK; }

}  // namespace retained
