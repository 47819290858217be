// DirectX test doubles: C++ objects that stand in for DirectDraw, Direct3D
// Immediate Mode and Retained Mode in unit tests.
//
// Use:
//   dxd::DxDoubles dx;              // one per test; installs the Afx hooks
//   dx.BindDeviceState();           // g_deviceState's entry points -> stand-ins,
//                                   // both library handles set: no DLL is loaded
//   ... run the code under test ...
//   dx.ExpectAllReleased({held});   // every object at zero references but `held`
//
// * Objects are created through the stand-in exports (StandInDirectDrawCreate,
//   StandInDirect3DRMCreate) and by the interfaces' own Create... calls, or
//   directly by a test (dx.NewSurface() ...) with one reference. Each has a
//   kind (its interface name) and a number per kind: "IDirectDrawSurface#2".
// * One ordered log (dx.log) holds every call ("IDirectDrawSurface#2.Blt(...)",
//   AddRef and Release included), every debugger-output line ("debug:" + text),
//   every message box ("box:" + text) and every exit ("exit:1"). The exit hook
//   throws dxd::ExitCalled{code}. The hooks are put back by the destructor.
// * dx.Fail(key, hr, times, after, argsContaining) makes calls fail: key is
//   "Interface::Method" (any object of that kind), "Interface#n::Method" (one
//   object) or the export name ("DirectDrawCreate", "Direct3DRMCreate").
//   times: kAlways or a count; after: successful matching calls first;
//   argsContaining: only calls whose argument text contains it. IsLost answers
//   are failures too: dx.Fail("IDirectDrawSurface#1::IsLost", DDERR_SURFACELOST).
//   A failing code (negative) hands back no object; a positive code hands one
//   back and is returned.
// * dx.config: capabilities, device list, texture formats, display format and
//   screen size; defaults copy what Wine's DirectX reports (see DxConfig).
// * Typed records on each double (dx.surfaces[i]->blts, devices[i]->draws,
//   created descriptions, palette entries ...) hold the arguments tests check.
// * References between doubles: a texture interface holds its surface, a
//   retained-mode viewport holds its Immediate Mode viewport, and a device
//   holds each viewport added to it until DeleteViewport or its own last
//   release, as the real components do. Nothing else holds another double.
// * Over-releases and calls on released objects are recorded in dx.errors and
//   fail ExpectAllReleased.
#pragma once

#include "tests/doubles/dx_stub_bases.h"

#include <memory>
#include <string>
#include <vector>

namespace dxd {

// printf into a std::string (up to 511 characters), for log texts and expectations.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Thrown by the exit hook instead of ending the process.
struct ExitCalled {
    int code;
};

struct LogEntry {
    enum Kind { Call, Debug, Box, Exit };
    Kind kind = Call;
    std::string object;  // "IDirectDrawSurface#2", or the export's name is in method
    std::string method;
    std::string args;    // the debugger line or box text for Debug and Box
    long result = 0;     // HRESULT, the new count for AddRef/Release, box style, exit code
    std::string Text() const;
};

class CallLog {
public:
    std::vector<LogEntry> entries;

    void Add(LogEntry entry) { entries.push_back(std::move(entry)); }
    void Clear() { entries.clear(); }
    std::vector<std::string> Texts() const;
    std::vector<std::string> DebugLines() const;      // the texts, in order
    std::vector<std::string> MessageBoxes() const;    // the texts, in order
    std::vector<std::string> Released() const;        // object names, one per Release call by the code
                                                      // (not a double's release of what it held)
    std::vector<std::string> Matching(const std::string& part) const;  // texts containing part
    int Count(const std::string& text) const;         // entries whose Text() equals text
    bool Contains(const std::string& text) const { return Count(text) > 0; }
    std::string Dump() const;                         // one text a line, for failure messages
};

// Installs afx_hooks::debugOutput, messageBox and exitProcess recording into
// `log`; restores the previous hooks when destroyed.
class AfxRecorder {
public:
    explicit AfxRecorder(CallLog& log);
    ~AfxRecorder();
    AfxRecorder(const AfxRecorder&) = delete;
    AfxRecorder& operator=(const AfxRecorder&) = delete;

