// One frame's own work for the whole flake field, without the draw calls, as
// the main window does it: rotation, one pass that advances every flake and
// gives it the quick test, then transform, projection, visibility and the
// square's vertices for the flakes that passed. Next to it, one bare advance
// pass over the field, the least a frame can do. Reports nanoseconds per
// flake and heap allocations per frame (the per-frame path must make none).

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

#include "scene/camera.h"
#include "scene/flake_cull.h"
#include "scene/flake_field.h"
#include "scene/flake_quad.h"

namespace {
std::atomic<std::uint64_t> g_allocations{0};
}  // namespace

// Every allocation of the process passes through here and is counted.
void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return ::operator new(size, tag);
}
// GCC cannot tell that these pair with the replacements above.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

// What the main window holds for the scene, as plain data.
struct Scene {
    Flake flakes[kFlakeCount];
    FlakeCandidates candidates;
    double rotation[9];
    double tilt = 3.14159265, bank = 0, turn = 0;
    double eyeX = 0, eyeY = 0, eyeZ = -2.0;
    int clientWidth = 640, clientHeight = 480;
};

QuadVertex g_quad[4];

// Stands in for the draw call: reads the vertices so none of the writing can
// be dropped.
inline void Submit(const QuadVertex quad[4], std::uint64_t& drawn) {
    benchmark::DoNotOptimize(quad[0].sx);
    benchmark::DoNotOptimize(quad[2].sy);
    benchmark::ClobberMemory();
    ++drawn;
}

std::uint64_t FrameWork(Scene& s) {
    BuildRotation(s.tilt, s.bank, s.turn, s.rotation);
    // The window's AdvanceFlakes: the quick test rides on the advance.
    s.candidates.AdvanceAndCull(
        MakeFlakeCull(s.rotation, s.eyeX, s.eyeY, s.eyeZ, s.clientWidth, s.clientHeight), s.flakes, kFlakeCount);
    WriteQuadConstants(g_quad);
    std::uint64_t drawn = 0;
    // The renderer's loop over the flakes that passed, then the full test.
    const FlakeCull cull = MakeFlakeCull(s.rotation, s.eyeX, s.eyeY, s.eyeZ, s.clientWidth, s.clientHeight);
    s.candidates.ForEachMayBeVisible(cull, s.flakes, kFlakeCount, [&](const Flake& f) {
        const Point3 world{f.x, f.y, f.z};
        Point3 camera, screen;
        RotateToCamera(s.rotation, world, camera);
        ProjectToScreen(camera, s.eyeX, s.eyeY, s.eyeZ, s.clientWidth, s.clientHeight, screen);
        if (!IsFlakeVisible(screen, s.clientWidth, s.clientHeight)) return;
        WriteQuadPosition(g_quad, screen);
        Submit(g_quad, drawn);
    });
    s.candidates.Forget();
    return drawn;
}

void BM_FrameWork(benchmark::State& state) {
    auto scene = std::make_unique<Scene>();
    FlakeRandom random;
    FillFlakes(scene->flakes, kFlakeCount, random);

    std::uint64_t drawn = 0;
    const std::uint64_t allocationsBefore = g_allocations.load();
    for (auto _ : state) {
        drawn += FrameWork(*scene);
    }
    const std::uint64_t allocations = g_allocations.load() - allocationsBefore;

    const double frames = static_cast<double>(state.iterations());
    state.counters["ns_per_flake"] = benchmark::Counter(
        static_cast<double>(kFlakeCount) * frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["allocs_per_frame"] = static_cast<double>(allocations) / frames;
    state.counters["drawn_per_frame"] = static_cast<double>(drawn) / frames;
    state.SetItemsProcessed(static_cast<std::int64_t>(kFlakeCount) * state.iterations());
}

BENCHMARK(BM_FrameWork)->Unit(benchmark::kMillisecond);

// One bare pass of AdvanceFlakes over the field: the yardstick for the frame.
void BM_AdvancePass(benchmark::State& state) {
    auto scene = std::make_unique<Scene>();
    FlakeRandom random;
    FillFlakes(scene->flakes, kFlakeCount, random);
    for (auto _ : state) {
        AdvanceFlakes(scene->flakes, kFlakeCount);
        benchmark::ClobberMemory();
    }
    const double frames = static_cast<double>(state.iterations());
    state.counters["ns_per_flake"] = benchmark::Counter(
        static_cast<double>(kFlakeCount) * frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(static_cast<std::int64_t>(kFlakeCount) * state.iterations());
}

BENCHMARK(BM_AdvancePass)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
