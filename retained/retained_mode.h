// The Retained Mode object: IDirect3DRM (which IUnknown shares) and
// IDirect3DRM2, each with its own reference count. IDirect3DRM answers only
// QueryInterface; IDirect3DRM2 makes frames, devices around the caller's
// Immediate Mode device, and viewports, and takes the default texture settings.
#pragma once

#include "retained/com_object.h"
#include "retained/stub_bases.h"

namespace retained {

class RetainedMode;

class RetainedMode2 : public Counted<RetainedMode, IDirect3DRM2Stub> {
public:
    HRESULT STDMETHODCALLTYPE CreateFrame(IDirect3DRMFrame* parent, IDirect3DRMFrame2** frame) override;
    HRESULT STDMETHODCALLTYPE CreateDeviceFromD3D(IDirect3D2* direct3D, IDirect3DDevice2* device,
                                                  IDirect3DRMDevice2** out) override;
    HRESULT STDMETHODCALLTYPE CreateViewport(IDirect3DRMDevice* device, IDirect3DRMFrame* camera, DWORD x, DWORD y,
                                             DWORD width, DWORD height, IDirect3DRMViewport** out) override;
    HRESULT STDMETHODCALLTYPE SetDefaultTextureColors(DWORD colors) override;
    HRESULT STDMETHODCALLTYPE SetDefaultTextureShades(DWORD shades) override;

private:
    RetainedMode& Self();
};

class RetainedMode final : public ComObject, public Counted<RetainedMode, IDirect3DRMStub>, public RetainedMode2 {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;

    // IDirect3DRM counted once more, for an object made here that keeps the
    // Retained Mode object alive.
    IDirect3DRM* Hold() { return Counted<RetainedMode, IDirect3DRMStub>::Share(); }
};

// The export Direct3DRMCreate: a new Retained Mode object, counted once on
// IDirect3DRM.
HRESULT WINAPI CreateDirect3DRM(IDirect3DRM** out);

}  // namespace retained
