#pragma once

// One grid vertex, read by OpenGL directly (stride 16): position in window
// pixels and texture coordinates.
struct mesh_vertex {
    float x;
    float y;
    float u;
    float v;
};
static_assert(sizeof(mesh_vertex) == 16, "OpenGL reads the vertex array with a stride of 16");

// The view's y grows downwards from its top, the picture's v upwards from
// its bottom (the texture's rows run upwards): a change of y is a change of
// v the other way. Every move of the picture and every slope read from one
// turns through this.
constexpr float v_along_y = -1;

// Where a point (x, y) of a width x height view finds the picture over
// still water: u from the left edge, v from the bottom.
inline double picture_u(double x, double width) { return x / width; }
inline double picture_v(double y, double height) { return 1 + v_along_y * y / height; }

// A vertex at (x, y) over still water. A view without width or height has
// every vertex on its edge: the picture's edge (u 0, v 1) stays there
// instead of 0 / 0.
inline mesh_vertex still_vertex(float x, float y, int width, int height)
{
    return {x, y, width != 0 ? static_cast<float>(picture_u(x, width)) : 0.0f,
            height != 0 ? static_cast<float>(picture_v(y, height)) : 1.0f};
}
