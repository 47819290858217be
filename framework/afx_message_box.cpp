// The framework's standard message box.
#include "framework/afx_win.h"

#include <vector>

namespace {
std::wstring ToWide(const char* text, UINT codePage) {
    if (!text) return std::wstring();
    int n = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::vector<wchar_t> wide(static_cast<size_t>(n));
    MultiByteToWideChar(codePage, 0, text, -1, wide.data(), n);
    return std::wstring(wide.data());
}
}  // namespace

std::wstring AfxCp932ToWide(const char* text) { return ToWide(text, 932); }

// OK unless the caller asks for other buttons, the exclamation icon unless it
// names another, the application's name as caption, the main window as owner.
// The texts are code page 932; the wide call shows them right on any system.
int AfxDefaultMessageBox(const char* text, unsigned type, unsigned) {
    if ((type & MB_ICONMASK) == 0) type |= MB_ICONEXCLAMATION;
    CWinApp* app = AfxGetApp();
    CWnd* main = AfxGetMainWnd();
    HWND owner = main ? main->m_hWnd : nullptr;
    std::wstring caption = ToWide(app && app->m_pszAppName ? app->m_pszAppName : "", CP_ACP);
    std::wstring wideText = AfxCp932ToWide(text);
    return MessageBoxW(owner, wideText.c_str(), caption.c_str(), type);
}

int AfxMessageBox(const char* text, unsigned type, unsigned helpId) {
    return afx_hooks::messageBox(text, type, helpId);
}
