// A real main window drawing against the DirectX doubles, for the soak and
// the fault sweep: made, resized through the window manager (so WM_SIZE runs
// the layer's resize), and taken down the way the program takes it down.
#pragma once

#include <windows.h>

#include <string>

#include "app/flake_dlg.h"
#include "app/flake_dlg_render.h"
#include "gfx/device_state.h"
#include "tests/doubles/dx_doubles.h"
#include "tests/scene/test_flakes.h"

namespace soak {

// A flake that stays where it is: the flake field moves flakes by their
// velocity only.
inline Flake Still(double x, double y, double z) { return FlakeAt(x, y, z); }

class SoakWindow {
public:
    // Binds the layer to the doubles and opens the main window; nothing has
    // been set up yet (the first frame does that).
    explicit SoakWindow(dxd::DxDoubles& dx) : dx_(dx) {
        dx_.BindDeviceState();
        dlg = new CFlakeDlg;
        if (!dlg->Create(CFlakeDlg::IDD)) {
            dlg = nullptr;
            return;
        }
        hwnd = dlg->m_hWnd;
        Resize(640, 480);
        dlg->UpdateRotation();
    }
    ~SoakWindow() { Close(); }
    SoakWindow(const SoakWindow&) = delete;
    SoakWindow& operator=(const SoakWindow&) = delete;

    bool Open() const { return hwnd && IsWindow(hwnd); }

    // Two flakes in view in front of the camera, every other one far behind it.
    void KeepTwoFlakesInView() {
        for (Flake& f : dlg->m_flakes) f = Still(0.0, 100.0, 0.0);
        dlg->m_flakes[0] = Still(1.0, -10.0, 1.0);
        dlg->m_flakes[1] = Still(-1.0, -10.0, 1.5);
    }

    // A client area of width x height through SetWindowPos; true when the
    // window took it.
    bool Resize(int width, int height) {
        RECT r = {0, 0, width, height};
        AdjustWindowRectEx(&r, GetWindowLongA(hwnd, GWL_STYLE), FALSE, GetWindowLongA(hwnd, GWL_EXSTYLE));
        SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
        return dlg->m_clientWidth == width && dlg->m_clientHeight == height;
    }

    // Messages waiting for the window (paints, moves), as the run loop would.
    void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    // What the program does when the window goes, then the layer's cleanup.
    void Close() {
        if (Open()) DestroyWindow(hwnd);  // the window object releases its texture, frames and the layer
        hwnd = nullptr;
        dlg = nullptr;
        NvxCleanup();
    }

    CFlakeDlg* dlg = nullptr;
    HWND hwnd = nullptr;

private:
    dxd::DxDoubles& dx_;
};

}  // namespace soak
