import re, sys
inc = '/usr/share/mingw-w64/include/'
want = [('ddraw.h','IDirectDraw'),('ddraw.h','IDirectDrawSurface'),('ddraw.h','IDirectDrawClipper'),
        ('ddraw.h','IDirectDrawPalette'),('d3d.h','IDirect3D2'),('d3d.h','IDirect3DDevice2'),
        ('d3d.h','IDirect3DViewport2'),('d3d.h','IDirect3DMaterial2'),('d3d.h','IDirect3DTexture2'),
        ('d3drm.h','IDirect3DRM'),('d3drm.h','IDirect3DRM2'),('d3drmobj.h','IDirect3DRMDevice2'),
        ('d3drmobj.h','IDirect3DRMFrame2'),('d3drmobj.h','IDirect3DRMViewport')]
out = []
nonpure = []
out.append('// Generated from the MinGW-w64 DirectX headers by tests/doubles/gen_stubs.py.')
out.append('// One base per interface: every method except IUnknown\'s reports itself through')
out.append('// Unimplemented() and answers E_NOTIMPL (or a zero value); doubles override')
out.append('// the methods the program calls.')
out.append('#pragma once\n\n#include <windows.h>\n#include <ddraw.h>\n#include <d3d.h>\n#include <d3drm.h>\n')
out.append('#pragma GCC diagnostic push\n#pragma GCC diagnostic ignored "-Wunused-parameter"\n\nnamespace dxd {\n')
for f, name in want:
    text = open(inc + f).read()
    m = re.search(r'DECLARE_INTERFACE_\(\s*%s\s*,\s*\w+\s*\)\s*\{(.*?)\};' % name, text, re.S)
    body = m.group(1)
    body = re.sub(r'/\*.*?\*/', '', body, flags=re.S)
    decls = re.findall(r'STDMETHOD(_?)\((.*?)\)\s*\((.*?)\)\s*(PURE)?;', body, re.S)
    out.append('class %sStub : public %s {\nprotected:\n    virtual void Unimplemented(const char* method) = 0;\n\npublic:' % (name, name))
    for us, head, params, pure in decls:
        if us:
            rtype, meth = [s.strip() for s in head.rsplit(',', 1)]
        else:
            rtype, meth = 'HRESULT', head.strip()
        if meth in ('QueryInterface', 'AddRef', 'Release'):
            continue
        params = ' '.join(params.split())
        if params == 'THIS':
            plist = ''
        else:
            assert params.startswith('THIS_'), params
            plist = params[5:].strip()
            # strip parameter names: keep as is, mark unused
        if not pure:
            # Declared without '= 0' and defined nowhere in the headers: its
            # definition (in dx_doubles.cpp) emits the interface's vtable.
            nonpure.append('%s %s::%s(%s)' % (rtype, name, meth, plist))
        ret = 'return E_NOTIMPL;' if rtype == 'HRESULT' else 'return %s{};' % rtype
        out.append('    %s STDMETHODCALLTYPE %s(%s) override { Unimplemented("%s"); %s }' % (rtype, meth, plist, meth, ret))
    out.append('};\n')
out.append('}  // namespace dxd\n\n#pragma GCC diagnostic pop')
for n in nonpure: out.append('// not pure in the headers: ' + n)
open(sys.argv[1], 'w').write('\n'.join(out) + '\n')
