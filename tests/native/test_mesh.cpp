// The grid that carries the desktop picture across the window.
#include "scene/mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// One grid rebuilt through every shape: nothing of the one before lingers.
// One row or column would divide by zero, and more vertices than 16-bit
// indices reach would draw the wrong triangles: no grid at all then. A
// zero-sized window keeps to the picture's edge, never 0 / 0.
TEST(Mesh, CountsCornersAndFirstTriangle)
{
    const struct { int columns, rows, width, height; std::size_t vertices, indices; } shapes[] = {
        {100, 100, 1920, 1080, 10000, 58806}, {20, 20, 1280, 1024, 400, 2166}, {1, 60, 640, 480, 0, 0},
        {21, 21, 1280, 1024, 441, 2400},      {60, 60, 1280, 1024, 3600, 20886}, {60, 1, 640, 480, 0, 0},
        {61, 61, 1920, 1080, 3721, 21600},    {7, 4, 333, 77, 28, 108},          {0, 0, 640, 480, 0, 0},
        {2, 2, 1, 1, 4, 6},                   {256, 256, 640, 480, 65536, 390150}, {257, 256, 640, 480, 0, 0},
        {20, 20, 0, 0, 400, 2166},            {-5, 20, 640, 480, 0, 0},          {60, 60, 0, 480, 3600, 20886},
        {100000, 100000, 640, 480, 0, 0},     {100, 100, 640, 0, 10000, 58806},
    };
    std::vector<mesh_vertex> vertices;
    std::vector<std::uint16_t> indices;
    for (const auto& s : shapes) {
        SCOPED_TRACE(testing::Message() << s.columns << " x " << s.rows << " in " << s.width << " x " << s.height);
        build_grid(vertices, indices, s.columns, s.rows, s.width, s.height);
        ASSERT_EQ(vertices.size(), s.vertices);
        ASSERT_EQ(indices.size(), s.indices);
        if (s.vertices == 0)
            continue;
        EXPECT_EQ(*std::max_element(indices.begin(), indices.end()), s.vertices - 1);
        EXPECT_TRUE(indices[0] == 0 && indices[1] == s.columns && indices[2] == 1);
        // Corners exactly on the window's edges, picture upright.
        const mesh_vertex first = vertices.front(), last = vertices.back();
        EXPECT_TRUE(first.x == 0 && first.y == 0 && first.u == 0 && first.v == 1);
        EXPECT_TRUE(last.x == s.width && last.y == s.height && last.u == (s.width > 0) && last.v == (s.height == 0));
    }
}

} // namespace
