#include "tests/doubles/dx_doubles.h"

#include "framework/afx_hooks.h"
#include "gfx/device_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

// The five IDirect3DRMFrame2 methods that the MinGW-w64 headers declare
// without "= 0" come from vorl_retained (retained/interface_ids.cpp).

namespace dxd {

std::string Format(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

namespace {

std::string Hex(unsigned long value) { return Format("0x%lx", value); }

std::string RectText(const RECT* r) {
    if (!r) return "null";
    return Format("{%ld,%ld,%ld,%ld}", long(r->left), long(r->top), long(r->right), long(r->bottom));
}

std::string DescText(const DDSURFACEDESC* d) {
    if (!d) return "null";
    return Format("dwSize=%lu, dwFlags=0x%lx, caps=0x%lx, width=%lu, height=%lu, zdepth=%lu",
                  (unsigned long)d->dwSize, (unsigned long)d->dwFlags, (unsigned long)d->ddsCaps.dwCaps,
                  (unsigned long)d->dwWidth, (unsigned long)d->dwHeight, (unsigned long)d->dwZBufferBitDepth);
}

CallLog* g_recordLog = nullptr;

void RecordDebug(const char* text) {
    if (g_recordLog) g_recordLog->Add({LogEntry::Debug, "", "", text ? text : "", 0});
}

int RecordBox(const char* text, unsigned type, unsigned) {
    if (g_recordLog) g_recordLog->Add({LogEntry::Box, "", "", text ? text : "", long(type)});
    return AfxRecorder::boxAnswer;
}

void RecordExit(int code) {
    if (g_recordLog) g_recordLog->Add({LogEntry::Exit, "", "", "", code});
    throw ExitCalled{code};
}

struct KnownGuid {
    const GUID* guid;
    const char* name;
};
const KnownGuid kKnownGuids[] = {
    {&IID_IDirect3D2, "IID_IDirect3D2"},
    {&IID_IDirect3DRM2, "IID_IDirect3DRM2"},
    {&IID_IDirect3DRM, "IID_IDirect3DRM"},
    {&IID_IDirect3DTexture2, "IID_IDirect3DTexture2"},
    {&IID_IDirect3DViewport2, "IID_IDirect3DViewport2"},
    {&IID_IDirect3DViewport, "IID_IDirect3DViewport"},
    {&IID_IDirect3DMMXDevice, "IID_IDirect3DMMXDevice"},
    {&IID_IDirect3DRGBDevice, "IID_IDirect3DRGBDevice"},
    {&IID_IDirect3DRampDevice, "IID_IDirect3DRampDevice"},
    {&IID_IDirect3DHALDevice, "IID_IDirect3DHALDevice"},
};

// Failing codes hand back no object.
bool HandsBack(HRESULT hr) { return hr >= 0; }

}  // namespace

// ---------------------------------------------------------------- log

std::string LogEntry::Text() const {
    switch (kind) {
        case Debug: return "debug:" + args;
        case Box: return "box:" + args;
        case Exit: return "exit:" + std::to_string(result);
        case Call: break;
    }
    return (object.empty() ? method : object + "." + method) + "(" + args + ")";
}

std::vector<std::string> CallLog::Texts() const {
    std::vector<std::string> texts;
    for (const auto& e : entries) texts.push_back(e.Text());
    return texts;
}

std::vector<std::string> CallLog::DebugLines() const {
    std::vector<std::string> lines;
    for (const auto& e : entries)
        if (e.kind == LogEntry::Debug) lines.push_back(e.args);
    return lines;
}

std::vector<std::string> CallLog::MessageBoxes() const {
    std::vector<std::string> boxes;
    for (const auto& e : entries)
        if (e.kind == LogEntry::Box) boxes.push_back(e.args);
    return boxes;
}

std::vector<std::string> CallLog::Released() const {
    std::vector<std::string> names;
    for (const auto& e : entries)
        if (e.kind == LogEntry::Call && e.method == "Release" && e.args.empty()) names.push_back(e.object);
    return names;
}

std::vector<std::string> CallLog::Matching(const std::string& part) const {
    std::vector<std::string> texts;
    for (const auto& e : entries) {
        std::string t = e.Text();
        if (t.find(part) != std::string::npos) texts.push_back(t);
    }
    return texts;
}

int CallLog::Count(const std::string& text) const {
    int n = 0;
    for (const auto& e : entries)
        if (e.Text() == text) ++n;
    return n;
}

std::string CallLog::Dump() const {
    std::string all;
    for (const auto& e : entries) {
        all += e.Text();
        if (e.kind == LogEntry::Call && e.result != 0 && e.method != "AddRef" && e.method != "Release")
            all += " -> " + Hex((unsigned long)e.result);
        all += "\n";
    }
    return all;
}

// ---------------------------------------------------------------- hooks

int AfxRecorder::boxAnswer = IDOK;

AfxRecorder::AfxRecorder(CallLog& log) {
    saved_[0] = reinterpret_cast<void*>(afx_hooks::debugOutput);
    saved_[1] = reinterpret_cast<void*>(afx_hooks::messageBox);
    saved_[2] = reinterpret_cast<void*>(afx_hooks::exitProcess);
    savedLog_ = g_recordLog;
    g_recordLog = &log;
    afx_hooks::debugOutput = RecordDebug;
    afx_hooks::messageBox = RecordBox;
    afx_hooks::exitProcess = RecordExit;
}

AfxRecorder::~AfxRecorder() {
    afx_hooks::debugOutput = reinterpret_cast<afx_hooks::DebugOutputFn>(saved_[0]);
    afx_hooks::messageBox = reinterpret_cast<afx_hooks::MessageBoxFn>(saved_[1]);
    afx_hooks::exitProcess = reinterpret_cast<afx_hooks::ExitFn>(saved_[2]);
    g_recordLog = savedLog_;
}

// ---------------------------------------------------------------- config

namespace {
// The device description of DirectX 5; the headers' D3DDEVICEDESC is larger.
constexpr DWORD kDeviceDescV5Bytes = 204;
static_assert(sizeof(D3DDEVICEDESC) > kDeviceDescV5Bytes, "the headers' description is the later layout");
}  // namespace

DeviceInfo HardwareDevice(const GUID& guid, const std::string& name, DWORD colorModel, DWORD zDepths) {
    DeviceInfo d{};
    d.guid = guid;
    d.description = name + " description";
    d.name = name;
    d.hardware.dwSize = d.software.dwSize = kDeviceDescV5Bytes;
    d.hardware.dcmColorModel = D3DCOLORMODEL(colorModel);
    d.hardware.dwDeviceZBufferBitDepth = zDepths;
    d.hardware.dwDeviceRenderBitDepth = DDBD_16 | DDBD_24 | DDBD_32;
    return d;
}

DeviceInfo SoftwareDevice(const GUID& guid, const std::string& name, DWORD colorModel) {
    DeviceInfo d{};
    d.guid = guid;
    d.description = name + " description";
    d.name = name;
    d.hardware.dwSize = d.software.dwSize = kDeviceDescV5Bytes;
    d.software.dcmColorModel = D3DCOLORMODEL(colorModel);
    d.software.dwDeviceZBufferBitDepth = DDBD_16 | DDBD_24 | DDBD_32;
    d.software.dwDeviceRenderBitDepth = DDBD_16 | DDBD_24 | DDBD_32;
    return d;
}

DDSURFACEDESC TextureFormat(DWORD bits, DWORD r, DWORD g, DWORD b, DWORD a) {
    DDSURFACEDESC d{};
    d.dwSize = sizeof d;
    d.dwFlags = DDSD_PIXELFORMAT;
    d.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    d.ddpfPixelFormat.dwRGBBitCount = bits;
    if (bits > 8) {
        d.ddpfPixelFormat.dwFlags = DDPF_RGB | (a ? DDPF_ALPHAPIXELS : 0);
        d.ddpfPixelFormat.dwRBitMask = r;
        d.ddpfPixelFormat.dwGBitMask = g;
        d.ddpfPixelFormat.dwBBitMask = b;
        d.ddpfPixelFormat.dwRGBAlphaBitMask = a;
    } else {
        d.ddpfPixelFormat.dwFlags = DDPF_RGB | (bits == 8 ? DDPF_PALETTEINDEXED8 : DDPF_PALETTEINDEXED4);
    }
    return d;
}

// Defaults as Wine's DirectX reports them: 3D and texture capabilities, a
// software RGB device then a hardware RGB device with 16/24-bit Z, 16- and
// 32-bit texture formats, a 32-bit display.
DxConfig::DxConfig() : driverCaps{}, emulationCaps{}, displayFormat{} {
    driverCaps.dwSize = emulationCaps.dwSize = sizeof(DDCAPS_DX7);
    driverCaps.dwCaps = emulationCaps.dwCaps = DDCAPS_3D | DDCAPS_BLT | DDCAPS_BLTSTRETCH;
    driverCaps.ddsCaps.dwCaps = emulationCaps.ddsCaps.dwCaps =
        DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE | DDSCAPS_ZBUFFER | DDSCAPS_OFFSCREENPLAIN | DDSCAPS_PRIMARYSURFACE;
    devices.push_back(SoftwareDevice(IID_IDirect3DRGBDevice, "Direct3D HEL", D3DCOLOR_RGB));
    devices.push_back(HardwareDevice(IID_IDirect3DHALDevice, "Direct3D HAL", D3DCOLOR_RGB, DDBD_16 | DDBD_24));
    textureFormats = {
        TextureFormat(16, 0x7C00, 0x03E0, 0x001F),         TextureFormat(16, 0x7C00, 0x03E0, 0x001F, 0x8000),
        TextureFormat(16, 0x0F00, 0x00F0, 0x000F, 0xF000), TextureFormat(16, 0xF800, 0x07E0, 0x001F),
        TextureFormat(32, 0xFF0000, 0xFF00, 0xFF),         TextureFormat(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000),
    };
    displayFormat = TextureFormat(32, 0xFF0000, 0xFF00, 0xFF).ddpfPixelFormat;
}

std::string GuidText(const GUID& g) {
    return Format("{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", (unsigned long)g.Data1, g.Data2, g.Data3,
                  g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
}

std::string GuidName(const GUID& g) {
    for (const auto& k : kKnownGuids)
        if (IsEqualGUID(*k.guid, g)) return k.name;
    return GuidText(g);
}

// ---------------------------------------------------------------- registry

DxDoubles* DxDoubles::current = nullptr;

DxDoubles::DxDoubles() : recorder_(new AfxRecorder(log)), previous_(current) { current = this; }

DxDoubles::~DxDoubles() {
    if (boundDeviceState_) std::memset(&g_deviceState, 0, sizeof g_deviceState);
    current = previous_;
}

int DxDoubles::Register(DxObject* object) {
    objects_.emplace_back(object);
    int n = 0;
    for (const auto& o : objects_)
        if (std::strcmp(o->kind, object->kind) == 0) ++n;
    return n;
}

DxObject* DxDoubles::Find(const void* iface) const {
    if (!iface) return nullptr;
    for (const auto& o : objects_)
        if (o->iface == iface) return o.get();
    return nullptr;
}

std::string DxDoubles::NameOf(const void* iface) const {
    if (!iface) return "null";
    if (DxObject* o = Find(iface)) return o->Name();
    return Format("%p", iface);
}

void DxDoubles::Fail(const std::string& key, HRESULT hr, int times, int after, const std::string& argsContaining) {
    rules_.push_back({key, hr, times, after, argsContaining});
}

void DxDoubles::Fail(const DxObject* object, const std::string& method, HRESULT hr, int times) {
    Fail(object->Name() + "::" + method, hr, times);
}

HRESULT DxDoubles::Decide(const std::string& kindKey, const std::string& objectKey, const std::string& args) {
    for (auto& r : rules_) {
        if (r.times == 0) continue;
        if (r.key != kindKey && r.key != objectKey) continue;
        if (!r.argsContaining.empty() && args.find(r.argsContaining) == std::string::npos) continue;
        if (r.after > 0) {
            --r.after;
            continue;
        }
        if (r.times > 0) --r.times;
        return r.hr;
    }
    return S_OK;
}

void DxDoubles::BindDeviceState() {
    HMODULE self = GetModuleHandleA(nullptr);
    g_deviceState.ddrawLibrary = self;
    g_deviceState.d3drmLibrary = self;
    g_deviceState.pfnDirect3DRMCreate = StandInDirect3DRMCreate;
    g_deviceState.pfnD3DRMColorGetGreen = StandInD3DRMColorGetGreen;
    g_deviceState.pfnD3DRMColorGetRed = StandInD3DRMColorGetRed;
    g_deviceState.pfnD3DRMColorGetBlue = StandInD3DRMColorGetBlue;
    g_deviceState.pfnD3DRMCreateColorRGB = StandInD3DRMCreateColorRGB;
    g_deviceState.pfnDirectDrawCreate = StandInDirectDrawCreate;
    g_deviceState.pfnDirectDrawEnumerateA = StandInDirectDrawEnumerateA;
    boundDeviceState_ = true;
}

DirectDrawDouble* DxDoubles::NewDirectDraw() { return Keep(new DirectDrawDouble(*this), directDraws); }
SurfaceDouble* DxDoubles::NewSurface(const DDSURFACEDESC* desc) { return Keep(new SurfaceDouble(*this, desc), surfaces); }
ClipperDouble* DxDoubles::NewClipper() { return Keep(new ClipperDouble(*this), clippers); }
PaletteDouble* DxDoubles::NewPalette(DWORD flags, const PALETTEENTRY* entries) {
    return Keep(new PaletteDouble(*this, flags, entries), palettes);
}
Direct3D2Double* DxDoubles::NewDirect3D2() { return Keep(new Direct3D2Double(*this), direct3D2s); }
Device2Double* DxDoubles::NewDevice2(const GUID& guid, IDirectDrawSurface* target) {
    return Keep(new Device2Double(*this, guid, target), devices);
}
MaterialDouble* DxDoubles::NewMaterial() { return Keep(new MaterialDouble(*this), materials); }
RMDouble* DxDoubles::NewRM() { return Keep(new RMDouble(*this), rms); }
RM2Double* DxDoubles::NewRM2() { return Keep(new RM2Double(*this), rm2s); }
RMDevice2Double* DxDoubles::NewRMDevice2() { return Keep(new RMDevice2Double(*this, nullptr, nullptr), rmDevices); }
RMFrame2Double* DxDoubles::NewRMFrame2(IDirect3DRMFrame* parent) {
    return Keep(new RMFrame2Double(*this, parent), frames);
}
RMViewportDouble* DxDoubles::NewRMViewport() {
    return Keep(new RMViewportDouble(*this, nullptr, nullptr, 0, 0, 0, 0), rmViewports);
}

std::string DxDoubles::Unreleased(std::initializer_list<const void*> held) const {
    std::string problems;
    for (const auto& o : objects_) {
        bool expectHeld = std::find(held.begin(), held.end(), o->iface) != held.end();
        if (expectHeld && o->refs == 0) problems += o->Name() + " was released but should be held\n";
        if (!expectHeld && o->refs != 0) problems += o->Name() + " still holds " + std::to_string(o->refs) + " reference(s)\n";
        if (auto* s = dynamic_cast<SurfaceDouble*>(o.get()); s && s->openDCs)
            problems += o->Name() + " has a device context open\n";
    }
    for (const auto& e : errors) problems += e + "\n";
    return problems;
}

void DxDoubles::ExpectAllReleased(std::initializer_list<const void*> held) const {
    std::string problems = Unreleased(held);
    if (!problems.empty()) ADD_FAILURE() << problems << "--- log:\n" << log.Dump();
}

// ---------------------------------------------------------------- common part

DxObject::DxObject(DxDoubles& owner, const char* kind_, const void* iface_)
    : kind(kind_), id(0), iface(iface_), owner_(owner) {
    id = owner.Register(this);
}

std::string DxObject::Name() const { return std::string(kind) + "#" + std::to_string(id); }

HRESULT DxObject::Enter(const char* method, const std::string& args) {
    if (refs <= 0) owner_.errors.push_back(Name() + "." + method + " called after its last Release");
    HRESULT hr = owner_.Decide(std::string(kind) + "::" + method, Name() + "::" + method, args);
    owner_.log.Add({LogEntry::Call, Name(), method, args, long(hr)});
    return hr;
}

void DxObject::Unimplemented(const char* method) { Enter(method, "unimplemented"); }

ULONG DxObject::DoAddRef() {
    if (refs <= 0) owner_.errors.push_back(Name() + ".AddRef called after its last Release");
    ++addRefs;
    ++refs;
    owner_.log.Add({LogEntry::Call, Name(), "AddRef", "", refs});
    return ULONG(refs);
}

void DxObject::TakeReference() {
    if (refs < 0) refs = 0;
    ++addRefs;
    ++refs;
    owner_.log.Add({LogEntry::Call, Name(), "AddRef", "", refs});
}

ULONG DxObject::DoRelease() { return ReleaseFrom(""); }

void DxObject::ReleaseHeld(DxObject& holder) { ReleaseFrom("held by " + holder.Name()); }

ULONG DxObject::ReleaseFrom(const std::string& note) {
    ++releases;
    if (refs <= 0) {
        owner_.errors.push_back(Name() + " released more often than referenced");
        owner_.log.Add({LogEntry::Call, Name(), "Release", note, 0});
        return 0;
    }
    --refs;
    owner_.log.Add({LogEntry::Call, Name(), "Release", note, refs});
    if (refs == 0) LastReleased();
    return ULONG(refs);
}

// QueryInterface for interfaces that answer no other: logs, then E_NOINTERFACE.
#define DXD_NO_INTERFACES(Class)                                          \
    HRESULT STDMETHODCALLTYPE Class::QueryInterface(REFIID iid, void** out) { \
        HRESULT hr = Enter("QueryInterface", GuidName(iid));              \
        if (out) *out = nullptr;                                          \
        return hr != S_OK ? hr : E_NOINTERFACE;                           \
    }

// ---------------------------------------------------------------- DirectDraw

DirectDrawDouble::DirectDrawDouble(DxDoubles& owner)
    : DxObject(owner, "IDirectDraw", static_cast<IDirectDraw*>(this)) {}

HRESULT STDMETHODCALLTYPE DirectDrawDouble::QueryInterface(REFIID iid, void** out) {
    HRESULT hr = Enter("QueryInterface", GuidName(iid));
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!HandsBack(hr)) return hr;
    if (!IsEqualGUID(iid, IID_IDirect3D2)) return E_NOINTERFACE;
    if (!direct3D2) {
        direct3D2 = owner_.Keep(new Direct3D2Double(owner_), owner_.direct3D2s);
    } else {
        direct3D2->TakeReference();
    }
    *out = static_cast<IDirect3D2*>(direct3D2);
    return hr;
}

namespace {

// The capability record sizes DirectDraw knows: DirectX 3, 5, and 6 and 7 (alike).
bool IsCapsSize(DWORD size) {
    return size == sizeof(DDCAPS_DX3) || size == sizeof(DDCAPS_DX5) || size == sizeof(DDCAPS_DX7);
}

// Copies the first caller.dwSize bytes of `record`, keeping the caller's dwSize.
void CopyCaps(DDCAPS* caller, DDCAPS_DX7 record) {
    record.ddsOldCaps.dwCaps = record.ddsCaps.dwCaps;
    const DWORD size = caller->dwSize;
    std::memcpy(caller, &record, size);
    caller->dwSize = size;
}

}  // namespace

HRESULT STDMETHODCALLTYPE DirectDrawDouble::GetCaps(LPDDCAPS driver, LPDDCAPS hel) {
    capsSizes.push_back(driver ? driver->dwSize : 0);
    capsSizes.push_back(hel ? hel->dwSize : 0);
    HRESULT hr = Enter("GetCaps", Format("driver.dwSize=%lu, hel.dwSize=%lu", (unsigned long)(driver ? driver->dwSize : 0),
                                         (unsigned long)(hel ? hel->dwSize : 0)));
    if (hr != S_OK) return hr;
    // DirectDraw refuses a call with neither record or with a size it does
    // not know, and then writes nothing.
    if ((!driver && !hel) || (driver && !IsCapsSize(driver->dwSize)) || (hel && !IsCapsSize(hel->dwSize))) {
        return DDERR_INVALIDPARAMS;
    }
    if (driver) CopyCaps(driver, owner_.config.driverCaps);
    if (hel) CopyCaps(hel, owner_.config.emulationCaps);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DirectDrawDouble::SetCooperativeLevel(HWND window, DWORD flags) {
    cooperativeWindow = window;
    cooperativeFlags = flags;
    return Enter("SetCooperativeLevel", Format("hwnd=%p, flags=0x%lx", (void*)window, (unsigned long)flags));
}

HRESULT STDMETHODCALLTYPE DirectDrawDouble::CreateSurface(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* out,
                                                          IUnknown* outer) {
    HRESULT hr = Enter("CreateSurface", DescText(desc) + ", outer=" + owner_.NameOf(outer));
    if (!out) return E_POINTER;
    *out = nullptr;
    // DirectDraw takes the surface description of its own size only, and no
    // surface without width or height.
    if (hr == S_OK && (!desc || desc->dwSize != sizeof(DDSURFACEDESC))) return DDERR_INVALIDPARAMS;
    if (hr == S_OK && (((desc->dwFlags & DDSD_WIDTH) && desc->dwWidth == 0) ||
                       ((desc->dwFlags & DDSD_HEIGHT) && desc->dwHeight == 0))) {
        return DDERR_INVALIDPARAMS;
    }
    if (!HandsBack(hr)) return hr;
    *out = owner_.NewSurface(desc);
    return hr;
}

HRESULT STDMETHODCALLTYPE DirectDrawDouble::CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* out, IUnknown* outer) {
    HRESULT hr = Enter("CreateClipper", Format("flags=0x%lx, outer=", (unsigned long)flags) + owner_.NameOf(outer));
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!HandsBack(hr)) return hr;
    ClipperDouble* clipper = owner_.NewClipper();
    clipper->createFlags = flags;
    *out = clipper;
    return hr;
}

HRESULT STDMETHODCALLTYPE DirectDrawDouble::CreatePalette(DWORD flags, LPPALETTEENTRY entries,
                                                          LPDIRECTDRAWPALETTE* out, IUnknown* outer) {
    HRESULT hr = Enter("CreatePalette", Format("flags=0x%lx, entries=%s, outer=", (unsigned long)flags,
                                               entries ? "set" : "null") +
                                            owner_.NameOf(outer));
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!HandsBack(hr)) return hr;
    *out = owner_.NewPalette(flags, entries);
    return hr;
}

