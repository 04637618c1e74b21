#pragma once
#include "scene/mesh_vertex.h"

#include <cstddef>
#include <vector>

constexpr double pi = 3.14159265358979323846;
// The waves' own constant, at the vertices and at each pixel alike: a
// single-precision 3.1415, not pi.
constexpr float wave_pi = 3.1415f;

// The wave phase after `seconds` at `speed` radians per second, kept in
// [0, 2 pi) so that it never stops moving however long the run. A step that
// is not finite (NaN or infinite seconds) is skipped.
float advance_phase(float phase, float seconds, float speed);

// Length of the window's diagonal: the squares summed in integers, the root
// stored as a float. The radial waves scale their rings by it.
float window_diagonal(int width, int height);

// Per-frame texture-coordinate update of the grid. prepare() computes once
// what does not change between frames for a grid, window size and wave
// settings; apply() then rewrites u and v of every vertex for a phase.
class wave_field {
public:
    // With an inset, u and v are held within [inset, 1 - inset].
    void prepare(const std::vector<mesh_vertex>& vertices, int columns, int rows, int width,
                 int height, bool radial, float freq, float amp, float inset_u = 0,
                 float inset_v = 0);
    // Whether prepare() ran for this grid and window size.
    bool matches(std::size_t vertex_count, int width, int height) const;
    // A zero width or height leaves the coordinates as they are, and so does
    // an empty grid. The grid must be the one prepare() saw: the scene makes
    // a new field whenever it rebuilds a grid.
    void apply(std::vector<mesh_vertex>& vertices, float phase) const;

private:
    enum class method {
        unprepared,
        still,   // zero-sized window: nothing to do
        radial,  // per-vertex tables
        linear,  // per-row and per-column tables of the regular grid
    };

    bool prepare_linear(const std::vector<mesh_vertex>& vertices, int columns, int rows);
    void prepare_radial(const std::vector<mesh_vertex>& vertices);
    // `held`: u and v are held to the inset's range (only a GL without edge
    // clamp needs it, so the usual update does no extra work).
    template <bool held>
    void apply_radial(std::vector<mesh_vertex>& vertices, float cos_phase, float sin_phase) const;
    template <bool held>
    void apply_linear(std::vector<mesh_vertex>& vertices, double cos_phase, double sin_phase,
                      float cos_phase_f, float sin_phase_f) const;

    method method_ = method::unprepared;
    std::size_t count_ = 0; // vertices of the prepared grid
    int width_ = 0;
    int height_ = 0;
    float freq_ = 0;
    float amp_ = 0;
    // u and v are held to [inset, 1 - inset] when the insets are not 0.
    float inset_u_ = 0, inset_v_ = 0;

    // Radial: per vertex, u = base_u + shift_u * s and v = base_v + shift_v * s
    // with s = sin(a + phase) = sin_a * cos(phase) + cos_a * sin(phase).
    std::vector<float> base_u_, base_v_, shift_u_, shift_v_, sin_a_, cos_a_;

    // Linear: u's wave depends only on the row, v's only on the column; the
    // sines and cosines here already carry the amplitude.
    int columns_ = 0;
    int rows_ = 0;
    std::vector<float> column_base_u_, column_sin_, column_cos_;
    std::vector<double> row_base_v_, row_sin_, row_cos_;
};
