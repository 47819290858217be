#include "scene/camera.h"

#include <cmath>

void BuildRotation(double tilt, double bank, double turn, double rotation[9]) {
    const double sT = std::sin(tilt), cT = std::cos(tilt);
    const double sB = std::sin(bank), cB = std::cos(bank);
    const double sU = std::sin(turn), cU = std::cos(turn);

    // Turn about z first, then tilt about x, then bank about the viewing axis.
    // Each product in parentheses is formed before it takes part in a sum.
    rotation[0] = cU * cB - (sU * sT) * sB;
    rotation[1] = -(sU * cB) - (cU * sT) * sB;
    rotation[2] = -(sB * cT);
    rotation[3] = sU * cT;
    rotation[4] = cU * cT;
    rotation[5] = -sT;
    rotation[6] = (sU * sT) * cB + cU * sB;
    rotation[7] = (cU * sT) * cB - sU * sB;
    rotation[8] = cB * cT;
}

namespace {

struct CameraKey {
    int virtualKey;
    enum Target { kTurn, kTilt, kEyeY } target;
    double change;
};

// Read in this order; opposite keys held together are both applied.
constexpr CameraKey kCameraKeys[] = {
    {0x25, CameraKey::kTurn, -0.02},  // Left arrow
    {0x27, CameraKey::kTurn, +0.02},  // Right arrow
    {0x26, CameraKey::kTilt, -0.02},  // Up arrow
    {0x28, CameraKey::kTilt, +0.02},  // Down arrow
    {0x22, CameraKey::kEyeY, -0.1},   // Page Down
    {0x21, CameraKey::kEyeY, +0.1},   // Page Up
};

}  // namespace

void ApplyCameraKeys(KeyStateReader keyState, double& turn, double& tilt, double& eyeY) {
    for (const CameraKey& key : kCameraKeys) {
        // Down now, or pressed since the previous query.
        if (keyState(key.virtualKey) == 0) continue;
        double& member = key.target == CameraKey::kTurn   ? turn
                         : key.target == CameraKey::kTilt ? tilt
                                                          : eyeY;
        // x -= c is x + (-c) exactly, so one addition serves both signs.
        member += key.change;
    }
}