// ---------------------------------------------------------------- surface

SurfaceDouble::SurfaceDouble(DxDoubles& owner, const DDSURFACEDESC* desc)
    : DxObject(owner, "IDirectDrawSurface", static_cast<IDirectDrawSurface*>(this)), created{}, reported{}, extent{} {
    if (desc) created = *desc;
    reported = created;
    reported.dwSize = sizeof reported;
    if (!(reported.dwFlags & DDSD_WIDTH) || !(reported.dwFlags & DDSD_HEIGHT)) {
        const LONG left = afx_hooks::systemMetric(SM_XVIRTUALSCREEN), top = afx_hooks::systemMetric(SM_YVIRTUALSCREEN);
        reported.dwWidth = DWORD(afx_hooks::systemMetric(SM_CXVIRTUALSCREEN));
        reported.dwHeight = DWORD(afx_hooks::systemMetric(SM_CYVIRTUALSCREEN));
        extent = {left, top, LONG(left + reported.dwWidth), LONG(top + reported.dwHeight)};
    } else {
        extent = {0, 0, LONG(reported.dwWidth), LONG(reported.dwHeight)};
    }
    if (!(reported.dwFlags & DDSD_PIXELFORMAT)) reported.ddpfPixelFormat = owner.config.displayFormat;
    reported.dwFlags |= DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
}

