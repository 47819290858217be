// The About box: template 100, no handlers of its own.
#pragma once

#include "framework/afx_win.h"
#include "res/resource.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override;

    enum { IDD = IDD_ABOUTBOX };

    DECLARE_MESSAGE_MAP()

public:
    void DoDataExchange(void* exchange) override;
};
