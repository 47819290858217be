// Camera arithmetic: rotation from three angles, world to camera, projection
// to whole pixels, and the key table. Portable: no Windows header.
#pragma once

#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define VORL_CAMERA_SSE2 1
#include <emmintrin.h>
#endif

struct Point3 {
    double x, y, z;
};

// Rebuilds the 3x3 row-major rotation from tilt (about x), bank (about the
// viewing axis) and turn (about z).
void BuildRotation(double tilt, double bank, double turn, double rotation[9]);

// camera = rotation x world; per row the y and z terms are added first.
inline void RotateToCamera(const double rotation[9], const Point3& world, Point3& camera);

// Depth in screen.z, whole-pixel column and row in screen.x and screen.y.
// camera and screen must be different objects. Defined for any input: a depth
// of zero or below, NaN or a huge quotient gives some column and row.
inline void ProjectToScreen(const Point3& camera, double eyeX, double eyeY, double eyeZ,
                     int clientWidth, int clientHeight, Point3& screen);

// The six camera keys, read in table order. keyState returns the 16-bit
// asynchronous state of a virtual key; non-zero counts as pressed.
using KeyStateReader = short (*)(int virtualKey);
void ApplyCameraKeys(KeyStateReader keyState, double& turn, double& tilt, double& eyeY);

// The two per-flake steps run 20,000 times a frame; they are defined here so
// that the renderer's loop can inline them.

inline void RotateToCamera(const double rotation[9], const Point3& world, Point3& camera) {
    const double x = world.x, y = world.y, z = world.z;
    // The y and z terms are summed first, the x term is added last.
    camera.x = (rotation[1] * y + rotation[2] * z) + rotation[0] * x;
    camera.y = (rotation[4] * y + rotation[5] * z) + rotation[3] * x;
    camera.z = (rotation[7] * y + rotation[8] * z) + rotation[6] * x;
}

namespace camera_detail {

// Truncates toward zero to a 32-bit signed integer and gives it back as a
// double. Values that have no such integer (NaN, infinities, anything outside
// the range) give the integer minimum, as the processor's own conversion does.
inline double TruncateToInt32Portable(double value) {
    // Both comparisons are false for NaN.
    if (value > -2147483649.0 && value < 2147483648.0) {
        return static_cast<double>(static_cast<std::int32_t>(value));
    }
    return -2147483648.0;
}

inline double TruncateToInt32(double value) {
#ifdef VORL_CAMERA_SSE2
    // The processor's conversion is defined for every input and yields the
    // integer minimum where no result exists; without a range test there is
    // no branch to mispredict in the per-flake loop.
    return static_cast<double>(_mm_cvttsd_si32(_mm_set_sd(value)));
#else
    return TruncateToInt32Portable(value);
#endif
}

}  // namespace camera_detail

inline void ProjectToScreen(const Point3& camera, double eyeX, double eyeY, double eyeZ,
                            int clientWidth, int clientHeight, Point3& screen) {
    const double depth = (camera.y - eyeY) * 0.1;
    screen.z = depth;

    // Integer halves: an odd size loses its half pixel.
    const double halfWidth = clientWidth / 2;
    const double halfHeight = clientHeight / 2;

    const double column = ((camera.x - eyeX) * 80) / depth + halfWidth;
    const double row = ((camera.z - eyeZ) * 80) / depth + halfHeight;

    screen.x = camera_detail::TruncateToInt32(column);
    screen.y = camera_detail::TruncateToInt32(row);
}
