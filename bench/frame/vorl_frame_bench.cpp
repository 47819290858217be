// The program's own application object and main window, driven by a harness
// that times each frame step without its 10 ms pause: keys, rotation, flakes
// and RenderFrame, exactly as the window's StepFrame runs them. Nothing of the
// program is changed; the harness only replaces the idle hook that calls the
// step, and counts the visible flakes after each frame outside the timing
// (timing that count too: the renderer's per-flake tests as a walk of their
// own over the field). Between two
// frames it pauses as the step does, or waits busily with --spin MS.
//
// Timed run:        vorl_frame_bench.exe --warmup N --frames N [--client W H] --out FILE
// Interleaved run:  vorl_frame_bench.exe --interleaved --warmup N --frames N [--client W H] --out FILE
//   N pairs of one program frame step and one floor frame (the floor's calls
//   drawing the same squares, computed in advance) on the same device, the
//   order swapped every pair.
// Memory run:       vorl_frame_bench.exe --memory --out FILE
//   1,000 frames with a resize before every 20th (50 resizes, alternating
//   between the window's own size and a larger one); the process's memory
//   figures after the first set-up, after the first and second resizes' set-ups
//   and every 200 frames.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/flake_app.h"
#include "app/flake_dlg.h"
#include "bench/frame/bench_output.h"
#include "bench/frame/floor_frame.h"
#include "scene/flake_cull.h"
#include "scene/flake_quad.h"

namespace {

constexpr int kMemoryFrames = 1000;
constexpr int kResizeEvery = 20;
constexpr int kGrowWidth = 96;
constexpr int kGrowHeight = 64;

// The flakes the frame drew, counted again without drawing: a walk over the
// field with the quick test, then the window's WorldToCamera and Project and
// the visibility test. The frame itself runs the quick test during its
// advance; this walk is the harness's own, outside the frame's time.
int CountVisible(CFlakeDlg& dlg) {
    int visible = 0;
    const FlakeCull cull = MakeFlakeCull(dlg.m_rotation, dlg.m_eyeX, dlg.m_eyeY, dlg.m_eyeZ, dlg.m_clientWidth,
                                         dlg.m_clientHeight);
    ForEachFlakeThatMayBeVisible(cull, dlg.m_flakes, kFlakeCount, [&](const Flake& flake) {
        const Point3 world = {flake.x, flake.y, flake.z};
        Point3 camera, screen;
        dlg.WorldToCamera(world, camera);
        dlg.Project(camera, screen);
        if (IsFlakeVisible(screen, dlg.m_clientWidth, dlg.m_clientHeight)) ++visible;
    });
    return visible;
}

// One frame step's body as StepFrame runs it, without the focus test and the
// pause; the times at its start, after the key reads, before RenderFrame
// and at its end.
struct StepTimes {
    double start, keys, render, end;
};

StepTimes RunFrameStep(CFlakeDlg& dlg) {
    StepTimes t;
    t.start = BenchNow();
    dlg.PollCameraKeys();
    t.keys = BenchNow();
    dlg.UpdateRotation();
    dlg.AdvanceFlakes();
    t.render = BenchNow();
    dlg.RenderFrame();
    t.end = BenchNow();
    return t;
}

class CFrameBenchApp : public CFlakeApp {
public:
    BOOL OnIdle(LONG count) override;

    FrameBenchOptions m_options;

private:
    void RunInterleaved(CFlakeDlg& dlg);
    void Finish(CFlakeDlg& dlg);

