// Windows attached to handles, message dispatch through the message tables,
// dialogs and the paint device context. The framework's windows are Unicode
// windows: templates, captions and menu texts reach the screen as the
// resources hold them, whatever the system's code page.
#include "framework/afx_win.h"

#include <unordered_map>

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AfxDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

namespace {
std::unordered_map<HWND, CWnd*>& PermanentMap() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}
std::unordered_map<HWND, CWnd*>& TemporaryMap() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// The message being handled (per window procedure call; restored on return),
// kept outside the objects because a handler may delete its own object.
MSG g_currentMsg = {};

// A window object waiting for its handle: the next window this thread
// creates is attached to it before it receives its first message.
CWnd* g_creating = nullptr;
HHOOK g_creationHook = nullptr;

void Unhook() {
    if (g_creationHook) UnhookWindowsHookEx(g_creationHook);
    g_creationHook = nullptr;
    g_creating = nullptr;
}

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    HHOOK hook = g_creationHook;
    if (code == HCBT_CREATEWND && g_creating) {
        CWnd* wnd = g_creating;
        Unhook();
        wnd->SubclassCreating(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

void HookCreation(CWnd* wnd) {
    Unhook();
    g_creating = wnd;
    g_creationHook = SetWindowsHookExA(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
}
}  // namespace

// ---------------------------------------------------------------------------
// CWnd

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        // The object goes first: take the window down with it.
        ::DestroyWindow(m_hWnd);
        if (m_hWnd) Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    auto it = PermanentMap().find(hwnd);
    return it == PermanentMap().end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hwnd)) return wnd;
    CWnd*& temp = TemporaryMap()[hwnd];
    if (!temp) {
        temp = new CWnd;
        temp->m_hWnd = hwnd;
    }
    return temp;
}

void CWnd::DeleteTempMap() {
    for (auto& entry : TemporaryMap()) {
        entry.second->m_hWnd = nullptr;  // not ours to destroy
        delete entry.second;
    }
    TemporaryMap().clear();
}

BOOL CWnd::Attach(HWND hwnd) {
    if (!hwnd || m_hWnd) return FALSE;
    PermanentMap()[hwnd] = this;
    m_hWnd = hwnd;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hwnd = m_hWnd;
    if (hwnd) PermanentMap().erase(hwnd);
    m_hWnd = nullptr;
    return hwnd;
}

void CWnd::SubclassCreating(HWND hwnd) {
    Attach(hwnd);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
}

BOOL CWnd::DestroyWindow() {
    HWND hwnd = m_hWnd;
    if (!hwnd) return FALSE;
    return ::DestroyWindow(hwnd);  // may delete this object (PostNcDestroy)
}

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd) return DefWindowProcW(hwnd, message, wParam, lParam);
    MSG saved = g_currentMsg;
    g_currentMsg.hwnd = hwnd;
    g_currentMsg.message = message;
    g_currentMsg.wParam = wParam;
    g_currentMsg.lParam = lParam;
    LRESULT result = wnd->Dispatch(message, wParam, lParam);
    g_currentMsg = saved;
    return result;
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        LRESULT result = DefWindowProc(message, wParam, lParam);
        OnNcDestroy();  // the object may be gone afterwards
        return result;
    }
    return WindowProc(message, wParam, lParam);
}

void CWnd::OnNcDestroy() {
    // The thread's main window is going: the program ends.
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        PostQuitMessage(0);
        app->m_pMainWnd = nullptr;
    }
    if (m_pfnSuper) {
        SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = nullptr;
    }
    Detach();
    PostNcDestroy();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        *result = 0;
        return TRUE;
    }
    const AfxMsgMapEntry* entry = FindEntry(message, 0);
    if (!entry) return FALSE;
    *result = entry->handler(this, wParam, lParam);  // this may be gone now
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) { return OnCmdMsg(LOWORD(wParam)); }

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(g_currentMsg.message, g_currentMsg.wParam, g_currentMsg.lParam);
}

