#include "scene/water_light.h"

#include <algorithm>
#include <cmath>

namespace {

// The light stands 62 degrees high in the upper left, so the default
// waves' steepest slopes mirror it towards the viewer. Only the light's
// direction is fixed; brightness follows from it.
constexpr float elevation = 62 * 3.14159265f / 180;
const float light_x = -std::cos(elevation) * 0.70710678f;
const float light_y = light_x;
const float light_z = std::sin(elevation);
// Half-way between the light and the viewer (0, 0, 1): a normal along it
// mirrors the light into the eye.
const float half_length = std::sqrt(light_x * light_x + light_y * light_y + (light_z + 1) * (light_z + 1));
const float half_x = light_x / half_length;
const float half_y = light_y / half_length;
const float half_z = (light_z + 1) / half_length;

constexpr float sky = 0.25f;    // how much a slope facing the light brightens
constexpr float sparkle = 0.6f; // the glint's strength

// cos^32 of the angle from the mirror direction: a highlight soft enough
// for a grid of vertices to carry.
float sharpen(float c)
{
    c = std::max(c, 0.0f);
    for (int i = 0; i < 5; ++i)
        c *= c;
    return c;
}

const float flat_glint = sharpen(half_z);

std::uint32_t grey(float level)
{
    const auto byte = static_cast<std::uint32_t>(std::lround(std::clamp(level, 0.0f, 1.0f) * 255));
    return byte | byte << 8 | byte << 16 | 0xFF000000u;
}

} // namespace

vertex_light light_at(float slope_x, float slope_y)
{
    // The normal of a surface rising by the slope, and its light relative
    // to a flat surface's: exactly 1 (and no glint) when flat.
    const float length = std::sqrt(1 + slope_x * slope_x + slope_y * slope_y);
    const float facing = (light_z - slope_x * light_x - slope_y * light_y) / (length * light_z);
    const float mirror = (half_z - slope_x * half_x - slope_y * half_y) / length;
    const float added = sky * std::max(0.0f, facing - 1) + sparkle * std::max(0.0f, sharpen(mirror) - flat_glint);
    return {grey(facing), added > 0 ? grey(added) : grey(0)};
}

bool light_surface(const float* slope_x, const float* slope_y, std::size_t count,
                   std::uint32_t* shade, std::uint32_t* glint)
{
    std::uint32_t any = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const vertex_light light = light_at(slope_x[k], slope_y[k]);
        shade[k] = light.shade;
        glint[k] = light.glint;
        any |= light.glint & 0xFFu;
    }
    return any != 0;
}

void glinting_triangles(const std::vector<std::uint16_t>& indices, const std::uint32_t* glint,
                        std::vector<std::uint16_t>& out)
{
    out.clear();
    for (std::size_t t = 0; t + 3 <= indices.size(); t += 3) {
        if (((glint[indices[t]] | glint[indices[t + 1]] | glint[indices[t + 2]]) & 0xFFu) != 0)
            out.insert(out.end(), indices.begin() + static_cast<std::ptrdiff_t>(t),
                       indices.begin() + static_cast<std::ptrdiff_t>(t) + 3);
    }
}
