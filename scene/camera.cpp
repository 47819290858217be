#include "scene/camera.h"

#include <cmath>
#include <cstdint>

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

void RotateToCamera(const double rotation[9], const Point3& world, Point3& camera) {
    const double x = world.x, y = world.y, z = world.z;
    // The y and z terms are summed first, the x term is added last.
    camera.x = (rotation[1] * y + rotation[2] * z) + rotation[0] * x;
    camera.y = (rotation[4] * y + rotation[5] * z) + rotation[3] * x;
    camera.z = (rotation[7] * y + rotation[8] * z) + rotation[6] * x;
}

namespace {

// Truncates toward zero to a 32-bit signed integer and gives it back as a
// double. Values that have no such integer (NaN, infinities, anything outside
// the range) give the integer minimum, as the processor's own conversion does.
inline double TruncateToInt32(double value) {
    // Both comparisons are false for NaN.
    if (value > -2147483649.0 && value < 2147483648.0) {
        return static_cast<double>(static_cast<std::int32_t>(value));
    }
    return -2147483648.0;
}

}  // namespace

void ProjectToScreen(const Point3& camera, double eyeX, double eyeY, double eyeZ,
                     int clientWidth, int clientHeight, Point3& screen) {
    const double depth = (camera.y - eyeY) * 0.1;
    screen.z = depth;

    // Integer halves: an odd size loses its half pixel.
    const double halfWidth = clientWidth / 2;
    const double halfHeight = clientHeight / 2;

    const double column = ((camera.x - eyeX) * 80) / depth + halfWidth;
    const double row = ((camera.z - eyeZ) * 80) / depth + halfHeight;

    screen.x = TruncateToInt32(column);
    screen.y = TruncateToInt32(row);
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
