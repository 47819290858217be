// Does to the running Vorl.exe what users and Windows do, in a random order
// drawn from a seed: resizes and moves its window (partly off the screen,
// larger than it, off every screen and back), minimises, maximises and
// restores it, holds the camera keys, opens the About box from the system
// menu and closes it, puts another window in front, changes the display mode,
// the work area and the colours. And with real mouse and key input, as hands
// do: drags an edge or corner through the modal size loop (to the title bar
// and out again, beyond the screen's edge), drags and double-clicks the title
// bar, sizes and moves the window from the system menu with the keyboard,
// types keys and clicks, double-clicks and turns the wheel in the client area.
// It runs in the program's Wine desktop.
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

#include <algorithm>
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
DWORD g_thread = 0;
HWND g_cover = nullptr;
unsigned long long g_seed = 0;

using Random = std::mt19937_64;
int Between(Random& random, int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

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

bool IsExtended(WORD key) {
    switch (key) {
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT:
        case VK_HOME: case VK_END: case VK_INSERT: case VK_DELETE: case VK_SNAPSHOT:
            return true;
        default:
            return false;
    }
}

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

// Whether the program's thread runs a menu or the modal move or size loop.
bool ProgramIn(DWORD mode) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(g_thread, &info) && (info.flags & mode);
}

// The mouse as a person's: every event carries its place, an absolute one,
// 0..65535 over the virtual screen as it is now (the mode changes during a
// run). The button and wheel flags come with the move.
void Mouse(DWORD flags, POINT at, DWORD data = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    input.mi.mouseData = data;
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const long long dx = std::min(std::max(at.x - x, 0L), long(w - 1));
    const long long dy = std::min(std::max(at.y - y, 0L), long(h - 1));
    input.mi.dx = LONG((dx * 65536 + w - 1) / w);
    input.mi.dy = LONG((dy * 65536 + h - 1) / h);
    SendInput(1, &input, sizeof input);
}

