// Does to the running Vorl.exe what users and Windows do, in a random order
// drawn from a seed: resizes and moves its window (partly off the screen,
// larger than it, off every screen and back), minimises, maximises and
// restores it, holds the camera keys, opens the About box from the system
// menu and closes it, puts another window in front, changes the display mode,
// the work area and the colours. It runs in the program's Wine desktop.
//
//     chaos_driver.exe <seed> <first> <count> <width> <height>
//     chaos_driver.exe figures
//
// Runs actions first .. first + count - 1 of the seed's sequence (action i is
// the same whichever run makes it), one line each, and after each looks for
// a message box of the program. Then it settles: the About box closed, the
// window restored (after the first stretch, then through every display mode
// at the largest sizes: Tour) at 40,30 and 660 x 520, the display mode
// <width> x <height>, the whole screen the work area, the window in front.
// "figures" does nothing to the program and prints one line of what it
// holds (PrintFigures).
// Exit code 0; 1 after a message box or when the window went away, with the
// seed, the action, the window's rectangle and the screen before and after;
// 2 for bad arguments or no window.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <random>
#include <string>

namespace {

const wchar_t kAboutCaption[] = L"Vorlのﾊﾞｰｼﾞｮﾝ情報";
const SIZE kModes[] = {{640, 480}, {800, 600}, {1024, 768}};
const RECT kSettled = {40, 30, 700, 550};

HWND g_main = nullptr;
DWORD g_pid = 0;
HWND g_cover = nullptr;
unsigned long long g_seed = 0;

// Pumps this program's own messages (the cover window's) while it waits.
void Wait(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        const LONG left = LONG(end - GetTickCount());
        if (left <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(left), QS_ALLINPUT);
    }
}

std::string Utf8(const wchar_t* text) {
    char out[512];
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, nullptr);
    return n > 0 ? out : "?";
}

// The program's dialogs other than its main window: the About box, and any
// other, which is a message box.
struct Dialogs {
    HWND about = nullptr;
    HWND box = nullptr;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM found) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t kind[32] = {}, caption[128] = {};
    GetClassNameW(window, kind, 32);
    if (pid != g_pid || window == g_main || !IsWindowVisible(window) || std::wcscmp(kind, L"#32770") != 0) return TRUE;
    GetWindowTextW(window, caption, 128);
    Dialogs& dialogs = *reinterpret_cast<Dialogs*>(found);
    (std::wcscmp(caption, kAboutCaption) == 0 ? dialogs.about : dialogs.box) = window;
    return TRUE;
}

