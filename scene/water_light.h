#pragma once
#include "scene/mesh_vertex.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Light on the water from the upper left. A vertex's slope (x right, y
// down, rise over run) makes it darker or brighter: `shade` multiplies the
// picture (255 keeps it) and `glint` is added on top (0 adds nothing), so
// a flat surface is exactly the picture. Both are grey RGBA bytes, ready
// for a colour array.
struct vertex_light {
    std::uint32_t shade;
    std::uint32_t glint;
};
vertex_light light_at(float slope_x, float slope_y);

// The light's constants, for a renderer that lights each pixel the same
// way: towards the light, half-way between it and the viewer, a flat
// surface's glint, and how much facing the light brightens and glints.
struct light_constants {
    float light[3];
    float halfway[3];
    float flat_glint, sky, sparkle;
};
light_constants water_light_constants();

// The light of every vertex from its slope; returns whether any vertex has
// a glint.
bool light_surface(const float* slope_x, const float* slope_y, std::size_t count,
                   std::uint32_t* shade, std::uint32_t* glint);

// The triangles of `indices` with a glint at any corner, for the pass that
// adds it.
void glinting_triangles(const std::vector<std::uint16_t>& indices, const std::uint32_t* glint,
                        std::vector<std::uint16_t>& out);
