// The interface identifiers of the DirectX headers, defined here once, and
// the private identifiers by which our objects know each other.
#define INITGUID
#include <initguid.h>

#include "retained/device.h"
#include "retained/frame.h"
#include "retained/viewport.h"

namespace retained {

const GUID Frame::kClassId = {0x268a5b79, 0xcacc, 0x4923, {0x86, 0x90, 0x29, 0xd4, 0x20, 0xf8, 0x06, 0xe9}};
const GUID Device::kClassId = {0xc5f84e50, 0xc52e, 0x4b6b, {0xb0, 0x59, 0x53, 0x0d, 0xdd, 0xd7, 0x00, 0x01}};
const GUID Viewport::kClassId = {0xe0fdf422, 0x75c8, 0x4446, {0x87, 0xd5, 0x6d, 0x8e, 0xcf, 0xde, 0x14, 0x68}};

}  // namespace retained

// MinGW-w64's d3drm headers declare these IDirect3DRMFrame2 methods without
// "= 0" and define them nowhere, so the interface's vtable needs them from
// whoever derives from it. Frame overrides them all through its stub base.
HRESULT IDirect3DRMFrame2::GetAxes(D3DVECTOR*, D3DVECTOR*) { return E_NOTIMPL; }
WINBOOL IDirect3DRMFrame2::GetInheritAxes() { return FALSE; }
HRESULT IDirect3DRMFrame2::SetAxes(D3DVALUE, D3DVALUE, D3DVALUE, D3DVALUE, D3DVALUE, D3DVALUE) { return E_NOTIMPL; }
HRESULT IDirect3DRMFrame2::SetInheritAxes(WINBOOL) { return E_NOTIMPL; }
HRESULT IDirect3DRMFrame2::Save(const char*, D3DRMXOFFORMAT, D3DRMSAVEOPTIONS) { return E_NOTIMPL; }
