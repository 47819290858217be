// The application shell under Wine with its real resources: start-up, the
// idle hook and the frame step's focus test, the system menu and the About
// box, the size handler, F1, and every way of closing the main window.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/about_dlg.h"
#include "app/flake_app.h"
#include "app/flake_dlg.h"
#include "tests/framework/help_recorder.h"
#include "tests/framework/key_message.h"
#include "tests/scene/test_flakes.h"

namespace {

// The one application object of this program (static, as in Vorl.exe).
CFlakeApp testApp;

std::vector<std::string> g_lines;
// Whether the window was registered when the device layer's resize ran.
std::vector<bool> g_registeredAtResize;

void RecordLine(const char* text) {
    g_lines.push_back(text);
    if (std::strcmp(text, "NVX:Resize Window\n") == 0) g_registeredAtResize.push_back(testApp.m_pFlakeDlg != nullptr);
}

int CountLines(const char* text) {
    int n = 0;
    for (const std::string& line : g_lines) n += line == text;
    return n;
}

void DrainQueue() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT) DispatchMessageA(&msg);
    }
}

bool TakeQuit(WPARAM* code) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return false;
    *code = msg.wParam;
    return true;
}

// An idle call without the focus sleeps until a message or input arrives. One
// still asleep after this bound fails the test and is woken, so the run goes
// on: by a posted message and a key's release, one of which reaches a wait
// narrowed to posted messages or to input.
constexpr DWORD kIdleBoundMs = 2000;

struct IdleWatch {
    DWORD thread;
    HANDLE returned;
    volatile LONG late;
};

DWORD WINAPI WatchIdle(void* param) {
    IdleWatch* watch = static_cast<IdleWatch*>(param);
    while (WaitForSingleObject(watch->returned, kIdleBoundMs) == WAIT_TIMEOUT) {
        InterlockedExchange(&watch->late, 1);
        PostThreadMessageA(watch->thread, WM_NULL, 0, 0);
        INPUT key = {};
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = VK_F24;
        key.ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(1, &key, sizeof key);
    }
    return 0;
}

BOOL WatchedIdle(LONG count) {
    IdleWatch watch = {GetCurrentThreadId(), CreateEventA(nullptr, TRUE, FALSE, nullptr), 0};
    HANDLE watcher = CreateThread(nullptr, 0, WatchIdle, &watch, 0, nullptr);
    const BOOL result = testApp.OnIdle(count);
    SetEvent(watch.returned);
    WaitForSingleObject(watcher, INFINITE);
    CloseHandle(watcher);
    CloseHandle(watch.returned);
    EXPECT_EQ(watch.late, 0) << "idle call " << count << " without the focus did not return within "
                             << kIdleBoundMs << " ms";
    return result;
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxWinInit(GetModuleHandleA(nullptr));
        saved_ = afx_hooks::debugOutput;
        afx_hooks::debugOutput = RecordLine;
        g_lines.clear();
        g_registeredAtResize.clear();
        DrainQueue();
    }
    void TearDown() override {
        if (testApp.m_pMainWnd) testApp.m_pMainWnd->DestroyWindow();
        DrainQueue();
        afx_hooks::debugOutput = saved_;
    }
    // Starts the program's window as InitInstance does.
    CFlakeDlg* Start() {
        EXPECT_TRUE(testApp.InitInstance());
        CFlakeDlg* dlg = static_cast<CFlakeDlg*>(testApp.m_pMainWnd);
        EXPECT_NE(dlg, nullptr);
        EXPECT_EQ(testApp.m_pFlakeDlg, dlg);
        return dlg;
    }
    bool Focus(HWND hwnd) {
        SetForegroundWindow(hwnd);
        SetActiveWindow(hwnd);
        SetFocus(hwnd);
        DrainQueue();
        return GetFocus() == hwnd;
    }
    afx_hooks::DebugOutputFn saved_ = nullptr;
};

// --------------------------------------------------------------------------
// Start-up

TEST_F(ShellTest, IdleBeforeTheWindowExistsGivesTheFrameworkAnswer) {
    ASSERT_EQ(testApp.m_pFlakeDlg, nullptr);
    EXPECT_TRUE(testApp.OnIdle(0));
    EXPECT_FALSE(testApp.OnIdle(1));
    EXPECT_FALSE(testApp.OnIdle(7));
}

