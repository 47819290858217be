#include "gfx/device_state.h"

#include "framework/afx_hooks.h"
#include "gfx/binding.h"
#include "gfx/com_release.h"

#include <cstddef>
#include <cstring>

DeviceState g_deviceState;

namespace {

// The release order shared by NvxCleanup and NvxInitialize: the viewport and
// the two devices first, the DirectDraw object last.
void ReleaseHeldInterfaces() {
    DeviceState& s = g_deviceState;
    NvxRelease(s.viewport);
    NvxRelease(s.rmDevice);
    NvxRelease(s.device2);
    NvxRelease(s.palette);
    NvxRelease(s.zBuffer);
    NvxRelease(s.rm2);
    NvxRelease(s.direct3D2);
    NvxRelease(s.backBuffer);
    NvxRelease(s.clipper);
    NvxRelease(s.primarySurface);
    NvxRelease(s.directDraw);
}

}  // namespace

int NvxInitialize() {
    AfxOutputDebugString("NVX:Norvexa Initialize\n");
    if (NvxLoadLibraries() != 0) return 0;

    DeviceState& s = g_deviceState;
    ReleaseHeldInterfaces();
    // rm lives only while rm2 is being obtained; should one be left, it goes too.
    NvxRelease(s.rm);

    // Every field from directDraw through bitsPerPixel, then enumDone.
    char* first = reinterpret_cast<char*>(&s.directDraw);
    char* end = reinterpret_cast<char*>(&s.bitsPerPixel) + sizeof s.bitsPerPixel;
    std::memset(first, 0, static_cast<size_t>(end - first));
    s.enumDone = 0;

    s.clientWidth = 640;
    s.clientHeight = 480;
    s.bitsPerPixel = 16;
    return 1;
}

int NvxCleanup() {
    AfxOutputDebugString("NVX:Norvexa Cleanup\n");
    ReleaseHeldInterfaces();
    g_deviceState.renderingEnabled = 0;
    return 1;
}

int NvxSetRgbPreference(int value) {
    g_deviceState.preferRgb = value;
    return 1;
}

int NvxEnableRendering(int enable) {
    if (enable == 0) g_deviceState.renderingEnabled = 0;
    if (enable == 1) g_deviceState.renderingEnabled = 1;
    return 1;
}
