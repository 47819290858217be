// The framework layer under Wine with real windows: the run loop's idle
// phase, dialog creation and placement, the dialog keys, help routing, the
// end of the program when the main window goes, and the standard message box.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "framework/afx_win.h"
#include "tests/framework/help_recorder.h"
#include "tests/framework/key_message.h"

// One object whose deletion a test watches for: every delete of the program
// passes through here.
namespace {
const void* g_watchedObject = nullptr;
bool g_watchedObjectDeleted = false;
}  // namespace

void* operator new(std::size_t size) {
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    if (p && p == g_watchedObject) g_watchedObjectDeleted = true;
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { ::operator delete(p); }

namespace {

class TestApp : public CWinApp {
public:
    TestApp() {}
    BOOL OnIdle(LONG count) override {
        counts.push_back(count);
        if (idle) return idle(count);
        return CWinApp::OnIdle(count);
    }
    std::vector<LONG> counts;
    std::function<BOOL(LONG)> idle;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

TestApp app;

void DrainQueue() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT) DispatchMessageA(&msg);
    }
}

// A dialog that records its keys, the characters it receives and its end.
class TestDlg : public CDialog {
public:
    explicit TestDlg(UINT id = 200, CWnd* parent = nullptr) : CDialog(id, parent) {}
    LRESULT OnChar(WPARAM ch, LPARAM) { return chars.push_back(ch), 0; }
    std::vector<WPARAM> chars;
    DECLARE_MESSAGE_MAP()
    void OnOK() override { ++okCount; }
    void OnCancel() override { ++cancelCount; }
    void PostNcDestroy() override {
        if (postNcDestroyed) *postNcDestroyed = true;
        if (deleteSelf) delete this;
    }
    int okCount = 0;
    int cancelCount = 0;
    bool deleteSelf = false;
    bool* postNcDestroyed = nullptr;
};

BEGIN_MESSAGE_MAP(TestDlg, CDialog)
    ON_MESSAGE(WM_CHAR, OnChar)
END_MESSAGE_MAP()

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxWinInit(GetModuleHandleA(nullptr));
        app.counts.clear();
        app.idle = nullptr;
        app.m_pMainWnd = nullptr;
        DrainQueue();
    }
    void TearDown() override {
        app.m_pMainWnd = nullptr;
        DrainQueue();
    }
};

// --------------------------------------------------------------------------
// Run loop

TEST_F(FrameworkTest, IdleCountGrowsAndOnlyRealMessagesResetIt) {
    HWND target = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(target, nullptr);
    DrainQueue();
    // At each listed call the script posts one message; the count the loop
    // passes next shows whether the message restarted the idle phase.
    app.idle = [&](LONG) {
        switch (app.counts.size()) {
        case 3: PostMessageA(target, WM_USER, 0, 0); break;        // real: reset
        case 6: PostMessageA(target, WM_PAINT, 0, 0); break;       // no reset
        case 7: PostMessageA(target, 0x0118, 0, 0); break;         // no reset
        case 8: PostMessageA(target, WM_MOUSEMOVE, 0, 0); break;   // first move: reset
        case 11: PostMessageA(target, WM_MOUSEMOVE, 0, 0); break;  // same place: no reset
        case 12: PostQuitMessage(5); break;
        }
        return TRUE;
    };
    int code = app.Run();
    EXPECT_EQ(code, 5);
    std::vector<LONG> expected = {0, 1, 2, 0, 1, 2, 3, 4, 0, 1, 2, 3};
    EXPECT_EQ(app.counts, expected);
    DestroyWindow(target);
}

TEST_F(FrameworkTest, FrameworkIdleAnswersTrueOnlyAtCountZero) {
    EXPECT_TRUE(app.CWinApp::OnIdle(0));
    EXPECT_FALSE(app.CWinApp::OnIdle(1));
    EXPECT_FALSE(app.CWinApp::OnIdle(2));
}

int g_ticks = 0;
void CALLBACK QuitOnSecondTick(HWND, UINT, UINT_PTR id, DWORD) {
    if (++g_ticks == 2) {
        KillTimer(nullptr, id);
        PostQuitMessage(3);
    }
}

TEST_F(FrameworkTest, IdlingStopsWhenOnIdleSaysSoUntilTheNextMessage) {
    g_ticks = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, QuitOnSecondTick);
    ASSERT_NE(timer, 0u);
    int code = app.Run();  // framework's own OnIdle: TRUE at 0, FALSE at 1
    EXPECT_EQ(code, 3);
    std::vector<LONG> expected = {0, 1, 0, 1};
    EXPECT_EQ(app.counts, expected);
}

