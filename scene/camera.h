// Camera arithmetic: rotation from three angles, world to camera, projection
// to whole pixels, and the key table. Portable: no Windows header.
#pragma once

struct Point3 {
    double x, y, z;
};

// Rebuilds the 3x3 row-major rotation from tilt (about x), bank (about the
// viewing axis) and turn (about z).
void BuildRotation(double tilt, double bank, double turn, double rotation[9]);

// camera = rotation x world; per row the y and z terms are added first.
void RotateToCamera(const double rotation[9], const Point3& world, Point3& camera);

// Depth in screen.z, whole-pixel column and row in screen.x and screen.y.
// camera and screen must be different objects. Defined for any input: a depth
// of zero or below, NaN or a huge quotient gives some column and row.
void ProjectToScreen(const Point3& camera, double eyeX, double eyeY, double eyeZ,
                     int clientWidth, int clientHeight, Point3& screen);

// The six camera keys, read in table order. keyState returns the 16-bit
// asynchronous state of a virtual key; non-zero counts as pressed.
using KeyStateReader = short (*)(int virtualKey);
void ApplyCameraKeys(KeyStateReader keyState, double& turn, double& tilt, double& eyeY);