SurfaceDouble::~SurfaceDouble() {
    if (dc_) {
        SelectObject(dc_, oldBitmap_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
}

HRESULT STDMETHODCALLTYPE SurfaceDouble::QueryInterface(REFIID iid, void** out) {
    HRESULT hr = Enter("QueryInterface", GuidName(iid));
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!HandsBack(hr)) return hr;
    if (!IsEqualGUID(iid, IID_IDirect3DTexture2)) return E_NOINTERFACE;
    if (!texture) {
        texture = owner_.Keep(new TextureDouble(owner_, this), owner_.textures);
    } else {
        if (texture->refs == 0) AddRef();  // a texture interface holds its surface
        texture->TakeReference();
    }
    *out = static_cast<IDirect3DTexture2*>(texture);
    return hr;
}

HRESULT STDMETHODCALLTYPE SurfaceDouble::Blt(LPRECT dest, LPDIRECTDRAWSURFACE source, LPRECT sourceRect, DWORD flags,
                                             LPDDBLTFX fx) {
    BltCall call{};
    call.hasDest = dest != nullptr;
    if (dest) call.dest = *dest;
    call.source = source;
    call.hasSourceRect = sourceRect != nullptr;
    if (sourceRect) call.sourceRect = *sourceRect;
    call.flags = flags;
    call.hasFx = fx != nullptr;
    blts.push_back(call);
    HRESULT hr = Enter("Blt", "dest=" + RectText(dest) + ", src=" + owner_.NameOf(source) + ", srcRect=" +
                                  RectText(sourceRect) + ", flags=" + Hex(flags) + ", fx=" + (fx ? "set" : "null"));
    if (hr != S_OK) return hr;
    const auto inside = [](const RECT& r, const RECT& extent) {
        return r.left < r.right && r.top < r.bottom && r.left >= extent.left && r.top >= extent.top &&
               r.right <= extent.right && r.bottom <= extent.bottom;
    };
    if (dest && !inside(*dest, extent)) return DDERR_INVALIDRECT;
    auto* from = dynamic_cast<SurfaceDouble*>(owner_.Find(source));
    if (from && sourceRect && !inside(*sourceRect, from->extent)) return DDERR_INVALIDRECT;
    return hr;
}

HRESULT STDMETHODCALLTYPE SurfaceDouble::Flip(LPDIRECTDRAWSURFACE target, DWORD flags) {
    flips.push_back(target);
    return Enter("Flip", owner_.NameOf(target) + ", flags=" + Hex(flags));
}

HRESULT STDMETHODCALLTYPE SurfaceDouble::AddAttachedSurface(LPDIRECTDRAWSURFACE surface) {
    HRESULT hr = Enter("AddAttachedSurface", owner_.NameOf(surface));
    if (hr == S_OK) attached.push_back(surface);
    return hr;
}

HRESULT STDMETHODCALLTYPE SurfaceDouble::GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* out) {
    HRESULT hr = Enter("GetAttachedSurface", Format("caps=0x%lx", (unsigned long)(caps ? caps->dwCaps : 0)));
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!HandsBack(hr)) return hr;
    if (!caps) return DDERR_INVALIDPARAMS;
    for (IDirectDrawSurface* a : attached) {
        auto* surface = dynamic_cast<SurfaceDouble*>(owner_.Find(a));
        if (!surface || (surface->reported.ddsCaps.dwCaps & caps->dwCaps) != caps->dwCaps) continue;
        surface->AddRef();
        *out = a;
        return hr;
    }
    return hr == S_OK ? DDERR_NOTFOUND : hr;
}

