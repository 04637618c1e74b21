#include "scene/texture_plan.h"

#include "shell/gl_version.h"

#include <algorithm>

namespace {

constexpr int smallest_square = 1024;

// The largest power of two not above `limit` (at least 1).
int power_of_two_floor(int limit)
{
    int side = 1;
    while (side <= limit / 2)
        side *= 2;
    return side;
}

// A power-of-two square for the longer side, at least `smallest`, within
// the GL's limit.
texture_size square_for(int width, int height, int smallest, int max_size)
{
    const int cap = power_of_two_floor(max_size);
    const int longer = std::max({width, height, smallest});
    int side = 1;
    while (side < longer && side < cap)
        side *= 2;
    return {side, side};
}

// The smallest mipmap level a `size` texture draws from when shown at
// shown_width x shown_height: n times smaller, it blends levels up to
// ceil(log2 n), within the chain.
texture_size smallest_level_drawn(texture_size size, int shown_width, int shown_height)
{
    texture_size level = size;
    for (long long scale = 1; shown_width > 0 && shown_height > 0 && (level.width > 1 || level.height > 1) &&
                              (size.width > scale * shown_width || size.height > scale * shown_height);
         scale *= 2)
        level = next_mip_level(level);
    return level;
}

} // namespace

gl_capabilities read_capabilities(const char* version, const char* extensions, int max_size)
{
    const gl_version number = read_gl_version(version);
    gl_capabilities gl;
    gl.any_size = at_least(number, 2, 0) || lists_extension(extensions, "GL_ARB_texture_non_power_of_two");
    gl.edge_clamp = at_least(number, 1, 2) || lists_extension(extensions, "GL_SGIS_texture_edge_clamp") ||
                    lists_extension(extensions, "GL_EXT_texture_edge_clamp");
    gl.max_size = max_size;
    gl.shaders = offers_shaders(number);
    return gl;
}

texture_size texture_size_for(int width, int height, gl_capabilities gl)
{
    const int max_size = std::max(gl.max_size, 1);
    if (gl.any_size && width >= 1 && height >= 1 && width <= max_size && height <= max_size)
        return {width, height};
    return square_for(width, height, smallest_square, max_size);
}

texture_plan plan_texture(const gl_capabilities& gl, int width, int height, int shown_width,
                          int shown_height, bool small_copy)
{
    texture_plan plan;
    const bool shown_smaller = shown_width > 0 && shown_height > 0 && shown_width <= width &&
                               shown_height <= height;
    if (small_copy && shown_smaller)
        plan.size = gl.any_size && shown_width <= gl.max_size && shown_height <= gl.max_size
                        ? texture_size{shown_width, shown_height}
                        : square_for(shown_width, shown_height, 1, std::max(gl.max_size, 1));
    else
        plan.size = texture_size_for(width, height, gl);
    plan.mipmaps = shown_width != width || shown_height != height;
    plan.edge_clamp = gl.edge_clamp;
    plan_inset(plan, shown_width, shown_height);
    return plan;
}

void plan_inset(texture_plan& plan, int shown_width, int shown_height)
{
    plan.inset_u = plan.inset_v = 0;
    if (plan.edge_clamp)
        return;
    // Half a texel of the smallest level drawn from, whose texels are the
    // widest: no level's filter reaches the border. (Mipmaps stay: without
    // them the smaller picture shimmers as it ripples.)
    const texture_size level =
        plan.mipmaps ? smallest_level_drawn(plan.size, shown_width, shown_height) : plan.size;
    plan.inset_u = 0.5f / static_cast<float>(level.width);
    plan.inset_v = 0.5f / static_cast<float>(level.height);
}

texture_size next_mip_level(texture_size size)
{
    return {std::max(size.width / 2, 1), std::max(size.height / 2, 1)};
}
