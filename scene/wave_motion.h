#pragma once
#include "scene/mesh_vertex.h"

#include <cstddef>
#include <vector>

// The wave phase after `seconds` at `speed` radians per second, kept in
// [0, 2 pi) so that it never stops moving however long the run.
float advance_phase(float phase, float seconds, float speed);

// Per-frame texture-coordinate update of the grid. prepare() computes once
// what does not change between frames for a grid, window size and wave
// settings; apply() then rewrites u and v of every vertex for a phase.
class wave_field {
public:
    void prepare(const std::vector<mesh_vertex>& vertices, int columns, int rows, int width,
                 int height, bool radial, float freq, float amp);
    // Whether prepare() ran for this grid and window size.
    bool matches(std::size_t vertex_count, int width, int height) const;
    // A zero width or height leaves the coordinates as they are.
    void apply(std::vector<mesh_vertex>& vertices, float phase) const;
};
