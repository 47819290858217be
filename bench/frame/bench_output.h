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
    int clientWidth = 0;     // --client W H: the client area to size the window to; 0: the template's
    int clientHeight = 0;
    bool interleaved = false;  // program and floor frames in turn in one process
    double spinMs = 0;       // busy gap between frames; 0: the program's Sleep(10)
};

// --warmup N --frames N --memory --out FILE, from the process command line.
FrameBenchOptions ParseFrameBenchOptions();

// Seconds of the performance counter.
double BenchNow();

// What both programs do between two frames, outside the timing: the
// program's own 10 ms pause (Sleep), or, with --spin MS, a busy wait until MS
// milliseconds after the frame's end. Either way the gap is the same for
// both, so neither frame starts with more of the previous frame's work still
// running in the device's threads than the other's.
void BetweenFrames(double frameEnd, const FrameBenchOptions& options);

struct FrameRecord {
    double milliseconds;        // the whole frame step
    int visible;
    double renderMilliseconds;  // of which the drawing (the program's RenderFrame)
    double sceneMilliseconds;   // one pass of the per-flake arithmetic, timed apart
    double keysMilliseconds;    // of the frame, the six key reads
};

// Writes "client W H" and one
// "frame <n> <visible> <ms> <render ms> <scene ms> <keys ms>" line per timed frame.
bool WriteFrameTimes(const std::string& path, int clientWidth, int clientHeight,
                     const std::vector<FrameRecord>& frames);

// Sizes the window so that its client area is the options' size, if one was given.
void ApplyClientSize(HWND window, const FrameBenchOptions& options);

// One pair of the interleaved run: the program's frame step and the floor
// frame that drew the same squares.
struct PairRecord {
    double programMilliseconds;
    double floorMilliseconds;
    int visible;  // the program's visible flakes
    int quads;    // the squares the floor drew
};

// Writes "client W H" and one "pair <n> <visible> <quads> <program ms> <floor ms>" line per pair.
bool WritePairTimes(const std::string& path, int clientWidth, int clientHeight,
                    const std::vector<PairRecord>& pairs);

// One line of memory figures of this process, in KiB.
std::string MemoryLine(const char* label);
