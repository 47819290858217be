#include "bench/frame/bench_output.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

FrameBenchOptions ParseFrameBenchOptions() {
    FrameBenchOptions options;
    for (int i = 1; i < __argc; ++i) {
        const char* arg = __argv[i];
        const char* next = i + 1 < __argc ? __argv[i + 1] : nullptr;
        if (std::strcmp(arg, "--warmup") == 0 && next) {
            options.warmupFrames = std::atoi(next);
            ++i;
        } else if (std::strcmp(arg, "--frames") == 0 && next) {
            options.timedFrames = std::atoi(next);
            ++i;
        } else if (std::strcmp(arg, "--out") == 0 && next) {
            options.output = next;
            ++i;
        } else if (std::strcmp(arg, "--spin") == 0 && next) {
            options.spinMs = std::atof(next);
            ++i;
        } else if (std::strcmp(arg, "--client") == 0 && next && i + 2 < __argc) {
            options.clientWidth = std::atoi(next);
            options.clientHeight = std::atoi(__argv[i + 2]);
            i += 2;
        } else if (std::strcmp(arg, "--interleaved") == 0) {
            options.interleaved = true;
        } else if (std::strcmp(arg, "--memory") == 0) {
            options.memory = true;
        }
    }
    if (options.warmupFrames < 1) options.warmupFrames = 1;
    if (options.timedFrames < 1) options.timedFrames = 1;
    return options;
}

double BenchNow() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void BetweenFrames(double frameEnd, const FrameBenchOptions& options) {
    if (options.spinMs <= 0) {
        Sleep(10);
        return;
    }
    const double until = frameEnd + options.spinMs / 1000.0;
    while (BenchNow() < until) {
    }
}

bool WriteFrameTimes(const std::string& path, int clientWidth, int clientHeight,
                     const std::vector<FrameRecord>& frames) {
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file) return false;
    std::fprintf(file, "client %d %d\n", clientWidth, clientHeight);
    for (size_t i = 0; i < frames.size(); ++i) {
        std::fprintf(file, "frame %zu %d %.4f %.4f %.4f %.4f\n", i, frames[i].visible, frames[i].milliseconds,
                     frames[i].renderMilliseconds, frames[i].sceneMilliseconds, frames[i].keysMilliseconds);
    }
    return std::fclose(file) == 0;
}

void ApplyClientSize(HWND window, const FrameBenchOptions& options) {
    if (options.clientWidth <= 0 || options.clientHeight <= 0) return;
    RECT rect = {0, 0, options.clientWidth, options.clientHeight};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

bool WritePairTimes(const std::string& path, int clientWidth, int clientHeight,
                    const std::vector<PairRecord>& pairs) {
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file) return false;
    std::fprintf(file, "client %d %d\n", clientWidth, clientHeight);
    for (size_t i = 0; i < pairs.size(); ++i) {
        std::fprintf(file, "pair %zu %d %d %.4f %.4f\n", i, pairs[i].visible, pairs[i].quads,
                     pairs[i].programMilliseconds, pairs[i].floorMilliseconds);
    }
    return std::fclose(file) == 0;
}

std::string MemoryLine(const char* label) {
    PROCESS_MEMORY_COUNTERS_EX counters;
    std::memset(&counters, 0, sizeof counters);
    counters.cb = sizeof counters;
    char line[256];
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters)) {
        std::snprintf(line, sizeof line, "memory %s unavailable %lu\n", label, GetLastError());
        return line;
    }
    std::snprintf(line, sizeof line, "memory %s peak_ws_kib %zu ws_kib %zu pagefile_kib %zu\n", label,
                  static_cast<size_t>(counters.PeakWorkingSetSize / 1024),
                  static_cast<size_t>(counters.WorkingSetSize / 1024),
                  static_cast<size_t>(counters.PagefileUsage / 1024));
    return line;
}