TEST_F(ShellTest, StartUpBuildsTheSceneAfterTheFirstSizeAndMove) {
    CFlakeDlg* dlg = Start();
    ASSERT_NE(dlg, nullptr);
    // The creation's size message reached the device layer before the
    // window registered itself (so no frame step could have run yet).
    ASSERT_FALSE(g_registeredAtResize.empty());
    EXPECT_FALSE(g_registeredAtResize.front());

    EXPECT_TRUE(dlg->m_needsSetup);
    EXPECT_EQ(dlg->m_backgroundMaterial, nullptr);
    EXPECT_EQ(dlg->m_tilt, 3.14159265);
    EXPECT_EQ(dlg->m_bank, 0.0);
    EXPECT_EQ(dlg->m_turn, 0.0);
    EXPECT_EQ(dlg->m_eyeX, 0.0);
    EXPECT_EQ(dlg->m_eyeY, 0.0);
    EXPECT_EQ(dlg->m_eyeZ, -2.0);
    // The field is the fixed one: first flake from 41, 18467, 6334, ...
    EXPECT_NEAR(dlg->m_flakes[0].z, 0.082, 1e-12);
    EXPECT_NEAR(dlg->m_flakes[0].y, 6.934, 1e-12);
    EXPECT_NEAR(dlg->m_flakes[0].x, 2.668, 1e-12);
    RECT client;
    GetClientRect(dlg->m_hWnd, &client);
    EXPECT_EQ(dlg->m_clientWidth, client.right);
    EXPECT_EQ(dlg->m_clientHeight, client.bottom);
    EXPECT_NE(dlg->m_hIcon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dlg->m_hWnd, WM_GETICON, ICON_BIG, 0)), dlg->m_hIcon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dlg->m_hWnd, WM_QUERYDRAGICON, 0, 0)), dlg->m_hIcon);
}

TEST_F(ShellTest, WindowIsTitledVorlVisibleAndCentredOnTheWorkArea) {
    CFlakeDlg* dlg = Start();
    char title[64] = {};
    GetWindowTextA(dlg->m_hWnd, title, sizeof title);
    EXPECT_STREQ(title, "Vorl");
    EXPECT_TRUE(IsWindowVisible(dlg->m_hWnd));
    RECT work, rect;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(dlg->m_hWnd, &rect);
    EXPECT_NEAR((rect.left + rect.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((rect.top + rect.bottom) / 2, (work.top + work.bottom) / 2, 1);
}

TEST_F(ShellTest, SystemMenuEndsWithASeparatorAndTheAboutItem) {
    CFlakeDlg* dlg = Start();
    HMENU menu = GetSystemMenu(dlg->m_hWnd, FALSE);
    ASSERT_NE(menu, nullptr);
    int n = GetMenuItemCount(menu);
    ASSERT_GE(n, 2);
    EXPECT_EQ(GetMenuItemID(menu, n - 1), 16u);
    char text[128] = {};
    GetMenuStringA(menu, n - 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Vorl \x82\xcc\xca\xde\xb0\xbc\xde\xae\xdd\x8f\xee\x95\xf1(&A)...");
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoA(menu, n - 2, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_SEPARATOR);
}

// --------------------------------------------------------------------------
// Frame steps

TEST_F(ShellTest, EachIdleCallWithFocusAdvancesAllFlakesOnceAndPauses) {
    CFlakeDlg* dlg = Start();
    if (!Focus(dlg->m_hWnd)) GTEST_SKIP() << "the window did not get the keyboard focus";
    std::vector<Flake> expected(dlg->m_flakes, dlg->m_flakes + kFlakeCount);
    for (LONG count = 0; count < 3; ++count) {
        ::AdvanceFlakes(expected.data(), kFlakeCount);
        LARGE_INTEGER freq, t0, t1;
        QueryPerformanceFrequency(&freq);
        QueryPerformanceCounter(&t0);
        EXPECT_TRUE(testApp.OnIdle(count)) << "count " << count;
        QueryPerformanceCounter(&t1);
        double ms = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart);
        EXPECT_GE(ms, 9.0) << "count " << count;
        EXPECT_TRUE(SameFlakes(dlg->m_flakes, expected.data())) << "count " << count;
    }
}

TEST_F(ShellTest, NothingMovesWhileAnotherWindowHasTheFocus) {
    CFlakeDlg* dlg = Start();
    HWND other = CreateWindowA("STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                               nullptr);
    if (!Focus(other)) {
        DestroyWindow(other);
        GTEST_SKIP() << "the other window did not get the keyboard focus";
    }
    std::vector<Flake> before(dlg->m_flakes, dlg->m_flakes + kFlakeCount);
    double eyeY = dlg->m_eyeY;
    // No spinning either: each idle call sleeps until a message comes (here
    // the thread timer's, five a second) instead of coming straight back for
    // the next one. Wine may wake it early for X events of its own.
    UINT_PTR timer = SetTimer(nullptr, 0, 200, nullptr);
    LONG count = 0;
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 1000; ++count) {
        DrainQueue();
        EXPECT_TRUE(WatchedIdle(count));
    }
    KillTimer(nullptr, timer);
    EXPECT_LE(count, 20) << "idle calls in a second without the focus";
    // A message already seen but left in the queue ends the wait at once,
    // not at the next new one.
    DrainQueue();
    PostMessageA(other, WM_NULL, 0, 0);
    MSG seen;
    PeekMessageA(&seen, nullptr, 0, 0, PM_NOREMOVE);
    EXPECT_TRUE(WatchedIdle(count));
    EXPECT_TRUE(SameFlakes(dlg->m_flakes, before.data()));
    EXPECT_EQ(dlg->m_eyeY, eyeY);
    // Focus back: motion resumes with one step, no catch-up.
    if (Focus(dlg->m_hWnd)) {
        ::AdvanceFlakes(before.data(), kFlakeCount);
        testApp.OnIdle(3);
        EXPECT_TRUE(SameFlakes(dlg->m_flakes, before.data()));
    }
    DestroyWindow(other);
}

// --------------------------------------------------------------------------
// About box

struct AboutSeen {
    int found = 0;
    std::string title;
    HWND owner = nullptr;
    BOOL mainEnabled = TRUE;
    RECT rect = {};
} g_about;
HWND g_main = nullptr;

BOOL CALLBACK FindAbout(HWND hwnd, LPARAM) {
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (hwnd == g_main || !IsWindowVisible(hwnd) || std::strcmp(cls, "#32770") != 0) return TRUE;
    ++g_about.found;
    char title[128] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    g_about.title = title;
    g_about.owner = GetWindow(hwnd, GW_OWNER);
    g_about.mainEnabled = IsWindowEnabled(g_main);
    GetWindowRect(hwnd, &g_about.rect);
    PostMessageA(hwnd, WM_COMMAND, IDOK, 0);  // its OK button
    return FALSE;
}

void CALLBACK CloseAbout(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), FindAbout, 0); }