Dialogs FindDialogs() {
    Dialogs dialogs;
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

BOOL CALLBACK AppendText(HWND child, LPARAM out) {
    wchar_t text[256] = {};
    GetWindowTextW(child, text, 256);
    if (text[0]) *reinterpret_cast<std::string*>(out) += " \"" + Utf8(text) + "\"";
    return TRUE;
}

// The window's rectangle and state, and the screen's size, as one text.
std::string Where() {
    RECT r = {};
    GetWindowRect(g_main, &r);
    char text[160];
    std::snprintf(text, sizeof text, "window %ld,%ld-%ld,%ld%s%s, screen %dx%d", long(r.left), long(r.top),
                  long(r.right), long(r.bottom), IsIconic(g_main) ? " minimised" : IsZoomed(g_main) ? " maximised" : "",
                  GetForegroundWindow() == g_main ? " in front" : "", GetSystemMetrics(SM_CXSCREEN),
                  GetSystemMetrics(SM_CYSCREEN));
    return text;
}

// Exit code 1 with what was found, when the program shows a message box or
// its window went away.
void CheckProgram(int action, const std::string& kind, const std::string& before) {
    std::string found;
    const Dialogs dialogs = FindDialogs();
    if (!IsWindow(g_main)) {
        found = "the program's window went away";
    } else if (dialogs.box) {
        wchar_t caption[128] = {};
        GetWindowTextW(dialogs.box, caption, 128);
        found = "a message box \"" + Utf8(caption) + "\":";
        EnumChildWindows(dialogs.box, AppendText, reinterpret_cast<LPARAM>(&found));
    }
    if (found.empty()) return;
    std::printf("FAIL seed %llu, action %d (%s): %s\n  before: %s\n  after:  %s\n", g_seed, action, kind.c_str(),
                found.c_str(), before.c_str(), IsWindow(g_main) ? Where().c_str() : "no window");
    std::fflush(stdout);
    std::exit(1);
}

bool IsExtended(WORD key) { return key != VK_MENU && key != VK_SPACE && key != VK_RETURN && key != VK_ESCAPE; }

void Key(WORD key, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = WORD(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (IsExtended(key) ? KEYEVENTF_EXTENDEDKEY : 0);
    SendInput(1, &input, sizeof input);
}

void Tap(WORD key) {
    Key(key, true);
    Key(key, false);
}

bool MenuOpen() {
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu);
}

// The last item of the system menu is the About item: Up from the first
// item wraps to it. Return goes only to an open menu: on the main window it
// would end the program.
std::string OpenAbout() {
    if (!IsIconic(g_main)) SetForegroundWindow(g_main);
    Wait(50);
    Key(VK_MENU, true);
    Tap(VK_SPACE);
    Key(VK_MENU, false);
    for (int i = 0; i < 40 && !MenuOpen(); ++i) Wait(50);
    if (!MenuOpen()) return "the system menu did not open";
    Tap(VK_UP);
    Wait(80);
    if (!MenuOpen()) return "the system menu closed";
    Tap(VK_RETURN);
    for (int i = 0; i < 100 && !FindDialogs().about; ++i) Wait(50);
    return FindDialogs().about ? "opened" : "did not open";
}

std::string CloseAbout(HWND about, bool escape) {
    if (escape && GetForegroundWindow() == about) {
        Tap(VK_ESCAPE);
    } else if (escape) {
        PostMessageW(about, WM_COMMAND, IDCANCEL, 0);
    } else {
        PostMessageW(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    }
    for (int i = 0; i < 100 && FindDialogs().about; ++i) Wait(50);
    return escape ? "closed with Escape" : "closed with OK";
}

// Commands and placements reach the program in order without the driver
// waiting for them, as a user's clicks and drags come: a message box the
// program shows from inside a handler is found instead of blocking the
// driver, and the program may lag behind by a few actions.
void SysCommand(WPARAM command) { SendNotifyMessageW(g_main, WM_SYSCOMMAND, command, 0); }

// Waits, a second at most, until the program has handled what came before.
void Sync() { SendMessageTimeoutW(g_main, WM_NULL, 0, 0, SMTO_NORMAL, 1000, nullptr); }

void Place(const RECT& r, UINT flags = 0) {
    SetWindowPos(g_main, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS | flags);
}

void SetMode(SIZE size) {
    DEVMODEW mode = {};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = DWORD(size.cx);
    mode.dmPelsHeight = DWORD(size.cy);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
}

void SetWorkArea(int bottomStrip) {
    RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - bottomStrip};
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &area, SPIF_SENDCHANGE);
}

