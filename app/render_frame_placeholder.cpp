// TEMPORARY: draws nothing until the frame renderer lands; it replaces this
// file with its own definition of CFlakeDlg::RenderFrame.
#include "app/flake_dlg.h"

void CFlakeDlg::RenderFrame() {}
