// The camera operations of the main window over the scene's camera arithmetic.
#include "app/flake_dlg.h"

namespace {
short AsyncKeyState(int virtualKey) { return GetAsyncKeyState(virtualKey); }
}  // namespace

void CFlakeDlg::PollCameraKeys() { ApplyCameraKeys(AsyncKeyState, m_turn, m_tilt, m_eyeY); }

void CFlakeDlg::UpdateRotation() { BuildRotation(m_tilt, m_bank, m_turn, m_rotation); }

// WorldToCamera and Project are defined inline in the class's header.
