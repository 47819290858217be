#include "app/about_dlg.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr) {}

CAboutDlg::~CAboutDlg() {}

void CAboutDlg::DoDataExchange(void* exchange) { CDialog::DoDataExchange(exchange); }
