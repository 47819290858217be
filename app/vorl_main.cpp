// The program's entry and its one application object.
#include <windows.h>
#include <mmsystem.h>

#include <cstdlib>

#include "app/flake_app.h"
#include "gfx/binding.h"

CFlakeApp theApp;

namespace {
void EndTimerPeriod() { timeEndPeriod(1); }
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Before anything is loaded by name: no library from the working folder.
    NvxRestrictLibrarySearch();
    // Frames are paced by a 10 ms Sleep, which Windows' default 15.6 ms tick
    // stretches to a whole tick. 1 ms ticks for the program's life; the
    // runtime's exit gives them back on every way out, the fatal one included.
    if (timeBeginPeriod(1) == TIMERR_NOERROR) std::atexit(EndTimerPeriod);
    return AfxWinMain(instance);
}
