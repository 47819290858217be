// A viewport: IDirect3DRMViewport, with IDirect3DRMObject and IUnknown on the
// same pointer and count, over a rectangle of a device for a camera frame.
// Behind it is an Immediate Mode viewport made from the device's IDirect3D2
// and added to its IDirect3DDevice2. It holds the camera and the Immediate
// Mode viewport, not the device.
//
// Clear clears what is marked as changed: all of the viewport when it is new,
// then what ForceUpdate marks. It clears the target to the Immediate Mode
// viewport's background (black without one: the scene background here is
// never changed from its default) and the Z-buffer, when the target has one
// attached at that moment, to the far plane.
#pragma once

#include "retained/com_object.h"
#include "retained/stub_bases.h"

namespace retained {

class Device;
class Frame;

class Viewport final : public ComObject, public Counted<Viewport, IDirect3DRMViewportStub> {
public:
    static const GUID kClassId;

    // CreateViewport's work once the arguments are checked: a viewport
    // counted once, in *out. An Immediate Mode failure hands its code back.
    static HRESULT Make(IDirect3DRM* owner, Device* device, Frame* camera, DWORD x, DWORD y, DWORD width,
                        DWORD height, IDirect3DRMViewport** out);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE SetBack(D3DVALUE back) override;
    HRESULT STDMETHODCALLTYPE Clear() override;
    HRESULT STDMETHODCALLTYPE ForceUpdate(DWORD x1, DWORD y1, DWORD x2, DWORD y2) override;
    HRESULT STDMETHODCALLTYPE GetDirect3DViewport(IDirect3DViewport** out) override;

    // The device is going: its Immediate Mode viewport is taken off it, and
    // what needs the device answers D3DRMERR_BADOBJECT from now on.
    void DeviceGone();
    Viewport* nextOnDevice = nullptr;

    Viewport(IDirect3DRM* owner, Device* device, IDirect3DRMFrame* camera, IDirect3DViewport2* immediate,
             const RECT& area);
    ~Viewport() override;

private:
    IDirect3DRM* owner_;             // counted
    Device* device_;                 // not counted; null once the device is gone
    IDirect3DRMFrame* camera_;       // counted
    IDirect3DViewport2* immediate_;  // counted, and added to the device's IDirect3DDevice2
    RECT area_;                      // on the device
    RECT changed_;                   // what the next Clear clears; empty when left == right
    D3DVALUE front_ = 1.0f;
    D3DVALUE back_ = 100.0f;
};

}  // namespace retained
