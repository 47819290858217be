#!/usr/bin/env python3
"""Writes a C++ header with one base class per DirectX interface, made from the
MinGW-w64 headers: every method but IUnknown's is overridden and answers
E_NOTIMPL (or a zero value of its type), so a class derived from the base
overrides only the methods it implements and still fills every vtable slot.

    gen_stub_bases.py doubles OUT   the test doubles' bases (namespace dxd):
                                    each stub reports itself through
                                    Unimplemented() first
    gen_stub_bases.py retained OUT  our Retained Mode's bases (namespace
                                    retained): the stubs only answer
"""
import re
import sys

INCLUDE = "/usr/share/mingw-w64/include/"

SETS = {
    "doubles": {
        "namespace": "dxd",
        "report": True,
        "interfaces": [("ddraw.h", "IDirectDraw"), ("ddraw.h", "IDirectDrawSurface"),
                       ("ddraw.h", "IDirectDrawClipper"), ("ddraw.h", "IDirectDrawPalette"),
                       ("d3d.h", "IDirect3D2"), ("d3d.h", "IDirect3DDevice2"), ("d3d.h", "IDirect3DViewport2"),
                       ("d3d.h", "IDirect3DMaterial2"), ("d3d.h", "IDirect3DTexture2"), ("d3drm.h", "IDirect3DRM"),
                       ("d3drm.h", "IDirect3DRM2"), ("d3drmobj.h", "IDirect3DRMDevice2"),
                       ("d3drmobj.h", "IDirect3DRMFrame2"), ("d3drmobj.h", "IDirect3DRMViewport")],
        "includes": ["windows.h", "ddraw.h", "d3d.h", "d3drm.h"],
        "intro": ["// One base per interface: every method except IUnknown's reports itself through",
                  "// Unimplemented() and answers E_NOTIMPL (or a zero value); doubles override",
                  "// the methods the program calls."],
    },
    "retained": {
        "namespace": "retained",
        "report": False,
        "interfaces": [("d3drm.h", "IDirect3DRM"), ("d3drm.h", "IDirect3DRM2"),
                       ("d3drmobj.h", "IDirect3DRMDevice2"), ("d3drmobj.h", "IDirect3DRMFrame2"),
                       ("d3drmobj.h", "IDirect3DRMViewport")],
        "includes": ["windows.h", "ddraw.h", "d3d.h", "d3drm.h"],
        "intro": ["// One base per interface: every method except IUnknown's answers E_NOTIMPL",
                  "// (or a zero value of its type); the objects override what they implement."],
    },
}


def methods(header, name):
    text = open(INCLUDE + header).read()
    m = re.search(r"DECLARE_INTERFACE_\(\s*%s\s*,\s*\w+\s*\)\s*\{(.*?)\};" % name, text, re.S)
    body = re.sub(r"/\*.*?\*/", "", m.group(1), flags=re.S)
    for underscore, head, params, pure in re.findall(r"STDMETHOD(_?)\((.*?)\)\s*\((.*?)\)\s*(PURE)?;", body, re.S):
        if underscore:
            rtype, method = [s.strip() for s in head.rsplit(",", 1)]
        else:
            rtype, method = "HRESULT", head.strip()
        if method in ("QueryInterface", "AddRef", "Release"):
            continue
        params = " ".join(params.split())
        assert params == "THIS" or params.startswith("THIS_"), params
        yield rtype, method, "" if params == "THIS" else params[5:].strip(), bool(pure)


def main():
    kind, path = sys.argv[1], sys.argv[2]
    chosen = SETS[kind]
    out = ["// Generated from the MinGW-w64 DirectX headers by scripts/gen_stub_bases.py (%s)." % kind]
    out += chosen["intro"]
    out.append("#pragma once\n")
    out += ["#include <%s>" % h for h in chosen["includes"]]
    out.append('\n#pragma GCC diagnostic push\n#pragma GCC diagnostic ignored "-Wunused-parameter"\n')
    out.append("namespace %s {\n" % chosen["namespace"])
    nonpure = []
    for header, name in chosen["interfaces"]:
        out.append("class %sStub : public %s {" % (name, name))
        if chosen["report"]:
            out.append("protected:\n    virtual void Unimplemented(const char* method) = 0;\n")
        out.append("public:")
        for rtype, method, plist, pure in methods(header, name):
            if not pure:
                # Declared without '= 0' and defined nowhere in the headers:
                # whoever derives from the interface must define it once.
                nonpure.append("%s %s::%s(%s)" % (rtype, name, method, plist))
            answer = "return E_NOTIMPL;" if rtype == "HRESULT" else "return %s{};" % rtype
            report = 'Unimplemented("%s"); ' % method if chosen["report"] else ""
            out.append("    %s STDMETHODCALLTYPE %s(%s) override { %s%s }" % (rtype, method, plist, report, answer))
        out.append("};\n")
    out.append("}  // namespace %s\n\n#pragma GCC diagnostic pop" % chosen["namespace"])
    out += ["// not pure in the headers: " + n for n in nonpure]
    with open(path, "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