    int m_frame = 0;  // frames run so far
    bool m_finished = false;
    int m_resizes = 0;
    SIZE m_originalSize = {0, 0};
    std::vector<FrameRecord> m_records;
    std::vector<PairRecord> m_pairs;
    PreparedFrames m_prepared;
    std::string m_memory;
};

BOOL CFrameBenchApp::OnIdle(LONG count) {
    BOOL more = CWinApp::OnIdle(count);
    CFlakeDlg* dlg = m_pFlakeDlg;
    if (!dlg || m_finished) return more;

    if (m_frame == 0) {
        // The window's own size path, before the first set-up.
        ApplyClientSize(dlg->m_hWnd, m_options);
        RECT rect;
        ::GetWindowRect(dlg->m_hWnd, &rect);
        m_originalSize.cx = rect.right - rect.left;
        m_originalSize.cy = rect.bottom - rect.top;
        m_records.reserve(static_cast<size_t>(m_options.timedFrames));
        if (m_options.interleaved) {
            m_pairs.reserve(static_cast<size_t>(m_options.timedFrames));
            PrepareFrames(m_options.warmupFrames + m_options.timedFrames, dlg->m_clientWidth, dlg->m_clientHeight,
                          m_prepared);
        }
    }
    if (m_options.interleaved) {
        RunInterleaved(*dlg);
        return TRUE;
    }
    if (m_options.memory && (m_frame + 1) % kResizeEvery == 0 && m_resizes < kMemoryFrames / kResizeEvery) {
        // The window's own size path: WM_SIZE, new surfaces, set-up on the next frame.
        ++m_resizes;
        const bool grow = (m_resizes % 2) == 1;
        ::SetWindowPos(dlg->m_hWnd, nullptr, 0, 0, m_originalSize.cx + (grow ? kGrowWidth : 0),
                       m_originalSize.cy + (grow ? kGrowHeight : 0), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    const StepTimes t = RunFrameStep(*dlg);
    ++m_frame;

    if (m_options.memory) {
        if (m_frame == 1) m_memory += MemoryLine("start");
        if (m_frame == kResizeEvery) m_memory += MemoryLine("resizes_1");
        if (m_frame == 2 * kResizeEvery) m_memory += MemoryLine("resizes_2");
        if (m_frame % 200 == 0) {
            char label[64];
            wsprintfA(label, "frames_%d_resizes_%d", m_frame, m_resizes);
            m_memory += MemoryLine(label);
        }
        if (m_frame >= kMemoryFrames) Finish(*dlg);
        BetweenFrames(t.end, m_options);
        return TRUE;
    }

    if (m_frame > m_options.warmupFrames) {
        // The visible count takes the renderer's per-flake tests over the
        // field (the quick test, then rotation, projection and the
        // visibility test through the window's methods); its time, taken
        // apart from the frame, is what that work costs as a pass of its own.
        const double sceneStart = BenchNow();
        const int visible = CountVisible(*dlg);
        const double sceneEnd = BenchNow();
        m_records.push_back({(t.end - t.start) * 1000.0, visible, (t.end - t.render) * 1000.0,
                             (sceneEnd - sceneStart) * 1000.0, (t.keys - t.start) * 1000.0});
        if (static_cast<int>(m_records.size()) >= m_options.timedFrames) Finish(*dlg);
    }
    BetweenFrames(t.end, m_options);
    return TRUE;
}

// One pair: the program's frame step n and a floor frame drawing frame n's
// squares with the same device, window and handles, the order swapped every
// pair. Both see the same machine state within a few milliseconds.
void CFrameBenchApp::RunInterleaved(CFlakeDlg& dlg) {
    const int n = m_frame;
    ++m_frame;
    if (n == 0) {
        // The first step sets the device up; the floor has nothing to draw on before it.
        BetweenFrames(RunFrameStep(dlg).end, m_options);
        return;
    }
    const FloorFrameHandles handles = {dlg.m_backgroundMaterialHandle, dlg.m_texture.m_materialHandle,
                                       dlg.m_texture.m_textureHandle, dlg.m_clientWidth, dlg.m_clientHeight};
    const size_t index = static_cast<size_t>(n);
    auto floorFrame = [&] {
        const double start = BenchNow();
        DrawPreparedFrame(handles, m_prepared.Vertices(index), m_prepared.Quads(index));
        const double end = BenchNow();
        BetweenFrames(end, m_options);
        return (end - start) * 1000.0;
    };
    auto programFrame = [&] {
        const StepTimes t = RunFrameStep(dlg);
        BetweenFrames(t.end, m_options);
        return (t.end - t.start) * 1000.0;
    };
    double program, floor;
    if (n % 2 == 0) {
        program = programFrame();
        floor = floorFrame();
    } else {
        floor = floorFrame();
        program = programFrame();
    }
    if (n >= m_options.warmupFrames) {
        m_pairs.push_back({program, floor, CountVisible(dlg), static_cast<int>(m_prepared.Quads(index))});
        if (static_cast<int>(m_pairs.size()) >= m_options.timedFrames) Finish(dlg);
    }
}

void CFrameBenchApp::Finish(CFlakeDlg& dlg) {
    m_finished = true;
    if (m_options.memory) {
        if (FILE* file = std::fopen(m_options.output.c_str(), "w")) {
            std::fputs(m_memory.c_str(), file);
            std::fclose(file);
        }
    } else if (m_options.interleaved) {
        WritePairTimes(m_options.output, dlg.m_clientWidth, dlg.m_clientHeight, m_pairs);
    } else {
        WriteFrameTimes(m_options.output, dlg.m_clientWidth, dlg.m_clientHeight, m_records);
    }
    // The program's own way out: the window goes, the loop ends.
    dlg.DestroyWindow();
}

CFrameBenchApp theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    theApp.m_options = ParseFrameBenchOptions();
    return AfxWinMain(instance);
}
