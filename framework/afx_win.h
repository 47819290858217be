// The small application framework the program is written against: an
// application object with an idle-driven run loop, windows attached to
// handles, dialogs (modeless and modal) with the dialog keyboard handling,
// per-class message tables, a paint device context, the standard message box
// and the help command. Only what the program relies on is here.
#pragma once

#include <windows.h>

#include <string>

#include "framework/afx_hooks.h"

// The framework's standard help command.
constexpr UINT ID_HELP = 0xE146;
// Help contexts of resources are this base plus the resource number.
constexpr DWORD HID_BASE_RESOURCE = 0x20000;

namespace afx_hooks {
// The help call of CWinApp::OnHelp; tests record its arguments here.
using WinHelpFn = BOOL (*)(HWND owner, const char* helpFile, UINT command, ULONG_PTR data);
extern WinHelpFn winHelp;  // default: WinHelpA
}  // namespace afx_hooks

class CCmdTarget;
class CWnd;

// ---------------------------------------------------------------------------
// Message tables. Each class lists the messages it handles; a message not in
// a class's table is looked up in its base class's table, and a message in no
// table gets the window's default processing.

using AfxHandlerFn = LRESULT (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct AfxMsgMapEntry {
    UINT message;         // 0 ends the table
    UINT id;              // command identifier for WM_COMMAND entries
    AfxHandlerFn handler;
};

struct AfxMessageMap {
    const AfxMessageMap* (*base)();
    const AfxMsgMapEntry* entries;
};

#define DECLARE_MESSAGE_MAP()                                  \
public:                                                        \
    static const AfxMessageMap* GetThisMessageMap();           \
    const AfxMessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                              \
    const AfxMessageMap* theClass::GetMessageMap() const {                  \
        return GetThisMessageMap();                                         \
    }                                                                       \
    const AfxMessageMap* theClass::GetThisMessageMap() {                    \
        using ThisClass [[maybe_unused]] = theClass;                        \
        typedef baseClass TheBaseClass;                                     \
        static const AfxMsgMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                   \
            {0, 0, nullptr}};                                               \
        static const AfxMessageMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                        \
    }

#define AFX_THIS(t) static_cast<ThisClass*>(t)