    static int boxAnswer;  // what the message box answers (IDOK)

private:
    void* saved_[3];
    CallLog* savedLog_;
};

struct DeviceInfo {
    GUID guid;
    std::string description;
    std::string name;
    D3DDEVICEDESC hardware;
    D3DDEVICEDESC software;
};

// A device with a hardware description of `colorModel` and Z depths `zDepths`
// (DDBD_...), software description empty; and the reverse.
DeviceInfo HardwareDevice(const GUID& guid, const std::string& name, DWORD colorModel, DWORD zDepths);
DeviceInfo SoftwareDevice(const GUID& guid, const std::string& name, DWORD colorModel);
// A texture format record: RGB when bits > 8 (masks used), else palette-indexed.
DDSURFACEDESC TextureFormat(DWORD bits, DWORD r = 0, DWORD g = 0, DWORD b = 0, DWORD a = 0);

struct DxConfig {
    DxConfig();
    // Answered by IDirectDraw::GetCaps as DirectDraw does: the whole record is
    // kept in its latest layout, ddsOldCaps repeats ddsCaps (the DirectX 5
    // field at the same place), and a caller gets the first dwSize bytes.
    DDCAPS_DX7 driverCaps;
    DDCAPS_DX7 emulationCaps;
    std::vector<DeviceInfo> devices;            // IDirect3D2::EnumDevices, in order
    std::vector<DDSURFACEDESC> textureFormats;  // IDirect3DDevice2::EnumTextureFormats
    DDPIXELFORMAT displayFormat;                // surfaces created without a pixel format
    bool getDirect3DViewportAddsRef = true;     // IDirect3DRMViewport::GetDirect3DViewport
    bool recordVertices = true;                 // DrawPrimitive copies the vertices
};

class DxDoubles;

// Common part of every double: name, references, log access.
class DxObject {
public:
    DxObject(DxDoubles& owner, const char* kind, const void* iface);
    virtual ~DxObject() = default;

    std::string Name() const;
    // Hands out one more reference, also to an object already at zero (an
    // interface queried again after its last release); logged as AddRef.
    void TakeReference();
    // Drops the reference `holder` kept on this object; logged as a Release
    // with "held by <holder>", which CallLog::Released() leaves out.
    void ReleaseHeld(DxObject& holder);
    const char* kind;
    int id;
    long refs = 1;        // a new object carries the reference handed to its creator
    int addRefs = 0;      // AddRef calls
    int releases = 0;     // Release calls
    const void* iface;    // the interface pointer handed out

protected:
    HRESULT Enter(const char* method, const std::string& args = "");
    void Unimplemented(const char* method);
    ULONG DoAddRef();
    ULONG DoRelease();
    ULONG ReleaseFrom(const std::string& note);
    virtual void LastReleased() {}
    DxDoubles& owner_;
};

#define DXD_IUNKNOWN                                                    \
    ULONG STDMETHODCALLTYPE AddRef() override { return DoAddRef(); }     \
    ULONG STDMETHODCALLTYPE Release() override { return DoRelease(); }   \
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override; \
                                                                        \
protected:                                                              \
    void Unimplemented(const char* method) override { DxObject::Unimplemented(method); } \
                                                                        \
public:

class SurfaceDouble;
class TextureDouble;
class Direct3D2Double;
class RM2Double;
class ViewportDouble;

class DirectDrawDouble final : public IDirectDrawStub, public DxObject {
public:
    explicit DirectDrawDouble(DxDoubles& owner);
    DXD_IUNKNOWN
    HRESULT STDMETHODCALLTYPE GetCaps(LPDDCAPS driver, LPDDCAPS hel) override;
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* out, IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* out, IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* out, IUnknown* outer) override;

    std::vector<DWORD> capsSizes;      // dwSize of driver, emulation record per GetCaps (0 for null)
    HWND cooperativeWindow = nullptr;
    DWORD cooperativeFlags = 0;
    Direct3D2Double* direct3D2 = nullptr;  // made by the first QueryInterface
};