using Random = std::mt19937_64;
int Between(Random& random, int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

std::string Describe(const char* what, const RECT& r) {
    char text[96];
    std::snprintf(text, sizeof text, "%s %ld,%ld %ldx%ld", what, long(r.left), long(r.top), long(r.right - r.left),
                  long(r.bottom - r.top));
    return text;
}

// Sizes and places the window: inside the screen, partly off it, larger than
// it, or off every screen for a moment and back. Inside and partly off go by
// any of the three screens, as a window placed on a larger one keeps its
// place when the screen shrinks.
std::string Resize(Random& random) {
    const int kind = Between(random, 0, 3);
    const SIZE any = kModes[Between(random, 0, 2)];
    const bool current = kind >= 2 || Between(random, 0, 1) == 0;
    const int sw = current ? GetSystemMetrics(SM_CXSCREEN) : any.cx;
    const int sh = current ? GetSystemMetrics(SM_CYSCREEN) : any.cy;
    RECT r;
    switch (kind) {
        case 0: {
            const int w = Between(random, 160, sw), h = Between(random, 120, sh);
            const int x = Between(random, 0, sw - w), y = Between(random, 0, sh - h);
            r = {x, y, x + w, y + h};
            Place(r);
            return Describe("inside", r);
        }
        case 1: {
            const int w = Between(random, 200, sw * 3 / 4), h = Between(random, 150, sh * 3 / 4);
            const int x = Between(random, -w / 2, sw - w / 2), y = Between(random, -h / 3, sh - h / 3);
            r = {x, y, x + w, y + h};
            Place(r);
            return Describe("partly off", r);
        }
        case 2: {
            const int w = Between(random, sw, sw * 4 / 3), h = Between(random, sh, sh * 4 / 3);
            const int x = Between(random, -(w - sw) - 40, 0), y = Between(random, -(h - sh) - 30, 0);
            r = {x, y, x + w, y + h};
            Place(r);
            return Describe("larger", r);
        }
        default: {
            RECT back;
            GetWindowRect(g_main, &back);
            r = back;
            OffsetRect(&r, sw + 100 - r.left, 0);
            Place(r, SWP_NOSIZE);
            Wait(DWORD(Between(random, 50, 250)));
            Place(back, SWP_NOSIZE);
            return Describe("off every screen and back to", back);
        }
    }
}

std::string HoldKeys(Random& random) {
    static const WORD pairs[][2] = {{VK_LEFT, VK_RIGHT}, {VK_UP, VK_DOWN}, {VK_PRIOR, VK_NEXT}};
    static const char* names[] = {"Left, Right", "Up, Down", "Page Up, Page Down"};
    const int pair = Between(random, 0, 2), held = Between(random, 50, 200);
    if (!FindDialogs().about && !IsIconic(g_main)) SetForegroundWindow(g_main);
    for (WORD key : pairs[pair]) {
        Key(key, true);
        Wait(DWORD(held));
        Key(key, false);
    }
    return std::string(names[pair]) + " held " + std::to_string(held) + " ms each";
}

LRESULT CALLBACK CoverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

std::string Cover(Random& random) {
    if (!g_cover) {
        WNDCLASSW kind = {};
        kind.lpfnWndProc = CoverProc;
        kind.hInstance = GetModuleHandleW(nullptr);
        kind.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        kind.lpszClassName = L"ChaosCover";
        RegisterClassW(&kind);
        g_cover = CreateWindowExW(0, L"ChaosCover", L"Another window", WS_OVERLAPPEDWINDOW, 0, 0, 360, 240, nullptr,
                                  nullptr, kind.hInstance, nullptr);
    }
    HWND front = GetForegroundWindow();
    const int x = Between(random, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
    const int y = Between(random, 0, GetSystemMetrics(SM_CYSCREEN) / 2);
    const int held = Between(random, 80, 250);
    SetWindowPos(g_cover, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(g_cover);
    Wait(DWORD(held));
    ShowWindow(g_cover, SW_HIDE);
    if (front) SetForegroundWindow(front);
    return "in front for " + std::to_string(held) + " ms";
}

// One action of the seed's sequence. Action 0 makes the largest buffers the
// run will need, so that later readings of the working set compare alike.
std::string Act(int action, Random& random) {
    if (action == 0) {
        SetMode(kModes[2]);
        const RECT r = {-40, -30, 1024 * 4 / 3 - 40, 768 * 4 / 3 - 30};
        Place(r);
        return "mode 1024x768, " + Describe("larger", r);
    }
    // The About box and a minimised window stop the frames: half the
    // actions after one end it, so that most actions meet a running program.
    const Dialogs dialogs = FindDialogs();
    if (dialogs.about && Between(random, 0, 1) == 0)
        return "About box " + CloseAbout(dialogs.about, Between(random, 0, 1) == 1);
    if (IsIconic(g_main) && Between(random, 0, 1) == 0) {
        SysCommand(SC_RESTORE);
        return "restore";
    }
    const int pick = Between(random, 0, 99);
    if (pick < 33) return "resize " + Resize(random);
    if (pick < 48) return "keys " + HoldKeys(random);
    if (pick < 60) {
        const int sw = GetSystemMetrics(SM_CXSCREEN);
        SIZE size;
        do size = kModes[Between(random, 0, 2)];
        while (size.cx == sw);
        SetMode(size);
        Wait(100);
        return "mode " + std::to_string(size.cx) + "x" + std::to_string(size.cy);
    }
    if (pick < 75) {
        const bool changed = IsIconic(g_main) || IsZoomed(g_main);
        const int choice = Between(random, 0, 3);
        WPARAM command = changed && choice < 2 ? SC_RESTORE : choice % 2 ? SC_MAXIMIZE : SC_MINIMIZE;
        SysCommand(command);
        return command == SC_RESTORE ? "restore" : command == SC_MAXIMIZE ? "maximise" : "minimise";
    }
    if (pick < 83) {
        if (dialogs.about) return "About box " + CloseAbout(dialogs.about, Between(random, 0, 1) == 1);
        return "About box " + OpenAbout();
    }
    if (pick < 92) return "another window " + Cover(random);
    if (pick < 98) {
        const int strip = Between(random, 0, 2) * 40;
        SetWorkArea(strip);
        return "work area without a " + std::to_string(strip) + " px strip at the bottom";
    }
    const int element = COLOR_BTNFACE;
    const COLORREF colour = GetSysColor(element);
    SetSysColors(1, &element, &colour);
    SendMessageTimeoutW(g_main, WM_THEMECHANGED, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    return "colours and theme changed";
}

// The end of the first stretch: in every display mode, largest first, the
// window larger than the screen (the largest buffers of that mode) and drawn
// at that size; then the About box. The reference reading of the working
// set comes after it.
void Tour() {
    for (int i = 2; i >= 0; --i) {
        const SIZE mode = kModes[i];
        SetMode(mode);
        Place({-40, -30, mode.cx * 4 / 3 - 40, mode.cy * 4 / 3 - 30});
        Sync();
        SetForegroundWindow(g_main);
        Wait(200);
    }
    if (OpenAbout() == "opened") CloseAbout(FindDialogs().about, true);
}

// Brings the window back (and, with tour, goes through Tour first).
void Settle(SIZE mode, bool tour = false) {
    Sync();
    const Dialogs dialogs = FindDialogs();
    if (dialogs.about) CloseAbout(dialogs.about, false);
    // A disabled window ignores the restore: the About box must be gone.
    for (int i = 0; i < 40 && !IsWindowEnabled(g_main); ++i) Wait(50);
    // A window minimised from maximised comes back maximised: restored again.
    for (int i = 0; i < 4 && (IsIconic(g_main) || IsZoomed(g_main)); ++i) {
        SysCommand(SC_RESTORE);
        Sync();
    }
    if (tour) Tour();
    if (GetSystemMetrics(SM_CXSCREEN) != mode.cx || GetSystemMetrics(SM_CYSCREEN) != mode.cy) SetMode(mode);
    SetWorkArea(0);
    Place(kSettled);
    Sync();
    SetForegroundWindow(g_main);
    Wait(300);
}

// Reads one pointer-sized field of the program's memory at `address`.
template <class Field>
Field ReadField(HANDLE process, ULONG_PTR address) {
    Field value = 0;
    if (!address || !ReadProcessMemory(process, reinterpret_cast<const void*>(address), &value, sizeof value, nullptr))
        return 0;
    return value;
}

// The program's GDI objects, counted in the GDI handle table that Wine keeps
// for each process: 0x10000 entries of 24 bytes whose type byte, at offset
// 14, is 0 while the entry is free. The 64-bit PEB's GdiSharedHandleTable
// names it; a 32-bit process finds its 64-bit TEB in the GdiBatchCount field
// of its own TEB, as Wine's gdi32 does. Read from outside: a thread made in
// the program (CreateRemoteThread) is started by Wine from a signal handler
// that interrupts whatever the program does, and a 32-bit program caught
// inside malloc stayed blocked for good. -1 when it cannot be read.
long GdiObjects(HANDLE process, DWORD threadId) {
    struct {
        LONG exitStatus;
        void* teb;
        HANDLE process, thread;  // CLIENT_ID
        ULONG_PTR affinity;
        LONG priority, basePriority;
    } basic = {};
    using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
    HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, threadId);
    const bool known = thread && query && query(thread, 0 /* ThreadBasicInformation */, &basic, sizeof basic, nullptr) == 0;
    if (thread) CloseHandle(thread);
    if (!known) return -1;
    const ULONG_PTR teb = reinterpret_cast<ULONG_PTR>(basic.teb);
#ifdef _WIN64
    const ULONG_PTR table = ReadField<ULONG_PTR>(process, ReadField<ULONG_PTR>(process, teb + 0x60) + 0xF8);
#else
    const ULONG teb64 = ReadField<ULONG>(process, teb + 0xF70);
    const ULONG_PTR table = teb64 ? ReadField<ULONG>(process, ReadField<ULONG>(process, teb64 + 0x60) + 0xF8)
                                  : ReadField<ULONG>(process, ReadField<ULONG>(process, teb + 0x30) + 0x94);
#endif
    if (!table) return -1;
    std::string entries(0x10000 * 24, '\0');
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), &entries[0], entries.size(), nullptr))
        return -1;
    long count = 0;
    for (size_t i = 0; i < 0x10000; ++i) count += entries[i * 24 + 14] != 0;
    return count;
}

