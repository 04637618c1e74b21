#pragma once
#include "scene/mesh_vertex.h"
#include "scene/water_drops.h"

#include <vector>

// The rings' shape for one view, scaled with its diagonal like the waves.
struct drop_shape {
    float speed = 0;      // of the front, pixels per second
    float wavelength = 0; // pixels
    float train = 0;      // length of the ring train behind the front, pixels
    float spread = 0;     // the radius where the spreading has halved the square of the offset
    float offset = 0;     // how far a strength-1 drop moves the picture at its fall, pixels
    float half_texel_pixels = 0; // half a texel in view pixels: moving less than this is not seen
    float decay = 0;      // seconds; derived so that the offset reaches half a texel at retirement
};

// The shape for a view of `diagonal` pixels whose texture's half texel
// spans `half_texel_pixels` view pixels.
drop_shape make_drop_shape(float diagonal, float half_texel_pixels);

// The offset of a drop `age` seconds after its fall, for strength 1: the
// exponential decay less its value at retirement, so it reaches exactly 0
// at the end of its `life` with no step. A shorter life runs the same
// curve faster. 0 outside [0, life].
float drop_envelope(const drop_shape& shape, double age, double life = drop_lifetime);

// Adds every drop's rings to u and v of a regular columns x rows grid over
// a width x height view; vertices outside a ring's reach are skipped. A
// ring bends the picture as a round bump of water does: what shows through
// it moves along the slope, by (ox, oy) pixels (y down) the same way across
// as down. With `slopes`, (ox, oy) times slope_gain is added to the
// vertex's slope there too, so the light agrees with the bend.
void add_drop_rings(std::vector<mesh_vertex>& vertices, int columns, int rows, int width, int height,
                    const drop_shape& shape, const std::vector<water_drop>& drops, double time,
                    float* slope_x = nullptr, float* slope_y = nullptr, float slope_gain = 0);