HRESULT STDMETHODCALLTYPE SurfaceDouble::GetSurfaceDesc(LPDDSURFACEDESC desc) {
    HRESULT hr = Enter("GetSurfaceDesc", Format("dwSize=%lu", (unsigned long)(desc ? desc->dwSize : 0)));
    if (hr != S_OK) return hr;
    // As DirectDraw: only the record of its own size is filled.
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
    *desc = reported;
    desc->dwSize = sizeof(DDSURFACEDESC);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE SurfaceDouble::SetPalette(LPDIRECTDRAWPALETTE p) {
    HRESULT hr = Enter("SetPalette", owner_.NameOf(p));
    if (hr == S_OK) palette = p;
    return hr;
}

HRESULT STDMETHODCALLTYPE SurfaceDouble::SetClipper(LPDIRECTDRAWCLIPPER c) {
    HRESULT hr = Enter("SetClipper", owner_.NameOf(c));
    if (hr == S_OK) clipper = c;
    return hr;
}

HRESULT STDMETHODCALLTYPE SurfaceDouble::IsLost() { return Enter("IsLost"); }

HRESULT STDMETHODCALLTYPE SurfaceDouble::Restore() {
    ++restores;
    return Enter("Restore");
}

HRESULT STDMETHODCALLTYPE SurfaceDouble::GetDC(HDC* dc) {
    HRESULT hr = Enter("GetDC");
    if (!dc) return E_POINTER;
    *dc = nullptr;
    if (hr != S_OK) return hr;
    if (openDCs) return DDERR_DCALREADYCREATED;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = LONG(std::max<DWORD>(reported.dwWidth, 1));
    info.bmiHeader.biHeight = -LONG(std::max<DWORD>(reported.dwHeight, 1));
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    oldBitmap_ = SelectObject(dc_, bitmap_);
    ++openDCs;
    *dc = dc_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE SurfaceDouble::ReleaseDC(HDC dc) {
    HRESULT hr = Enter("ReleaseDC");
    if (hr != S_OK) return hr;
    if (!openDCs || dc != dc_) return DDERR_NODC;
    SelectObject(dc_, oldBitmap_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    --openDCs;
    return S_OK;
}

// ---------------------------------------------------------------- clipper, palette

ClipperDouble::ClipperDouble(DxDoubles& owner)
    : DxObject(owner, "IDirectDrawClipper", static_cast<IDirectDrawClipper*>(this)) {}
DXD_NO_INTERFACES(ClipperDouble)

HRESULT STDMETHODCALLTYPE ClipperDouble::SetHWnd(DWORD flags, HWND w) {
    HRESULT hr = Enter("SetHWnd", Format("flags=0x%lx, hwnd=%p", (unsigned long)flags, (void*)w));
    if (hr == S_OK) {
        hwndFlags = flags;
        window = w;
    }
    return hr;
}

PaletteDouble::PaletteDouble(DxDoubles& owner, DWORD flags_, const PALETTEENTRY* table)
    : DxObject(owner, "IDirectDrawPalette", static_cast<IDirectDrawPalette*>(this)), flags(flags_) {
    size_t count = (flags & DDPCAPS_8BIT) ? 256 : (flags & DDPCAPS_4BIT) ? 16 : (flags & DDPCAPS_2BIT) ? 4
                 : (flags & DDPCAPS_1BIT) ? 2 : 256;
    entries.assign(count, PALETTEENTRY{});
    if (table) std::copy(table, table + count, entries.begin());
}
DXD_NO_INTERFACES(PaletteDouble)

// ---------------------------------------------------------------- Direct3D2, device

Direct3D2Double::Direct3D2Double(DxDoubles& owner)
    : DxObject(owner, "IDirect3D2", static_cast<IDirect3D2*>(this)) {}
DXD_NO_INTERFACES(Direct3D2Double)

HRESULT STDMETHODCALLTYPE Direct3D2Double::EnumDevices(LPD3DENUMDEVICESCALLBACK callback, void* context) {
    HRESULT hr = Enter("EnumDevices");
    if (hr != S_OK) return hr;
    for (auto& d : owner_.config.devices) {
        GUID guid = d.guid;
        std::string description = d.description, name = d.name;
        // The records as DirectX 5 hands them over: dwSize bytes, and whatever
        // lies past them in the headers' larger layout is not to be read.
        D3DDEVICEDESC hardware = d.hardware, software = d.software;
        std::memset(reinterpret_cast<char*>(&hardware) + kDeviceDescV5Bytes, 0xCD, sizeof hardware - kDeviceDescV5Bytes);
        std::memset(reinterpret_cast<char*>(&software) + kDeviceDescV5Bytes, 0xCD, sizeof software - kDeviceDescV5Bytes);
        HRESULT answer = callback(&guid, &description[0], &name[0], &hardware, &software, context);
        callbackAnswers.push_back(answer);
        if (answer != D3DENUMRET_OK) break;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Direct3D2Double::CreateDevice(REFCLSID guid, IDirectDrawSurface* surface,
                                                        IDirect3DDevice2** out) {
    HRESULT hr = Enter("CreateDevice", GuidName(guid) + ", " + owner_.NameOf(surface));
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!HandsBack(hr)) return hr;
    *out = owner_.NewDevice2(guid, surface);
    return hr;
}

HRESULT STDMETHODCALLTYPE Direct3D2Double::CreateMaterial(IDirect3DMaterial2** out, IUnknown* outer) {
    HRESULT hr = Enter("CreateMaterial", "outer=" + owner_.NameOf(outer));
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!HandsBack(hr)) return hr;
    *out = owner_.NewMaterial();
    return hr;
}

HRESULT STDMETHODCALLTYPE Direct3D2Double::CreateViewport(IDirect3DViewport2** out, IUnknown* outer) {
    HRESULT hr = Enter("CreateViewport", "outer=" + owner_.NameOf(outer));
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!HandsBack(hr)) return hr;
    if (outer) return CLASS_E_NOAGGREGATION;
    *out = owner_.Keep(new ViewportDouble(owner_), owner_.viewports);
    return hr;
}

Device2Double::Device2Double(DxDoubles& owner, const GUID& guid_, IDirectDrawSurface* target_)
    : DxObject(owner, "IDirect3DDevice2", static_cast<IDirect3DDevice2*>(this)), guid(guid_), target(target_) {}
DXD_NO_INTERFACES(Device2Double)

// As DirectDraw's device: the viewports still added are deleted with it.
void Device2Double::LastReleased() {
    std::vector<ViewportDouble*> added;
    added.swap(addedViewports);
    currentViewport = nullptr;
    for (ViewportDouble* v : added) {
        v->device = nullptr;
        v->ReleaseHeld(*this);
    }
}

HRESULT STDMETHODCALLTYPE Device2Double::AddViewport(IDirect3DViewport2* viewport) {
    HRESULT hr = Enter("AddViewport", owner_.NameOf(viewport));
    if (hr != S_OK) return hr;
    auto* v = dynamic_cast<ViewportDouble*>(owner_.Find(viewport));
    if (!v) return DDERR_INVALIDPARAMS;
    // DirectDraw keeps one list link per viewport: a second addition, here
    // or to another device, corrupts its lists.
    if (v->device) {
        owner_.errors.push_back(v->Name() + " added to " + Name() + " while added to " + v->device->Name());
        return DDERR_INVALIDPARAMS;
    }
    v->AddRef();
    v->device = this;
    addedViewports.push_back(v);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Device2Double::DeleteViewport(IDirect3DViewport2* viewport) {
    HRESULT hr = Enter("DeleteViewport", owner_.NameOf(viewport));
    if (hr != S_OK) return hr;
    auto* v = dynamic_cast<ViewportDouble*>(owner_.Find(viewport));
    if (!v || v->device != this) return DDERR_INVALIDPARAMS;
    addedViewports.erase(std::find(addedViewports.begin(), addedViewports.end(), v));
    if (currentViewport == viewport) currentViewport = nullptr;
    v->device = nullptr;
    v->ReleaseHeld(*this);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Device2Double::GetRenderTarget(IDirectDrawSurface** out) {
    HRESULT hr = Enter("GetRenderTarget");
    if (!out) return DDERR_INVALIDPARAMS;
    *out = nullptr;
    if (!HandsBack(hr)) return hr;
    if (target) {
        target->AddRef();
        *out = target;
    }
    return hr;
}

HRESULT STDMETHODCALLTYPE Device2Double::EnumTextureFormats(LPD3DENUMTEXTUREFORMATSCALLBACK callback, void* context) {
    HRESULT hr = Enter("EnumTextureFormats");
    if (hr != S_OK) return hr;
    for (const auto& f : owner_.config.textureFormats) {
        DDSURFACEDESC copy = f;
        if (callback(&copy, context) != D3DENUMRET_OK) break;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Device2Double::SetCurrentViewport(IDirect3DViewport2* viewport) {
    HRESULT hr = Enter("SetCurrentViewport", owner_.NameOf(viewport));
    if (hr == S_OK) currentViewport = viewport;
    return hr;
}

HRESULT STDMETHODCALLTYPE Device2Double::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    renderStates.emplace_back(DWORD(state), value);
    return Enter("SetRenderState", Format("%lu, %lu", (unsigned long)state, (unsigned long)value));
}

HRESULT STDMETHODCALLTYPE Device2Double::SetLightState(D3DLIGHTSTATETYPE state, DWORD value) {
    lightStates.emplace_back(DWORD(state), value);
    return Enter("SetLightState", Format("%lu, %lu", (unsigned long)state, (unsigned long)value));
}

HRESULT STDMETHODCALLTYPE Device2Double::BeginScene() {
    ++scenesBegun;
    return Enter("BeginScene");
}

HRESULT STDMETHODCALLTYPE Device2Double::EndScene() {
    ++scenesEnded;
    return Enter("EndScene");
}

HRESULT STDMETHODCALLTYPE Device2Double::DrawPrimitive(D3DPRIMITIVETYPE type, D3DVERTEXTYPE vertexType, void* vertices,
                                                       DWORD count, DWORD flags) {
    DrawCall call{type, vertexType, count, flags, {}};
    if (owner_.config.recordVertices && vertexType == D3DVT_TLVERTEX && vertices) {
        auto* v = static_cast<const D3DTLVERTEX*>(vertices);
        call.vertices.assign(v, v + count);
    }
    draws.push_back(std::move(call));
    return Enter("DrawPrimitive", Format("type=%d, vertexType=%d, count=%lu, flags=0x%lx", int(type), int(vertexType),
                                         (unsigned long)count, (unsigned long)flags));
}

// ---------------------------------------------------------------- viewport, material, texture

ViewportDouble::ViewportDouble(DxDoubles& owner)
    : DxObject(owner, "IDirect3DViewport2", static_cast<IDirect3DViewport2*>(this)) {}

HRESULT STDMETHODCALLTYPE ViewportDouble::QueryInterface(REFIID iid, void** out) {
    HRESULT hr = Enter("QueryInterface", GuidName(iid));
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!HandsBack(hr)) return hr;
    if (!IsEqualGUID(iid, IID_IDirect3DViewport2) && !IsEqualGUID(iid, IID_IDirect3DViewport)) return E_NOINTERFACE;
    DoAddRef();
    *out = static_cast<IDirect3DViewport2*>(this);
    return hr;
}

HRESULT STDMETHODCALLTYPE ViewportDouble::SetBackground(D3DMATERIALHANDLE material) {
    HRESULT hr = Enter("SetBackground", Hex(material));
    if (hr == S_OK) background = material;
    return hr;
}

namespace {

// The render target of a device double as a surface double, or null.
SurfaceDouble* TargetOf(DxDoubles& owner, const Device2Double* device) {
    return device ? dynamic_cast<SurfaceDouble*>(owner.Find(device->target)) : nullptr;
}

}  // namespace

HRESULT STDMETHODCALLTYPE ViewportDouble::SetViewport(D3DVIEWPORT* d) {
    HRESULT hr = Enter("SetViewport",
                       d ? Format("dwSize=%lu, x=%lu, y=%lu, width=%lu, height=%lu, scale=%g,%g, max=%g,%g, z=%g..%g",
                                  (unsigned long)d->dwSize, (unsigned long)d->dwX, (unsigned long)d->dwY,
                                  (unsigned long)d->dwWidth, (unsigned long)d->dwHeight, double(d->dvScaleX),
                                  double(d->dvScaleY), double(d->dvMaxX), double(d->dvMaxY), double(d->dvMinZ),
                                  double(d->dvMaxZ))
                         : std::string("null"));
    if (hr != S_OK) return hr;
    if (!d || d->dwSize != sizeof(D3DVIEWPORT)) return DDERR_INVALIDPARAMS;
    if (!device) return D3DERR_VIEWPORTHASNODEVICE;
    // The rectangle must lie inside the render target (checked without wrapping).
    if (SurfaceDouble* t = TargetOf(owner_, device)) {
        const DWORD width = t->reported.dwWidth, height = t->reported.dwHeight;
        if (d->dwX > width || d->dwWidth > width - d->dwX || d->dwY > height || d->dwHeight > height - d->dwY)
            return DDERR_INVALIDPARAMS;
    }
    data = *d;
    dataSet = true;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ViewportDouble::Clear(DWORD count, D3DRECT* rects, DWORD flags) {
    std::string args = Format("%lu, ", (unsigned long)count);
    if (!rects) args += "null";
    for (DWORD i = 0; rects && i < count && i < 4; ++i) {
        args += Format("{%ld,%ld,%ld,%ld}", long(rects[i].x1), long(rects[i].y1), long(rects[i].x2), long(rects[i].y2));
    }
    HRESULT hr = Enter("Clear", args + ", flags=" + Hex(flags));
    if (hr != S_OK) return hr;
    if (!rects || !count) return S_OK;  // nothing to clear
    if (!device) return D3DERR_VIEWPORTHASNODEVICE;
    if (flags & D3DCLEAR_ZBUFFER) {
        bool hasZ = false;
        if (SurfaceDouble* t = TargetOf(owner_, device)) {
            for (IDirectDrawSurface* a : t->attached) {
                auto* s = dynamic_cast<SurfaceDouble*>(owner_.Find(a));
                if (s && (s->reported.ddsCaps.dwCaps & DDSCAPS_ZBUFFER)) hasZ = true;
            }
        }
        if (!hasZ) return D3DERR_ZBUFFER_NOTPRESENT;
    }
    clears.push_back({std::vector<D3DRECT>(rects, rects + count), flags});
    return S_OK;
}

MaterialDouble::MaterialDouble(DxDoubles& owner)
    : DxObject(owner, "IDirect3DMaterial2", static_cast<IDirect3DMaterial2*>(this)) {
    handle = 0x1000 + id;
}
DXD_NO_INTERFACES(MaterialDouble)

HRESULT STDMETHODCALLTYPE MaterialDouble::SetMaterial(D3DMATERIAL* d) {
    HRESULT hr = Enter("SetMaterial", Format("dwSize=%lu", (unsigned long)(d ? d->dwSize : 0)));
    if (hr == S_OK && d) {
        desc = *d;
        descSet = true;
    }
    return hr;
}

HRESULT STDMETHODCALLTYPE MaterialDouble::GetHandle(IDirect3DDevice2* device, D3DMATERIALHANDLE* out) {
    HRESULT hr = Enter("GetHandle", owner_.NameOf(device));
    if (!out) return E_POINTER;
    *out = hr == S_OK ? handle : 0;
    return hr;
}

TextureDouble::TextureDouble(DxDoubles& owner, SurfaceDouble* surface_)
    : DxObject(owner, "IDirect3DTexture2", static_cast<IDirect3DTexture2*>(this)), surface(surface_) {
    handle = 0x2000 + id;
    surface->AddRef();
}
DXD_NO_INTERFACES(TextureDouble)

void TextureDouble::LastReleased() { surface->ReleaseHeld(*this); }

HRESULT STDMETHODCALLTYPE TextureDouble::GetHandle(IDirect3DDevice2* device, D3DTEXTUREHANDLE* out) {
    HRESULT hr = Enter("GetHandle", owner_.NameOf(device));
    if (!out) return E_POINTER;
    *out = hr == S_OK ? handle : 0;
    return hr;
}

HRESULT STDMETHODCALLTYPE TextureDouble::Load(IDirect3DTexture2* source) {
    loads.push_back(source);
    return Enter("Load", owner_.NameOf(source));
}

// ---------------------------------------------------------------- retained mode

RMDouble::RMDouble(DxDoubles& owner) : DxObject(owner, "IDirect3DRM", static_cast<IDirect3DRM*>(this)) {}

HRESULT STDMETHODCALLTYPE RMDouble::QueryInterface(REFIID iid, void** out) {
    HRESULT hr = Enter("QueryInterface", GuidName(iid));
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!HandsBack(hr)) return hr;
    if (!IsEqualGUID(iid, IID_IDirect3DRM2)) return E_NOINTERFACE;
    if (!rm2) {
        rm2 = owner_.NewRM2();
    } else {
        rm2->TakeReference();
    }
    *out = static_cast<IDirect3DRM2*>(rm2);
    return hr;
}

RM2Double::RM2Double(DxDoubles& owner) : DxObject(owner, "IDirect3DRM2", static_cast<IDirect3DRM2*>(this)) {}
DXD_NO_INTERFACES(RM2Double)

HRESULT STDMETHODCALLTYPE RM2Double::CreateFrame(IDirect3DRMFrame* parent, IDirect3DRMFrame2** out) {
    HRESULT hr = Enter("CreateFrame", "parent=" + owner_.NameOf(parent));
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!HandsBack(hr)) return hr;
    *out = owner_.NewRMFrame2(parent);
    return hr;
}

HRESULT STDMETHODCALLTYPE RM2Double::CreateDeviceFromD3D(IDirect3D2* d3d, IDirect3DDevice2* device,
                                                         IDirect3DRMDevice2** out) {
    HRESULT hr = Enter("CreateDeviceFromD3D", owner_.NameOf(d3d) + ", " + owner_.NameOf(device));
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!HandsBack(hr)) return hr;
    *out = owner_.Keep(new RMDevice2Double(owner_, d3d, device), owner_.rmDevices);
    return hr;
}

HRESULT STDMETHODCALLTYPE RM2Double::CreateViewport(IDirect3DRMDevice* device, IDirect3DRMFrame* camera, DWORD x,
                                                    DWORD y, DWORD width, DWORD height, IDirect3DRMViewport** out) {
    HRESULT hr = Enter("CreateViewport", owner_.NameOf(device) + ", " + owner_.NameOf(camera) +
                                             Format(", %lu, %lu, %lu, %lu", (unsigned long)x, (unsigned long)y,
                                                    (unsigned long)width, (unsigned long)height));
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!HandsBack(hr)) return hr;
    *out = owner_.Keep(new RMViewportDouble(owner_, device, camera, x, y, width, height), owner_.rmViewports);
    return hr;
}

HRESULT STDMETHODCALLTYPE RM2Double::SetDefaultTextureColors(DWORD colors) {
    defaultTextureColors = colors;
    return Enter("SetDefaultTextureColors", std::to_string(colors));
}

HRESULT STDMETHODCALLTYPE RM2Double::SetDefaultTextureShades(DWORD shades) {
    defaultTextureShades = shades;
    return Enter("SetDefaultTextureShades", std::to_string(shades));
}

RMDevice2Double::RMDevice2Double(DxDoubles& owner, IDirect3D2* d3d_, IDirect3DDevice2* device_)
    : DxObject(owner, "IDirect3DRMDevice2", static_cast<IDirect3DRMDevice2*>(this)), d3d(d3d_), device(device_) {}
DXD_NO_INTERFACES(RMDevice2Double)

HRESULT STDMETHODCALLTYPE RMDevice2Double::Update() {
    ++updates;
    return Enter("Update");
}
HRESULT STDMETHODCALLTYPE RMDevice2Double::SetBufferCount(DWORD count) {
    bufferCount = count;
    return Enter("SetBufferCount", std::to_string(count));
}
HRESULT STDMETHODCALLTYPE RMDevice2Double::SetDither(WINBOOL d) {
    dither = d;
    return Enter("SetDither", std::to_string(d));
}
HRESULT STDMETHODCALLTYPE RMDevice2Double::SetShades(DWORD s) {
    shades = s;
    return Enter("SetShades", std::to_string(s));
}
HRESULT STDMETHODCALLTYPE RMDevice2Double::SetQuality(D3DRMRENDERQUALITY q) {
    quality = q;
    return Enter("SetQuality", std::to_string(q));
}
HRESULT STDMETHODCALLTYPE RMDevice2Double::SetTextureQuality(D3DRMTEXTUREQUALITY q) {
    textureQuality = q;
    return Enter("SetTextureQuality", std::to_string(int(q)));
}

RMFrame2Double::RMFrame2Double(DxDoubles& owner, IDirect3DRMFrame* parent_)
    : DxObject(owner, "IDirect3DRMFrame2", static_cast<IDirect3DRMFrame2*>(this)), parent(parent_) {}
DXD_NO_INTERFACES(RMFrame2Double)

HRESULT STDMETHODCALLTYPE RMFrame2Double::SetPosition(IDirect3DRMFrame* reference, D3DVALUE x, D3DVALUE y, D3DVALUE z) {
    positions.push_back({reference, x, y, z});
    return Enter("SetPosition", owner_.NameOf(reference) + Format(", %g, %g, %g", double(x), double(y), double(z)));
}

RMViewportDouble::RMViewportDouble(DxDoubles& owner, IDirect3DRMDevice* device_, IDirect3DRMFrame* camera_, DWORD x,
                                   DWORD y, DWORD width, DWORD height)
    : DxObject(owner, "IDirect3DRMViewport", static_cast<IDirect3DRMViewport*>(this)),
      device(device_),
      camera(camera_),
      area{LONG(x), LONG(y), LONG(x + width), LONG(y + height)},
      immediate(owner.Keep(new ViewportDouble(owner), owner.viewports)) {}
DXD_NO_INTERFACES(RMViewportDouble)

void RMViewportDouble::LastReleased() { immediate->ReleaseHeld(*this); }

HRESULT STDMETHODCALLTYPE RMViewportDouble::SetBack(D3DVALUE value) {
    HRESULT hr = Enter("SetBack", Format("%g", double(value)));
    if (hr == S_OK) back = value;
    return hr;
}

HRESULT STDMETHODCALLTYPE RMViewportDouble::Clear() {
    ++clears;
    return Enter("Clear");
}

HRESULT STDMETHODCALLTYPE RMViewportDouble::ForceUpdate(DWORD x1, DWORD y1, DWORD x2, DWORD y2) {
    forcedUpdates.push_back(RECT{LONG(x1), LONG(y1), LONG(x2), LONG(y2)});
    return Enter("ForceUpdate", Format("%lu, %lu, %lu, %lu", (unsigned long)x1, (unsigned long)y1, (unsigned long)x2,
                                       (unsigned long)y2));
}

HRESULT STDMETHODCALLTYPE RMViewportDouble::GetDirect3DViewport(IDirect3DViewport** out) {
    HRESULT hr = Enter("GetDirect3DViewport");
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!HandsBack(hr)) return hr;
    if (owner_.config.getDirect3DViewportAddsRef) immediate->AddRef();
    *out = static_cast<IDirect3DViewport2*>(immediate);
    return hr;
}

