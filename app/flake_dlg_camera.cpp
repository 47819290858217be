// The camera operations of the main window over the scene's camera arithmetic.
#include "app/flake_dlg.h"

namespace {
short AsyncKeyState(int virtualKey) { return GetAsyncKeyState(virtualKey); }
}  // namespace

void CFlakeDlg::PollCameraKeys() { ApplyCameraKeys(AsyncKeyState, m_turn, m_tilt, m_eyeY); }

void CFlakeDlg::UpdateRotation() { BuildRotation(m_tilt, m_bank, m_turn, m_rotation); }

void CFlakeDlg::WorldToCamera(const Point3& world, Point3& camera) {
    RotateToCamera(m_rotation, world, camera);
}

void CFlakeDlg::Project(const Point3& camera, Point3& screen) {
    ProjectToScreen(camera, m_eyeX, m_eyeY, m_eyeZ, m_clientWidth, m_clientHeight, screen);
}
