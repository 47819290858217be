// What both whole-frame benchmark programs share: the command line, the
// clock, and the result file the script reads.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct FrameBenchOptions {
    int warmupFrames = 20;   // not timed: the set-up and the first frames
    int timedFrames = 200;
    bool memory = false;     // memory run: 1,000 frames with 50 resizes (program only)
    std::string output = "frame_times.txt";
};

// --warmup N --frames N --memory --out FILE, from the process command line.
FrameBenchOptions ParseFrameBenchOptions();

// Seconds of the performance counter.
double BenchNow();

struct FrameRecord {
    double milliseconds;        // the whole frame step
    int visible;
    double renderMilliseconds;  // of which the drawing (the program's RenderFrame)
    double sceneMilliseconds;   // one pass of the per-flake arithmetic, timed apart
};

// Writes "client W H" and one "frame <n> <visible> <ms> <render ms> <scene ms>"
// line per timed frame.
bool WriteFrameTimes(const std::string& path, int clientWidth, int clientHeight,
                     const std::vector<FrameRecord>& frames);

// One line of memory figures of this process, in KiB.
std::string MemoryLine(const char* label);
