// The application object: creates the main window at start-up and runs one
// frame step of it from every idle call.
#pragma once

#include "framework/afx_win.h"

class CFlakeDlg;

class CFlakeApp : public CWinApp {
public:
    CFlakeApp();
    ~CFlakeApp() override;

    DECLARE_MESSAGE_MAP()

public:
    BOOL InitInstance() override;
    BOOL OnIdle(LONG count) override;

    // The live main window, or null. Set by the window in InitScene and
    // cleared by the window when it is destroyed. Not owned. The one
    // application object has static storage, so this starts null without the
    // constructor touching it.
    CFlakeDlg* m_pFlakeDlg;
};

// The application object of this program (null when another kind runs).
CFlakeApp* FlakeApp();
