// The application object, its run loop and command routing.
#include "framework/afx_win.h"

#include <cstring>

namespace {
CWinApp* g_app = nullptr;

BOOL DefaultWinHelp(HWND owner, const char* helpFile, UINT command, ULONG_PTR data) {
    return WinHelpA(owner, helpFile, command, data);
}
}  // namespace

namespace afx_hooks {
WinHelpFn winHelp = DefaultWinHelp;
}  // namespace afx_hooks

// ---------------------------------------------------------------------------
// Message tables

const AfxMessageMap* CCmdTarget::GetThisMessageMap() {
    static const AfxMsgMapEntry entries[] = {{0, 0, nullptr}};
    static const AfxMessageMap map = {nullptr, entries};
    return &map;
}

const AfxMessageMap* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AfxMsgMapEntry* CCmdTarget::FindEntry(UINT message, UINT id) const {
    for (const AfxMessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const AfxMsgMapEntry* e = map->entries; e->message != 0; ++e) {
            if (e->message == message && (message != WM_COMMAND || e->id == id)) return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT id) {
    const AfxMsgMapEntry* e = FindEntry(WM_COMMAND, id);
    if (!e) return FALSE;
    e->handler(this, 0, 0);
    return TRUE;
}

// ---------------------------------------------------------------------------
// The application

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(const char* appName) {
    if (appName) {
        m_appName = appName;
        m_pszAppName = m_appName.c_str();
    }
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

HINSTANCE AfxGetInstanceHandle() {
    return g_app && g_app->m_hInstance ? g_app->m_hInstance : GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

void CWinApp::SetModule(HINSTANCE instance) {
    m_hInstance = instance;
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(instance, path, MAX_PATH);
    std::string full(path, n);
    std::string::size_type slash = full.find_last_of("\\/");
    std::string file = slash == std::string::npos ? full : full.substr(slash + 1);
    std::string::size_type dot = file.rfind('.');
    m_exeName = dot == std::string::npos ? file : file.substr(0, dot);
    m_pszExeName = m_exeName.c_str();
    if (!m_pszAppName) {
        m_appName = m_exeName;
        m_pszAppName = m_appName.c_str();
    }
    // The help file: the executable's path with ".HLP" in place of its extension.
    std::string::size_type fullDot = full.rfind('.');
    if (fullDot != std::string::npos && (slash == std::string::npos || fullDot > slash)) {
        m_helpPath = full.substr(0, fullDot);
    } else {
        m_helpPath = full;
    }
    m_helpPath += ".HLP";
    m_pszHelpFilePath = m_helpPath.c_str();
}

BOOL AfxWinInit(HINSTANCE instance) {
    CWinApp* app = AfxGetApp();
    if (!app) return FALSE;
    app->SetModule(instance);
    return TRUE;
}

int AfxWinMain(HINSTANCE instance) {
    CWinApp* app = AfxGetApp();
    if (!app || !AfxWinInit(instance)) return -1;
    if (!app->InitInstance()) return app->ExitInstance();
    return app->Run();
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

BOOL CWinApp::OnIdle(LONG count) {
    // Count 0 would refresh the user-interface state (this framework keeps
    // none); count 1 frees the temporary window objects.
    if (count >= 1) CWnd::DeleteTempMap();
    return count < 1;
}

int CWinApp::Run() {
    BOOL idle = TRUE;
    LONG idleCount = 0;
    MSG peek;
    for (;;) {
        while (idle && !PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) idle = FALSE;
        }
        do {
            if (!PumpMessage()) return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                idle = TRUE;
                idleCount = 0;
            }
        } while (PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinApp::PumpMessage() {
    if (GetMessageW(&m_msgCur, nullptr, 0, 0) <= 0) {
        // WM_QUIT (or a broken queue, treated alike)
        if (m_msgCur.message != WM_QUIT) m_msgCur.wParam = static_cast<WPARAM>(-1);
        return FALSE;
    }
    if (!PreTranslateMessage(&m_msgCur)) {
        TranslateMessage(&m_msgCur);
        DispatchMessageW(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinApp::IsIdleMessage(const MSG* msg) {
    if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE) {
        if (msg->message == m_nMsgLast && msg->pt.x == m_ptCursorLast.x &&
            msg->pt.y == m_ptCursorLast.y) {
            return FALSE;
        }
        m_ptCursorLast = msg->pt;
        m_nMsgLast = msg->message;
        return TRUE;
    }
    return msg->message != WM_PAINT && msg->message != 0x0118;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) {
    HWND stop = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = GetParent(hwnd)) {
        CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
        if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
        if (hwnd == stop) break;
    }
    return FALSE;
}

void CWinApp::OnHelp() {
    // The context of the dialog that is active (the main window when it is).
    CWnd* wnd = CWnd::FromHandlePermanent(GetActiveWindow());
    if (!wnd || wnd->m_nIDHelp == 0) wnd = m_pMainWnd;
    if (!wnd || wnd->m_nIDHelp == 0) return;
    WinHelp(HID_BASE_RESOURCE + wnd->m_nIDHelp, HELP_CONTEXT);
}

void CWinApp::WinHelp(ULONG_PTR data, UINT command) {
    HWND owner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    afx_hooks::winHelp(owner, m_pszHelpFilePath, command, data);
}
