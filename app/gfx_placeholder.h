// The two calls of the graphics device layer that the main window makes.
// TEMPORARY fallback while the device layer has not landed (see
// gfx_placeholder.cpp); with it present, its own header is used.
#pragma once

#include <windows.h>

#if __has_include("gfx/windowed_surfaces.h")
#include "gfx/windowed_surfaces.h"
#else
int NvxResizeWindow(HWND window, int width, int height);
int NvxUpdateScreenRect(HWND window);
#endif