TEST_F(ShellTest, SystemCommands16To31OpenTheModalAboutBox) {
    CFlakeDlg* dlg = Start();
    g_main = dlg->m_hWnd;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, CloseAbout);
    for (UINT id : {16u, 17u, 24u, 31u}) {
        g_about = AboutSeen();
        SendMessageA(dlg->m_hWnd, WM_SYSCOMMAND, id, 0);  // returns when the box is closed
        EXPECT_EQ(g_about.found, 1) << "command " << id;
        EXPECT_EQ(g_about.title, "Vorl\x82\xcc\xca\xde\xb0\xbc\xde\xae\xdd\x8f\xee\x95\xf1");
        EXPECT_EQ(g_about.owner, dlg->m_hWnd);
        EXPECT_FALSE(g_about.mainEnabled) << "the main window is disabled while the box is open";
        EXPECT_TRUE(IsWindowEnabled(dlg->m_hWnd));
        RECT main;
        GetWindowRect(dlg->m_hWnd, &main);
        EXPECT_NEAR((g_about.rect.left + g_about.rect.right) / 2, (main.left + main.right) / 2, 1);
        EXPECT_NEAR((g_about.rect.top + g_about.rect.bottom) / 2, (main.top + main.bottom) / 2, 1);
    }
    KillTimer(nullptr, timer);
    EXPECT_EQ(testApp.m_pMainWnd, dlg) << "closing the About box leaves the program running";
}

TEST_F(ShellTest, OtherSystemCommandsDoNotOpenTheAboutBox) {
    CFlakeDlg* dlg = Start();
    g_main = dlg->m_hWnd;
    g_about = AboutSeen();
    UINT_PTR timer = SetTimer(nullptr, 0, 10, CloseAbout);
    SendMessageA(dlg->m_hWnd, WM_SYSCOMMAND, 15, 0);
    SendMessageA(dlg->m_hWnd, WM_SYSCOMMAND, 32, 0);
    Sleep(30);
    DrainQueue();
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_about.found, 0);
}

// --------------------------------------------------------------------------
// Size

TEST_F(ShellTest, ZeroWidthOrHeightChangesNothing) {
    CFlakeDlg* dlg = Start();
    dlg->m_needsSetup = FALSE;
    int width = dlg->m_clientWidth, height = dlg->m_clientHeight;
    g_lines.clear();
    SendMessageA(dlg->m_hWnd, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    SendMessageA(dlg->m_hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(0, 200));
    SendMessageA(dlg->m_hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 0));
    EXPECT_FALSE(dlg->m_needsSetup);
    EXPECT_EQ(dlg->m_clientWidth, width);
    EXPECT_EQ(dlg->m_clientHeight, height);
    EXPECT_EQ(CountLines("NVX:Resize Window\n"), 0);
}

