#include "scene/water_light.h"

#include "scene/wave_motion.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QM_LIGHT_SSE 1
#endif

namespace {

// The light stands 62 degrees high in the upper left, so the default
// waves' steepest slopes mirror it towards the viewer. Only the light's
// direction is fixed; brightness follows from it.
constexpr float elevation = 62 * static_cast<float>(pi) / 180;
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
    const auto byte = static_cast<std::uint32_t>(std::clamp(level, 0.0f, 1.0f) * 255 + 0.5f);
    return byte | byte << 8 | byte << 16 | 0xFF000000u;
}

} // namespace

vertex_light light_at(float slope_x, float slope_y)
{
    // The normal of a surface rising by the slope, and its light relative
    // to a flat surface's: exactly 1 (and no glint) when flat.
    const float inverse = 1 / std::sqrt(1 + slope_x * slope_x + slope_y * slope_y);
    const float facing = (light_z - slope_x * light_x - slope_y * light_y) * inverse / light_z;
    const float mirror = (half_z - slope_x * half_x - slope_y * half_y) * inverse;
    const float added = sky * std::max(0.0f, facing - 1) + sparkle * std::max(0.0f, sharpen(mirror) - flat_glint);
    return {grey(facing), grey(added)};
}

light_constants water_light_constants()
{
    return {{light_x, light_y, light_z}, {half_x, half_y, half_z}, flat_glint, sky, sparkle};
}

#ifdef QM_LIGHT_SSE
namespace {

__m128i grey4(__m128 level)
{
    const __m128 held = _mm_min_ps(_mm_max_ps(level, _mm_setzero_ps()), _mm_set1_ps(1));
    const __m128i byte = _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(held, _mm_set1_ps(255)), _mm_set1_ps(0.5f)));
    return _mm_or_si128(_mm_or_si128(byte, _mm_slli_epi32(byte, 8)),
                        _mm_or_si128(_mm_slli_epi32(byte, 16), _mm_set1_epi32(static_cast<int>(0xFF000000u))));
}

// light_at for four vertices, the same operations in the same order.
void light4(__m128 sx, __m128 sy, std::uint32_t* shade, std::uint32_t* glint, __m128i& any)
{
    const __m128 one = _mm_set1_ps(1), zero = _mm_setzero_ps();
    const __m128 inverse = _mm_div_ps(one, _mm_sqrt_ps(_mm_add_ps(_mm_add_ps(one, _mm_mul_ps(sx, sx)), _mm_mul_ps(sy, sy))));
    const __m128 facing = _mm_div_ps(
        _mm_mul_ps(_mm_sub_ps(_mm_sub_ps(_mm_set1_ps(light_z), _mm_mul_ps(sx, _mm_set1_ps(light_x))),
                              _mm_mul_ps(sy, _mm_set1_ps(light_y))), inverse), _mm_set1_ps(light_z));
    __m128 mirror = _mm_mul_ps(_mm_sub_ps(_mm_sub_ps(_mm_set1_ps(half_z), _mm_mul_ps(sx, _mm_set1_ps(half_x))),
                                          _mm_mul_ps(sy, _mm_set1_ps(half_y))), inverse);
    mirror = _mm_max_ps(mirror, zero);
    for (int i = 0; i < 5; ++i)
        mirror = _mm_mul_ps(mirror, mirror);
    const __m128 added = _mm_add_ps(_mm_mul_ps(_mm_set1_ps(sky), _mm_max_ps(zero, _mm_sub_ps(facing, one))),
                                    _mm_mul_ps(_mm_set1_ps(sparkle), _mm_max_ps(zero, _mm_sub_ps(mirror, _mm_set1_ps(flat_glint)))));
    const __m128i glints = grey4(added);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(shade), grey4(facing));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(glint), glints);
    any = _mm_or_si128(any, glints);
}

} // namespace
#endif

bool light_surface(const float* slope_x, const float* slope_y, std::size_t count,
                   std::uint32_t* shade, std::uint32_t* glint)
{
    std::uint32_t any = 0;
    std::size_t k = 0;
#ifdef QM_LIGHT_SSE
    __m128i any4 = _mm_setzero_si128();
    for (; k + 4 <= count; k += 4)
        light4(_mm_loadu_ps(slope_x + k), _mm_loadu_ps(slope_y + k), shade + k, glint + k, any4);
    alignas(16) std::uint32_t lanes[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), any4);
    any = lanes[0] | lanes[1] | lanes[2] | lanes[3];
#endif
    for (; k < count; ++k) {
        const vertex_light light = light_at(slope_x[k], slope_y[k]);
        shade[k] = light.shade;
        glint[k] = light.glint;
        any |= light.glint;
    }
    return (any & 0xFFu) != 0;
}

void glinting_triangles(const std::vector<std::uint16_t>& indices, const std::uint32_t* glint,
                        std::vector<std::uint16_t>& out)
{
    out.clear();
    for (std::size_t t = 0; t + 3 <= indices.size(); t += 3) {
        const std::uint16_t* corners = &indices[t];
        if (((glint[corners[0]] | glint[corners[1]] | glint[corners[2]]) & 0xFFu) != 0)
            out.insert(out.end(), corners, corners + 3);
    }
}
