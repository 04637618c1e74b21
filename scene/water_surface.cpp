#include "scene/water_surface.h"

#include "scene/water_light.h"
#include "scene/wave_motion.h"

#include <algorithm>

namespace {

// How far an offset tilts the surface, per pixel of the view's diagonal it
// is made of. The waves are long and gentle: the default amplitude tilts
// them about 20 degrees at most. A drop's rings are short and steep.
constexpr float wave_depth = 0.06f;
constexpr float drop_depth = 0.015f;

} // namespace

void water_surface::prepare(const std::vector<mesh_vertex>& grid, int columns, int rows, int width,
                            int height, float half_texel_pixels, surface_light light, double rain, int rain_slots,
                            std::uint32_t seed)
{
    light_ = light;
    columns_ = columns;
    rows_ = rows;
    width_ = width;
    height_ = height;
    const std::size_t n = grid.size();
    still_u_.resize(n);
    still_v_.resize(n);
    // The coordinates of the still picture, as the grid is built: from the
    // positions, whatever a frame has written into u and v since.
    for (std::size_t k = 0; k < n; ++k) {
        const mesh_vertex still = still_vertex(grid[k].x, grid[k].y, width, height);
        still_u_[k] = still.u;
        still_v_[k] = still.v;
    }
    const float diagonal = window_diagonal(width, height);
    shape_ = make_drop_shape(diagonal, half_texel_pixels);
    rain_ = rain_schedule(seed, rain_slots, rain, static_cast<float>(width), static_cast<float>(height));
    wave_gain_ = diagonal > 0 ? 1 / (wave_depth * diagonal) : 0;
    drop_gain_ = diagonal > 0 ? 1 / (drop_depth * diagonal) : 0;
    const std::size_t sloped = light_ != surface_light::none ? n : 0, shaded = lit_per_vertex() ? n : 0;
    slope_x_.assign(sloped, 0);
    slope_y_.assign(sloped, 0);
    drop_slopes_.assign(light_ == surface_light::per_pixel ? 3 * n : 0, 0);
    shade_.assign(shaded, 0xFFFFFFFFu);
    glint_.assign(shaded, 0xFF000000u);
    glinting_ = false;
}

bool water_surface::matches(std::size_t vertex_count, int width, int height) const
{
    return vertex_count == still_u_.size() && width == width_ && height == height_;
}

void water_surface::apply(std::vector<mesh_vertex>& vertices, double time, const std::vector<water_drop>& pointer_rings,
                          float inset_u, float inset_v)
{
    const std::size_t n = vertices.size();
    if (n != still_u_.size() || n == 0)
        return;
    if (lit_per_vertex()) {
        // The waves' slope is their offset: a closed form of the same sines,
        // read as the picture bends, in the view's pixels as the drops' is.
        const float tilt_x = width_ * wave_gain_, tilt_y = height_ * wave_gain_;
        for (std::size_t k = 0; k < n; ++k) {
            slope_x_[k] = (vertices[k].u - still_u_[k]) * tilt_x;
            slope_y_[k] = v_along_y * (vertices[k].v - still_v_[k]) * tilt_y;
        }
    } else if (light_ == surface_light::per_pixel) {
        std::fill(slope_x_.begin(), slope_x_.end(), 0.0f);
        std::fill(slope_y_.begin(), slope_y_.end(), 0.0f);
    }
    drops_.clear();
    rain_.live_drops(time, drops_);
    drops_.insert(drops_.end(), pointer_rings.begin(), pointer_rings.end());
    const bool sloped = light_ != surface_light::none;
    add_drop_rings(vertices, columns_, rows_, width_, height_, shape_, drops_, time,
                   sloped ? slope_x_.data() : nullptr, sloped ? slope_y_.data() : nullptr, drop_gain_);
    if (lit_per_vertex())
        glinting_ = light_surface(slope_x_.data(), slope_y_.data(), n, shade_.data(), glint_.data());
    for (std::size_t k = 0; k < drop_slopes_.size() / 3; ++k) {
        drop_slopes_[3 * k] = slope_x_[k];
        drop_slopes_[3 * k + 1] = slope_y_[k];
    }
    // Without an edge clamp the border texels must never be reached.
    if (inset_u > 0 || inset_v > 0) {
        for (mesh_vertex& vertex : vertices) {
            vertex.u = std::clamp(vertex.u, inset_u, 1 - inset_u);
            vertex.v = std::clamp(vertex.v, inset_v, 1 - inset_v);
        }
    }
}
