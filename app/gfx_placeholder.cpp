// TEMPORARY: the device layer's resize and move calls as they behave before
// any set-up, until the graphics layer provides them.
#include "app/gfx_placeholder.h"

#include "framework/afx_hooks.h"

int NvxResizeWindow(HWND, int, int) {
    AfxOutputDebugString("NVX:Resize Window\n");
    return 0;
}

int NvxUpdateScreenRect(HWND window) {
    RECT rect;
    GetClientRect(window, &rect);
    return 1;
}
