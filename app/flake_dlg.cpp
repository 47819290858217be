#include "app/flake_dlg.h"

#include <cstdio>

#include "app/about_dlg.h"
#include "app/flake_app.h"
#include "app/flake_dlg_render.h"
#include "framework/afx_hooks.h"
#include "gfx/device_state.h"
#include "gfx/error_report.h"
#include "gfx/windowed_surfaces.h"

BEGIN_MESSAGE_MAP(CFlakeDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_MOVE()
    ON_MESSAGE(WM_DISPLAYCHANGE, OnDisplayChange)
    ON_MESSAGE(WM_DPICHANGED, OnDpiChanged)
END_MESSAGE_MAP()

CFlakeDlg::CFlakeDlg(CWnd* parent)
    : CDialog(IDD_MAIN, parent),
      m_sceneFrame(nullptr),
      m_cameraFrame(nullptr),
      m_backgroundMaterial(nullptr),
      m_setUpTries(0),
      m_nextSetUpTry(0),
      m_setUpDone(FALSE) {
    m_hIcon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

CFlakeDlg::~CFlakeDlg() {
    // No frame step may reach this object once it is gone.
    CFlakeApp* app = FlakeApp();
    if (app && app->m_pFlakeDlg == this) app->m_pFlakeDlg = nullptr;

    // Let go of the DirectX objects before the process ends, texture first,
    // then what the set-up made, then the device layer: Wine's Direct3D does
    // not always end the process cleanly while a device is still alive. Of 50
    // Escape closes without these releases, 8 of the 64-bit program and 1 of
    // the 32-bit one ended killed (137) or crashed (139); with them, 100 of
    // 100 ended with 0.
    m_texture.Unload();
    ReleaseSceneObjects(*this);
    NvxCleanup();
}

void CFlakeDlg::DoDataExchange(void* exchange) { CDialog::DoDataExchange(exchange); }

BOOL CFlakeDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    // The item's text goes to the menu as the resource holds it, in UTF-16:
    // through the narrow calls it would reach the screen only where the
    // language for non-Unicode programs is Japanese.
    HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE);
    if (systemMenu) {
        wchar_t about[256] = {};
        LoadStringW(AfxGetResourceHandle(), IDS_ABOUTBOX, about, 256);
        if (about[0] != L'\0') {
            AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }

    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    InitScene();
    return TRUE;
}

void CFlakeDlg::InitScene() {
    if (CFlakeApp* app = FlakeApp()) app->m_pFlakeDlg = this;
    m_needsSetup = TRUE;
    m_backgroundMaterial = nullptr;
    m_tilt = 3.14159265;
    m_bank = 0.0;
    m_turn = 0.0;
    m_eyeX = 0.0;
    m_eyeY = 0.0;
    m_eyeZ = -2.0;
    FlakeRandom random;
    FillFlakes(m_flakes, kFlakeCount, random);
    m_candidates.Forget();  // a new field: no earlier test result stands for it
}

void CFlakeDlg::StepFrame() {
    if (CWnd::FromHandle(GetFocus()) != this) {
        // Nothing moves without the focus. Coming straight back would keep a
        // core busy for a still picture, so the thread sleeps until a message
        // arrives: the focus comes back with messages of its own.
        MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        return;
    }
    PollCameraKeys();
    UpdateRotation();
    AdvanceFlakes();
    RenderFrame();
    Sleep(10);
}

void CFlakeDlg::AdvanceFlakes() {
    // The keys and the rotation come first in the frame step, so the camera
    // that the drawing will use is fixed by now.
    m_candidates.AdvanceAndCull(QuickTestCull(), m_flakes, kFlakeCount);
}

void CFlakeDlg::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
    } else {
        CDialog::OnSysCommand(id, lParam);
    }
}

POINT MinimizedIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight) {
    POINT origin;
    origin.x = (clientWidth - iconWidth + 1) / 2;
    origin.y = (clientHeight - iconHeight + 1) / 2;
    return origin;
}

void CFlakeDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    int cxIcon = GetSystemMetrics(SM_CXICON);
    int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    POINT origin = MinimizedIconOrigin(rect.right - rect.left, rect.bottom - rect.top, cxIcon, cyIcon);
    dc.DrawIcon(origin.x, origin.y, m_hIcon);
}

HCURSOR CFlakeDlg::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(m_hIcon); }

void CFlakeDlg::OnClose() {
    CDialog::OnClose();
    DestroyWindow();
}

void CFlakeDlg::OnOK() {
    CDialog::OnOK();
    DestroyWindow();
}

void CFlakeDlg::OnCancel() {
    CDialog::OnCancel();
    DestroyWindow();
}

void CFlakeDlg::OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    if (cx == 0 || cy == 0) return;
    m_clientWidth = cx;
    m_clientHeight = cy;
    m_texture.Unload();
    // A rebuild that fails (the display in the middle of a change) is left
    // to the set-up of a later frame, which makes everything again and is
    // tried again itself.
    try {
        NvxTentativeSetUp tentative;
        NvxResizeWindow(m_hWnd, m_clientWidth, m_clientHeight);
    } catch (const NvxSetUpFailure&) {
        char line[sizeof g_deviceState.fatalText + 64];
        std::snprintf(line, sizeof line, "NVX:Resize Window failed (%s); the set-up will try again\n",
                      g_deviceState.fatalText);
        AfxOutputDebugString(line);
        NvxCleanup();
    }
    m_needsSetup = TRUE;
}

void CFlakeDlg::OnMove(int x, int y) {
    CDialog::OnMove(x, y);
    NvxUpdateScreenRect(m_hWnd);
}

LRESULT CFlakeDlg::OnDisplayChange(WPARAM, LPARAM) {
    const LRESULT result = Default();
    SetUpAgain();
    return result;
}

LRESULT CFlakeDlg::OnDpiChanged(WPARAM, LPARAM suggested) {
    Default();
    const RECT* rect = reinterpret_cast<const RECT*>(suggested);
    if (!rect) return 0;
    SetWindowPos(m_hWnd, nullptr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

void CFlakeDlg::SetUpAgain() {
    m_texture.Unload();
    m_needsSetup = TRUE;
}

void CFlakeDlg::PostNcDestroy() {
    CDialog::PostNcDestroy();
    delete this;
}
