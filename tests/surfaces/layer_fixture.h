// Shared set-up for the windowed-surface and device tests: the DirectX
// doubles bound into the layer, the layer initialised, and a borderless
// hidden window whose client area is 320 x 240 at (100, 50) on the screen.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/afx_hooks.h"
#include "gfx/device_selection.h"
#include "gfx/device_state.h"
#include "gfx/windowed_surfaces.h"
#include "tests/doubles/dx_doubles.h"

namespace surfaces_test {

constexpr int kLeft = 100, kTop = 50, kWidth = 320, kHeight = 240;

// The log texts of calls, lines and boxes, leaving out reference counting.
inline std::vector<std::string> Events(const dxd::CallLog& log) {
    std::vector<std::string> out;
    for (const auto& e : log.entries) {
        if (e.kind == dxd::LogEntry::Call && (e.method == "AddRef" || e.method == "Release")) continue;
        out.push_back(e.Text());
    }
    return out;
}

// Position of the first text equal to `text` at or after `from`, or -1.
inline int IndexOf(const std::vector<std::string>& texts, const std::string& text, int from = 0) {
    for (size_t i = static_cast<size_t>(from); i < texts.size(); ++i)
        if (texts[i] == text) return static_cast<int>(i);
    return -1;
}

// The surface description as the doubles log it.
inline std::string Desc(DWORD flags, DWORD caps, DWORD width, DWORD height, DWORD zdepth) {
    return dxd::Format("dwSize=%lu, dwFlags=0x%lx, caps=0x%lx, width=%lu, height=%lu, zdepth=%lu",
                  (unsigned long)kSurfaceDescSize, (unsigned long)flags, (unsigned long)caps, (unsigned long)width,
                  (unsigned long)height, (unsigned long)zdepth);
}

class LayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        dx.BindDeviceState();
        ASSERT_EQ(NvxInitialize(), 1);
        window = CreateWindowExA(0, "STATIC", "", WS_POPUP, kLeft, kTop, kWidth, kHeight, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        dx.log.Clear();
    }
    void TearDown() override {
        if (window) DestroyWindow(window);
    }

    // Windowed surfaces and the 3D device, as the scene set-up makes them.
    void SetUpDevice() {
        ASSERT_EQ(CreateDirectDrawWin(window), 1);
        ASSERT_EQ(CreateD3DRM(), 1);
    }
    // ... plus a camera frame with its viewport, rendering enabled.
    void SetUpScene() {
        SetUpDevice();
        ASSERT_EQ(g_deviceState.rm2->CreateFrame(nullptr, &camera), 0);
        ASSERT_EQ(NVXViewport(camera), 1);
        NvxEnableRendering(1);
    }
    void ReleaseCamera() {
        if (camera) camera->Release();
        camera = nullptr;
    }
    // Runs `call`, which must take the fatal path; returns the exit code.
    template <class Call>
    int ExitCodeOf(Call call) {
        try {
            call();
        } catch (const dxd::ExitCalled& exit) {
            return exit.code;
        }
        return -1;
    }
    std::string Hwnd() const { return dxd::Format("%p", (void*)window); }
    // The events of one present with the window moved to x, y on the screen.
    std::vector<std::string> PresentAt(int x, int y) {
        SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        NvxUpdateScreenRect(window);
        dx.log.Clear();
        EXPECT_EQ(NvxPresent(), 1);
        return Events(dx.log);
    }

    dxd::DxDoubles dx;
    HWND window = nullptr;
    IDirect3DRMFrame2* camera = nullptr;
};

}  // namespace surfaces_test
