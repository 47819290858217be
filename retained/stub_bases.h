// Generated from the MinGW-w64 DirectX headers by scripts/gen_stub_bases.py (retained).
// One base per interface: every method except IUnknown's answers E_NOTIMPL
// (or a zero value of its type); the objects override what they implement.
#pragma once

#include <windows.h>
#include <ddraw.h>
#include <d3d.h>
#include <d3drm.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"

namespace retained {

class IDirect3DRMStub : public IDirect3DRM {
public:
    HRESULT STDMETHODCALLTYPE CreateObject(REFCLSID clsid, IUnknown *outer, REFIID iid, void **out) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateFrame(IDirect3DRMFrame *parent, IDirect3DRMFrame **frame) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateMesh(IDirect3DRMMesh **mesh) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateMeshBuilder(IDirect3DRMMeshBuilder **mesh_builder) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateFace(IDirect3DRMFace **face) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateAnimation(IDirect3DRMAnimation **animation) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateAnimationSet(IDirect3DRMAnimationSet **set) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateTexture(D3DRMIMAGE *image, IDirect3DRMTexture **texture) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateLight(D3DRMLIGHTTYPE type, D3DCOLOR color, IDirect3DRMLight **light) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateLightRGB(D3DRMLIGHTTYPE type, D3DVALUE r, D3DVALUE g, D3DVALUE b, IDirect3DRMLight **light) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateMaterial(D3DVALUE power, IDirect3DRMMaterial **material) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDevice(DWORD width, DWORD height, IDirect3DRMDevice **device) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDeviceFromSurface(GUID *guid, IDirectDraw *ddraw, IDirectDrawSurface *surface, IDirect3DRMDevice **device) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDeviceFromD3D(IDirect3D *d3d, IDirect3DDevice *d3d_device, IDirect3DRMDevice **device) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDeviceFromClipper(IDirectDrawClipper *clipper, GUID *guid, int width, int height, IDirect3DRMDevice **device) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateTextureFromSurface(IDirectDrawSurface *surface, IDirect3DRMTexture **texture) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateShadow(IDirect3DRMVisual *visual, IDirect3DRMLight *light, D3DVALUE px, D3DVALUE py, D3DVALUE pz, D3DVALUE nx, D3DVALUE ny, D3DVALUE nz, IDirect3DRMVisual **shadow) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateViewport(IDirect3DRMDevice *device, IDirect3DRMFrame *camera, DWORD x, DWORD y, DWORD width, DWORD height, IDirect3DRMViewport **viewport) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateWrap(D3DRMWRAPTYPE type, IDirect3DRMFrame *reference, D3DVALUE ox, D3DVALUE oy, D3DVALUE oz, D3DVALUE dx, D3DVALUE dy, D3DVALUE dz, D3DVALUE ux, D3DVALUE uy, D3DVALUE uz, D3DVALUE ou, D3DVALUE ov, D3DVALUE su, D3DVALUE sv, IDirect3DRMWrap **wrap) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateUserVisual(D3DRMUSERVISUALCALLBACK cb, void *ctx, IDirect3DRMUserVisual **visual) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LoadTexture(const char *filename, IDirect3DRMTexture **texture) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LoadTextureFromResource(HRSRC resource, IDirect3DRMTexture **texture) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSearchPath(const char *path) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddSearchPath(const char *path) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSearchPath(DWORD *size, char *path) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultTextureColors(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultTextureShades(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDevices(IDirect3DRMDeviceArray **array) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNamedObject(const char *name, IDirect3DRMObject **object) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumerateObjects(D3DRMOBJECTCALLBACK cb, void *ctx) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Load(void *source, void *object_id, IID **iids, DWORD iid_count, D3DRMLOADOPTIONS flags, D3DRMLOADCALLBACK load_cb, void *load_ctx, D3DRMLOADTEXTURECALLBACK load_tex_cb, void *load_tex_ctx, IDirect3DRMFrame *parent_frame) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Tick(D3DVALUE) override { return E_NOTIMPL; }
};

class IDirect3DRM2Stub : public IDirect3DRM2 {
public:
    HRESULT STDMETHODCALLTYPE CreateObject(REFCLSID clsid, IUnknown *outer, REFIID iid, void **out) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateFrame(IDirect3DRMFrame *parent, IDirect3DRMFrame2 **frame) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateMesh(IDirect3DRMMesh **mesh) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateMeshBuilder(IDirect3DRMMeshBuilder2 **mesh_builder) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateFace(IDirect3DRMFace **face) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateAnimation(IDirect3DRMAnimation **animation) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateAnimationSet(IDirect3DRMAnimationSet **set) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateTexture(D3DRMIMAGE *image, IDirect3DRMTexture2 **texture) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateLight(D3DRMLIGHTTYPE type, D3DCOLOR color, IDirect3DRMLight **light) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateLightRGB(D3DRMLIGHTTYPE type, D3DVALUE r, D3DVALUE g, D3DVALUE b, IDirect3DRMLight **light) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateMaterial(D3DVALUE power, IDirect3DRMMaterial **material) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDevice(DWORD width, DWORD height, IDirect3DRMDevice2 **device) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDeviceFromSurface(GUID *guid, IDirectDraw *ddraw, IDirectDrawSurface *surface, IDirect3DRMDevice2 **device) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDeviceFromD3D(IDirect3D2 *d3d, IDirect3DDevice2 *d3d_device, IDirect3DRMDevice2 **device) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateDeviceFromClipper(IDirectDrawClipper *clipper, GUID *guid, int width, int height, IDirect3DRMDevice2 **device) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateTextureFromSurface(IDirectDrawSurface *surface, IDirect3DRMTexture2 **texture) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateShadow(IDirect3DRMVisual *visual, IDirect3DRMLight *light, D3DVALUE px, D3DVALUE py, D3DVALUE pz, D3DVALUE nx, D3DVALUE ny, D3DVALUE nz, IDirect3DRMVisual **shadow) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateViewport(IDirect3DRMDevice *device, IDirect3DRMFrame *camera, DWORD x, DWORD y, DWORD width, DWORD height, IDirect3DRMViewport **viewport) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateWrap(D3DRMWRAPTYPE type, IDirect3DRMFrame *reference, D3DVALUE ox, D3DVALUE oy, D3DVALUE oz, D3DVALUE dx, D3DVALUE dy, D3DVALUE dz, D3DVALUE ux, D3DVALUE uy, D3DVALUE uz, D3DVALUE ou, D3DVALUE ov, D3DVALUE su, D3DVALUE sv, IDirect3DRMWrap **wrap) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateUserVisual(D3DRMUSERVISUALCALLBACK cb, void *ctx, IDirect3DRMUserVisual **visual) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LoadTexture(const char *filename, IDirect3DRMTexture2 **texture) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LoadTextureFromResource(HMODULE module, const char *resource_name, const char *resource_type, IDirect3DRMTexture2 **texture) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSearchPath(const char *path) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddSearchPath(const char *path) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSearchPath(DWORD *size, char *path) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultTextureColors(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDefaultTextureShades(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDevices(IDirect3DRMDeviceArray **array) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNamedObject(const char *name, IDirect3DRMObject **object) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumerateObjects(D3DRMOBJECTCALLBACK cb, void *ctx) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Load(void *source, void *object_id, IID **iids, DWORD iid_count, D3DRMLOADOPTIONS flags, D3DRMLOADCALLBACK load_cb, void *load_ctx, D3DRMLOADTEXTURECALLBACK load_tex_cb, void *load_tex_ctx, IDirect3DRMFrame *parent_frame) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Tick(D3DVALUE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateProgressiveMesh(IDirect3DRMProgressiveMesh **mesh) override { return E_NOTIMPL; }
};

class IDirect3DRMDevice2Stub : public IDirect3DRMDevice2 {
public:
    HRESULT STDMETHODCALLTYPE Clone(IUnknown *outer, REFIID iid, void **out) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddDestroyCallback(D3DRMOBJECTCALLBACK cb, void *ctx) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteDestroyCallback(D3DRMOBJECTCALLBACK cb, void *ctx) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAppData(DWORD data) override { return E_NOTIMPL; }
    DWORD STDMETHODCALLTYPE GetAppData() override { return DWORD{}; }
    HRESULT STDMETHODCALLTYPE SetName(const char *name) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetName(DWORD *size, char *name) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClassName(DWORD *size, char *name) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Init(ULONG width, ULONG height) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromD3D(IDirect3D *d3d, IDirect3DDevice *d3d_device) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromClipper(IDirectDrawClipper *clipper, GUID *guid, int width, int height) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddUpdateCallback(D3DRMUPDATECALLBACK cb, void *ctx) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteUpdateCallback(D3DRMUPDATECALLBACK cb, void *ctx) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBufferCount(DWORD) override { return E_NOTIMPL; }
    DWORD STDMETHODCALLTYPE GetBufferCount() override { return DWORD{}; }
    HRESULT STDMETHODCALLTYPE SetDither(WINBOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetShades(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetQuality(D3DRMRENDERQUALITY) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTextureQuality(D3DRMTEXTUREQUALITY) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetViewports(struct IDirect3DRMViewportArray **array) override { return E_NOTIMPL; }
    WINBOOL STDMETHODCALLTYPE GetDither() override { return WINBOOL{}; }
    DWORD STDMETHODCALLTYPE GetShades() override { return DWORD{}; }
    DWORD STDMETHODCALLTYPE GetHeight() override { return DWORD{}; }
    DWORD STDMETHODCALLTYPE GetWidth() override { return DWORD{}; }
    DWORD STDMETHODCALLTYPE GetTrianglesDrawn() override { return DWORD{}; }
    DWORD STDMETHODCALLTYPE GetWireframeOptions() override { return DWORD{}; }
    D3DRMRENDERQUALITY STDMETHODCALLTYPE GetQuality() override { return D3DRMRENDERQUALITY{}; }
    D3DCOLORMODEL STDMETHODCALLTYPE GetColorModel() override { return D3DCOLORMODEL{}; }
    D3DRMTEXTUREQUALITY STDMETHODCALLTYPE GetTextureQuality() override { return D3DRMTEXTUREQUALITY{}; }
    HRESULT STDMETHODCALLTYPE GetDirect3DDevice(IDirect3DDevice **d3d_device) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromD3D2(IDirect3D2 *d3d, IDirect3DDevice2 *device) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromSurface(GUID *guid, IDirectDraw *ddraw, IDirectDrawSurface *surface) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRenderMode(DWORD flags) override { return E_NOTIMPL; }
    DWORD STDMETHODCALLTYPE GetRenderMode() override { return DWORD{}; }
    HRESULT STDMETHODCALLTYPE GetDirect3DDevice2(IDirect3DDevice2 **device) override { return E_NOTIMPL; }
};

class IDirect3DRMFrame2Stub : public IDirect3DRMFrame2 {
public:
    HRESULT STDMETHODCALLTYPE Clone(IUnknown *outer, REFIID iid, void **out) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddDestroyCallback(D3DRMOBJECTCALLBACK cb, void *ctx) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteDestroyCallback(D3DRMOBJECTCALLBACK cb, void *ctx) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAppData(DWORD data) override { return E_NOTIMPL; }
    DWORD STDMETHODCALLTYPE GetAppData() override { return DWORD{}; }
    HRESULT STDMETHODCALLTYPE SetName(const char *name) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetName(DWORD *size, char *name) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClassName(DWORD *size, char *name) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddChild(IDirect3DRMFrame *child) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddLight(struct IDirect3DRMLight *light) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddMoveCallback(D3DRMFRAMEMOVECALLBACK cb, void *ctx) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddTransform(D3DRMCOMBINETYPE, D3DRMMATRIX4D) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddTranslation(D3DRMCOMBINETYPE, D3DVALUE x, D3DVALUE y, D3DVALUE z) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddScale(D3DRMCOMBINETYPE, D3DVALUE sx, D3DVALUE sy, D3DVALUE sz) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddRotation(D3DRMCOMBINETYPE, D3DVALUE x, D3DVALUE y, D3DVALUE z, D3DVALUE theta) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddVisual(IDirect3DRMVisual *visual) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetChildren(struct IDirect3DRMFrameArray **children) override { return E_NOTIMPL; }
    D3DCOLOR STDMETHODCALLTYPE GetColor() override { return D3DCOLOR{}; }
    HRESULT STDMETHODCALLTYPE GetLights(struct IDirect3DRMLightArray **lights) override { return E_NOTIMPL; }
    D3DRMMATERIALMODE STDMETHODCALLTYPE GetMaterialMode() override { return D3DRMMATERIALMODE{}; }
    HRESULT STDMETHODCALLTYPE GetParent(IDirect3DRMFrame **parent) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPosition(IDirect3DRMFrame *reference, D3DVECTOR *return_position) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRotation(IDirect3DRMFrame *reference, D3DVECTOR *axis, D3DVALUE *return_theta) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetScene(IDirect3DRMFrame **scene) override { return E_NOTIMPL; }
    D3DRMSORTMODE STDMETHODCALLTYPE GetSortMode() override { return D3DRMSORTMODE{}; }
    HRESULT STDMETHODCALLTYPE GetTexture(struct IDirect3DRMTexture **texture) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTransform(D3DRMMATRIX4D return_matrix) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVelocity(IDirect3DRMFrame *reference, D3DVECTOR *return_velocity, WINBOOL with_rotation) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetOrientation(IDirect3DRMFrame *reference, D3DVECTOR *dir, D3DVECTOR *up) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVisuals(struct IDirect3DRMVisualArray **visuals) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTextureTopology(WINBOOL *wrap_u, WINBOOL *wrap_v) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InverseTransform(D3DVECTOR *d, D3DVECTOR *s) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Load(void *filename, void *name, D3DRMLOADOPTIONS flags, D3DRMLOADTEXTURECALLBACK cb, void *ctx) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LookAt(IDirect3DRMFrame *target, IDirect3DRMFrame *reference, D3DRMFRAMECONSTRAINT constraint) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Move(D3DVALUE delta) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteChild(IDirect3DRMFrame *child) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteLight(struct IDirect3DRMLight *light) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteMoveCallback(D3DRMFRAMEMOVECALLBACK cb, void *ctx) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteVisual(IDirect3DRMVisual *visual) override { return E_NOTIMPL; }
    D3DCOLOR STDMETHODCALLTYPE GetSceneBackground() override { return D3DCOLOR{}; }
    HRESULT STDMETHODCALLTYPE GetSceneBackgroundDepth(IDirectDrawSurface **surface) override { return E_NOTIMPL; }
    D3DCOLOR STDMETHODCALLTYPE GetSceneFogColor() override { return D3DCOLOR{}; }
    WINBOOL STDMETHODCALLTYPE GetSceneFogEnable() override { return WINBOOL{}; }
    D3DRMFOGMODE STDMETHODCALLTYPE GetSceneFogMode() override { return D3DRMFOGMODE{}; }
    HRESULT STDMETHODCALLTYPE GetSceneFogParams(D3DVALUE *return_start, D3DVALUE *return_end, D3DVALUE *return_density) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSceneBackground(D3DCOLOR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSceneBackgroundRGB(D3DVALUE red, D3DVALUE green, D3DVALUE blue) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSceneBackgroundDepth(IDirectDrawSurface *surface) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSceneBackgroundImage(struct IDirect3DRMTexture *texture) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSceneFogEnable(WINBOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSceneFogColor(D3DCOLOR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSceneFogMode(D3DRMFOGMODE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSceneFogParams(D3DVALUE start, D3DVALUE end, D3DVALUE density) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetColor(D3DCOLOR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetColorRGB(D3DVALUE red, D3DVALUE green, D3DVALUE blue) override { return E_NOTIMPL; }
    D3DRMZBUFFERMODE STDMETHODCALLTYPE GetZbufferMode() override { return D3DRMZBUFFERMODE{}; }
    HRESULT STDMETHODCALLTYPE SetMaterialMode(D3DRMMATERIALMODE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOrientation(IDirect3DRMFrame *reference, D3DVALUE dx, D3DVALUE dy, D3DVALUE dz, D3DVALUE ux, D3DVALUE uy, D3DVALUE uz) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPosition(IDirect3DRMFrame *reference, D3DVALUE x, D3DVALUE y, D3DVALUE z) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRotation(IDirect3DRMFrame *reference, D3DVALUE x, D3DVALUE y, D3DVALUE z, D3DVALUE theta) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSortMode(D3DRMSORTMODE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTexture(struct IDirect3DRMTexture *texture) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTextureTopology(WINBOOL wrap_u, WINBOOL wrap_v) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetVelocity(IDirect3DRMFrame *reference, D3DVALUE x, D3DVALUE y, D3DVALUE z, WINBOOL with_rotation) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetZbufferMode(D3DRMZBUFFERMODE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Transform(D3DVECTOR *d, D3DVECTOR *s) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddMoveCallback2(D3DRMFRAMEMOVECALLBACK cb, void *ctx, DWORD flags) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBox(D3DRMBOX *box) override { return E_NOTIMPL; }
    WINBOOL STDMETHODCALLTYPE GetBoxEnable() override { return WINBOOL{}; }
    HRESULT STDMETHODCALLTYPE GetAxes(D3DVECTOR *dir, D3DVECTOR *up) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMaterial(struct IDirect3DRMMaterial **material) override { return E_NOTIMPL; }
    WINBOOL STDMETHODCALLTYPE GetInheritAxes() override { return WINBOOL{}; }
    HRESULT STDMETHODCALLTYPE GetHierarchyBox(D3DRMBOX *box) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBox(D3DRMBOX *box) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBoxEnable(WINBOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAxes(D3DVALUE dx, D3DVALUE dy, D3DVALUE dz, D3DVALUE ux, D3DVALUE uy, D3DVALUE uz) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetInheritAxes(WINBOOL inherit_from_parent) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMaterial(struct IDirect3DRMMaterial *material) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetQuaternion(IDirect3DRMFrame *reference, D3DRMQUATERNION *q) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RayPick(IDirect3DRMFrame *reference, D3DRMRAY *ray, DWORD flags, struct IDirect3DRMPicked2Array **return_visuals) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save(const char *filename, D3DRMXOFFORMAT format, D3DRMSAVEOPTIONS flags) override { return E_NOTIMPL; }
};

class IDirect3DRMViewportStub : public IDirect3DRMViewport {
public:
    HRESULT STDMETHODCALLTYPE Clone(IUnknown *outer, REFIID iid, void **out) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddDestroyCallback(D3DRMOBJECTCALLBACK cb, void *ctx) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteDestroyCallback(D3DRMOBJECTCALLBACK cb, void *ctx) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAppData(DWORD data) override { return E_NOTIMPL; }
    DWORD STDMETHODCALLTYPE GetAppData() override { return DWORD{}; }
    HRESULT STDMETHODCALLTYPE SetName(const char *name) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetName(DWORD *size, char *name) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClassName(DWORD *size, char *name) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Init(IDirect3DRMDevice *device, struct IDirect3DRMFrame *camera, DWORD x, DWORD y, DWORD width, DWORD height) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clear() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Render(struct IDirect3DRMFrame *frame) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetFront(D3DVALUE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBack(D3DVALUE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetField(D3DVALUE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetUniformScaling(WINBOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetCamera(struct IDirect3DRMFrame *camera) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetProjection(D3DRMPROJECTIONTYPE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Transform(D3DRMVECTOR4D *d, D3DVECTOR *s) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InverseTransform(D3DVECTOR *d, D3DRMVECTOR4D *s) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Configure(LONG x, LONG y, DWORD width, DWORD height) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ForceUpdate(DWORD x1, DWORD y1, DWORD x2, DWORD y2) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPlane(D3DVALUE left, D3DVALUE right, D3DVALUE bottom, D3DVALUE top) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCamera(struct IDirect3DRMFrame **camera) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DRMDevice **device) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPlane(D3DVALUE *left, D3DVALUE *right, D3DVALUE *bottom, D3DVALUE *top) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Pick(LONG x, LONG y, struct IDirect3DRMPickedArray **visuals) override { return E_NOTIMPL; }
    WINBOOL STDMETHODCALLTYPE GetUniformScaling() override { return WINBOOL{}; }
    LONG STDMETHODCALLTYPE GetX() override { return LONG{}; }
    LONG STDMETHODCALLTYPE GetY() override { return LONG{}; }
    DWORD STDMETHODCALLTYPE GetWidth() override { return DWORD{}; }
    DWORD STDMETHODCALLTYPE GetHeight() override { return DWORD{}; }
    D3DVALUE STDMETHODCALLTYPE GetField() override { return D3DVALUE{}; }
    D3DVALUE STDMETHODCALLTYPE GetBack() override { return D3DVALUE{}; }
    D3DVALUE STDMETHODCALLTYPE GetFront() override { return D3DVALUE{}; }
    D3DRMPROJECTIONTYPE STDMETHODCALLTYPE GetProjection() override { return D3DRMPROJECTIONTYPE{}; }
    HRESULT STDMETHODCALLTYPE GetDirect3DViewport(IDirect3DViewport **viewport) override { return E_NOTIMPL; }
};

}  // namespace retained

#pragma GCC diagnostic pop
// not pure in the headers: HRESULT IDirect3DRMFrame2::GetAxes(D3DVECTOR *dir, D3DVECTOR *up)
// not pure in the headers: WINBOOL IDirect3DRMFrame2::GetInheritAxes()
// not pure in the headers: HRESULT IDirect3DRMFrame2::SetAxes(D3DVALUE dx, D3DVALUE dy, D3DVALUE dz, D3DVALUE ux, D3DVALUE uy, D3DVALUE uz)
// not pure in the headers: HRESULT IDirect3DRMFrame2::SetInheritAxes(WINBOOL inherit_from_parent)
// not pure in the headers: HRESULT IDirect3DRMFrame2::Save(const char *filename, D3DRMXOFFORMAT format, D3DRMSAVEOPTIONS flags)
