// The program's own application object and main window, on whatever DirectX
// and Retained Mode the process loads, draw their first frames: the window
// sized to a fixed client area, the default camera, the field's own fill,
// a fixed number of frame steps. Then the back buffer's client-size rows are
// read through Lock and summed up on stdout, so that two runs (Wine's
// d3drm.dll and ours) can be compared pixel for pixel:
//
//   exe <program path>
//   d3drm <path of the loaded d3drm.dll>
//   d3drm_ours <1: the loaded d3drm.dll is ours, 0: Wine's>
//   client <width> <height> bpp <bits per pixel>
//   digest <FNV-1a 64 of the rows, hex>
//   lit <pixels whose colour bits are not all zero>
//
// frame_digest.exe [--frames N] [--client W H]; exit code 0, or 1 with a
// line on stderr (a message box of the program is printed, not shown).
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/flake_app.h"
#include "app/flake_dlg.h"
#include "framework/afx_hooks.h"
#include "gfx/device_state.h"

namespace {

struct Options {
    int frames = 3;
    int clientWidth = 320;
    int clientHeight = 240;
};

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
            options.frames = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--client") == 0 && i + 2 < argc) {
            options.clientWidth = std::atoi(argv[++i]);
            options.clientHeight = std::atoi(argv[++i]);
        }
    }
    return options;
}

int PrintBox(const char* text, unsigned, unsigned) {
    std::fprintf(stderr, "message box: %s\n", text);
    return IDOK;
}

// The path of a module of this process (null: the program), or "none".
std::string ModulePath(HMODULE module) {
    char path[MAX_PATH] = {};
    if (GetModuleFileNameA(module, path, sizeof path) == 0) return "none";
    return path;
}

// Whether the loaded d3drm.dll is ours: it exports only what Vorl binds,
// Wine's also the vector helpers. Wine names the module it loads for a
// d3drm.dll found beside the program by that file's path even when it maps
// its own builtin instead (d3drm=b), so the path cannot tell the two apart.
bool IsOurs(HMODULE d3drm) { return d3drm && !GetProcAddress(d3drm, "D3DRMVectorAdd"); }

// FNV-1a over the first width * bytesPerPixel bytes of each of the client's
// rows (not the pitch's padding), and the count of pixels with any colour bit
// set. Returns false when the surface cannot be read.
bool DigestBackBuffer(int width, int height, std::uint64_t& digest, long& lit, int& bitsPerPixel) {
    IDirectDrawSurface* surface = g_deviceState.backBuffer;
    if (!surface) {
        std::fprintf(stderr, "no back buffer\n");
        return false;
    }
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    const HRESULT locked = surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr);
    if (locked != DD_OK) {
        std::fprintf(stderr, "Lock failed: 0x%08lx\n", static_cast<unsigned long>(locked));
        return false;
    }
    bool ok = true;
    bitsPerPixel = static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount);
    const int bytesPerPixel = bitsPerPixel / 8;
    if (bytesPerPixel < 2 || bytesPerPixel > 4 || static_cast<int>(desc.dwWidth) < width ||
        static_cast<int>(desc.dwHeight) < height) {
        std::fprintf(stderr, "unexpected back buffer: %lu x %lu at %d bits\n", desc.dwWidth, desc.dwHeight,
                     bitsPerPixel);
        ok = false;
    }
    const DWORD colourBits =
        desc.ddpfPixelFormat.dwRBitMask | desc.ddpfPixelFormat.dwGBitMask | desc.ddpfPixelFormat.dwBBitMask;
    digest = 14695981039346656037ull;
    lit = 0;
    for (int y = 0; ok && y < height; ++y) {
        const auto* row = static_cast<const unsigned char*>(desc.lpSurface) + static_cast<size_t>(y) * desc.lPitch;
        for (int x = 0; x < width; ++x) {
            DWORD pixel = 0;
            for (int b = 0; b < bytesPerPixel; ++b) {
                const unsigned char byte = row[x * bytesPerPixel + b];
                pixel |= static_cast<DWORD>(byte) << (8 * b);
                digest = (digest ^ byte) * 1099511628211ull;
            }
            if (pixel & colourBits) ++lit;
        }
    }
    surface->Unlock(nullptr);
    return ok;
}

class CFrameDigestApp : public CFlakeApp {
public:
    BOOL OnIdle(LONG count) override;

    Options m_options;
    int m_exitCode = 1;

private:
    int m_frame = 0;
    bool m_finished = false;
};

BOOL CFrameDigestApp::OnIdle(LONG count) {
    BOOL more = CWinApp::OnIdle(count);
    CFlakeDlg* dlg = m_pFlakeDlg;
    if (!dlg || m_finished) return more;

    if (m_frame == 0) {
        // The window's own size path (WM_SIZE), before the first set-up.
        RECT rect = {0, 0, m_options.clientWidth, m_options.clientHeight};
        AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongA(dlg->m_hWnd, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongA(dlg->m_hWnd, GWL_EXSTYLE)));
        SetWindowPos(dlg->m_hWnd, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // The frame step without its focus test and pause, and without the key
    // reads: the keyboard is the X server's, shared with other tests, and the
    // camera must stay the default one.
    dlg->UpdateRotation();
    dlg->AdvanceFlakes();
    dlg->RenderFrame();
    ++m_frame;
    if (m_frame < m_options.frames) return TRUE;

    m_finished = true;
    std::uint64_t digest = 0;
    long lit = 0;
    int bitsPerPixel = 0;
    std::printf("exe %s\n", ModulePath(nullptr).c_str());
    const HMODULE d3drm = GetModuleHandleA("d3drm.dll");
    std::printf("d3drm %s\n", d3drm ? ModulePath(d3drm).c_str() : "none");
    std::printf("d3drm_ours %d\n", IsOurs(d3drm) ? 1 : 0);
    if (dlg->m_clientWidth != m_options.clientWidth || dlg->m_clientHeight != m_options.clientHeight) {
        std::fprintf(stderr, "client area is %d x %d, not %d x %d\n", dlg->m_clientWidth, dlg->m_clientHeight,
                     m_options.clientWidth, m_options.clientHeight);
    } else if (DigestBackBuffer(dlg->m_clientWidth, dlg->m_clientHeight, digest, lit, bitsPerPixel)) {
        std::printf("client %d %d bpp %d\n", dlg->m_clientWidth, dlg->m_clientHeight, bitsPerPixel);
        std::printf("digest %016llx\n", static_cast<unsigned long long>(digest));
        std::printf("lit %ld\n", lit);
        m_exitCode = 0;
    }
    std::fflush(stdout);
    // The program's own way out: the window goes, the loop ends.
    dlg->DestroyWindow();
    return FALSE;
}

CFrameDigestApp theApp;

}  // namespace

int main(int argc, char** argv) {
    theApp.m_options = ParseOptions(argc, argv);
    afx_hooks::messageBox = PrintBox;
    const int loopCode = AfxWinMain(GetModuleHandleA(nullptr));
    return loopCode != 0 ? loopCode : theApp.m_exitCode;
}