class SurfaceDouble final : public IDirectDrawSurfaceStub, public DxObject {
public:
    SurfaceDouble(DxDoubles& owner, const DDSURFACEDESC* desc);
    ~SurfaceDouble() override;
    DXD_IUNKNOWN
    // A rectangle reaching outside its surface's extent (or an empty one)
    // fails the whole copy with DDERR_INVALIDRECT, clipper or not.
    HRESULT STDMETHODCALLTYPE Blt(LPRECT dest, LPDIRECTDRAWSURFACE source, LPRECT sourceRect, DWORD flags, LPDDBLTFX fx) override;
    HRESULT STDMETHODCALLTYPE Flip(LPDIRECTDRAWSURFACE target, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE AddAttachedSurface(LPDIRECTDRAWSURFACE surface) override;
    // The first attached surface with all of caps' bits, with a reference of
    // its own; DDERR_NOTFOUND when none has them.
    HRESULT STDMETHODCALLTYPE GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* out) override;
    HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC desc) override;
    HRESULT STDMETHODCALLTYPE SetPalette(LPDIRECTDRAWPALETTE palette) override;
    HRESULT STDMETHODCALLTYPE SetClipper(LPDIRECTDRAWCLIPPER clipper) override;
    HRESULT STDMETHODCALLTYPE IsLost() override;
    HRESULT STDMETHODCALLTYPE Restore() override;
    HRESULT STDMETHODCALLTYPE GetDC(HDC* dc) override;
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC dc) override;

    struct BltCall {
        bool hasDest;
        RECT dest;
        IDirectDrawSurface* source;
        bool hasSourceRect;
        RECT sourceRect;
        DWORD flags;
        bool hasFx;
    };
    DDSURFACEDESC created;   // as passed to CreateSurface (zero when made by a test)
    DDSURFACEDESC reported;  // answered by GetSurfaceDesc (dwSize kept as the caller set it)
    // Where Blt may write: (0, 0, width, height), or for the primary surface
    // the virtual screen as the metrics gave it when the surface was made, as
    // DirectDraw keeps a surface's size through a display change.
    RECT extent;
    std::vector<BltCall> blts;
    std::vector<IDirectDrawSurface*> flips;
    std::vector<IDirectDrawSurface*> attached;
    IDirectDrawPalette* palette = nullptr;  // last SetPalette (not held)
    IDirectDrawClipper* clipper = nullptr;  // last SetClipper (not held)
    int restores = 0;
    int openDCs = 0;
    TextureDouble* texture = nullptr;       // made by the first QueryInterface

private:
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HDC dc_ = nullptr;
};

class ClipperDouble final : public IDirectDrawClipperStub, public DxObject {
public:
    explicit ClipperDouble(DxDoubles& owner);
    DXD_IUNKNOWN
    HRESULT STDMETHODCALLTYPE SetHWnd(DWORD flags, HWND window) override;
    DWORD createFlags = 0;
    HWND window = nullptr;
    DWORD hwndFlags = 0;
};

class PaletteDouble final : public IDirectDrawPaletteStub, public DxObject {
public:
    PaletteDouble(DxDoubles& owner, DWORD flags, const PALETTEENTRY* entries);
    DXD_IUNKNOWN
    DWORD flags;
    std::vector<PALETTEENTRY> entries;  // 2, 4, 16 or 256 after the caps bits; copied at creation
};

class Direct3D2Double final : public IDirect3D2Stub, public DxObject {
public:
    explicit Direct3D2Double(DxDoubles& owner);
    DXD_IUNKNOWN
    HRESULT STDMETHODCALLTYPE EnumDevices(LPD3DENUMDEVICESCALLBACK callback, void* context) override;
    HRESULT STDMETHODCALLTYPE CreateDevice(REFCLSID guid, IDirectDrawSurface* surface, IDirect3DDevice2** out) override;
    HRESULT STDMETHODCALLTYPE CreateMaterial(IDirect3DMaterial2** out, IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE CreateViewport(IDirect3DViewport2** out, IUnknown* outer) override;
    std::vector<HRESULT> callbackAnswers;  // what the enumeration callback returned, per device
};

class Device2Double final : public IDirect3DDevice2Stub, public DxObject {
public:
    Device2Double(DxDoubles& owner, const GUID& guid, IDirectDrawSurface* target);
    DXD_IUNKNOWN
    HRESULT STDMETHODCALLTYPE EnumTextureFormats(LPD3DENUMTEXTUREFORMATSCALLBACK callback, void* context) override;
    // The device holds each viewport added to it; DeleteViewport gives it
    // back, and so does the device's last release for those still added.
    // A viewport not added to this device cannot be deleted from it.
    HRESULT STDMETHODCALLTYPE AddViewport(IDirect3DViewport2* viewport) override;
    HRESULT STDMETHODCALLTYPE DeleteViewport(IDirect3DViewport2* viewport) override;
    // The render target, with a reference of its own.
    HRESULT STDMETHODCALLTYPE GetRenderTarget(IDirectDrawSurface** out) override;
    HRESULT STDMETHODCALLTYPE SetCurrentViewport(IDirect3DViewport2* viewport) override;
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT STDMETHODCALLTYPE SetLightState(D3DLIGHTSTATETYPE state, DWORD value) override;
    HRESULT STDMETHODCALLTYPE BeginScene() override;
    HRESULT STDMETHODCALLTYPE EndScene() override;
    HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE type, D3DVERTEXTYPE vertexType, void* vertices, DWORD count, DWORD flags) override;

