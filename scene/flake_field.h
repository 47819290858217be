// The flake field: 20,000 independent particles in a periodic box,
// x and y in [-10, 10], z in [0, 20]. z is vertical (flakes fall toward
// lower z), y is the camera's depth axis.
#pragma once

#include <cstdint>

constexpr int kFlakeCount = 20000;

struct Flake {
    Flake() {}   // values are undefined until the fill
    ~Flake() {}

    // One step: move by a tenth of the velocity, then wrap into the box.
    void Advance();

    double x, y, z;
    double vx, vy, vz;
};

// The runtime library's rand rule: state = state * 214013 + 2531011 (mod 2^32),
// result (state >> 16) & 0x7FFF. The state starts at 1 and is never seeded.
class FlakeRandom {
public:
    int Next();
    std::uint32_t state = 1;
};

// Fills flakes[0 .. count) in order from six successive results each.
void FillFlakes(Flake* flakes, int count, FlakeRandom& random);

namespace flake_detail {
// The step as written, one coordinate at a time. Flake::Advance gives the same
// bits; on processors with SSE2 it moves x and y together.
void AdvancePortable(Flake& flake);
}  // namespace flake_detail

// Advances flakes[0 .. count) once, in array order.
void AdvanceFlakes(Flake* flakes, int count);
