#pragma once
#include "scene/mesh_vertex.h"
#include "scene/water_drops.h"

#include <cstdint>
#include <vector>

// What lies on the waves of one view: the rain's drops and the light. The
// scene uses it only when either is asked for; otherwise the waves alone
// move the picture, as they always did.
class water_surface {
public:
    // For a view's grid over width x height pixels, whose texture has
    // `half_texel` view pixels per half texel; the rain gets `rain_slots`
    // of the window's drops. `vertex_light`: the light is worked out here
    // for each vertex (else a shader lights each pixel, or nothing does).
    void prepare(const std::vector<mesh_vertex>& grid, int columns, int rows, int width, int height,
                 float half_texel, bool vertex_light, double rain, int rain_slots, std::uint32_t seed);
    bool lit() const { return light_; }
    // Whether prepare() ran for this grid and size.
    bool matches(std::size_t vertex_count, int width, int height) const;

    // After the waves wrote u and v: adds the rain's drops at `time` and
    // the pointer's, lights the surface and holds u and v to
    // [inset, 1 - inset].
    void apply(std::vector<mesh_vertex>& vertices, double time, const std::vector<water_drop>& pointer_rings,
               float inset_u, float inset_v);

    // This frame's drops, their shape, and how far an offset of one pixel
    // tilts the surface (the waves', the drops'): for lighting each pixel.
    const std::vector<water_drop>& drops() const { return drops_; }
    const drop_shape& shape() const { return shape_; }
    float wave_gain() const { return wave_gain_; }
    float drop_gain() const { return drop_gain_; }

    const std::vector<std::uint32_t>& shade() const { return shade_; }
    const std::vector<std::uint32_t>& glint() const { return glint_; }
    bool glinting() const { return glinting_; }

private:
    bool light_ = false;
    int columns_ = 0, rows_ = 0, width_ = 0, height_ = 0;
    std::vector<float> still_u_, still_v_;
    drop_shape shape_;
    rain_schedule rain_;
    float wave_gain_ = 0, drop_gain_ = 0; // pixels of offset to slope
    std::vector<water_drop> drops_;       // this frame's, kept to spare allocations
    std::vector<float> slope_x_, slope_y_;
    std::vector<std::uint32_t> shade_, glint_;
    bool glinting_ = false;
};
