#include "app/flake_app.h"

#include "app/flake_dlg.h"

BEGIN_MESSAGE_MAP(CFlakeApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CFlakeApp::CFlakeApp() {}

CFlakeApp::~CFlakeApp() {}

CFlakeApp* FlakeApp() { return dynamic_cast<CFlakeApp*>(AfxGetApp()); }

BOOL CFlakeApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControlsStatic();

    CFlakeDlg* dlg = new CFlakeDlg(nullptr);
    // WM_SIZE, WM_MOVE and then WM_INITDIALOG (which builds the scene)
    // arrive during the creation.
    if (!dlg->Create(IDD_MAIN, nullptr)) {
        // No window: the loop could never end. Leave it at once with code 1.
        // (dlg is not touched again: a window destroyed during its creation
        // has already deleted its object.)
        PostQuitMessage(1);
        return TRUE;
    }
    dlg->ShowWindow(SW_SHOW);
    m_pMainWnd = dlg;
    return TRUE;
}

BOOL CFlakeApp::OnIdle(LONG count) {
    BOOL more = CWinApp::OnIdle(count);
    if (!m_pFlakeDlg) return more;
    m_pFlakeDlg->StepFrame();
    return TRUE;
}
