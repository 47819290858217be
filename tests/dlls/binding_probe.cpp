// Runs one binding case against the "d3drm.dll" and "ddraw.dll" that lie
// beside it (its folder is prepared by the build) and checks the outcome.
// Exit code 0 when everything held; otherwise each broken expectation is
// printed on stderr and the exit code is 2.
//
//   binding_probe <expected code> [<missing exports' codes, e.g. 7,9>] [ddraw-first]
//
// ddraw-first loads "ddraw.dll" into the record before binding, as an earlier
// partial binding would have left it.
#include "gfx/binding.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int failures = 0;

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "binding_probe: expected %s\n", what);
        ++failures;
    }
}

bool Loaded(const char* name) { return GetModuleHandleA(name) != nullptr; }

bool IsOurs(HMODULE module) { return module && GetProcAddress(module, "VorlFakeLibrary") != nullptr; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 3;
    const int expected = std::atoi(argv[1]);
    bool ddrawFirst = false;
    bool missing[10] = {};
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "ddraw-first") == 0) {
            ddrawFirst = true;
            continue;
        }
        for (const char* p = argv[i]; *p; ++p)
            if (*p >= '3' && *p <= '9') missing[*p - '0'] = true;
    }
    DeviceState& s = g_deviceState;
    // As the program starts: the libraries beside it are found all the same.
    NvxRestrictLibrarySearch();

    if (ddrawFirst) {
        s.ddrawLibrary = LoadLibraryA("ddraw.dll");
        Check(IsOurs(s.ddrawLibrary), "the fake ddraw.dll to load beforehand");
    }

    const int code = NvxLoadLibraries();
    std::fprintf(stderr, "binding_probe: code %d\n", code);
    Check(code == expected, "the expected binding code");

    if (code == kBindNoD3drm || code == kBindNoDdraw) {
        Check(!s.d3drmLibrary && !s.ddrawLibrary, "both handles null");
        Check(!Loaded("d3drm.dll") && !Loaded("ddraw.dll"), "neither library left loaded");
        Check(NvxInitialize() == 0, "NvxInitialize to fail");
        Check(s.clientWidth == 0 && s.bitsPerPixel == 0, "the record untouched by the failed NvxInitialize");
        return failures ? 2 : 0;
    }

    // Loaded: both stay, whatever export is missing.
    Check(IsOurs(s.d3drmLibrary) && IsOurs(s.ddrawLibrary), "both fake libraries bound");
    const void* points[7] = {
        reinterpret_cast<void*>(s.pfnDirect3DRMCreate),    reinterpret_cast<void*>(s.pfnD3DRMColorGetGreen),
        reinterpret_cast<void*>(s.pfnD3DRMColorGetRed),    reinterpret_cast<void*>(s.pfnD3DRMColorGetBlue),
        reinterpret_cast<void*>(s.pfnD3DRMCreateColorRGB), reinterpret_cast<void*>(s.pfnDirectDrawCreate),
        reinterpret_cast<void*>(s.pfnDirectDrawEnumerateA)};
    for (int i = 0; i < 7; ++i) Check((points[i] == nullptr) == missing[i + 3], "exactly the missing entry points null");

    // A second call binds nothing: it returns 0 at once, the entry points stay,
    // and each library still holds the one reference of the first call.
    const HMODULE d3drm = s.d3drmLibrary, ddraw = s.ddrawLibrary;
    Check(NvxLoadLibraries() == 0, "0 from the second call");
    Check(s.d3drmLibrary == d3drm && s.ddrawLibrary == ddraw, "the handles kept");
    Check(reinterpret_cast<void*>(s.pfnDirectDrawCreate) == points[5] &&
              reinterpret_cast<void*>(s.pfnDirect3DRMCreate) == points[0],
          "the entry points kept");
    if (code == 0) {
        Check(NvxInitialize() == 1, "NvxInitialize to succeed");
        Check(s.d3drmLibrary == d3drm && s.ddrawLibrary == ddraw, "NvxInitialize to load nothing more");
    }
    FreeLibrary(d3drm);
    FreeLibrary(ddraw);
    Check(!Loaded("d3drm.dll") && !Loaded("ddraw.dll"), "one reference per library, taken by the first call");
    return failures ? 2 : 0;
}
