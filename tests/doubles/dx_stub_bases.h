// Generated from the MinGW-w64 DirectX headers by scripts/gen_stub_bases.py (doubles).
// One base per interface: every method except IUnknown's reports itself through
// Unimplemented() and answers E_NOTIMPL (or a zero value); doubles override
// the methods the program calls.
#pragma once

#include <windows.h>
#include <ddraw.h>
#include <d3d.h>
#include <d3drm.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"

namespace dxd {

class IDirectDrawStub : public IDirectDraw {
protected:
    virtual void Unimplemented(const char* method) = 0;

public:
    HRESULT STDMETHODCALLTYPE Compact() override { Unimplemented("Compact"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateClipper(DWORD dwFlags, LPDIRECTDRAWCLIPPER *lplpDDClipper, IUnknown *pUnkOuter) override { Unimplemented("CreateClipper"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreatePalette(DWORD dwFlags, LPPALETTEENTRY lpColorTable, LPDIRECTDRAWPALETTE *lplpDDPalette, IUnknown *pUnkOuter) override { Unimplemented("CreatePalette"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC lpDDSurfaceDesc, LPDIRECTDRAWSURFACE *lplpDDSurface, IUnknown *pUnkOuter) override { Unimplemented("CreateSurface"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DuplicateSurface(LPDIRECTDRAWSURFACE lpDDSurface, LPDIRECTDRAWSURFACE *lplpDupDDSurface) override { Unimplemented("DuplicateSurface"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDisplayModes(DWORD dwFlags, LPDDSURFACEDESC lpDDSurfaceDesc, LPVOID lpContext, LPDDENUMMODESCALLBACK lpEnumModesCallback) override { Unimplemented("EnumDisplayModes"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumSurfaces(DWORD dwFlags, LPDDSURFACEDESC lpDDSD, LPVOID lpContext, LPDDENUMSURFACESCALLBACK lpEnumSurfacesCallback) override { Unimplemented("EnumSurfaces"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FlipToGDISurface() override { Unimplemented("FlipToGDISurface"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCaps(LPDDCAPS lpDDDriverCaps, LPDDCAPS lpDDHELCaps) override { Unimplemented("GetCaps"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDisplayMode(LPDDSURFACEDESC lpDDSurfaceDesc) override { Unimplemented("GetDisplayMode"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFourCCCodes(LPDWORD lpNumCodes, LPDWORD lpCodes) override { Unimplemented("GetFourCCCodes"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGDISurface(LPDIRECTDRAWSURFACE *lplpGDIDDSurface) override { Unimplemented("GetGDISurface"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMonitorFrequency(LPDWORD lpdwFrequency) override { Unimplemented("GetMonitorFrequency"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetScanLine(LPDWORD lpdwScanLine) override { Unimplemented("GetScanLine"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVerticalBlankStatus(WINBOOL *lpbIsInVB) override { Unimplemented("GetVerticalBlankStatus"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Initialize(GUID *lpGUID) override { Unimplemented("Initialize"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RestoreDisplayMode() override { Unimplemented("RestoreDisplayMode"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND hWnd, DWORD dwFlags) override { Unimplemented("SetCooperativeLevel"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDisplayMode(DWORD dwWidth, DWORD dwHeight, DWORD dwBPP) override { Unimplemented("SetDisplayMode"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WaitForVerticalBlank(DWORD dwFlags, HANDLE hEvent) override { Unimplemented("WaitForVerticalBlank"); return E_NOTIMPL; }
};

class IDirectDrawSurfaceStub : public IDirectDrawSurface {
protected:
    virtual void Unimplemented(const char* method) = 0;

public:
    HRESULT STDMETHODCALLTYPE AddAttachedSurface(LPDIRECTDRAWSURFACE lpDDSAttachedSurface) override { Unimplemented("AddAttachedSurface"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddOverlayDirtyRect(LPRECT lpRect) override { Unimplemented("AddOverlayDirtyRect"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Blt(LPRECT lpDestRect, LPDIRECTDRAWSURFACE lpDDSrcSurface, LPRECT lpSrcRect, DWORD dwFlags, LPDDBLTFX lpDDBltFx) override { Unimplemented("Blt"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BltBatch(LPDDBLTBATCH lpDDBltBatch, DWORD dwCount, DWORD dwFlags) override { Unimplemented("BltBatch"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BltFast(DWORD dwX, DWORD dwY, LPDIRECTDRAWSURFACE lpDDSrcSurface, LPRECT lpSrcRect, DWORD dwTrans) override { Unimplemented("BltFast"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteAttachedSurface(DWORD dwFlags, LPDIRECTDRAWSURFACE lpDDSAttachedSurface) override { Unimplemented("DeleteAttachedSurface"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAttachedSurfaces(LPVOID lpContext, LPDDENUMSURFACESCALLBACK lpEnumSurfacesCallback) override { Unimplemented("EnumAttachedSurfaces"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumOverlayZOrders(DWORD dwFlags, LPVOID lpContext, LPDDENUMSURFACESCALLBACK lpfnCallback) override { Unimplemented("EnumOverlayZOrders"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Flip(LPDIRECTDRAWSURFACE lpDDSurfaceTargetOverride, DWORD dwFlags) override { Unimplemented("Flip"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAttachedSurface(LPDDSCAPS lpDDSCaps, LPDIRECTDRAWSURFACE *lplpDDAttachedSurface) override { Unimplemented("GetAttachedSurface"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBltStatus(DWORD dwFlags) override { Unimplemented("GetBltStatus"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCaps(LPDDSCAPS lpDDSCaps) override { Unimplemented("GetCaps"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipper(LPDIRECTDRAWCLIPPER *lplpDDClipper) override { Unimplemented("GetClipper"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetColorKey(DWORD dwFlags, LPDDCOLORKEY lpDDColorKey) override { Unimplemented("GetColorKey"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDC(HDC *lphDC) override { Unimplemented("GetDC"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFlipStatus(DWORD dwFlags) override { Unimplemented("GetFlipStatus"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetOverlayPosition(LPLONG lplX, LPLONG lplY) override { Unimplemented("GetOverlayPosition"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPalette(LPDIRECTDRAWPALETTE *lplpDDPalette) override { Unimplemented("GetPalette"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPixelFormat(LPDDPIXELFORMAT lpDDPixelFormat) override { Unimplemented("GetPixelFormat"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC lpDDSurfaceDesc) override { Unimplemented("GetSurfaceDesc"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Initialize(LPDIRECTDRAW lpDD, LPDDSURFACEDESC lpDDSurfaceDesc) override { Unimplemented("Initialize"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsLost() override { Unimplemented("IsLost"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Lock(LPRECT lpDestRect, LPDDSURFACEDESC lpDDSurfaceDesc, DWORD dwFlags, HANDLE hEvent) override { Unimplemented("Lock"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC hDC) override { Unimplemented("ReleaseDC"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Restore() override { Unimplemented("Restore"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetClipper(LPDIRECTDRAWCLIPPER lpDDClipper) override { Unimplemented("SetClipper"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetColorKey(DWORD dwFlags, LPDDCOLORKEY lpDDColorKey) override { Unimplemented("SetColorKey"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOverlayPosition(LONG lX, LONG lY) override { Unimplemented("SetOverlayPosition"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPalette(LPDIRECTDRAWPALETTE lpDDPalette) override { Unimplemented("SetPalette"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unlock(LPVOID lpSurfaceData) override { Unimplemented("Unlock"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UpdateOverlay(LPRECT lpSrcRect, LPDIRECTDRAWSURFACE lpDDDestSurface, LPRECT lpDestRect, DWORD dwFlags, LPDDOVERLAYFX lpDDOverlayFx) override { Unimplemented("UpdateOverlay"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UpdateOverlayDisplay(DWORD dwFlags) override { Unimplemented("UpdateOverlayDisplay"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UpdateOverlayZOrder(DWORD dwFlags, LPDIRECTDRAWSURFACE lpDDSReference) override { Unimplemented("UpdateOverlayZOrder"); return E_NOTIMPL; }
};

class IDirectDrawClipperStub : public IDirectDrawClipper {
protected:
    virtual void Unimplemented(const char* method) = 0;

public:
    HRESULT STDMETHODCALLTYPE GetClipList(LPRECT lpRect, LPRGNDATA lpClipList, LPDWORD lpdwSize) override { Unimplemented("GetClipList"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetHWnd(HWND *lphWnd) override { Unimplemented("GetHWnd"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Initialize(LPDIRECTDRAW lpDD, DWORD dwFlags) override { Unimplemented("Initialize"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsClipListChanged(WINBOOL *lpbChanged) override { Unimplemented("IsClipListChanged"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetClipList(LPRGNDATA lpClipList, DWORD dwFlags) override { Unimplemented("SetClipList"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetHWnd(DWORD dwFlags, HWND hWnd) override { Unimplemented("SetHWnd"); return E_NOTIMPL; }
};

class IDirectDrawPaletteStub : public IDirectDrawPalette {
protected:
    virtual void Unimplemented(const char* method) = 0;

public:
    HRESULT STDMETHODCALLTYPE GetCaps(LPDWORD lpdwCaps) override { Unimplemented("GetCaps"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetEntries(DWORD dwFlags, DWORD dwBase, DWORD dwNumEntries, LPPALETTEENTRY lpEntries) override { Unimplemented("GetEntries"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Initialize(LPDIRECTDRAW lpDD, DWORD dwFlags, LPPALETTEENTRY lpDDColorTable) override { Unimplemented("Initialize"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetEntries(DWORD dwFlags, DWORD dwStartingEntry, DWORD dwCount, LPPALETTEENTRY lpEntries) override { Unimplemented("SetEntries"); return E_NOTIMPL; }
};

class IDirect3D2Stub : public IDirect3D2 {
protected:
    virtual void Unimplemented(const char* method) = 0;

public:
    HRESULT STDMETHODCALLTYPE EnumDevices(LPD3DENUMDEVICESCALLBACK cb, void *ctx) override { Unimplemented("EnumDevices"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateLight(struct IDirect3DLight **light, IUnknown *outer) override { Unimplemented("CreateLight"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateMaterial(struct IDirect3DMaterial2 **material, IUnknown *outer) override { Unimplemented("CreateMaterial"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateViewport(struct IDirect3DViewport2 **viewport, IUnknown *outer) override { Unimplemented("CreateViewport"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindDevice(D3DFINDDEVICESEARCH *search, D3DFINDDEVICERESULT *result) override { Unimplemented("FindDevice"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDevice(REFCLSID rclsid, IDirectDrawSurface *surface, struct IDirect3DDevice2 **device) override { Unimplemented("CreateDevice"); return E_NOTIMPL; }
};

class IDirect3DDevice2Stub : public IDirect3DDevice2 {
protected:
    virtual void Unimplemented(const char* method) = 0;

public:
    HRESULT STDMETHODCALLTYPE GetCaps(D3DDEVICEDESC *hal_desc, D3DDEVICEDESC *hel_desc) override { Unimplemented("GetCaps"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SwapTextureHandles(IDirect3DTexture2 *tex1, IDirect3DTexture2 *tex2) override { Unimplemented("SwapTextureHandles"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStats(D3DSTATS *stats) override { Unimplemented("GetStats"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddViewport(IDirect3DViewport2 *viewport) override { Unimplemented("AddViewport"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteViewport(IDirect3DViewport2 *viewport) override { Unimplemented("DeleteViewport"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE NextViewport(IDirect3DViewport2 *ref, IDirect3DViewport2 **viewport, DWORD flags) override { Unimplemented("NextViewport"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumTextureFormats(LPD3DENUMTEXTUREFORMATSCALLBACK cb, void *ctx) override { Unimplemented("EnumTextureFormats"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BeginScene() override { Unimplemented("BeginScene"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EndScene() override { Unimplemented("EndScene"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDirect3D(IDirect3D2 **d3d) override { Unimplemented("GetDirect3D"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetCurrentViewport(IDirect3DViewport2 *viewport) override { Unimplemented("SetCurrentViewport"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCurrentViewport(IDirect3DViewport2 **viewport) override { Unimplemented("GetCurrentViewport"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRenderTarget(IDirectDrawSurface *surface, DWORD flags) override { Unimplemented("SetRenderTarget"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRenderTarget(IDirectDrawSurface **surface) override { Unimplemented("GetRenderTarget"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Begin(D3DPRIMITIVETYPE d3dpt,D3DVERTEXTYPE dwVertexTypeDesc,DWORD dwFlags) override { Unimplemented("Begin"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BeginIndexed(D3DPRIMITIVETYPE primitive_type, D3DVERTEXTYPE vertex_type, void *vertices, DWORD vertex_count, DWORD flags) override { Unimplemented("BeginIndexed"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Vertex(void *vertex) override { Unimplemented("Vertex"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Index(WORD wVertexIndex) override { Unimplemented("Index"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE End(DWORD dwFlags) override { Unimplemented("End"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRenderState(D3DRENDERSTATETYPE dwRenderStateType, LPDWORD lpdwRenderState) override { Unimplemented("GetRenderState"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE dwRenderStateType, DWORD dwRenderState) override { Unimplemented("SetRenderState"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLightState(D3DLIGHTSTATETYPE dwLightStateType, LPDWORD lpdwLightState) override { Unimplemented("GetLightState"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetLightState(D3DLIGHTSTATETYPE dwLightStateType, DWORD dwLightState) override { Unimplemented("SetLightState"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX *matrix) override { Unimplemented("SetTransform"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX *matrix) override { Unimplemented("GetTransform"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MultiplyTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX *matrix) override { Unimplemented("MultiplyTransform"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE primitive_type, D3DVERTEXTYPE vertex_type, void *vertices, DWORD vertex_count, DWORD flags) override { Unimplemented("DrawPrimitive"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE primitive_type, D3DVERTEXTYPE vertex_type, void *vertices, DWORD vertex_count, WORD *indices, DWORD index_count, DWORD flags) override { Unimplemented("DrawIndexedPrimitive"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetClipStatus(D3DCLIPSTATUS *clip_status) override { Unimplemented("SetClipStatus"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipStatus(D3DCLIPSTATUS *clip_status) override { Unimplemented("GetClipStatus"); return E_NOTIMPL; }
};

class IDirect3DViewport2Stub : public IDirect3DViewport2 {
protected:
    virtual void Unimplemented(const char* method) = 0;

public:
    HRESULT STDMETHODCALLTYPE Initialize(IDirect3D *d3d) override { Unimplemented("Initialize"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetViewport(D3DVIEWPORT *data) override { Unimplemented("GetViewport"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetViewport(D3DVIEWPORT *data) override { Unimplemented("SetViewport"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TransformVertices(DWORD vertex_count, D3DTRANSFORMDATA *data, DWORD flags, DWORD *offscreen) override { Unimplemented("TransformVertices"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LightElements(DWORD element_count, D3DLIGHTDATA *data) override { Unimplemented("LightElements"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBackground(D3DMATERIALHANDLE hMat) override { Unimplemented("SetBackground"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBackground(D3DMATERIALHANDLE *material, WINBOOL *valid) override { Unimplemented("GetBackground"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBackgroundDepth(IDirectDrawSurface *surface) override { Unimplemented("SetBackgroundDepth"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBackgroundDepth(IDirectDrawSurface **surface, WINBOOL *valid) override { Unimplemented("GetBackgroundDepth"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clear(DWORD count, D3DRECT *rects, DWORD flags) override { Unimplemented("Clear"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddLight(IDirect3DLight *light) override { Unimplemented("AddLight"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteLight(IDirect3DLight *light) override { Unimplemented("DeleteLight"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE NextLight(IDirect3DLight *ref, IDirect3DLight **light, DWORD flags) override { Unimplemented("NextLight"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetViewport2(D3DVIEWPORT2 *data) override { Unimplemented("GetViewport2"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetViewport2(D3DVIEWPORT2 *data) override { Unimplemented("SetViewport2"); return E_NOTIMPL; }
};

class IDirect3DMaterial2Stub : public IDirect3DMaterial2 {
protected:
    virtual void Unimplemented(const char* method) = 0;

public:
    HRESULT STDMETHODCALLTYPE SetMaterial(D3DMATERIAL *data) override { Unimplemented("SetMaterial"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMaterial(D3DMATERIAL *data) override { Unimplemented("GetMaterial"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetHandle(struct IDirect3DDevice2 *device, D3DMATERIALHANDLE *handle) override { Unimplemented("GetHandle"); return E_NOTIMPL; }
};

class IDirect3DTexture2Stub : public IDirect3DTexture2 {
protected:
    virtual void Unimplemented(const char* method) = 0;

public:
    HRESULT STDMETHODCALLTYPE GetHandle(struct IDirect3DDevice2 *device, D3DTEXTUREHANDLE *handle) override { Unimplemented("GetHandle"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE PaletteChanged(DWORD dwStart, DWORD dwCount) override { Unimplemented("PaletteChanged"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Load(IDirect3DTexture2 *texture) override { Unimplemented("Load"); return E_NOTIMPL; }
};

class IDirect3DRMStub : public IDirect3DRM {
protected:
    virtual void Unimplemented(const char* method) = 0;

public:
    HRESULT STDMETHODCALLTYPE CreateObject(REFCLSID clsid, IUnknown *outer, REFIID iid, void **out) override { Unimplemented("CreateObject"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateFrame(IDirect3DRMFrame *parent, IDirect3DRMFrame **frame) override { Unimplemented("CreateFrame"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateMesh(IDirect3DRMMesh **mesh) override { Unimplemented("CreateMesh"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateMeshBuilder(IDirect3DRMMeshBuilder **mesh_builder) override { Unimplemented("CreateMeshBuilder"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateFace(IDirect3DRMFace **face) override { Unimplemented("CreateFace"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateAnimation(IDirect3DRMAnimation **animation) override { Unimplemented("CreateAnimation"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateAnimationSet(IDirect3DRMAnimationSet **set) override { Unimplemented("CreateAnimationSet"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateTexture(D3DRMIMAGE *image, IDirect3DRMTexture **texture) override { Unimplemented("CreateTexture"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateLight(D3DRMLIGHTTYPE type, D3DCOLOR color, IDirect3DRMLight **light) override { Unimplemented("CreateLight"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateLightRGB(D3DRMLIGHTTYPE type, D3DVALUE r, D3DVALUE g, D3DVALUE b, IDirect3DRMLight **light) override { Unimplemented("CreateLightRGB"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateMaterial(D3DVALUE power, IDirect3DRMMaterial **material) override { Unimplemented("CreateMaterial"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDevice(DWORD width, DWORD height, IDirect3DRMDevice **device) override { Unimplemented("CreateDevice"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDeviceFromSurface(GUID *guid, IDirectDraw *ddraw, IDirectDrawSurface *surface, IDirect3DRMDevice **device) override { Unimplemented("CreateDeviceFromSurface"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDeviceFromD3D(IDirect3D *d3d, IDirect3DDevice *d3d_device, IDirect3DRMDevice **device) override { Unimplemented("CreateDeviceFromD3D"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDeviceFromClipper(IDirectDrawClipper *clipper, GUID *guid, int width, int height, IDirect3DRMDevice **device) override { Unimplemented("CreateDeviceFromClipper"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateTextureFromSurface(IDirectDrawSurface *surface, IDirect3DRMTexture **texture) override { Unimplemented("CreateTextureFromSurface"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateShadow(IDirect3DRMVisual *visual, IDirect3DRMLight *light, D3DVALUE px, D3DVALUE py, D3DVALUE pz, D3DVALUE nx, D3DVALUE ny, D3DVALUE nz, IDirect3DRMVisual **shadow) override { Unimplemented("CreateShadow"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateViewport(IDirect3DRMDevice *device, IDirect3DRMFrame *camera, DWORD x, DWORD y, DWORD width, DWORD height, IDirect3DRMViewport **viewport) override { Unimplemented("CreateViewport"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateWrap(D3DRMWRAPTYPE type, IDirect3DRMFrame *reference, D3DVALUE ox, D3DVALUE oy, D3DVALUE oz, D3DVALUE dx, D3DVALUE dy, D3DVALUE dz, D3DVALUE ux, D3DVALUE uy, D3DVALUE uz, D3DVALUE ou, D3DVALUE ov, D3DVALUE su, D3DVALUE sv, IDirect3DRMWrap **wrap) override { Unimplemented("CreateWrap"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateUserVisual(D3DRMUSERVISUALCALLBACK cb, void *ctx, IDirect3DRMUserVisual **visual) override { Unimplemented("CreateUserVisual"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LoadTexture(const char *filename, IDirect3DRMTexture **texture) override { Unimplemented("LoadTexture"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LoadTextureFromResource(HRSRC resource, IDirect3DRMTexture **texture) override { Unimplemented("LoadTextureFromResource"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSearchPath(const char *path) override { Unimplemented("SetSearchPath"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddSearchPath(const char *path) override { Unimplemented("AddSearchPath"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSearchPath(DWORD *size, char *path) override { Unimplemented("GetSearchPath"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultTextureColors(DWORD) override { Unimplemented("SetDefaultTextureColors"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultTextureShades(DWORD) override { Unimplemented("SetDefaultTextureShades"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDevices(IDirect3DRMDeviceArray **array) override { Unimplemented("GetDevices"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNamedObject(const char *name, IDirect3DRMObject **object) override { Unimplemented("GetNamedObject"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumerateObjects(D3DRMOBJECTCALLBACK cb, void *ctx) override { Unimplemented("EnumerateObjects"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Load(void *source, void *object_id, IID **iids, DWORD iid_count, D3DRMLOADOPTIONS flags, D3DRMLOADCALLBACK load_cb, void *load_ctx, D3DRMLOADTEXTURECALLBACK load_tex_cb, void *load_tex_ctx, IDirect3DRMFrame *parent_frame) override { Unimplemented("Load"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Tick(D3DVALUE) override { Unimplemented("Tick"); return E_NOTIMPL; }
};

class IDirect3DRM2Stub : public IDirect3DRM2 {
protected:
    virtual void Unimplemented(const char* method) = 0;

public:
    HRESULT STDMETHODCALLTYPE CreateObject(REFCLSID clsid, IUnknown *outer, REFIID iid, void **out) override { Unimplemented("CreateObject"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateFrame(IDirect3DRMFrame *parent, IDirect3DRMFrame2 **frame) override { Unimplemented("CreateFrame"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateMesh(IDirect3DRMMesh **mesh) override { Unimplemented("CreateMesh"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateMeshBuilder(IDirect3DRMMeshBuilder2 **mesh_builder) override { Unimplemented("CreateMeshBuilder"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateFace(IDirect3DRMFace **face) override { Unimplemented("CreateFace"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateAnimation(IDirect3DRMAnimation **animation) override { Unimplemented("CreateAnimation"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateAnimationSet(IDirect3DRMAnimationSet **set) override { Unimplemented("CreateAnimationSet"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateTexture(D3DRMIMAGE *image, IDirect3DRMTexture2 **texture) override { Unimplemented("CreateTexture"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateLight(D3DRMLIGHTTYPE type, D3DCOLOR color, IDirect3DRMLight **light) override { Unimplemented("CreateLight"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateLightRGB(D3DRMLIGHTTYPE type, D3DVALUE r, D3DVALUE g, D3DVALUE b, IDirect3DRMLight **light) override { Unimplemented("CreateLightRGB"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateMaterial(D3DVALUE power, IDirect3DRMMaterial **material) override { Unimplemented("CreateMaterial"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDevice(DWORD width, DWORD height, IDirect3DRMDevice2 **device) override { Unimplemented("CreateDevice"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDeviceFromSurface(GUID *guid, IDirectDraw *ddraw, IDirectDrawSurface *surface, IDirect3DRMDevice2 **device) override { Unimplemented("CreateDeviceFromSurface"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDeviceFromD3D(IDirect3D2 *d3d, IDirect3DDevice2 *d3d_device, IDirect3DRMDevice2 **device) override { Unimplemented("CreateDeviceFromD3D"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDeviceFromClipper(IDirectDrawClipper *clipper, GUID *guid, int width, int height, IDirect3DRMDevice2 **device) override { Unimplemented("CreateDeviceFromClipper"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateTextureFromSurface(IDirectDrawSurface *surface, IDirect3DRMTexture2 **texture) override { Unimplemented("CreateTextureFromSurface"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateShadow(IDirect3DRMVisual *visual, IDirect3DRMLight *light, D3DVALUE px, D3DVALUE py, D3DVALUE pz, D3DVALUE nx, D3DVALUE ny, D3DVALUE nz, IDirect3DRMVisual **shadow) override { Unimplemented("CreateShadow"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateViewport(IDirect3DRMDevice *device, IDirect3DRMFrame *camera, DWORD x, DWORD y, DWORD width, DWORD height, IDirect3DRMViewport **viewport) override { Unimplemented("CreateViewport"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateWrap(D3DRMWRAPTYPE type, IDirect3DRMFrame *reference, D3DVALUE ox, D3DVALUE oy, D3DVALUE oz, D3DVALUE dx, D3DVALUE dy, D3DVALUE dz, D3DVALUE ux, D3DVALUE uy, D3DVALUE uz, D3DVALUE ou, D3DVALUE ov, D3DVALUE su, D3DVALUE sv, IDirect3DRMWrap **wrap) override { Unimplemented("CreateWrap"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateUserVisual(D3DRMUSERVISUALCALLBACK cb, void *ctx, IDirect3DRMUserVisual **visual) override { Unimplemented("CreateUserVisual"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LoadTexture(const char *filename, IDirect3DRMTexture2 **texture) override { Unimplemented("LoadTexture"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LoadTextureFromResource(HMODULE module, const char *resource_name, const char *resource_type, IDirect3DRMTexture2 **texture) override { Unimplemented("LoadTextureFromResource"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSearchPath(const char *path) override { Unimplemented("SetSearchPath"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddSearchPath(const char *path) override { Unimplemented("AddSearchPath"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSearchPath(DWORD *size, char *path) override { Unimplemented("GetSearchPath"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultTextureColors(DWORD) override { Unimplemented("SetDefaultTextureColors"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultTextureShades(DWORD) override { Unimplemented("SetDefaultTextureShades"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDevices(IDirect3DRMDeviceArray **array) override { Unimplemented("GetDevices"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNamedObject(const char *name, IDirect3DRMObject **object) override { Unimplemented("GetNamedObject"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumerateObjects(D3DRMOBJECTCALLBACK cb, void *ctx) override { Unimplemented("EnumerateObjects"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Load(void *source, void *object_id, IID **iids, DWORD iid_count, D3DRMLOADOPTIONS flags, D3DRMLOADCALLBACK load_cb, void *load_ctx, D3DRMLOADTEXTURECALLBACK load_tex_cb, void *load_tex_ctx, IDirect3DRMFrame *parent_frame) override { Unimplemented("Load"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Tick(D3DVALUE) override { Unimplemented("Tick"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateProgressiveMesh(IDirect3DRMProgressiveMesh **mesh) override { Unimplemented("CreateProgressiveMesh"); return E_NOTIMPL; }
};

class IDirect3DRMDevice2Stub : public IDirect3DRMDevice2 {
protected:
    virtual void Unimplemented(const char* method) = 0;

public:
    HRESULT STDMETHODCALLTYPE Clone(IUnknown *outer, REFIID iid, void **out) override { Unimplemented("Clone"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddDestroyCallback(D3DRMOBJECTCALLBACK cb, void *ctx) override { Unimplemented("AddDestroyCallback"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteDestroyCallback(D3DRMOBJECTCALLBACK cb, void *ctx) override { Unimplemented("DeleteDestroyCallback"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAppData(DWORD data) override { Unimplemented("SetAppData"); return E_NOTIMPL; }
    DWORD STDMETHODCALLTYPE GetAppData() override { Unimplemented("GetAppData"); return DWORD{}; }
    HRESULT STDMETHODCALLTYPE SetName(const char *name) override { Unimplemented("SetName"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetName(DWORD *size, char *name) override { Unimplemented("GetName"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClassName(DWORD *size, char *name) override { Unimplemented("GetClassName"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Init(ULONG width, ULONG height) override { Unimplemented("Init"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromD3D(IDirect3D *d3d, IDirect3DDevice *d3d_device) override { Unimplemented("InitFromD3D"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromClipper(IDirectDrawClipper *clipper, GUID *guid, int width, int height) override { Unimplemented("InitFromClipper"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update() override { Unimplemented("Update"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddUpdateCallback(D3DRMUPDATECALLBACK cb, void *ctx) override { Unimplemented("AddUpdateCallback"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteUpdateCallback(D3DRMUPDATECALLBACK cb, void *ctx) override { Unimplemented("DeleteUpdateCallback"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBufferCount(DWORD) override { Unimplemented("SetBufferCount"); return E_NOTIMPL; }
    DWORD STDMETHODCALLTYPE GetBufferCount() override { Unimplemented("GetBufferCount"); return DWORD{}; }
    HRESULT STDMETHODCALLTYPE SetDither(WINBOOL) override { Unimplemented("SetDither"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetShades(DWORD) override { Unimplemented("SetShades"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetQuality(D3DRMRENDERQUALITY) override { Unimplemented("SetQuality"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTextureQuality(D3DRMTEXTUREQUALITY) override { Unimplemented("SetTextureQuality"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetViewports(struct IDirect3DRMViewportArray **array) override { Unimplemented("GetViewports"); return E_NOTIMPL; }
    WINBOOL STDMETHODCALLTYPE GetDither() override { Unimplemented("GetDither"); return WINBOOL{}; }
    DWORD STDMETHODCALLTYPE GetShades() override { Unimplemented("GetShades"); return DWORD{}; }
    DWORD STDMETHODCALLTYPE GetHeight() override { Unimplemented("GetHeight"); return DWORD{}; }
    DWORD STDMETHODCALLTYPE GetWidth() override { Unimplemented("GetWidth"); return DWORD{}; }
    DWORD STDMETHODCALLTYPE GetTrianglesDrawn() override { Unimplemented("GetTrianglesDrawn"); return DWORD{}; }
    DWORD STDMETHODCALLTYPE GetWireframeOptions() override { Unimplemented("GetWireframeOptions"); return DWORD{}; }
    D3DRMRENDERQUALITY STDMETHODCALLTYPE GetQuality() override { Unimplemented("GetQuality"); return D3DRMRENDERQUALITY{}; }
    D3DCOLORMODEL STDMETHODCALLTYPE GetColorModel() override { Unimplemented("GetColorModel"); return D3DCOLORMODEL{}; }
    D3DRMTEXTUREQUALITY STDMETHODCALLTYPE GetTextureQuality() override { Unimplemented("GetTextureQuality"); return D3DRMTEXTUREQUALITY{}; }
    HRESULT STDMETHODCALLTYPE GetDirect3DDevice(IDirect3DDevice **d3d_device) override { Unimplemented("GetDirect3DDevice"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromD3D2(IDirect3D2 *d3d, IDirect3DDevice2 *device) override { Unimplemented("InitFromD3D2"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromSurface(GUID *guid, IDirectDraw *ddraw, IDirectDrawSurface *surface) override { Unimplemented("InitFromSurface"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRenderMode(DWORD flags) override { Unimplemented("SetRenderMode"); return E_NOTIMPL; }
    DWORD STDMETHODCALLTYPE GetRenderMode() override { Unimplemented("GetRenderMode"); return DWORD{}; }
    HRESULT STDMETHODCALLTYPE GetDirect3DDevice2(IDirect3DDevice2 **device) override { Unimplemented("GetDirect3DDevice2"); return E_NOTIMPL; }
};

class IDirect3DRMFrame2Stub : public IDirect3DRMFrame2 {
protected:
    virtual void Unimplemented(const char* method) = 0;

public:
    HRESULT STDMETHODCALLTYPE Clone(IUnknown *outer, REFIID iid, void **out) override { Unimplemented("Clone"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddDestroyCallback(D3DRMOBJECTCALLBACK cb, void *ctx) override { Unimplemented("AddDestroyCallback"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteDestroyCallback(D3DRMOBJECTCALLBACK cb, void *ctx) override { Unimplemented("DeleteDestroyCallback"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAppData(DWORD data) override { Unimplemented("SetAppData"); return E_NOTIMPL; }
    DWORD STDMETHODCALLTYPE GetAppData() override { Unimplemented("GetAppData"); return DWORD{}; }
    HRESULT STDMETHODCALLTYPE SetName(const char *name) override { Unimplemented("SetName"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetName(DWORD *size, char *name) override { Unimplemented("GetName"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClassName(DWORD *size, char *name) override { Unimplemented("GetClassName"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddChild(IDirect3DRMFrame *child) override { Unimplemented("AddChild"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddLight(struct IDirect3DRMLight *light) override { Unimplemented("AddLight"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddMoveCallback(D3DRMFRAMEMOVECALLBACK cb, void *ctx) override { Unimplemented("AddMoveCallback"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddTransform(D3DRMCOMBINETYPE, D3DRMMATRIX4D) override { Unimplemented("AddTransform"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddTranslation(D3DRMCOMBINETYPE, D3DVALUE x, D3DVALUE y, D3DVALUE z) override { Unimplemented("AddTranslation"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddScale(D3DRMCOMBINETYPE, D3DVALUE sx, D3DVALUE sy, D3DVALUE sz) override { Unimplemented("AddScale"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddRotation(D3DRMCOMBINETYPE, D3DVALUE x, D3DVALUE y, D3DVALUE z, D3DVALUE theta) override { Unimplemented("AddRotation"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddVisual(IDirect3DRMVisual *visual) override { Unimplemented("AddVisual"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetChildren(struct IDirect3DRMFrameArray **children) override { Unimplemented("GetChildren"); return E_NOTIMPL; }
    D3DCOLOR STDMETHODCALLTYPE GetColor() override { Unimplemented("GetColor"); return D3DCOLOR{}; }
    HRESULT STDMETHODCALLTYPE GetLights(struct IDirect3DRMLightArray **lights) override { Unimplemented("GetLights"); return E_NOTIMPL; }
    D3DRMMATERIALMODE STDMETHODCALLTYPE GetMaterialMode() override { Unimplemented("GetMaterialMode"); return D3DRMMATERIALMODE{}; }
    HRESULT STDMETHODCALLTYPE GetParent(IDirect3DRMFrame **parent) override { Unimplemented("GetParent"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPosition(IDirect3DRMFrame *reference, D3DVECTOR *return_position) override { Unimplemented("GetPosition"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRotation(IDirect3DRMFrame *reference, D3DVECTOR *axis, D3DVALUE *return_theta) override { Unimplemented("GetRotation"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetScene(IDirect3DRMFrame **scene) override { Unimplemented("GetScene"); return E_NOTIMPL; }
    D3DRMSORTMODE STDMETHODCALLTYPE GetSortMode() override { Unimplemented("GetSortMode"); return D3DRMSORTMODE{}; }
    HRESULT STDMETHODCALLTYPE GetTexture(struct IDirect3DRMTexture **texture) override { Unimplemented("GetTexture"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTransform(D3DRMMATRIX4D return_matrix) override { Unimplemented("GetTransform"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVelocity(IDirect3DRMFrame *reference, D3DVECTOR *return_velocity, WINBOOL with_rotation) override { Unimplemented("GetVelocity"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetOrientation(IDirect3DRMFrame *reference, D3DVECTOR *dir, D3DVECTOR *up) override { Unimplemented("GetOrientation"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVisuals(struct IDirect3DRMVisualArray **visuals) override { Unimplemented("GetVisuals"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTextureTopology(WINBOOL *wrap_u, WINBOOL *wrap_v) override { Unimplemented("GetTextureTopology"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InverseTransform(D3DVECTOR *d, D3DVECTOR *s) override { Unimplemented("InverseTransform"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Load(void *filename, void *name, D3DRMLOADOPTIONS flags, D3DRMLOADTEXTURECALLBACK cb, void *ctx) override { Unimplemented("Load"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LookAt(IDirect3DRMFrame *target, IDirect3DRMFrame *reference, D3DRMFRAMECONSTRAINT constraint) override { Unimplemented("LookAt"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Move(D3DVALUE delta) override { Unimplemented("Move"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteChild(IDirect3DRMFrame *child) override { Unimplemented("DeleteChild"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteLight(struct IDirect3DRMLight *light) override { Unimplemented("DeleteLight"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteMoveCallback(D3DRMFRAMEMOVECALLBACK cb, void *ctx) override { Unimplemented("DeleteMoveCallback"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteVisual(IDirect3DRMVisual *visual) override { Unimplemented("DeleteVisual"); return E_NOTIMPL; }
    D3DCOLOR STDMETHODCALLTYPE GetSceneBackground() override { Unimplemented("GetSceneBackground"); return D3DCOLOR{}; }
    HRESULT STDMETHODCALLTYPE GetSceneBackgroundDepth(IDirectDrawSurface **surface) override { Unimplemented("GetSceneBackgroundDepth"); return E_NOTIMPL; }
    D3DCOLOR STDMETHODCALLTYPE GetSceneFogColor() override { Unimplemented("GetSceneFogColor"); return D3DCOLOR{}; }
    WINBOOL STDMETHODCALLTYPE GetSceneFogEnable() override { Unimplemented("GetSceneFogEnable"); return WINBOOL{}; }
    D3DRMFOGMODE STDMETHODCALLTYPE GetSceneFogMode() override { Unimplemented("GetSceneFogMode"); return D3DRMFOGMODE{}; }
    HRESULT STDMETHODCALLTYPE GetSceneFogParams(D3DVALUE *return_start, D3DVALUE *return_end, D3DVALUE *return_density) override { Unimplemented("GetSceneFogParams"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSceneBackground(D3DCOLOR) override { Unimplemented("SetSceneBackground"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSceneBackgroundRGB(D3DVALUE red, D3DVALUE green, D3DVALUE blue) override { Unimplemented("SetSceneBackgroundRGB"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSceneBackgroundDepth(IDirectDrawSurface *surface) override { Unimplemented("SetSceneBackgroundDepth"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSceneBackgroundImage(struct IDirect3DRMTexture *texture) override { Unimplemented("SetSceneBackgroundImage"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSceneFogEnable(WINBOOL) override { Unimplemented("SetSceneFogEnable"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSceneFogColor(D3DCOLOR) override { Unimplemented("SetSceneFogColor"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSceneFogMode(D3DRMFOGMODE) override { Unimplemented("SetSceneFogMode"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSceneFogParams(D3DVALUE start, D3DVALUE end, D3DVALUE density) override { Unimplemented("SetSceneFogParams"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetColor(D3DCOLOR) override { Unimplemented("SetColor"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetColorRGB(D3DVALUE red, D3DVALUE green, D3DVALUE blue) override { Unimplemented("SetColorRGB"); return E_NOTIMPL; }
    D3DRMZBUFFERMODE STDMETHODCALLTYPE GetZbufferMode() override { Unimplemented("GetZbufferMode"); return D3DRMZBUFFERMODE{}; }
    HRESULT STDMETHODCALLTYPE SetMaterialMode(D3DRMMATERIALMODE) override { Unimplemented("SetMaterialMode"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOrientation(IDirect3DRMFrame *reference, D3DVALUE dx, D3DVALUE dy, D3DVALUE dz, D3DVALUE ux, D3DVALUE uy, D3DVALUE uz) override { Unimplemented("SetOrientation"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPosition(IDirect3DRMFrame *reference, D3DVALUE x, D3DVALUE y, D3DVALUE z) override { Unimplemented("SetPosition"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRotation(IDirect3DRMFrame *reference, D3DVALUE x, D3DVALUE y, D3DVALUE z, D3DVALUE theta) override { Unimplemented("SetRotation"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSortMode(D3DRMSORTMODE) override { Unimplemented("SetSortMode"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTexture(struct IDirect3DRMTexture *texture) override { Unimplemented("SetTexture"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTextureTopology(WINBOOL wrap_u, WINBOOL wrap_v) override { Unimplemented("SetTextureTopology"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetVelocity(IDirect3DRMFrame *reference, D3DVALUE x, D3DVALUE y, D3DVALUE z, WINBOOL with_rotation) override { Unimplemented("SetVelocity"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetZbufferMode(D3DRMZBUFFERMODE) override { Unimplemented("SetZbufferMode"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Transform(D3DVECTOR *d, D3DVECTOR *s) override { Unimplemented("Transform"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddMoveCallback2(D3DRMFRAMEMOVECALLBACK cb, void *ctx, DWORD flags) override { Unimplemented("AddMoveCallback2"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBox(D3DRMBOX *box) override { Unimplemented("GetBox"); return E_NOTIMPL; }
    WINBOOL STDMETHODCALLTYPE GetBoxEnable() override { Unimplemented("GetBoxEnable"); return WINBOOL{}; }
    HRESULT STDMETHODCALLTYPE GetAxes(D3DVECTOR *dir, D3DVECTOR *up) override { Unimplemented("GetAxes"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMaterial(struct IDirect3DRMMaterial **material) override { Unimplemented("GetMaterial"); return E_NOTIMPL; }
    WINBOOL STDMETHODCALLTYPE GetInheritAxes() override { Unimplemented("GetInheritAxes"); return WINBOOL{}; }
    HRESULT STDMETHODCALLTYPE GetHierarchyBox(D3DRMBOX *box) override { Unimplemented("GetHierarchyBox"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBox(D3DRMBOX *box) override { Unimplemented("SetBox"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBoxEnable(WINBOOL) override { Unimplemented("SetBoxEnable"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAxes(D3DVALUE dx, D3DVALUE dy, D3DVALUE dz, D3DVALUE ux, D3DVALUE uy, D3DVALUE uz) override { Unimplemented("SetAxes"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetInheritAxes(WINBOOL inherit_from_parent) override { Unimplemented("SetInheritAxes"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMaterial(struct IDirect3DRMMaterial *material) override { Unimplemented("SetMaterial"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetQuaternion(IDirect3DRMFrame *reference, D3DRMQUATERNION *q) override { Unimplemented("SetQuaternion"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RayPick(IDirect3DRMFrame *reference, D3DRMRAY *ray, DWORD flags, struct IDirect3DRMPicked2Array **return_visuals) override { Unimplemented("RayPick"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save(const char *filename, D3DRMXOFFORMAT format, D3DRMSAVEOPTIONS flags) override { Unimplemented("Save"); return E_NOTIMPL; }
};

class IDirect3DRMViewportStub : public IDirect3DRMViewport {
protected:
    virtual void Unimplemented(const char* method) = 0;

public:
    HRESULT STDMETHODCALLTYPE Clone(IUnknown *outer, REFIID iid, void **out) override { Unimplemented("Clone"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddDestroyCallback(D3DRMOBJECTCALLBACK cb, void *ctx) override { Unimplemented("AddDestroyCallback"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteDestroyCallback(D3DRMOBJECTCALLBACK cb, void *ctx) override { Unimplemented("DeleteDestroyCallback"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAppData(DWORD data) override { Unimplemented("SetAppData"); return E_NOTIMPL; }
    DWORD STDMETHODCALLTYPE GetAppData() override { Unimplemented("GetAppData"); return DWORD{}; }
    HRESULT STDMETHODCALLTYPE SetName(const char *name) override { Unimplemented("SetName"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetName(DWORD *size, char *name) override { Unimplemented("GetName"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClassName(DWORD *size, char *name) override { Unimplemented("GetClassName"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Init(IDirect3DRMDevice *device, struct IDirect3DRMFrame *camera, DWORD x, DWORD y, DWORD width, DWORD height) override { Unimplemented("Init"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clear() override { Unimplemented("Clear"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Render(struct IDirect3DRMFrame *frame) override { Unimplemented("Render"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetFront(D3DVALUE) override { Unimplemented("SetFront"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBack(D3DVALUE) override { Unimplemented("SetBack"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetField(D3DVALUE) override { Unimplemented("SetField"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetUniformScaling(WINBOOL) override { Unimplemented("SetUniformScaling"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetCamera(struct IDirect3DRMFrame *camera) override { Unimplemented("SetCamera"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetProjection(D3DRMPROJECTIONTYPE) override { Unimplemented("SetProjection"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Transform(D3DRMVECTOR4D *d, D3DVECTOR *s) override { Unimplemented("Transform"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InverseTransform(D3DVECTOR *d, D3DRMVECTOR4D *s) override { Unimplemented("InverseTransform"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Configure(LONG x, LONG y, DWORD width, DWORD height) override { Unimplemented("Configure"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ForceUpdate(DWORD x1, DWORD y1, DWORD x2, DWORD y2) override { Unimplemented("ForceUpdate"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPlane(D3DVALUE left, D3DVALUE right, D3DVALUE bottom, D3DVALUE top) override { Unimplemented("SetPlane"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCamera(struct IDirect3DRMFrame **camera) override { Unimplemented("GetCamera"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DRMDevice **device) override { Unimplemented("GetDevice"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPlane(D3DVALUE *left, D3DVALUE *right, D3DVALUE *bottom, D3DVALUE *top) override { Unimplemented("GetPlane"); return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Pick(LONG x, LONG y, struct IDirect3DRMPickedArray **visuals) override { Unimplemented("Pick"); return E_NOTIMPL; }
    WINBOOL STDMETHODCALLTYPE GetUniformScaling() override { Unimplemented("GetUniformScaling"); return WINBOOL{}; }
    LONG STDMETHODCALLTYPE GetX() override { Unimplemented("GetX"); return LONG{}; }
    LONG STDMETHODCALLTYPE GetY() override { Unimplemented("GetY"); return LONG{}; }
    DWORD STDMETHODCALLTYPE GetWidth() override { Unimplemented("GetWidth"); return DWORD{}; }
    DWORD STDMETHODCALLTYPE GetHeight() override { Unimplemented("GetHeight"); return DWORD{}; }
    D3DVALUE STDMETHODCALLTYPE GetField() override { Unimplemented("GetField"); return D3DVALUE{}; }
    D3DVALUE STDMETHODCALLTYPE GetBack() override { Unimplemented("GetBack"); return D3DVALUE{}; }
    D3DVALUE STDMETHODCALLTYPE GetFront() override { Unimplemented("GetFront"); return D3DVALUE{}; }
    D3DRMPROJECTIONTYPE STDMETHODCALLTYPE GetProjection() override { Unimplemented("GetProjection"); return D3DRMPROJECTIONTYPE{}; }
    HRESULT STDMETHODCALLTYPE GetDirect3DViewport(IDirect3DViewport **viewport) override { Unimplemented("GetDirect3DViewport"); return E_NOTIMPL; }
};

}  // namespace dxd

#pragma GCC diagnostic pop
// not pure in the headers: HRESULT IDirect3DRMFrame2::GetAxes(D3DVECTOR *dir, D3DVECTOR *up)
// not pure in the headers: WINBOOL IDirect3DRMFrame2::GetInheritAxes()
// not pure in the headers: HRESULT IDirect3DRMFrame2::SetAxes(D3DVALUE dx, D3DVALUE dy, D3DVALUE dz, D3DVALUE ux, D3DVALUE uy, D3DVALUE uz)
// not pure in the headers: HRESULT IDirect3DRMFrame2::SetInheritAxes(WINBOOL inherit_from_parent)
// not pure in the headers: HRESULT IDirect3DRMFrame2::Save(const char *filename, D3DRMXOFFORMAT format, D3DRMSAVEOPTIONS flags)