// The program's handles, from the system's list of every process's handles.
long HandleCount() {
    using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    struct Entry {
        ULONG owner;
        BYTE type, flags;
        USHORT value;
        void* object;
        ULONG access;
    };
    for (ULONG size = 1 << 20; query && size <= (1u << 26); size *= 2) {
        std::string buffer(size, '\0');
        ULONG needed = 0;
        const LONG status = query(16 /* SystemHandleInformation */, &buffer[0], size, &needed);
        if (status == LONG(0xC0000004)) continue;  // STATUS_INFO_LENGTH_MISMATCH
        if (status != 0) return -1;
        const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
        const Entry* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(void*));
        long mine = 0;
        for (ULONG i = 0; i < count; ++i) mine += entries[i].owner == g_pid;
        return mine;
    }
    return -1;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == g_pid) ++*reinterpret_cast<long*>(count);
    return TRUE;
}

// The program's windows, its own and the system's (the desktop's children
// and their children).
long WindowCount() {
    long count = 0;
    EnumChildWindows(GetDesktopWindow(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// One line of what the program holds: its GDI objects, its windows (Wine
// counts no USER objects: GetGuiResources answers 0), its handles, and the
// committed private memory of its Windows address space (its heaps and
// VirtualAlloc; what the C library allocates for Wine's Unix side and the GL
// driver is not in it). A figure that could not be read is -1.
void PrintFigures() {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, g_pid);
    if (!process) {
        std::printf("figures: the program could not be opened\n");
        return;
    }
    ULONGLONG privateBytes = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) privateBytes += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= at) break;
        at = next;
    }
    std::printf("figures: gdi %ld windows %ld handles %ld windows private %llu kB\n",
                GdiObjects(process, GetWindowThreadProcessId(g_main, nullptr)), WindowCount(), HandleCount(),
                privateBytes / 1024);
    CloseHandle(process);
}