    struct DrawCall {
        D3DPRIMITIVETYPE type;
        D3DVERTEXTYPE vertexType;
        DWORD count;
        DWORD flags;
        std::vector<D3DTLVERTEX> vertices;  // copied for D3DVT_TLVERTEX when config.recordVertices
    };
    GUID guid;                        // the GUID CreateDevice was called with
    IDirectDrawSurface* target;       // the render target (not held)
    std::vector<std::pair<DWORD, DWORD>> renderStates;
    std::vector<std::pair<DWORD, DWORD>> lightStates;
    std::vector<DrawCall> draws;
    IDirect3DViewport2* currentViewport = nullptr;
    int scenesBegun = 0, scenesEnded = 0;
    std::vector<ViewportDouble*> addedViewports;  // held, in the order added

protected:
    void LastReleased() override;
};

// An Immediate Mode viewport: behind a retained-mode viewport double, or made
// by IDirect3D2::CreateViewport. Answers QueryInterface for
// IID_IDirect3DViewport2 and IID_IDirect3DViewport with itself.
//
// As DirectDraw: SetViewport takes only the DirectX 5 record (dwSize
// sizeof(D3DVIEWPORT)), needs the viewport added to a device and the
// rectangle inside that device's render target. Clear with no rectangles
// clears nothing and succeeds; otherwise it needs a device, and a Z-buffer
// clear needs one attached to the device's target (D3DERR_ZBUFFER_NOTPRESENT).
class ViewportDouble final : public IDirect3DViewport2Stub, public DxObject {
public:
    explicit ViewportDouble(DxDoubles& owner);
    DXD_IUNKNOWN
    HRESULT STDMETHODCALLTYPE SetBackground(D3DMATERIALHANDLE material) override;
    HRESULT STDMETHODCALLTYPE SetViewport(D3DVIEWPORT* data) override;
    HRESULT STDMETHODCALLTYPE Clear(DWORD count, D3DRECT* rects, DWORD flags) override;
    D3DMATERIALHANDLE background = 0;
    Device2Double* device = nullptr;  // the device it is added to (the device holds it)
    D3DVIEWPORT data{};               // last accepted SetViewport
    bool dataSet = false;
    struct ClearCall {
        std::vector<D3DRECT> rects;
        DWORD flags;
    };
    std::vector<ClearCall> clears;    // the clears done
};

class MaterialDouble final : public IDirect3DMaterial2Stub, public DxObject {
public:
    explicit MaterialDouble(DxDoubles& owner);
    DXD_IUNKNOWN
    HRESULT STDMETHODCALLTYPE SetMaterial(D3DMATERIAL* desc) override;
    HRESULT STDMETHODCALLTYPE GetHandle(IDirect3DDevice2* device, D3DMATERIALHANDLE* handle) override;
    D3DMATERIAL desc{};          // last SetMaterial
    bool descSet = false;
    D3DMATERIALHANDLE handle;    // 0x1000 + number, unless a test changes it
};

class TextureDouble final : public IDirect3DTexture2Stub, public DxObject {
public:
    TextureDouble(DxDoubles& owner, SurfaceDouble* surface);
    DXD_IUNKNOWN
    HRESULT STDMETHODCALLTYPE GetHandle(IDirect3DDevice2* device, D3DTEXTUREHANDLE* handle) override;
    HRESULT STDMETHODCALLTYPE Load(IDirect3DTexture2* source) override;
    SurfaceDouble* surface;      // held while the texture has references
    D3DTEXTUREHANDLE handle;     // 0x2000 + number, unless a test changes it
    std::vector<IDirect3DTexture2*> loads;

protected:
    void LastReleased() override;
};

class RMDouble final : public IDirect3DRMStub, public DxObject {
public:
    explicit RMDouble(DxDoubles& owner);
    DXD_IUNKNOWN
    RM2Double* rm2 = nullptr;  // made by the first QueryInterface
};