// ---------------------------------------------------------------- stand-in exports

namespace {
DxDoubles& Current() {
    if (!DxDoubles::current) {
        std::fprintf(stderr, "dx doubles: a stand-in export was called with no DxDoubles alive\n");
        std::abort();
    }
    return *DxDoubles::current;
}

HRESULT EnterExport(const char* name, const std::string& args) {
    DxDoubles& dx = Current();
    HRESULT hr = dx.Decide(name, name, args);
    dx.log.Add({LogEntry::Call, "", name, args, long(hr)});
    return hr;
}
}  // namespace

HRESULT WINAPI StandInDirectDrawCreate(GUID* driver, IDirectDraw** out, IUnknown* outer) {
    DxDoubles& dx = Current();
    HRESULT hr = EnterExport("DirectDrawCreate",
                             "guid=" + (driver ? GuidName(*driver) : std::string("null")) + ", outer=" + dx.NameOf(outer));
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!HandsBack(hr)) return hr;
    *out = dx.NewDirectDraw();
    return hr;
}

HRESULT WINAPI StandInDirect3DRMCreate(IDirect3DRM** out) {
    DxDoubles& dx = Current();
    HRESULT hr = EnterExport("Direct3DRMCreate", "");
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!HandsBack(hr)) return hr;
    *out = dx.NewRM();
    return hr;
}

HRESULT WINAPI StandInDirectDrawEnumerateA(LPDDENUMCALLBACKA, void*) { return EnterExport("DirectDrawEnumerateA", ""); }

D3DVALUE WINAPI StandInD3DRMColorGetRed(D3DCOLOR color) { return D3DVALUE((color >> 16) & 0xFF) / 255.0f; }
D3DVALUE WINAPI StandInD3DRMColorGetGreen(D3DCOLOR color) { return D3DVALUE((color >> 8) & 0xFF) / 255.0f; }
D3DVALUE WINAPI StandInD3DRMColorGetBlue(D3DCOLOR color) { return D3DVALUE(color & 0xFF) / 255.0f; }
D3DCOLOR WINAPI StandInD3DRMCreateColorRGB(D3DVALUE red, D3DVALUE green, D3DVALUE blue) {
    auto byte = [](D3DVALUE v) { return D3DCOLOR(std::min(std::max(v, 0.0f), 1.0f) * 255.0f + 0.5f); };
    return 0xFF000000u | (byte(red) << 16) | (byte(green) << 8) | byte(blue);
}

}  // namespace dxd
