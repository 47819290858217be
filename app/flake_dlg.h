// The main window: a resizable modeless dialog whose client area is the
// drawing surface. It owns the whole scene: flakes, camera, texture, the
// retained-mode frames and the background material.
#pragma once

#include <windows.h>
#include <d3d.h>
#include <d3drm.h>

#include "framework/afx_win.h"
#include "res/resource.h"
#include "scene/camera.h"
#include "scene/flake_cull.h"
#include "scene/flake_field.h"
#include "texture/flake_texture.h"

class CFlakeDlg : public CDialog {
public:
    explicit CFlakeDlg(CWnd* parent = nullptr);
    ~CFlakeDlg() override;

    enum { IDD = IDD_MAIN };

    DECLARE_MESSAGE_MAP()

public:
    void DoDataExchange(void* exchange) override;
    void PostNcDestroy() override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // One frame step (from the application's idle hook): without the keyboard
    // focus only a wait for the next message; with it keys, rotation, flakes,
    // drawing and a 10 ms pause.
    void StepFrame();
    // Registers the window with the application, marks the device set-up as
    // pending, sets the camera defaults and fills the flake field.
    void InitScene();

    void PollCameraKeys();
    void UpdateRotation();
    void WorldToCamera(const Point3& world, Point3& camera);
    void Project(const Point3& camera, Point3& screen);
    // Moves every flake one step and, in the same pass, gives it the quick
    // visibility test under the camera and client size of this step; the
    // drawing that follows visits only the flakes that passed.
    void AdvanceFlakes();
    void RenderFrame();
    // The set-up phase of a frame, tried again later where a later set-up
    // fails; a failure of the first one ends the process. True when it ran
    // through.
    bool SetUpScene();
    // One set-up: the layer, the frames, the viewport, the texture and the
    // background material.
    void RunSetUp();
    // The camera and client size as the quick test sees them.
    FlakeCull QuickTestCull() const;

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnClose();
    void OnSize(UINT type, int cx, int cy);
    void OnMove(int x, int y);
    // The display's resolution, scale or colour depth changed: the surfaces
    // belong to the old mode, so the next frame sets everything up anew.
    LRESULT OnDisplayChange(WPARAM bitsPerPixel, LPARAM size);
    // The window is now on a monitor of another scale: it takes the rectangle
    // Windows suggests, and the size message that follows sets up again.
    LRESULT OnDpiChanged(WPARAM dpi, LPARAM suggested);
    // Empties the texture (its surfaces belong to the device about to go) and
    // makes the next frame perform the whole set-up.
    void SetUpAgain();

    FlakeTexture m_texture;
    IDirect3DRMFrame2* m_sceneFrame;
    IDirect3DRMFrame2* m_cameraFrame;
    D3DMATERIAL m_backgroundMaterialDesc;
    D3DMATERIALHANDLE m_backgroundMaterialHandle;
    IDirect3DMaterial2* m_backgroundMaterial;
    BOOL m_needsSetup;
    // A later set-up that fails is tried again: the tries failed in a row,
    // the time (in ms of the performance counter) before which the next one
    // waits, and whether any set-up has run through (the first one gets no
    // second try).
    int m_setUpTries;
    ULONGLONG m_nextSetUpTry;
    BOOL m_setUpDone;
    double m_rotation[9];
    double m_tilt, m_bank, m_turn;
    double m_eyeX, m_eyeY, m_eyeZ;
    int m_clientWidth, m_clientHeight;
    Flake m_flakes[kFlakeCount];
    HICON m_hIcon;
    // The flakes that passed the quick test during the last advance, for the
    // frame drawn after it (RenderFrame forgets them once it has drawn).
    FlakeCandidates m_candidates;
};

// The renderer passes every flake through these two, 20,000 times a frame;
// defined here so that its loop can inline them.
inline void CFlakeDlg::WorldToCamera(const Point3& world, Point3& camera) {
    RotateToCamera(m_rotation, world, camera);
}

inline void CFlakeDlg::Project(const Point3& camera, Point3& screen) {
    ProjectToScreen(camera, m_eyeX, m_eyeY, m_eyeZ, m_clientWidth, m_clientHeight, screen);
}

inline FlakeCull CFlakeDlg::QuickTestCull() const {
    return MakeFlakeCull(m_rotation, m_eyeX, m_eyeY, m_eyeZ, m_clientWidth, m_clientHeight);
}

// Where the minimised window draws its icon: each coordinate is
// (client size - icon size + 1) / 2, truncated toward zero.
POINT MinimizedIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight);
