#include "scene/drop_rings.h"

#include "scene/wave_motion.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// A drop's look, as fractions of the view's diagonal. Real ripples are
// slow and large enough to follow: on a 1920 x 1080 monitor the front runs
// at about 330 pixels a second with a wavelength of about 130 pixels, long
// enough for the grid to follow.
constexpr float speed_per_diagonal = 0.15f;
constexpr float wavelength_per_diagonal = 0.06f;
constexpr float train_wavelengths = 2.0f;
constexpr float spread_wavelengths = 3.0f;
constexpr float offset_per_diagonal = 0.012f;

} // namespace

drop_shape make_drop_shape(float diagonal, float half_texel_pixels)
{
    drop_shape shape;
    if (!(diagonal > 0) || !(half_texel_pixels > 0))
        return shape;
    shape.speed = speed_per_diagonal * diagonal;
    shape.wavelength = wavelength_per_diagonal * diagonal;
    shape.train = train_wavelengths * shape.wavelength;
    shape.spread = spread_wavelengths * shape.wavelength;
    shape.offset = offset_per_diagonal * diagonal;
    shape.half_texel_pixels = half_texel_pixels;
    // A drop that never moves by half a texel is not worth drawing: decay
    // stays 0 and so does its envelope.
    if (shape.offset > half_texel_pixels)
        shape.decay = static_cast<float>(drop_lifetime / std::log(shape.offset / half_texel_pixels));
    return shape;
}

float drop_envelope(const drop_shape& shape, double age, double life)
{
    if (!(shape.decay > 0) || !(life > 0) || !(age >= 0) || age >= life)
        return 0;
    // At retirement exp(-age / decay) is half_texel_pixels / offset: what is
    // left then is taken off all along, so the ring fades to exactly nothing.
    const double at_retirement = shape.half_texel_pixels / shape.offset;
    const double above = std::exp(-age * (drop_lifetime / life) / shape.decay) - at_retirement;
    return static_cast<float>(shape.offset * std::max(0.0, above / (1 - at_retirement)));
}

namespace {

// What a drop's rings look like at one moment: its front's radius and the
// offset it carries (strength times envelope), both in view pixels. An
// offset of 0 means nothing to draw.
struct drop_rings {
    float front = 0;
    float offset = 0;
};
drop_rings rings_of(const drop_shape& shape, const water_drop& drop, double time)
{
    const double age = time - drop.start;
    if (!drop_alive(drop, time))
        return {};
    return {static_cast<float>(shape.speed * age), drop.strength * drop_envelope(shape, age, drop.life)};
}

// The ring train's profile along its length (0 at the front, 1 at its
// end), for a unit envelope: a few crests that rise from the front and fade
// behind. The same for every view, so it is tabled once.
constexpr int profile_steps = 512;

const float* train_profile()
{
    static const auto table = [] {
        std::vector<float> values(profile_steps + 2);
        for (int k = 0; k <= profile_steps; ++k) {
            const double along = static_cast<double>(k) / profile_steps;
            const double window = std::sin(pi * along);
            values[k] = static_cast<float>(window * window * std::sin(2 * pi * along * train_wavelengths));
        }
        return values;
    }();
    return table.data();
}

// A ring's move of the picture at `squared` pixels squared from its centre,
// over that distance: the vertex at (dx, dy) from the centre sees the
// picture moved by (dx, dy) times this. The train's tabled profile `behind`
// the front, spread over a growing circle as sqrt(spread / (r + spread)),
// with one root for the distance and the spreading.
float ring_stretch(const drop_shape& shape, const float* profile, const drop_rings& rings, float squared)
{
    const float distance = std::sqrt(squared);
    const float at = (rings.front - distance) * (profile_steps / shape.train);
    const int step = std::min(static_cast<int>(at), profile_steps - 1);
    const float profiled = profile[step] + (profile[step + 1] - profile[step]) * (at - step);
    return rings.offset * profiled * std::sqrt(shape.spread / ((distance + shape.spread) * squared));
}

} // namespace

void add_drop_rings(std::vector<mesh_vertex>& vertices, int columns, int rows, int width, int height,
                    const drop_shape& shape, const std::vector<water_drop>& drops, double time,
                    float* slope_x, float* slope_y, float slope_gain)
{
    if (columns < 2 || rows < 1 || width <= 0 || height <= 0 ||
        static_cast<std::size_t>(columns) * rows != vertices.size())
        return;
    const float to_u = 1.0f / width, to_v = 1.0f / height;
    const float column_step = static_cast<float>(width) / (columns - 1);
    const float* profile = train_profile();
    for (const water_drop& drop : drops) {
        const drop_rings rings = rings_of(shape, drop, time);
        if (!(rings.front > 0) || !(rings.offset > 0))
            continue;
        // The train lies between two circles: inside the inner one the
        // water has calmed again.
        const float outer = rings.front;
        const float inner = std::max(0.0f, outer - shape.train);
        const float outer_squared = outer * outer, inner_squared = inner * inner;
        for (int i = 0; i < rows; ++i) {
            mesh_vertex* row = vertices.data() + static_cast<std::size_t>(i) * columns;
            const float dy = row[0].y - drop.y;
            if (std::fabs(dy) >= outer)
                continue;
            const auto ring_columns = [&](int from, int to) {
                for (int j = from; j <= to; ++j) {
                    const float dx = row[j].x - drop.x;
                    const float squared = dx * dx + dy * dy;
                    if (squared >= outer_squared || squared <= inner_squared)
                        continue;
                    const float stretch = ring_stretch(shape, profile, rings, squared);
                    row[j].u += dx * stretch * to_u;
                    row[j].v += v_along_y * (dy * stretch * to_v);
                    if (slope_x) {
                        const std::size_t k = static_cast<std::size_t>(i) * columns + j;
                        slope_x[k] += dx * stretch * slope_gain;
                        slope_y[k] += dy * stretch * slope_gain;
                    }
                }
            };
            // Only the columns within the outer circle on this row, and of
            // those not the ones well inside the inner circle (one on each
            // side of it is looked at, for rounding).
            const float half = std::sqrt(outer_squared - dy * dy);
            const int first = std::max(0, static_cast<int>(std::floor((drop.x - half) / column_step)));
            const int last = std::min(columns - 1, static_cast<int>(std::ceil((drop.x + half) / column_step)));
            int still_from = 1, still_to = 0; // none
            if (std::fabs(dy) < inner) {
                const float inner_half = std::sqrt(inner_squared - dy * dy);
                still_from = std::max(first, static_cast<int>(std::ceil((drop.x - inner_half) / column_step)) + 1);
                still_to = std::min(last, static_cast<int>(std::floor((drop.x + inner_half) / column_step)) - 1);
            }
            if (still_to < still_from) {
                ring_columns(first, last);
            } else {
                ring_columns(first, still_from - 1);
                ring_columns(still_to + 1, last);
            }
        }
    }
}