TEST_F(FrameworkTest, TemporaryWindowObjectsLiveUntilIdleCleanUp) {
    HWND plain = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    CWnd* temp = CWnd::FromHandle(plain);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->m_hWnd, plain);
    EXPECT_EQ(CWnd::FromHandle(plain), temp);
    EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    g_watchedObject = temp;
    g_watchedObjectDeleted = false;
    app.CWinApp::OnIdle(1);
    EXPECT_TRUE(g_watchedObjectDeleted) << "the idle call with count 1 must free the temporary object";
    g_watchedObject = nullptr;
    EXPECT_TRUE(IsWindow(plain)) << "clean-up must not destroy a window it does not own";
    DestroyWindow(plain);
}

// --------------------------------------------------------------------------
// Dialogs

TEST_F(FrameworkTest, ModelessDialogIsAttachedAndCentredOnThePrimaryWorkArea) {
    TestDlg dlg;
    ASSERT_TRUE(dlg.Create(200));
    EXPECT_EQ(CWnd::FromHandlePermanent(dlg.m_hWnd), &dlg);
    EXPECT_EQ(dlg.m_nIDHelp, 200u);
    EXPECT_TRUE(IsWindowVisible(dlg.m_hWnd));
    // A Unicode window from the template to the subclass and its default
    // processing: the caption reads back as the template holds it.
    wchar_t caption[16] = {};
    GetWindowTextW(dlg.m_hWnd, caption, 16);
    EXPECT_STREQ(caption, L"Main \u263a");
    EXPECT_TRUE(IsWindowUnicode(dlg.m_hWnd));
    RECT work, rect;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(dlg.m_hWnd, &rect);
    EXPECT_NEAR((rect.left + rect.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((rect.top + rect.bottom) / 2, (work.top + work.bottom) / 2, 1);
    dlg.DestroyWindow();
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST_F(FrameworkTest, EnterAndEscapeBecomeOkAndCancelThroughPreTranslation) {
    TestDlg dlg;
    ASSERT_TRUE(dlg.Create(200));
    app.m_pMainWnd = &dlg;
    MSG enter = KeyDown(dlg.m_hWnd, VK_RETURN);
    EXPECT_TRUE(app.PreTranslateMessage(&enter));
    EXPECT_EQ(dlg.okCount, 1);
    EXPECT_EQ(dlg.cancelCount, 0);
    MSG escape = KeyDown(dlg.m_hWnd, VK_ESCAPE);
    EXPECT_TRUE(app.PreTranslateMessage(&escape));
    EXPECT_EQ(dlg.cancelCount, 1);
    EXPECT_EQ(dlg.okCount, 1);
    // Non-input messages are left to the normal dispatch.
    MSG paint = {dlg.m_hWnd, WM_PAINT, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(app.PreTranslateMessage(&paint));
    // A character of no ANSI code page passes the pump and the dialog keys unchanged.
    PostMessageW(dlg.m_hWnd, WM_CHAR, 0x263a, 0);
    while (app.PumpMessage() && app.m_msgCur.message != WM_CHAR) {
    }
    EXPECT_EQ(dlg.chars, std::vector<WPARAM>{0x263a});
    app.m_pMainWnd = nullptr;
    dlg.DestroyWindow();
}

TEST_F(FrameworkTest, DefaultOkEndsAModalDialogWithIdOk) {
    // The base OnOK/OnCancel end the dialog with their identifiers.
    class Ending : public CDialog {
    public:
        Ending() : CDialog(201) {}
        BOOL OnInitDialog() override {
            CDialog::OnInitDialog();
            PostMessageA(m_hWnd, WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        }
    } dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

struct Probe {
    BOOL ownerEnabled = TRUE;
    BOOL unicode = FALSE;
    HWND owner = nullptr;
    RECT rect = {};
};

class ModalDlg : public CDialog {
public:
    explicit ModalDlg(Probe* probe) : CDialog(201), probe_(probe) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        PostMessageA(m_hWnd, WM_APP, 0, 0);
        return TRUE;
    }
    LRESULT OnProbe(WPARAM, LPARAM) {
        probe_->owner = GetWindow(m_hWnd, GW_OWNER);
        probe_->ownerEnabled = IsWindowEnabled(probe_->owner);
        probe_->unicode = IsWindowUnicode(m_hWnd);
        GetWindowRect(m_hWnd, &probe_->rect);
        EndDialog(42);
        return 0;
    }
    DECLARE_MESSAGE_MAP()

private:
    Probe* probe_;
};

BEGIN_MESSAGE_MAP(ModalDlg, CDialog)
    ON_MESSAGE(WM_APP, OnProbe)
END_MESSAGE_MAP()

TEST_F(FrameworkTest, ModalDialogDisablesTheMainWindowAndIsCentredOverIt) {
    TestDlg main;
    ASSERT_TRUE(main.Create(200));
    app.m_pMainWnd = &main;
    SetWindowPos(main.m_hWnd, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Probe probe;
    ModalDlg modal(&probe);
    EXPECT_EQ(modal.DoModal(), 42);
    EXPECT_EQ(probe.owner, main.m_hWnd);
    EXPECT_FALSE(probe.ownerEnabled);
    EXPECT_TRUE(probe.unicode);
    EXPECT_TRUE(IsWindowEnabled(main.m_hWnd));
    RECT mainRect;
    GetWindowRect(main.m_hWnd, &mainRect);
    EXPECT_NEAR((probe.rect.left + probe.rect.right) / 2, (mainRect.left + mainRect.right) / 2, 1);
    EXPECT_NEAR((probe.rect.top + probe.rect.bottom) / 2, (mainRect.top + mainRect.bottom) / 2, 1);
    app.m_pMainWnd = nullptr;
    main.DestroyWindow();
}

TEST_F(FrameworkTest, ModalDialogNearTheScreenEdgeStaysInTheWorkArea) {
    TestDlg main;
    ASSERT_TRUE(main.Create(200));
    app.m_pMainWnd = &main;
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT mainRect;
    GetWindowRect(main.m_hWnd, &mainRect);
    // Mostly off the left and top edges.
    SetWindowPos(main.m_hWnd, nullptr, work.left - (mainRect.right - mainRect.left) + 20, work.top - 100, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    Probe probe;
    ModalDlg modal(&probe);
    EXPECT_EQ(modal.DoModal(), 42);
    EXPECT_EQ(probe.rect.left, work.left);
    EXPECT_EQ(probe.rect.top, work.top);
    app.m_pMainWnd = nullptr;
    main.DestroyWindow();
}

TEST_F(FrameworkTest, DestroyingTheMainWindowPostsQuitZeroAndForgetsIt) {
    bool gone = false;
    TestDlg* main = new TestDlg;
    main->deleteSelf = true;
    main->postNcDestroyed = &gone;
    ASSERT_TRUE(main->Create(200));
    HWND hwnd = main->m_hWnd;
    app.m_pMainWnd = main;
    main->DestroyWindow();
    EXPECT_TRUE(gone);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
}

TEST_F(FrameworkTest, DestroyingAnotherWindowDoesNotQuit) {
    TestDlg main, other;
    ASSERT_TRUE(main.Create(200));
    ASSERT_TRUE(other.Create(200));
    app.m_pMainWnd = &main;
    other.DestroyWindow();
    EXPECT_EQ(app.m_pMainWnd, &main);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    app.m_pMainWnd = nullptr;
    main.DestroyWindow();
}

// --------------------------------------------------------------------------
// Help


class HelpTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        g_help = HelpCall();
        saved_ = afx_hooks::winHelp;
        afx_hooks::winHelp = RecordHelp;
        BYTE keys[256] = {};
        SetKeyboardState(keys);
    }
    void TearDown() override {
        afx_hooks::winHelp = saved_;
        BYTE keys[256] = {};
        SetKeyboardState(keys);
        FrameworkTest::TearDown();
    }
    afx_hooks::WinHelpFn saved_ = nullptr;
};

TEST_F(HelpTest, F1CallsWinHelpWithTheHelpFileAndTheTemplateContext) {
    TestDlg dlg;
    ASSERT_TRUE(dlg.Create(200));
    app.m_pMainWnd = &dlg;
    MSG f1 = KeyDown(dlg.m_hWnd, VK_F1);
    EXPECT_TRUE(app.PreTranslateMessage(&f1));
    ASSERT_EQ(g_help.calls, 1);
    EXPECT_EQ(g_help.owner, dlg.m_hWnd);
    EXPECT_EQ(g_help.command, static_cast<UINT>(HELP_CONTEXT));
    EXPECT_EQ(g_help.data, 0x20000u + 200u);
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string expected(exe);
    expected = expected.substr(0, expected.rfind('.')) + ".HLP";
    EXPECT_EQ(g_help.file, expected);
    app.m_pMainWnd = nullptr;
    dlg.DestroyWindow();
}

TEST_F(HelpTest, F1WithShiftControlOrAltIsNoHelp) {
    TestDlg dlg;
    ASSERT_TRUE(dlg.Create(200));
    app.m_pMainWnd = &dlg;
    for (int modifier : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
        BYTE keys[256] = {};
        keys[modifier] = 0x80;
        SetKeyboardState(keys);
        MSG f1 = KeyDown(dlg.m_hWnd, VK_F1);
        app.PreTranslateMessage(&f1);
        EXPECT_EQ(g_help.calls, 0) << "modifier " << modifier;
    }
    app.m_pMainWnd = nullptr;
    dlg.DestroyWindow();
}

// --------------------------------------------------------------------------
// Message box

struct BoxSeen {
    bool found = false;
    std::wstring caption, text;
    HWND owner = nullptr;
    bool hasOk = false, hasCancel = false;
    HICON icon = nullptr;
} g_box;

BOOL CALLBACK FindBoxText(HWND child, LPARAM) {
    wchar_t cls[32] = {}, text[256] = {};
    GetClassNameW(child, cls, 32);
    GetWindowTextW(child, text, 256);
    if (lstrcmpiW(cls, L"Static") == 0 && text[0] != 0) g_box.text = text;
    HICON icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    if (lstrcmpiW(cls, L"Static") == 0 && icon) g_box.icon = icon;
    return TRUE;
}

BOOL CALLBACK FindBox(HWND hwnd, LPARAM) {
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (!IsWindowVisible(hwnd) || lstrcmpW(cls, L"#32770") != 0) return TRUE;
    if (CWnd::FromHandlePermanent(hwnd)) return TRUE;  // one of ours
    g_box.found = true;
    wchar_t caption[256] = {};
    GetWindowTextW(hwnd, caption, 256);
    g_box.caption = caption;
    g_box.owner = GetWindow(hwnd, GW_OWNER);
    g_box.hasOk = GetDlgItem(hwnd, IDOK) != nullptr;
    g_box.hasCancel = GetDlgItem(hwnd, IDCANCEL) != nullptr;
    EnumChildWindows(hwnd, FindBoxText, 0);
    PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    return FALSE;
}

void CALLBACK CloseBox(HWND, UINT, UINT_PTR id, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), FindBox, 0);
    if (g_box.found) KillTimer(nullptr, id);
}

TEST_F(FrameworkTest, MessageBoxShowsCp932TextWithAppCaptionOkAndExclamation) {
    TestDlg main;
    ASSERT_TRUE(main.Create(200));
    app.m_pMainWnd = &main;
    g_box = BoxSeen();
    UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseBox);
    // "ファイル表示" in code page 932; 表 has 0x5C as its second byte.
    int result = AfxMessageBox("\x83\x74\x83\x40\x83\x43\x83\x8b\x95\x5c\x8e\xa6");
    KillTimer(nullptr, timer);
    EXPECT_EQ(result, IDOK);
    ASSERT_TRUE(g_box.found);
    EXPECT_EQ(g_box.caption, L"framework_tests");
    EXPECT_EQ(g_box.text, L"\u30d5\u30a1\u30a4\u30eb\u8868\u793a");
    EXPECT_EQ(g_box.owner, main.m_hWnd);
    EXPECT_TRUE(g_box.hasOk);
    EXPECT_FALSE(g_box.hasCancel);
    EXPECT_EQ(g_box.icon, LoadIconW(nullptr, MAKEINTRESOURCEW(32515)));
    app.m_pMainWnd = nullptr;
    main.DestroyWindow();
}

int g_hookCalls = 0;
int RecordBox(const char*, unsigned, unsigned) {
    ++g_hookCalls;
    return IDCANCEL;
}

TEST_F(FrameworkTest, MessageBoxGoesThroughTheReplaceableHook) {
    afx_hooks::MessageBoxFn saved = afx_hooks::messageBox;
    afx_hooks::messageBox = RecordBox;
    g_hookCalls = 0;
    EXPECT_EQ(AfxMessageBox("x"), IDCANCEL);
    afx_hooks::messageBox = saved;
    EXPECT_EQ(g_hookCalls, 1);
}

TEST(Cp932Text, ConvertsDoubleByteCharactersWithBackslashTrailBytes) {
    // ソ (0x83 0x5C), 能 (0x94 0x5C), half-width ｶ (0xB6), and ASCII.
    EXPECT_EQ(AfxCp932ToWide("\x83\x5c\x94\x5c\xb6" "A"), L"\u30bd\u80fd\uff76A");
    EXPECT_EQ(AfxCp932ToWide(""), L"");
}

TEST_F(FrameworkTest, AppNameIsTheExecutableFileNameWithoutExtension) {
    EXPECT_STREQ(app.m_pszAppName, "framework_tests");
    EXPECT_STREQ(app.m_pszExeName, "framework_tests");
    EXPECT_EQ(AfxGetApp(), &app);
}

}  // namespace