TEST_F(ShellTest, EveryNonEmptySizeRebuildsEvenAtTheSameSize) {
    CFlakeDlg* dlg = Start();
    for (int round = 0; round < 2; ++round) {
        dlg->m_needsSetup = FALSE;
        g_lines.clear();
        SendMessageA(dlg->m_hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(321, 203));
        EXPECT_TRUE(dlg->m_needsSetup);
        EXPECT_EQ(dlg->m_clientWidth, 321);
        EXPECT_EQ(dlg->m_clientHeight, 203);
        EXPECT_EQ(CountLines("NVX:Resize Window\n"), 1);
    }
}

TEST(MinimizedIcon, OriginIsHalfTheSlackTruncatedTowardZero) {
    POINT p = MinimizedIconOrigin(36, 36, 32, 32);
    EXPECT_EQ(p.x, 2);
    EXPECT_EQ(p.y, 2);
    p = MinimizedIconOrigin(0, 0, 32, 32);
    EXPECT_EQ(p.x, -15) << "truncation toward zero, not -16";
    EXPECT_EQ(p.y, -15);
    p = MinimizedIconOrigin(37, 16, 32, 16);
    EXPECT_EQ(p.x, 3);
    EXPECT_EQ(p.y, 0);
}

TEST_F(ShellTest, MinimisedWindowPaintsWithoutTrouble) {
    CFlakeDlg* dlg = Start();
    ShowWindow(dlg->m_hWnd, SW_MINIMIZE);
    InvalidateRect(dlg->m_hWnd, nullptr, TRUE);
    UpdateWindow(dlg->m_hWnd);
    EXPECT_TRUE(IsIconic(dlg->m_hWnd));
    ShowWindow(dlg->m_hWnd, SW_RESTORE);
    DrainQueue();
    EXPECT_FALSE(IsIconic(dlg->m_hWnd));
}

// --------------------------------------------------------------------------
// Help


TEST_F(ShellTest, F1RaisesHelpWithTheMainTemplateContext) {
    CFlakeDlg* dlg = Start();
    afx_hooks::WinHelpFn saved = afx_hooks::winHelp;
    afx_hooks::winHelp = RecordHelp;
    BYTE keys[256] = {};
    SetKeyboardState(keys);
    g_help = HelpCall();
    MSG f1 = KeyDown(dlg->m_hWnd, VK_F1);
    EXPECT_TRUE(testApp.PreTranslateMessage(&f1));
    afx_hooks::winHelp = saved;
    ASSERT_EQ(g_help.calls, 1);
    EXPECT_EQ(g_help.command, static_cast<UINT>(HELP_CONTEXT));
    EXPECT_EQ(g_help.data, 0x20066u);
    EXPECT_EQ(g_help.owner, dlg->m_hWnd);
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string expected(exe);
    EXPECT_EQ(g_help.file, expected.substr(0, expected.rfind('.')) + ".HLP");
    EXPECT_EQ(testApp.m_pMainWnd, dlg);
}

// --------------------------------------------------------------------------
// Ending

void ExpectEnded(HWND hwnd) {
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(testApp.m_pMainWnd, nullptr);
    EXPECT_EQ(testApp.m_pFlakeDlg, nullptr) << "a frame step could reach the deleted window";
    WPARAM code = 99;
    ASSERT_TRUE(TakeQuit(&code));
    EXPECT_EQ(code, 0u);
    // An idle call after the end is the framework's alone.
    EXPECT_TRUE(testApp.OnIdle(0));
    EXPECT_FALSE(testApp.OnIdle(1));
}

TEST_F(ShellTest, EscapeEndsTheProgramWithCodeZero) {
    CFlakeDlg* dlg = Start();
    HWND hwnd = dlg->m_hWnd;
    MSG escape = KeyDown(hwnd, VK_ESCAPE);
    EXPECT_TRUE(testApp.PreTranslateMessage(&escape));
    ExpectEnded(hwnd);
}

TEST_F(ShellTest, EnterEndsTheProgramWithCodeZero) {
    CFlakeDlg* dlg = Start();
    HWND hwnd = dlg->m_hWnd;
    MSG enter = KeyDown(hwnd, VK_RETURN);
    EXPECT_TRUE(testApp.PreTranslateMessage(&enter));
    ExpectEnded(hwnd);
}

TEST_F(ShellTest, CloseEndsTheProgramWithCodeZero) {
    CFlakeDlg* dlg = Start();
    HWND hwnd = dlg->m_hWnd;
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    ExpectEnded(hwnd);
}

TEST_F(ShellTest, RunLoopEndsWithoutAnotherFrameAfterClose) {
    CFlakeDlg* dlg = Start();
    Focus(dlg->m_hWnd);
    PostMessageA(dlg->m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(testApp.Run(), 0);
    EXPECT_EQ(testApp.m_pFlakeDlg, nullptr);
    EXPECT_EQ(testApp.m_pMainWnd, nullptr);
}

}  // namespace
