#pragma once
#include "scene/drop_rings.h"
#include "scene/mesh_vertex.h"
#include "scene/rain_schedule.h"
#include "scene/water_drops.h"

#include <cstdint>
#include <vector>

// Where the light is worked out: nowhere, at each vertex (OpenGL 1.1), or
// at each pixel by a shader, which takes the drops' slope at each vertex
// from here and works out the waves' itself.
enum class surface_light { none, per_vertex, per_pixel };

// What lies on the waves of one view: the rain's drops and the light. The
// scene uses it only when either is asked for; otherwise the waves alone
// move the picture, as they always did.
class water_surface {
public:
    // For a view's grid over width x height pixels, whose texture's half
    // texel spans `half_texel_pixels` view pixels; the rain gets
    // `rain_slots` of the window's drops.
    void prepare(const std::vector<mesh_vertex>& grid, int columns, int rows, int width, int height,
                 float half_texel_pixels, surface_light light, double rain, int rain_slots, std::uint32_t seed);
    bool lit_per_vertex() const { return light_ == surface_light::per_vertex; }
    // Whether prepare() ran for this grid and size.
    bool matches(std::size_t vertex_count, int width, int height) const;

    // After the waves wrote u and v: adds the rain's drops at `time` and
    // the pointer's, lights the surface and holds u and v to
    // [inset, 1 - inset].
    void apply(std::vector<mesh_vertex>& vertices, double time, const std::vector<water_drop>& pointer_rings,
               float inset_u, float inset_v);

    // For lighting each pixel: the drops' slope at each vertex as a normal
    // array's (x, y, 0), and how far the waves' offset of one pixel tilts
    // the surface.
    const std::vector<float>& drop_slopes() const { return drop_slopes_; }
    float wave_gain() const { return wave_gain_; }

    const std::vector<std::uint32_t>& shade() const { return shade_; }
    const std::vector<std::uint32_t>& glint() const { return glint_; }
    bool glinting() const { return glinting_; }

private:
    surface_light light_ = surface_light::none;
    int columns_ = 0, rows_ = 0, width_ = 0, height_ = 0;
    std::vector<float> still_u_, still_v_;
    drop_shape shape_;
    rain_schedule rain_;
    float wave_gain_ = 0, drop_gain_ = 0; // pixels of offset to slope
    std::vector<water_drop> drops_;       // this frame's, kept to spare allocations
    std::vector<float> slope_x_, slope_y_, drop_slopes_;
    std::vector<std::uint32_t> shade_, glint_;
    bool glinting_ = false;
};