// Puts the cursor at p, before a press: Wine's desktop may take an absolute
// move late, after the X server's answer to the one before.
void MoveTo(POINT p) {
    POINT now = {};
    for (int i = 0; i < 10 && (!GetCursorPos(&now) || now.x != p.x || now.y != p.y); ++i) {
        Mouse(0, p);
        Wait(30);
    }
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

// Waits, a second unless told, until the program has handled what came
// before.
void Sync(UINT ms = 1000) { SendMessageTimeoutW(g_main, WM_NULL, 0, 0, SMTO_NORMAL, ms, nullptr); }

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

// Moves the cursor from one point to another in even steps, 30 to 60 ms
// apart. Each waits until the program has handled the one before, as a
// person's hand follows the window: a slow program's loop would otherwise
// take several steps as one move, and an edge dragged to the title bar would
// come there without the sizes between.
void Glide(POINT from, POINT to, int steps, Random& random) {
    for (int i = 1; i <= steps; ++i) {
        Mouse(0, {from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
        Sync(3000);
        Wait(DWORD(Between(random, 30, 60)));
    }
}

bool OnLeft(int hit) { return hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT; }
bool OnRight(int hit) { return hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT; }
bool OnTop(int hit) { return hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT; }
bool OnBottom(int hit) { return hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT; }

// Where a person takes hold of the window's edge, corner (hit-test code) or
// title bar (HTCAPTION), on the window as it is now.
POINT GrabPoint(int hit) {
    RECT r;
    GetWindowRect(g_main, &r);
    const int fx = GetSystemMetrics(SM_CXFRAME) / 2, fy = GetSystemMetrics(SM_CYFRAME) / 2;
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    if (OnLeft(hit)) p.x = r.left + fx;
    if (OnRight(hit)) p.x = r.right - 1 - fx;
    if (OnTop(hit)) p.y = r.top + fy;
    if (OnBottom(hit)) p.y = r.bottom - 1 - fy;
    if (hit == HTCAPTION) p.y = r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    return p;
}

// What the program's window answers a press at p with (a hit-test code),
// or HTNOWHERE where p is off the screen, another window lies on top or the
// window is disabled (the About box is up). A stray press could hit the
// close box, which ends the program by design.
LRESULT HitAt(POINT p) {
    if (p.x < 0 || p.y < 0 || p.x >= GetSystemMetrics(SM_CXSCREEN) || p.y >= GetSystemMetrics(SM_CYSCREEN) ||
        WindowFromPoint(p) != g_main || !IsWindowEnabled(g_main))
        return HTNOWHERE;
    DWORD_PTR hit = HTNOWHERE;
    SendMessageTimeoutW(g_main, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y), SMTO_ABORTIFHUNG, 1000, &hit);
    return LRESULT(hit);
}

std::string Point(POINT p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

std::string ClientSize() {
    RECT c = {};
    GetClientRect(g_main, &c);
    return "client " + std::to_string(c.right) + "x" + std::to_string(c.bottom);
}

// Presses at `from`, moves to `to` (and on to `back`, when given, without
// letting go) and lets go: the program runs its modal size or move loop.
std::string Drag(POINT from, POINT to, const POINT* back, Random& random) {
    SetForegroundWindow(g_main);
    MoveTo(from);
    Mouse(MOUSEEVENTF_LEFTDOWN, from);
    for (int i = 0; i < 60 && !ProgramIn(GUI_INMOVESIZE); ++i) Wait(50);
    Glide(from, to, Between(random, 2, 4), random);
    std::string text = Point(from) + " -> " + Point(to);
    if (back) {
        Glide(to, *back, Between(random, 2, 4), random);
        text += " -> " + Point(*back);
    }
    const bool looped = ProgramIn(GUI_INMOVESIZE);
    Mouse(MOUSEEVENTF_LEFTUP, back ? *back : to);
    for (int i = 0; i < 60 && ProgramIn(GUI_INMOVESIZE); ++i) Wait(50);
    Wait(DWORD(Between(random, 60, 300)));
    return text + " (" + ClientSize() + (looped ? "" : ", no loop seen") + ")";
}

// Drags an edge or a corner with the mouse: somewhere on the screen (0), as
// far as it goes and back out in the same drag (1), as far as it goes, let
// go there and out again in a second drag (2), or to the screen's edge and
// beyond it as far as the cursor goes (3). As far as it goes leaves the
// window its title bar only, where the edge is the top or the bottom one.
std::string DragEdge(Random& random, int edge, int how) {
    Sync(5000);  // a person takes hold of the window as it shows
    static const int hits[] = {HTLEFT, HTRIGHT, HTTOP, HTTOPLEFT, HTTOPRIGHT, HTBOTTOM, HTBOTTOMLEFT, HTBOTTOMRIGHT};
    static const char* names[] = {"left edge",         "right edge",         "top edge",
                                  "top left corner",   "top right corner",   "bottom edge",
                                  "bottom left corner", "bottom right corner"};
    static const char* hows[] = {"", " as far as it goes and out", " as far as it goes, let go, out",
                                 " beyond the screen's edge"};
    const int hit = hits[edge];
    const std::string what = std::string("drag ") + names[edge] + hows[how];
    if (IsZoomed(g_main) || IsIconic(g_main)) return what + ": skipped, the window is not restored";
    const POINT from = GrabPoint(hit);
    if (HitAt(from) != hit) return what + ": skipped, " + Point(from) + " is off the screen or covered";
    RECT r;
    GetWindowRect(g_main, &r);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    const bool left = OnLeft(hit), right = OnRight(hit), top = OnTop(hit), bottom = OnBottom(hit);
    POINT to = from;
    if (how == 0) {
        if (left || right) to.x = Between(random, 0, sw - 1);
        if (top || bottom) to.y = Between(random, 0, sh - 1);
    } else if (how == 3) {
        if (left || right) to.x = left ? 0 : sw - 1;
        if (top || bottom) to.y = top ? 0 : sh - 1;
    } else {
        // The far side of the window: the loop stops the edge at the
        // smallest size the window takes.
        if (left || right) to.x = left ? r.right : r.left;
        if (top || bottom) to.y = top ? r.bottom : r.top;
    }
    // Out again: at least a little beyond the smallest size.
    const POINT out = {left ? Between(random, 0, std::max(0L, r.right - 150))
                            : right ? Between(random, std::min(r.left + 150, long(sw - 1)), sw - 1) : from.x,
                       top ? Between(random, 0, std::max(0L, r.bottom - 100))
                           : bottom ? Between(random, std::min(r.top + 100, long(sh - 1)), sh - 1) : from.y};
    if (how != 2) return what + " " + Drag(from, to, how == 1 ? &out : nullptr, random);
    std::string text = what + " " + Drag(from, to, nullptr, random);
    // Left with its title bar only for a few seconds, longer than the
    // program tries a set-up again before it gives up.
    Wait(DWORD(Between(random, 5000, 6000)));
    Sync(5000);
    const POINT again = GrabPoint(hit);
    if (HitAt(again) != hit) return text + "; " + Point(again) + " is off the screen or covered";
    return text + "; " + Drag(again, out, nullptr, random);
}

// Drags the title bar (the modal move loop) somewhere on the screen, or to
// its edge, which leaves most of the window off it.
std::string DragTitle(Random& random) {
    Sync(5000);
    if (IsZoomed(g_main) || IsIconic(g_main)) return "drag title bar: skipped, the window is not restored";
    const POINT from = GrabPoint(HTCAPTION);
    if (HitAt(from) != HTCAPTION) return "drag title bar: skipped, " + Point(from) + " is off the screen or covered";
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    POINT to = {Between(random, 0, sw - 1), Between(random, 0, sh - 1)};
    if (Between(random, 0, 2) == 0) {
        const bool across = Between(random, 0, 1) == 1, end = Between(random, 0, 1) == 1;
        (across ? to.x : to.y) = end ? (across ? sw : sh) - 1 : 0;
    }
    return "drag title bar " + Drag(from, to, nullptr, random);
}

// Two clicks on the title bar within the double-click time: maximise or
// restore.
std::string DoubleClickTitle() {
    Sync(5000);
    const POINT at = GrabPoint(HTCAPTION);
    if (HitAt(at) != HTCAPTION) return "double-click title bar: skipped, " + Point(at) + " is off the screen or covered";
    const bool zoomed = IsZoomed(g_main);
    SetForegroundWindow(g_main);
    MoveTo(at);
    for (int click = 0; click < 2; ++click) {
        Mouse(MOUSEEVENTF_LEFTDOWN, at);
        Mouse(MOUSEEVENTF_LEFTUP, at);
        Wait(60);
    }
    // A person sees the window change before going on.
    for (int i = 0; i < 60 && bool(IsZoomed(g_main)) == zoomed; ++i) Wait(50);
    return "double-click title bar at " + Point(at) + (zoomed ? " (was maximised)" : " (was restored)");
}

// The system menu's Size or Move with the keyboard: Alt+Space, S or M, an
// arrow key held (for Size another one first picks the edge), then Return
// or Escape, sent only while the loop runs: on the main window itself they
// end the program.
std::string KeyboardSizeMove(Random& random) {
    const bool size = Between(random, 0, 1) == 1;
    static const WORD arrows[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
    static const char* names[] = {"Left", "Right", "Up", "Down"};
    const int edge = Between(random, 0, 3), way = Between(random, 0, 3), presses = Between(random, 1, 40);
    const bool escape = Between(random, 0, 1) == 1;
    std::string text = std::string("system menu ") + (size ? "Size" : "Move");
    if (IsZoomed(g_main) || IsIconic(g_main) || !IsWindowEnabled(g_main))
        return text + ": skipped, the window is not restored or is disabled";
    SetForegroundWindow(g_main);
    Wait(50);
    Key(VK_MENU, true);
    Tap(VK_SPACE);
    Key(VK_MENU, false);
    for (int i = 0; i < 40 && !MenuOpen(); ++i) Wait(50);
    if (!MenuOpen()) return text + ": the system menu did not open";
    Tap(size ? 'S' : 'M');
    for (int i = 0; i < 40 && !ProgramIn(GUI_INMOVESIZE); ++i) Wait(25);
    if (!ProgramIn(GUI_INMOVESIZE)) {
        if (ProgramIn(GUI_INMENUMODE)) Tap(VK_ESCAPE);
        return text + ": the loop did not start";
    }
    // Any other message than a key press or a mouse move, a key's release
    // too, ends Wine's loop when no mouse button is down: the keys stay down
    // (repeating) until the end.
    if (size) {
        Key(arrows[edge], true);
        text += std::string(", ") + names[edge];
        Wait(40);
    }
    int sent = 0;
    for (; sent < presses && ProgramIn(GUI_INMOVESIZE); ++sent) {
        Key(arrows[way], true);
        Wait(DWORD(Between(random, 30, 60)));
    }
    text += std::string(", ") + names[way] + " held for " + std::to_string(sent) + " of " + std::to_string(presses);
    if (ProgramIn(GUI_INMOVESIZE)) {
        Tap(escape ? VK_ESCAPE : VK_RETURN);
        text += escape ? ", Escape" : ", Return";
    } else {
        text += ", the loop ended by itself";
    }
    Key(arrows[way], false);
    if (size) Key(arrows[edge], false);
    Wait(100);
    return text + " (" + ClientSize() + ")";
}

// Keys that end the program or change its mode by design (Enter, Escape,
// Alt+F4, F10, Alt alone) are left out, and F1, which starts the help.
std::string TypeKeys(Random& random) {
    static const struct {
        WORD key;
        const char* name;
    } others[] = {{VK_TAB, "Tab"},       {VK_SPACE, "Space"},         {VK_HOME, "Home"},   {VK_END, "End"},
                  {VK_INSERT, "Insert"}, {VK_DELETE, "Delete"},       {VK_BACK, "Backspace"},
                  {VK_CAPITAL, "Caps Lock twice"}, {VK_PAUSE, "Pause"}, {VK_SNAPSHOT, "Print Screen"},
                  {VK_F2, "F2"}, {VK_F3, "F3"}, {VK_F4, "F4"}, {VK_F5, "F5"}, {VK_F6, "F6"}, {VK_F7, "F7"},
                  {VK_F8, "F8"}, {VK_F9, "F9"}, {VK_F11, "F11"}, {VK_F12, "F12"}};
    const int count = int(sizeof others / sizeof others[0]);
    if (!IsIconic(g_main)) SetForegroundWindow(g_main);
    Wait(30);
    std::string text = "keys";
    for (int n = Between(random, 1, 4); n > 0; --n) {
        const int pick = Between(random, 0, 35 + count), modifier = Between(random, 0, 2);
        const WORD key = pick < 26 ? WORD('A' + pick) : pick < 36 ? WORD('0' + pick - 26) : others[pick - 36].key;
        const std::string name = pick < 36 ? std::string(1, char(key)) : others[pick - 36].name;
        const WORD with = modifier == 1 ? VK_SHIFT : VK_CONTROL;
        if (modifier) Key(with, true);
        // Caps Lock twice leaves it as it was found.
        for (int times = key == VK_CAPITAL ? 2 : 1; times > 0; --times) {
            Tap(key);
            Wait(DWORD(Between(random, 20, 80)));
        }
        if (modifier) Key(with, false);
        text += std::string(" ") + (modifier == 1 ? "Shift+" : modifier == 2 ? "Ctrl+" : "") + name;
    }
    return text;
}

// Left, right or middle clicks, double clicks or the wheel somewhere in the
// client area.
std::string ClickClient(Random& random) {
    Sync(5000);
    RECT c = {};
    GetClientRect(g_main, &c);
    static const DWORD downs[] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_MIDDLEDOWN};
    static const char* names[] = {"left", "right", "middle"};
    const int button = Between(random, 0, 3), clicks = Between(random, 1, 2), notches = Between(random, -5, 5);
    if (c.right <= 0 || c.bottom <= 0 || IsIconic(g_main)) return "click: skipped, no client area";
    POINT at = {Between(random, 0, c.right - 1), Between(random, 0, c.bottom - 1)};
    ClientToScreen(g_main, &at);
    if (HitAt(at) != HTCLIENT) return "click: skipped, " + Point(at) + " is off the screen or covered";
    SetForegroundWindow(g_main);
    MoveTo(at);
    if (button == 3) {
        Mouse(MOUSEEVENTF_WHEEL, at, DWORD(notches * WHEEL_DELTA));
        return "wheel " + std::to_string(notches) + " at " + Point(at);
    }
    for (int n = 0; n < clicks; ++n) {
        Mouse(downs[button], at);
        Mouse(downs[button] << 1, at);  // the button's up flag
        Wait(40);
    }
    return std::string(clicks == 2 ? "double-click " : "click ") + names[button] + " at " + Point(at);
}

// One action of the seed's sequence. Action 0 makes the largest buffers the
// run will need, so that later readings of the working set compare alike.
// Actions 1 to 6 are the same in every run: hands' first drags and clicks on
// a window that lies inside the screen.
std::string Act(int action, Random& random) {
    if (action == 0) {
        SetMode(kModes[2]);
        const RECT r = {-40, -30, 1024 * 4 / 3 - 40, 768 * 4 / 3 - 30};
        Place(r);
        return "mode 1024x768, " + Describe("larger", r);
    }
    if (action == 1) {
        const RECT r = {100, 60, 740, 560};
        Place(r);
        return "resize " + Describe("inside", r);
    }
    if (action == 2) return DragEdge(random, 5, 2);  // the bottom edge to the title bar, let go, out
    if (action == 3) return DragEdge(random, 7, 1);  // the bottom right corner to the top left and out
    if (action == 4 || action == 5) return DoubleClickTitle();
    if (action == 6) return DragTitle(random);
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
    if (pick < 22) return "resize " + Resize(random);
    if (pick < 31) {
        const int edge = Between(random, 0, 7);
        return DragEdge(random, edge, Between(random, 0, 3));
    }
    if (pick < 36) return DragTitle(random);
    if (pick < 41) return DoubleClickTitle();
    if (pick < 46) return KeyboardSizeMove(random);
    if (pick < 50) return TypeKeys(random);
    if (pick < 54) return ClickClient(random);
    if (pick < 63) return "keys " + HoldKeys(random);
    if (pick < 74) {
        const int sw = GetSystemMetrics(SM_CXSCREEN);
        SIZE size;
        do size = kModes[Between(random, 0, 2)];
        while (size.cx == sw);
        SetMode(size);
        Wait(100);
        return "mode " + std::to_string(size.cx) + "x" + std::to_string(size.cy);
    }
    if (pick < 84) {
        const bool changed = IsIconic(g_main) || IsZoomed(g_main);
        const int choice = Between(random, 0, 3);
        WPARAM command = changed && choice < 2 ? SC_RESTORE : choice % 2 ? SC_MAXIMIZE : SC_MINIMIZE;
        SysCommand(command);
        return command == SC_RESTORE ? "restore" : command == SC_MAXIMIZE ? "maximise" : "minimise";
    }
    if (pick < 89) {
        if (dialogs.about) return "About box " + CloseAbout(dialogs.about, Between(random, 0, 1) == 1);
        return "About box " + OpenAbout();
    }
    if (pick < 95) return "another window " + Cover(random);
    if (pick < 99) {
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
    g_thread = GetWindowThreadProcessId(g_main, &g_pid);
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
