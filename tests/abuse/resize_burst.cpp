// Resizes the window titled "Vorl" many times in quick succession from another
// process, as a fast drag of its border would.
//     resize_burst.exe [count]   exit code 0 when every resize was accepted
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 30;
    HWND window = FindWindowA(nullptr, "Vorl");
    if (!window) {
        std::printf("no window titled Vorl\n");
        return 2;
    }
    RECT start = {};
    GetWindowRect(window, &start);
    const int width = start.right - start.left;
    const int height = start.bottom - start.top;
    int accepted = 0;
    for (int i = 0; i < count; ++i) {
        // Widths and heights that change on every step, both ways, and both
        // smaller and larger than the start.
        const int w = width - 150 + (i * 37) % 300;
        const int h = height - 120 + (i * 53) % 240;
        if (SetWindowPos(window, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE)) ++accepted;
        Sleep(20);
    }
    // Back to a size of its own so the last step is a real change.
    if (SetWindowPos(window, nullptr, 0, 0, width + 40, height + 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE))
        ++accepted;
    std::printf("%d of %d resizes accepted\n", accepted, count + 1);
    return accepted == count + 1 ? 0 : 1;
}
