// Changes the display mode of the desktop it runs on, as a user or another
// program would: Wine's virtual desktop takes any of its listed sizes. With
// several sizes, one change after another, half a second apart, as a
// docking station or a loose cable makes them.
//     display_mode.exe <width> <height> [<width> <height> ...]
// exit code 0 when the screen took every size in turn
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3 || argc % 2 == 0) {
        std::printf("usage: display_mode <width> <height> [<width> <height> ...]\n");
        return 2;
    }
    int failed = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (i > 1) Sleep(500);
        DEVMODEA mode = {};
        mode.dmSize = sizeof mode;
        mode.dmPelsWidth = static_cast<DWORD>(std::atoi(argv[i]));
        mode.dmPelsHeight = static_cast<DWORD>(std::atoi(argv[i + 1]));
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        const LONG result = ChangeDisplaySettingsExA(nullptr, &mode, nullptr, 0, nullptr);
        const int width = GetSystemMetrics(SM_CXSCREEN);
        const int height = GetSystemMetrics(SM_CYSCREEN);
        std::printf("ChangeDisplaySettingsEx %ld, screen %d x %d\n", result, width, height);
        failed += result != DISP_CHANGE_SUCCESSFUL || width != std::atoi(argv[i]) || height != std::atoi(argv[i + 1]);
    }
    return failed ? 1 : 0;
}