BOOL CALLBACK FindMain(HWND window, LPARAM) {
    wchar_t kind[32] = {}, caption[32] = {};
    GetClassNameW(window, kind, 32);
    GetWindowTextW(window, caption, 32);
    if (std::wcscmp(kind, L"#32770") != 0 || std::wcscmp(caption, L"Vorl") != 0 || !IsWindowVisible(window))
        return TRUE;
    g_main = window;
    return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    const bool figuresOnly = argc == 2 && std::strcmp(argv[1], "figures") == 0;
    if (argc != 6 && !figuresOnly) {
        std::printf("usage: chaos_driver <seed> <first> <count> <width> <height>\n"
                    "       chaos_driver figures\n");
        return 2;
    }
    for (int i = 0; i < 300 && !g_main; ++i) {
        EnumWindows(FindMain, 0);
        if (!g_main) Sleep(100);
    }
    if (!g_main) {
        std::printf("no window titled Vorl\n");
        return 2;
    }
    GetWindowThreadProcessId(g_main, &g_pid);
    if (figuresOnly) {
        PrintFigures();
        return 0;
    }
    g_seed = std::strtoull(argv[1], nullptr, 10);
    const int first = std::atoi(argv[2]), count = std::atoi(argv[3]);
    const SIZE settled = {std::atoi(argv[4]), std::atoi(argv[5])};
    for (int action = first; action < first + count; ++action) {
        std::seed_seq seeds{unsigned(g_seed), unsigned(g_seed >> 32), unsigned(action)};
        Random random(seeds);
        const std::string before = Where();
        const DWORD start = GetTickCount();
        const std::string kind = Act(action, random);
        std::printf("%d %s; %s; %lu ms\n", action, kind.c_str(), Where().c_str(), GetTickCount() - start);
        std::fflush(stdout);
        // Half the actions come in bursts, half once the program has
        // handled the one before, so frames run between them.
        if (Between(random, 0, 1)) Sync();
        Wait(DWORD(Between(random, 10, 100)));
        CheckProgram(action, kind, before);
    }
    const std::string before = Where();
    Settle(settled, first == 0);
    CheckProgram(first + count, "settle", before);
    std::printf("settled: %s\n", Where().c_str());
    return 0;
}