void CWnd::CenterWindow() {
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    RECT center;
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (owner && IsWindowVisible(owner) && !::IsIconic(owner)) {
        ::GetWindowRect(owner, &center);
        GetMonitorInfoA(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &info);
    } else {
        POINT origin = {0, 0};
        GetMonitorInfoA(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &info);
        center = info.rcWork;
    }
    const RECT& area = info.rcWork;
    RECT rect;
    ::GetWindowRect(m_hWnd, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int left = (center.left + center.right) / 2 - width / 2;
    int top = (center.top + center.bottom) / 2 - height / 2;
    if (left + width > area.right) left = area.right - width;
    if (left < area.left) left = area.left;
    if (top + height > area.bottom) top = area.bottom - height;
    if (top < area.top) top = area.top;
    SetWindowPos(m_hWnd, nullptr, left, top, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---------------------------------------------------------------------------
// CDialog

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {
    m_nIDHelp = templateId;
}

CDialog::~CDialog() = default;

INT_PTR CALLBACK AfxDlgProc(HWND hwnd, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    CDialog* dlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hwnd));
    if (!dlg) return TRUE;
    RECT before;
    GetWindowRect(hwnd, &before);
    BOOL result = dlg->OnInitDialog();
    // Still there, not shown, not moved by its initialisation and with no
    // placement of its own: centre it.
    if (CWnd::FromHandlePermanent(hwnd) != dlg) return result;
    RECT after;
    GetWindowRect(hwnd, &after);
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    if (!IsWindowVisible(hwnd) && EqualRect(&before, &after) &&
        !(style & (DS_ABSALIGN | DS_CENTER | DS_CENTERMOUSE | WS_CHILD))) {
        dlg->CenterWindow();
    }
    return result;
}

BOOL CDialog::OnInitDialog() { return TRUE; }

BOOL CDialog::UpdateData(BOOL) {
    DoDataExchange(nullptr);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int result) { ::EndDialog(m_hWnd, result); }

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_nIDTemplate = templateId;
    m_nIDHelp = templateId;
    m_pParentWnd = parent;
    HookCreation(this);
    HWND hwnd = CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(templateId),
                                   parent ? parent->m_hWnd : nullptr, AfxDlgProc, 0);
    Unhook();
    return hwnd != nullptr;
}

HWND CDialog::OwnerForModal() const {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        owner = main ? main->m_hWnd : nullptr;
    }
    // A dialog is owned by a top-level window.
    while (owner && (GetWindowLongA(owner, GWL_STYLE) & WS_CHILD)) owner = GetParent(owner);
    return owner;
}

INT_PTR CDialog::DoModal() {
    HWND owner = OwnerForModal();
    m_modal = TRUE;
    HookCreation(this);
    // The platform's modal loop disables the owner until the dialog ends and
    // runs its own message loop: the application's idle hook is not called.
    INT_PTR result = DialogBoxParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), owner,
                                     AfxDlgProc, 0);
    Unhook();
    m_modal = FALSE;
    return result;
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    // F1 alone is the help command.
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_F1 && GetKeyState(VK_SHIFT) >= 0 &&
        GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
        SendMessage(WM_COMMAND, ID_HELP, 0);
        return TRUE;
    }
    // The dialog keyboard handling (Enter: IDOK, Escape: IDCANCEL, Tab ...)
    // for keyboard and mouse input only.
    bool key = msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
    bool mouse = msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST;
    if (!key && !mouse) return FALSE;
    return IsDialogMessageW(m_hWnd, msg);
}

BOOL CDialog::OnCmdMsg(UINT id) {
    if (CWnd::OnCmdMsg(id)) return TRUE;
    // Commands no window handles go to the application.
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id);
}

// ---------------------------------------------------------------------------
// CPaintDC

CPaintDC::CPaintDC(CWnd* wnd) : m_ps(), m_hWnd(wnd->m_hWnd) { m_hDC = BeginPaint(m_hWnd, &m_ps); }

CPaintDC::~CPaintDC() { EndPaint(m_hWnd, &m_ps); }
