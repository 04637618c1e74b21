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