#define ON_COMMAND(id, memberFn)                                            \
    {WM_COMMAND, static_cast<UINT>(id),                                     \
     [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT { AFX_THIS(t)->memberFn(); return 0; }},

// handler: LRESULT (WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFn)                                       \
    {static_cast<UINT>(message), 0,                                         \
     [](CCmdTarget* t, WPARAM w, LPARAM l) -> LRESULT { return AFX_THIS(t)->memberFn(w, l); }},

#define ON_WM_SYSCOMMAND()                                                  \
    {WM_SYSCOMMAND, 0, [](CCmdTarget* t, WPARAM w, LPARAM l) -> LRESULT {   \
         AFX_THIS(t)->OnSysCommand(static_cast<UINT>(w), l); return 0; }},

#define ON_WM_PAINT()                                                       \
    {WM_PAINT, 0, [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {            \
         AFX_THIS(t)->OnPaint(); return 0; }},

#define ON_WM_QUERYDRAGICON()                                               \
    {WM_QUERYDRAGICON, 0, [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {    \
         return reinterpret_cast<LRESULT>(AFX_THIS(t)->OnQueryDragIcon()); }},

#define ON_WM_CLOSE()                                                       \
    {WM_CLOSE, 0, [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {            \
         AFX_THIS(t)->OnClose(); return 0; }},

#define ON_WM_SIZE()                                                        \
    {WM_SIZE, 0, [](CCmdTarget* t, WPARAM w, LPARAM l) -> LRESULT {         \
         AFX_THIS(t)->OnSize(static_cast<UINT>(w), LOWORD(l), HIWORD(l)); return 0; }},

#define ON_WM_MOVE()                                                        \
    {WM_MOVE, 0, [](CCmdTarget* t, WPARAM, LPARAM l) -> LRESULT {           \
         AFX_THIS(t)->OnMove(static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))); \
         return 0; }},

// ---------------------------------------------------------------------------

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    static const AfxMessageMap* GetThisMessageMap();
    virtual const AfxMessageMap* GetMessageMap() const;

    // Finds the table entry for message (and, for WM_COMMAND, the command
    // identifier) in this class's tables; null when there is none.
    const AfxMsgMapEntry* FindEntry(UINT message, UINT id) const;
    // Runs the WM_COMMAND handler for id; FALSE when no table has one.
    virtual BOOL OnCmdMsg(UINT id);
};

class CWinApp : public CCmdTarget {
public:
    // With no name the application takes the executable's file name without
    // its extension.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int Run();
    // TRUE while there is more idle work: at count 0 only.
    virtual BOOL OnIdle(LONG count);
    // The quit code of the message that ended the loop.
    virtual int ExitInstance();
    // The pre-translation of every retrieved message: the windows from the
    // target up to the main window may take the message.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Retrieves and dispatches one message; FALSE on WM_QUIT.
    BOOL PumpMessage();
    // FALSE for messages that must not restart the idle phase: a mouse move at
    // the same position as the previous one, WM_PAINT and the system timer.
    BOOL IsIdleMessage(const MSG* msg);

    // The standard help command: WinHelp with the context of the active
    // dialog's template (or of the main window).
    void OnHelp();
    void WinHelp(ULONG_PTR data, UINT command = HELP_CONTEXT);

    // Kept for the program's start-up sequence; the platform draws controls
    // three-dimensionally by itself, so there is nothing to switch on.
    BOOL Enable3dControlsStatic() { return TRUE; }

    // Module handle, names and paths; set by AfxWinInit.
    void SetModule(HINSTANCE instance);

    HINSTANCE m_hInstance = nullptr;
    const char* m_pszAppName = nullptr;
    const char* m_pszExeName = nullptr;
    const char* m_pszHelpFilePath = nullptr;
    CWnd* m_pMainWnd = nullptr;
    MSG m_msgCur = {};

    DECLARE_MESSAGE_MAP()

private:
    std::string m_appName, m_exeName, m_helpPath;
    POINT m_ptCursorLast = {0, 0};
    UINT m_nMsgLast = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// Containers for OLE controls are not needed: no template holds one.
inline void AfxEnableControlContainer() {}

// Sets up the application object for this module (handles, names).
BOOL AfxWinInit(HINSTANCE instance);
// The program's entry: initialise, InitInstance, run the loop; the result is
// the process's exit code.
int AfxWinMain(HINSTANCE instance);

// The standard box: OK by default, exclamation icon, the application's name as
// caption, the main window as owner. text is in code page 932.
// (declared in afx_hooks.h: int AfxMessageBox(const char*, unsigned, unsigned))

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    // The object attached to hwnd; for a window of no object a temporary one,
    // valid until the next idle clean-up. Null for a null handle.
    static CWnd* FromHandle(HWND hwnd);
    static CWnd* FromHandlePermanent(HWND hwnd);
    BOOL Attach(HWND hwnd);
    HWND Detach();
    // Frees the temporary objects made by FromHandle.
    static void DeleteTempMap();

    BOOL DestroyWindow();
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    // Centres the window over its owner (or, without a visible owner, on the
    // work area of its monitor), kept within that monitor's work area.
    void CenterWindow();

    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void PostNcDestroy() {}
    // The help context of this window; 0 when it has none.
    UINT m_nIDHelp = 0;

    // The default processing of the message being handled.
    LRESULT Default();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Subclasses hwnd and attaches it (used while a window is being created).
    void SubclassCreating(HWND hwnd);

    // Default handlers: the window's default processing.
    void OnSysCommand(UINT, LPARAM) { Default(); }
    void OnPaint() { Default(); }
    HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
    void OnClose() { Default(); }
    void OnSize(UINT, int, int) { Default(); }
    void OnMove(int, int) { Default(); }

    DECLARE_MESSAGE_MAP()

protected:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void OnNcDestroy();

    WNDPROC m_pfnSuper = nullptr;
    MSG m_msgCurrent = {};
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr);
    ~CDialog() override;

    virtual void DoDataExchange(void* /*exchange*/) {}
    void PostNcDestroy() override {}
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    // Modeless: creates the window from templateId with parent as owner.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    // Modal: the owner (the parent, else the main window) is disabled while the
    // dialog runs; returns the EndDialog result, -1 if it could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int result);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    BOOL PreTranslateMessage(MSG* msg) override;
    // Commands the dialog does not handle go on to the application.
    BOOL OnCmdMsg(UINT id) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
    HWND OwnerForModal() const;
    BOOL m_modal = FALSE;
};

// BeginPaint on construction, EndPaint on destruction.
class CPaintDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }

    HDC m_hDC;
    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
};

// Code page 932 text as UTF-16 (the message box shows it with the wide call,
// so it reads correctly whatever the system's code page).
std::wstring AfxCp932ToWide(const char* text);
