// Child of the fault sweep: one run of set-up, frame, resize, frame on a real
// main window against the DirectX doubles, with at most one DirectX call made
// to fail. The process ends the way the program ends, so a fatal exit from
// inside a window message is real here too.
//
//   fault_probe [rm] list                    the calls of a clean run, "key index" a line
//   fault_probe [rm] fail <key> <index> <hr>  the run with call <index> (from 0) of
//                                             <key> answering <hr> (hexadecimal)
//
// With "rm" the program runs with our own Retained Mode (vorl_retained) over
// the DirectDraw and Immediate Mode doubles instead of the Retained Mode
// doubles, and the list holds only the calls our Retained Mode makes on the
// caller's objects.
//
// Report lines on stdout: "retry:<line>" (a failed later set-up or rebuild
// that is tried again), "box:<text>", "error:<text>", "unreleased:<text>",
// "presented:<0|1>", "cleared:<0|1>" (the last frame cleared an Immediate
// Mode viewport), then "viewports:<n>" (Immediate Mode viewports still added
// to a device) and "exit:<code>" from the exit hook, or "end" when the run
// carried on to the window's end.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "framework/afx_hooks.h"
#include "gfx/device_state.h"
#include "retained/retained_mode.h"
#include "tests/doubles/dx_doubles.h"
#include "tests/soak/soak_window.h"

namespace {

dxd::DxDoubles* g_dx = nullptr;

void Print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

void PrintBoxesAndErrors() {
    for (const std::string& line : g_dx->log.DebugLines()) {
        if (line.rfind("NVX:Set-up failed", 0) == 0 || line.rfind("NVX:Resize Window failed", 0) == 0)
            Print("retry:" + line.substr(0, line.size() - 1));
    }
    for (const std::string& box : g_dx->log.MessageBoxes()) Print("box:" + box);
    for (const std::string& error : g_dx->errors) Print("error:" + error);
}

// The program's exit: report what happened, then end for real.
[[noreturn]] void ExitForReal(int code) {
    PrintBoxesAndErrors();
    size_t added = 0;
    for (const dxd::Device2Double* device : g_dx->devices) added += device->addedViewports.size();
    Print("viewports:" + std::to_string(added));
    Print("exit:" + std::to_string(code));
    std::fflush(stdout);
    ExitProcess(static_cast<UINT>(code));
}

bool Failable(const dxd::LogEntry& e) {
    return e.kind == dxd::LogEntry::Call && e.method != "AddRef" && e.method != "Release";
}

// "IDirectDrawSurface::Blt" for a method, the export's name for an export.
std::string KeyOf(const dxd::LogEntry& e) {
    if (e.object.empty()) return e.method;
    return e.object.substr(0, e.object.find('#')) + "::" + e.method;
}

// The calls our Retained Mode makes on the caller's DirectDraw and Immediate
// Mode objects. The program makes none of them itself but GetSurfaceDesc,
// which our Retained Mode calls right after GetRenderTarget.
bool MadeByOurRetainedMode(const std::string& key, const std::string& previousKey) {
    static const char* const kKeys[] = {
        "IDirect3D2::CreateViewport",        "IDirect3DDevice2::AddViewport", "IDirect3DDevice2::DeleteViewport",
        "IDirect3DDevice2::GetRenderTarget", "IDirect3DViewport2::SetViewport", "IDirect3DViewport2::Clear",
        "IDirectDrawSurface::GetAttachedSurface",
    };
    for (const char* k : kKeys)
        if (key == k) return true;
    return key == "IDirectDrawSurface::GetSurfaceDesc" && previousKey == "IDirect3DDevice2::GetRenderTarget";
}

// A successful call of `key` at or after entry `from`.
bool Succeeded(const dxd::CallLog& log, size_t from, const std::string& key) {
    for (size_t i = from; i < log.entries.size(); ++i) {
        if (Failable(log.entries[i]) && KeyOf(log.entries[i]) == key && log.entries[i].result == 0) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const bool ourRetainedMode = argc >= 2 && std::strcmp(argv[1], "rm") == 0;
    if (ourRetainedMode) {
        --argc;
        ++argv;
    }
    const bool list = argc >= 2 && std::strcmp(argv[1], "list") == 0;
    const bool fail = argc >= 5 && std::strcmp(argv[1], "fail") == 0;
    if (!list && !fail) {
        std::fprintf(stderr, "usage: fault_probe [rm] list | fault_probe [rm] fail <key> <index> <hr>\n");
        return 2;
    }

    dxd::DxDoubles dx;
    g_dx = &dx;
    dx.config.recordVertices = false;
    afx_hooks::exitProcess = ExitForReal;  // the doubles' recorder puts its own back at the end

    soak::SoakWindow window(dx);
    if (!window.Open()) {
        Print("error:the main window did not open");
        return 3;
    }
    window.KeepTwoFlakesInView();
    // Nothing is set up before the first frame: the program creates the
    // Retained Mode object there.
    if (ourRetainedMode) g_deviceState.pfnDirect3DRMCreate = retained::CreateDirect3DRM;
    dx.log.Clear();

    if (fail) {
        const HRESULT hr = static_cast<HRESULT>(std::strtoul(argv[4], nullptr, 16));
        dx.Fail(argv[2], hr, 1, std::atoi(argv[3]));
    }

    window.dlg->RenderFrame();
    if (!window.Resize(400, 300)) Print("error:the resize did not reach the window");
    window.dlg->RenderFrame();

    if (list) {
        std::map<std::string, int> seen;
        std::string previous;
        for (const dxd::LogEntry& e : dx.log.entries) {
            if (!Failable(e)) continue;
            const std::string key = KeyOf(e);
            const int index = seen[key]++;
            if (!ourRetainedMode || MadeByOurRetainedMode(key, previous)) Print(key + " " + std::to_string(index));
            previous = key;
        }
        return 0;
    }

    // Carrying on: two more frames, and the last one must reach the screen.
    // A later set-up that failed is tried again on the first (its pause is
    // over at once here).
    window.dlg->m_nextSetUpTry = 0;
    window.dlg->RenderFrame();
    const size_t before = dx.log.entries.size();
    window.dlg->RenderFrame();
    Print(std::string("presented:") + (Succeeded(dx.log, before, "IDirectDrawSurface::Blt") ? "1" : "0"));
    Print(std::string("cleared:") + (Succeeded(dx.log, before, "IDirect3DViewport2::Clear") ? "1" : "0"));

    window.Close();
    PrintBoxesAndErrors();
    std::string unreleased = dx.Unreleased();
    for (size_t at = 0; (at = unreleased.find('\n', at)) != std::string::npos;) unreleased[at] = ';';
    if (!unreleased.empty()) Print("unreleased:" + unreleased);
    Print("end");
    std::fflush(stdout);
    return 0;
}