class RM2Double final : public IDirect3DRM2Stub, public DxObject {
public:
    explicit RM2Double(DxDoubles& owner);
    DXD_IUNKNOWN
    HRESULT STDMETHODCALLTYPE CreateFrame(IDirect3DRMFrame* parent, IDirect3DRMFrame2** out) override;
    HRESULT STDMETHODCALLTYPE CreateDeviceFromD3D(IDirect3D2* d3d, IDirect3DDevice2* device, IDirect3DRMDevice2** out) override;
    HRESULT STDMETHODCALLTYPE CreateViewport(IDirect3DRMDevice* device, IDirect3DRMFrame* camera, DWORD x, DWORD y,
                                             DWORD width, DWORD height, IDirect3DRMViewport** out) override;
    HRESULT STDMETHODCALLTYPE SetDefaultTextureColors(DWORD colors) override;
    HRESULT STDMETHODCALLTYPE SetDefaultTextureShades(DWORD shades) override;
    DWORD defaultTextureColors = 0, defaultTextureShades = 0;
};

class RMDevice2Double final : public IDirect3DRMDevice2Stub, public DxObject {
public:
    RMDevice2Double(DxDoubles& owner, IDirect3D2* d3d, IDirect3DDevice2* device);
    DXD_IUNKNOWN
    HRESULT STDMETHODCALLTYPE Update() override;
    HRESULT STDMETHODCALLTYPE SetBufferCount(DWORD count) override;
    HRESULT STDMETHODCALLTYPE SetDither(WINBOOL dither) override;
    HRESULT STDMETHODCALLTYPE SetShades(DWORD shades) override;
    HRESULT STDMETHODCALLTYPE SetQuality(D3DRMRENDERQUALITY quality) override;
    HRESULT STDMETHODCALLTYPE SetTextureQuality(D3DRMTEXTUREQUALITY quality) override;
    IDirect3D2* d3d;                  // as passed to CreateDeviceFromD3D (not held)
    IDirect3DDevice2* device;         // likewise
    DWORD bufferCount = 0, shades = 0, quality = 0, textureQuality = 0;
    WINBOOL dither = FALSE;
    int updates = 0;
};

class RMFrame2Double final : public IDirect3DRMFrame2Stub, public DxObject {
public:
    RMFrame2Double(DxDoubles& owner, IDirect3DRMFrame* parent);
    DXD_IUNKNOWN
    HRESULT STDMETHODCALLTYPE SetPosition(IDirect3DRMFrame* reference, D3DVALUE x, D3DVALUE y, D3DVALUE z) override;
    IDirect3DRMFrame* parent;  // not held
    struct Position {
        IDirect3DRMFrame* reference;
        D3DVALUE x, y, z;
    };
    std::vector<Position> positions;
};

class RMViewportDouble final : public IDirect3DRMViewportStub, public DxObject {
public:
    RMViewportDouble(DxDoubles& owner, IDirect3DRMDevice* device, IDirect3DRMFrame* camera, DWORD x, DWORD y,
                     DWORD width, DWORD height);
    DXD_IUNKNOWN
    HRESULT STDMETHODCALLTYPE SetBack(D3DVALUE back) override;
    HRESULT STDMETHODCALLTYPE Clear() override;
    HRESULT STDMETHODCALLTYPE ForceUpdate(DWORD x1, DWORD y1, DWORD x2, DWORD y2) override;
    HRESULT STDMETHODCALLTYPE GetDirect3DViewport(IDirect3DViewport** out) override;
    IDirect3DRMDevice* device;   // not held
    IDirect3DRMFrame* camera;    // not held
    RECT area;                   // x, y, x + width, y + height
    D3DVALUE back = 0;
    int clears = 0;
    std::vector<RECT> forcedUpdates;
    ViewportDouble* immediate;   // held until this viewport is released to zero

protected:
    void LastReleased() override;
};

// Stand-in exports (signatures of "ddraw.dll" and "d3drm.dll").
HRESULT WINAPI StandInDirectDrawCreate(GUID* driver, IDirectDraw** out, IUnknown* outer);
HRESULT WINAPI StandInDirect3DRMCreate(IDirect3DRM** out);
HRESULT WINAPI StandInDirectDrawEnumerateA(LPDDENUMCALLBACKA callback, void* context);
D3DVALUE WINAPI StandInD3DRMColorGetRed(D3DCOLOR color);
D3DVALUE WINAPI StandInD3DRMColorGetGreen(D3DCOLOR color);
D3DVALUE WINAPI StandInD3DRMColorGetBlue(D3DCOLOR color);
D3DCOLOR WINAPI StandInD3DRMCreateColorRGB(D3DVALUE red, D3DVALUE green, D3DVALUE blue);

