#pragma once

// One grid vertex, read by OpenGL directly (stride 16): position in window
// pixels (origin top-left, y downward) and texture coordinates (v = 1 at
// the picture's top).
struct mesh_vertex {
    float x;
    float y;
    float u;
    float v;
};
static_assert(sizeof(mesh_vertex) == 16, "OpenGL reads the vertex array with a stride of 16");

// Where a point (x, y) of a width x height view finds the picture over
// still water: u from the left edge, v from the bottom (the texture's rows
// run upwards, the view's downwards).
inline double picture_u(double x, double width) { return x / width; }
inline double picture_v(double y, double height) { return 1 - y / height; }

// A vertex at (x, y) over still water. A view without width or height has
// every vertex on its edge: the picture's edge (u 0, v 1) stays there
// instead of 0 / 0.
inline mesh_vertex still_vertex(float x, float y, int width, int height)
{
    return {x, y, width != 0 ? static_cast<float>(picture_u(x, width)) : 0.0f,
            height != 0 ? static_cast<float>(picture_v(y, height)) : 1.0f};
}
