// A long run of the real main window against the DirectX doubles: 2,000
// frame steps, the window resized every 20 steps, a surface lost every 50
// (the primary surface, the back buffer and the Z-buffer in turn). Every step
// must reach the screen, every lost surface must be restored, and at the end
// every reference is given back and the heap holds what it held before.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "gfx/device_state.h"
#include "tests/doubles/dx_doubles.h"
#include "tests/soak/soak_window.h"

// Live allocations through operator new: allocations minus frees.
namespace {
std::atomic<long> g_live{0};
}  // namespace

void* operator new(std::size_t size) {
    if (void* p = std::malloc(size ? size : 1)) {
        ++g_live;
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    if (!p) return;
    --g_live;
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

constexpr int kSteps = 2000;
constexpr int kResizeEvery = 20;
constexpr int kLoseEvery = 50;
constexpr int kLoseOffset = 25;  // never a step that resizes, nor the set-up right after one

const SIZE kSizes[] = {{400, 300}, {640, 480}, {333, 217}, {800, 600}, {129, 97}};

bool Presented(const dxd::CallLog& log) {
    for (const dxd::LogEntry& e : log.entries)
        if (e.method == "Blt" && e.result == 0) return true;
    return false;
}

// One frame step as the application's idle hook makes it.
void Step(soak::SoakWindow& window) { window.dlg->StepFrame(); }

// Focus on the main window, which StepFrame requires.
bool Focus(soak::SoakWindow& window) {
    SetForegroundWindow(window.hwnd);
    SetFocus(window.hwnd);
    window.Pump();
    return GetFocus() == window.hwnd;
}

// A short run that pays for what is made once per process (the framework's
// maps, the runtime's buffers), so that the long run can be compared with it.
void WarmUp() {
    dxd::DxDoubles dx;
    dx.config.recordVertices = false;
    soak::SoakWindow window(dx);
    ASSERT_TRUE(window.Open());
    ASSERT_TRUE(Focus(window));
    for (int step = 1; step <= 2 * kResizeEvery; ++step) {
        if (step % kResizeEvery == 0) window.Resize(kSizes[0].cx, kSizes[0].cy);
        Step(window);
        window.Pump();
        dx.log.Clear();
    }
    window.Close();
}

TEST(Soak, TwoThousandStepsWithResizesAndLostSurfacesLeaveNothingBehind) {
    WarmUp();
    if (HasFatalFailure()) return;
    const long liveBefore = g_live.load();
    const DWORD started = GetTickCount();
    int resizes = 0, lost = 0, presented = 0;
    long worstSegmentGrowth = 0;
    {
        dxd::DxDoubles dx;
        dx.config.recordVertices = false;
        soak::SoakWindow window(dx);
        ASSERT_TRUE(window.Open());
        ASSERT_TRUE(Focus(window));

        long segmentStart = 0;
        long doublesOwnGrowth = 0;  // the failure rules the test adds
        for (int step = 1; step <= kSteps; ++step) {
            if (step % kResizeEvery == 0) {
                const SIZE& size = kSizes[(step / kResizeEvery) % (sizeof kSizes / sizeof kSizes[0])];
                ASSERT_TRUE(window.Resize(size.cx, size.cy)) << "step " << step;
                ASSERT_EQ(g_deviceState.clientWidth, size.cx);
                ++resizes;
            }
            dxd::SurfaceDouble* lostSurface = nullptr;
            int restoresBefore = 0;
            if (step % kLoseEvery == kLoseOffset) {
                IDirectDrawSurface* surfaces[] = {g_deviceState.primarySurface, g_deviceState.backBuffer,
                                                  g_deviceState.zBuffer};
                IDirectDrawSurface* target = surfaces[(step / kLoseEvery) % 3];
                ASSERT_NE(target, nullptr) << "step " << step;
                lostSurface = static_cast<dxd::SurfaceDouble*>(dx.Find(target));
                ASSERT_NE(lostSurface, nullptr);
                restoresBefore = lostSurface->restores;
                const long beforeRule = g_live.load();
                dx.Fail(lostSurface->Name() + "::IsLost", DDERR_SURFACELOST, 1);
                doublesOwnGrowth += g_live.load() - beforeRule;
                ++lost;
            }

            Step(window);
            window.Pump();

            ASSERT_TRUE(Presented(dx.log)) << "step " << step << " did not reach the screen\n" << dx.log.Dump();
            ++presented;
            if (lostSurface) {
                EXPECT_EQ(lostSurface->restores, restoresBefore + 1) << lostSurface->Name() << " at step " << step;
            }
            dx.log.Clear();

            // Between two resizes nothing new is made: frames take no memory
            // for good.
            const int inSegment = step % kResizeEvery;
            if (inSegment == 2) {
                segmentStart = g_live.load();
                doublesOwnGrowth = 0;
            } else if (inSegment == kResizeEvery - 1 && step > kResizeEvery) {
                const long growth = g_live.load() - segmentStart - doublesOwnGrowth;
                if (growth > worstSegmentGrowth) worstSegmentGrowth = growth;
            }
        }
        ASSERT_TRUE(dx.errors.empty()) << dx.errors.front();

        window.Close();
        dx.ExpectAllReleased();
        EXPECT_TRUE(dx.errors.empty()) << (dx.errors.empty() ? "" : dx.errors.front());
    }
    const long liveAfter = g_live.load();
    const double seconds = (GetTickCount() - started) / 1000.0;
    std::printf("soak: %d steps, %d resizes, %d lost surfaces, %d presented; live allocations %ld before, %ld after; "
                "worst growth between two resizes %ld; %.1f s\n",
                kSteps, resizes, lost, presented, liveBefore, liveAfter, worstSegmentGrowth, seconds);
    std::fflush(stdout);
    EXPECT_EQ(resizes, kSteps / kResizeEvery);
    EXPECT_EQ(lost, kSteps / kLoseEvery);
    EXPECT_EQ(worstSegmentGrowth, 0);
    EXPECT_EQ(liveAfter, liveBefore);
}

}  // namespace