// "{881949A1-D6F3-11D0-89AB-00A0C9054129}", or "IID_IDirect3DMMXDevice" for the
// identifiers the system uses (Named) .
std::string GuidText(const GUID& guid);
std::string GuidName(const GUID& guid);

constexpr int kAlways = -1;

class DxDoubles {
public:
    DxDoubles();
    ~DxDoubles();
    DxDoubles(const DxDoubles&) = delete;
    DxDoubles& operator=(const DxDoubles&) = delete;

    static DxDoubles* current;  // the instance the stand-in exports create into

    // Failure injection (see the comment at the top).
    void Fail(const std::string& key, HRESULT hr, int times = kAlways, int after = 0,
              const std::string& argsContaining = "");
    void FailOnce(const std::string& key, HRESULT hr) { Fail(key, hr, 1); }
    void Fail(const DxObject* object, const std::string& method, HRESULT hr, int times = kAlways);
    HRESULT Decide(const std::string& kindKey, const std::string& objectKey, const std::string& args);

    // Points g_deviceState at the stand-ins: both library handles become the
    // program's own module handle, all seven entry points stand-ins. The
    // destructor then zero-fills g_deviceState, which would otherwise point at
    // deleted doubles.
    void BindDeviceState();

    // Objects made directly by a test, with one reference, unlogged.
    DirectDrawDouble* NewDirectDraw();
    SurfaceDouble* NewSurface(const DDSURFACEDESC* desc = nullptr);
    ClipperDouble* NewClipper();
    PaletteDouble* NewPalette(DWORD flags = DDPCAPS_8BIT, const PALETTEENTRY* entries = nullptr);
    Direct3D2Double* NewDirect3D2();
    Device2Double* NewDevice2(const GUID& guid = IID_IDirect3DRGBDevice, IDirectDrawSurface* target = nullptr);
    MaterialDouble* NewMaterial();
    RMDouble* NewRM();
    RM2Double* NewRM2();
    RMDevice2Double* NewRMDevice2();
    RMFrame2Double* NewRMFrame2(IDirect3DRMFrame* parent = nullptr);
    RMViewportDouble* NewRMViewport();

    // Every object at zero references except those in `held` (interface
    // pointers), which must still hold at least one; no over-release, no call
    // on a released object, no open DC. Unreleased() describes what is wrong
    // ("" when all is well); ExpectAllReleased() adds a test failure.
    std::string Unreleased(std::initializer_list<const void*> held = {}) const;
    void ExpectAllReleased(std::initializer_list<const void*> held = {}) const;

    // The double behind an interface pointer, or null.
    DxObject* Find(const void* iface) const;
    std::string NameOf(const void* iface) const;  // "IDirectDrawSurface#2", "null", or "0x..."

    CallLog log;
    DxConfig config;
    std::vector<std::string> errors;

    std::vector<DirectDrawDouble*> directDraws;
    std::vector<SurfaceDouble*> surfaces;
    std::vector<ClipperDouble*> clippers;
    std::vector<PaletteDouble*> palettes;
    std::vector<Direct3D2Double*> direct3D2s;
    std::vector<Device2Double*> devices;
    std::vector<ViewportDouble*> viewports;
    std::vector<MaterialDouble*> materials;
    std::vector<TextureDouble*> textures;
    std::vector<RMDouble*> rms;
    std::vector<RM2Double*> rm2s;
    std::vector<RMDevice2Double*> rmDevices;
    std::vector<RMFrame2Double*> frames;
    std::vector<RMViewportDouble*> rmViewports;

    // Internal: registration and numbering.
    int Register(DxObject* object);
    template <class T>
    T* Keep(T* object, std::vector<T*>& list) {
        list.push_back(object);
        return object;
    }

private:
    struct Rule {
        std::string key;
        HRESULT hr;
        int times;
        int after;
        std::string argsContaining;
    };
    std::vector<Rule> rules_;
    std::vector<std::unique_ptr<DxObject>> objects_;
    std::unique_ptr<AfxRecorder> recorder_;
    DxDoubles* previous_;
    bool boundDeviceState_ = false;
};

}  // namespace dxd
