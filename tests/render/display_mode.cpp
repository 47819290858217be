// Changes the display mode of the desktop it runs on, as a user or another
// program would: Wine's virtual desktop takes any of its listed sizes.
//     display_mode.exe <width> <height>   exit code 0 when the screen took that size
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: display_mode <width> <height>\n");
        return 2;
    }
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = static_cast<DWORD>(std::atoi(argv[1]));
    mode.dmPelsHeight = static_cast<DWORD>(std::atoi(argv[2]));
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    const LONG result = ChangeDisplaySettingsExA(nullptr, &mode, nullptr, 0, nullptr);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    std::printf("ChangeDisplaySettingsEx %ld, screen %d x %d\n", result, width, height);
    return result == DISP_CHANGE_SUCCESSFUL && width == std::atoi(argv[1]) && height == std::atoi(argv[2]) ? 0 : 1;
}
