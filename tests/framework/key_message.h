// A key-down message for a window, as the keyboard would queue it (repeat count 1).
#pragma once

#include <windows.h>

inline MSG KeyDown(HWND hwnd, WPARAM key) {
    MSG msg = {};
    msg.hwnd = hwnd;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    msg.lParam = 1;
    return msg;
}
