#include "retained/viewport.h"

#include "retained/device.h"
#include "retained/frame.h"

namespace retained {
namespace {

bool IsEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

// `value` brought into [low, high].
LONG Clamp(DWORD value, LONG low, LONG high) {
    if (value < DWORD(low)) return low;
    if (value > DWORD(high)) return high;
    return LONG(value);
}

}  // namespace

HRESULT Viewport::Make(IDirect3DRM* owner, Device* device, Frame* camera, DWORD x, DWORD y, DWORD width,
                       DWORD height, IDirect3DRMViewport** out) {
    IDirect3DViewport2* immediate = nullptr;
    HRESULT result = device->Direct3D()->CreateViewport(&immediate, nullptr);
    if (result == D3D_OK && !immediate) result = D3DRMERR_BADOBJECT;
    if (result == D3D_OK) result = device->Immediate()->AddViewport(immediate);
    bool added = result == D3D_OK;
    if (result == D3D_OK) {
        // Scaled so that the longer side spans -1 to 1.
        const D3DVALUE scale = (width > height ? width : height) / 2.0f;
        D3DVIEWPORT data = {};
        data.dwSize = sizeof data;
        data.dwX = x;
        data.dwY = y;
        data.dwWidth = width;
        data.dwHeight = height;
        data.dvScaleX = scale;
        data.dvScaleY = scale;
        data.dvMaxX = scale > 0 ? width / (2 * scale) : 0.0f;
        data.dvMaxY = scale > 0 ? height / (2 * scale) : 0.0f;
        data.dvMinZ = 0.0f;
        data.dvMaxZ = 1.0f;
        result = immediate->SetViewport(&data);
    }
    if (result == D3D_OK) {
        const RECT area = {LONG(x), LONG(y), LONG(x + width), LONG(y + height)};
        *out = MakeCounted<Viewport, IDirect3DRMViewportStub>(owner, device, camera, immediate, area);
        if (*out) return D3DRM_OK;
        result = E_OUTOFMEMORY;
    }
    if (added) device->Immediate()->DeleteViewport(immediate);
    if (immediate) immediate->Release();
    owner->Release();
    return result;
}

Viewport::Viewport(IDirect3DRM* owner, Device* device, IDirect3DRMFrame* camera, IDirect3DViewport2* immediate,
                   const RECT& area)
    : owner_(owner), device_(device), camera_(camera), immediate_(immediate), area_(area), changed_(area) {
    camera_->AddRef();
    device_->Attach(this);
}

Viewport::~Viewport() {
    if (device_) {
        device_->Detach(this);
        DeviceGone();
    }
    immediate_->Release();
    camera_->Release();
    owner_->Release();
}

void Viewport::DeviceGone() {
    device_->Immediate()->DeleteViewport(immediate_);
    device_ = nullptr;
}

HRESULT STDMETHODCALLTYPE Viewport::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == kClassId) {
        *out = this;
    } else if (iid == IID_IUnknown || iid == IID_IDirect3DRMObject || iid == IID_IDirect3DRMViewport) {
        *out = Share();
    } else {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Viewport::SetBack(D3DVALUE back) {
    if (!(back > front_)) return D3DRMERR_BADVALUE;  // also refuses NaN
    back_ = back;
    return D3DRM_OK;
}

HRESULT STDMETHODCALLTYPE Viewport::Clear() {
    if (!device_) return D3DRMERR_BADOBJECT;
    if (IsEmpty(changed_)) return D3DRM_OK;

    // The Z-buffer is cleared only while one is attached to the target.
    IDirectDrawSurface* target = nullptr;
    HRESULT result = device_->Immediate()->GetRenderTarget(&target);
    if (result != DD_OK) {
        if (target) target->Release();  // a code other than DD_OK may still hand the target back
        return result;
    }
    DWORD flags = D3DCLEAR_TARGET;
    if (target) {
        DDSCAPS caps = {DDSCAPS_ZBUFFER};
        IDirectDrawSurface* zBuffer = nullptr;
        if (target->GetAttachedSurface(&caps, &zBuffer) == DD_OK && zBuffer) flags |= D3DCLEAR_ZBUFFER;
        if (zBuffer) zBuffer->Release();  // handed back with any code
        target->Release();
    }
    D3DRECT rect = {};
    rect.x1 = changed_.left;
    rect.y1 = changed_.top;
    rect.x2 = changed_.right;
    rect.y2 = changed_.bottom;
    result = immediate_->Clear(1, &rect, flags);
    if (result != D3D_OK) return result;
    changed_ = RECT{};
    return D3DRM_OK;
}

HRESULT STDMETHODCALLTYPE Viewport::ForceUpdate(DWORD x1, DWORD y1, DWORD x2, DWORD y2) {
    if (x1 > x2 || y1 > y2) return D3DRMERR_BADVALUE;
    if (!device_) return D3DRMERR_BADOBJECT;
    // Only the viewport's own part is its to clear.
    const RECT marked = {Clamp(x1, area_.left, area_.right), Clamp(y1, area_.top, area_.bottom),
                         Clamp(x2, area_.left, area_.right), Clamp(y2, area_.top, area_.bottom)};
    if (IsEmpty(marked)) return D3DRM_OK;
    if (IsEmpty(changed_)) {
        changed_ = marked;
        return D3DRM_OK;
    }
    // One rectangle around everything marked.
    if (marked.left < changed_.left) changed_.left = marked.left;
    if (marked.top < changed_.top) changed_.top = marked.top;
    if (marked.right > changed_.right) changed_.right = marked.right;
    if (marked.bottom > changed_.bottom) changed_.bottom = marked.bottom;
    return D3DRM_OK;
}

HRESULT STDMETHODCALLTYPE Viewport::GetDirect3DViewport(IDirect3DViewport** out) {
    if (!out) return D3DRMERR_BADVALUE;
    immediate_->AddRef();
    *out = immediate_;
    return D3DRM_OK;
}

}  // namespace retained
