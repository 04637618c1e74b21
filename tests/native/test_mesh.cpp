// The grid that carries the desktop picture across the window.
#include "scene/mesh.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

struct grid {
    std::vector<mesh_vertex> vertices;
    std::vector<std::uint16_t> indices;
};

grid build(int columns, int rows, int width, int height)
{
    grid g;
    build_grid(g.vertices, g.indices, columns, rows, width, height);
    return g;
}

TEST(Mesh, ThreeByThreeOrder)
{
    const grid g = build(3, 3, 1280, 1024);
    const float expected_xy[9][2] = {
        {0, 0}, {640, 0}, {1280, 0}, {0, 512}, {640, 512}, {1280, 512}, {0, 1024}, {640, 1024}, {1280, 1024},
    };
    ASSERT_EQ(g.vertices.size(), 9u);
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(g.vertices[k].x, expected_xy[k][0]) << k;
        EXPECT_EQ(g.vertices[k].y, expected_xy[k][1]) << k;
    }
    EXPECT_EQ(g.vertices[4].u, 0.5f);
    EXPECT_EQ(g.vertices[4].v, 0.5f);
    const std::vector<std::uint16_t> expected_indices = {
        0, 3, 1, 1, 3, 4, 1, 4, 2, 2, 4, 5, 3, 6, 4, 4, 6, 7, 4, 7, 5, 5, 7, 8,
    };
    EXPECT_EQ(g.indices, expected_indices);
}

TEST(Mesh, SizesForTheQualityEdges)
{
    const struct { int n; std::size_t vertices, indices; } sizes[] = {
        {20, 400, 2166}, {21, 441, 2400}, {60, 3600, 20886}, {61, 3721, 21600}, {100, 10000, 58806},
    };
    for (const auto& s : sizes) {
        const grid g = build(s.n, s.n, 1280, 1024);
        EXPECT_EQ(g.vertices.size(), s.vertices) << s.n;
        EXPECT_EQ(g.indices.size(), s.indices) << s.n;
    }
    const grid largest = build(100, 100, 1920, 1080);
    std::uint16_t top = 0;
    for (std::uint16_t index : largest.indices)
        top = index > top ? index : top;
    EXPECT_EQ(top, 9999);
}

// Invariants of every grid: row-major vertices spanning exactly the window,
// texture coordinates from the positions, two triangles per cell.
TEST(Mesh, Invariants)
{
    const struct { int columns, rows, width, height; } shapes[] = {
        {20, 20, 1280, 1024}, {61, 61, 1920, 1080}, {100, 100, 640, 480}, {7, 4, 333, 77}, {2, 2, 1, 1},
    };
    for (const auto& s : shapes) {
        const grid g = build(s.columns, s.rows, s.width, s.height);
        ASSERT_EQ(g.vertices.size(), static_cast<std::size_t>(s.columns * s.rows));
        ASSERT_EQ(g.indices.size(), static_cast<std::size_t>(6 * (s.columns - 1) * (s.rows - 1)));
        for (int i = 0; i < s.rows; ++i) {
            for (int j = 0; j < s.columns; ++j) {
                const mesh_vertex& vx = g.vertices[i * s.columns + j];
                EXPECT_EQ(vx.x, static_cast<float>(double(j * s.width) / (s.columns - 1)));
                EXPECT_EQ(vx.y, static_cast<float>(double(i * s.height) / (s.rows - 1)));
                EXPECT_EQ(vx.u, static_cast<float>(double(vx.x) / s.width));
                EXPECT_EQ(vx.v, static_cast<float>(1 - double(vx.y) / s.height));
            }
        }
        // Corners exactly on the window's edges, picture upright.
        const mesh_vertex& first = g.vertices.front();
        const mesh_vertex& last = g.vertices.back();
        EXPECT_EQ(first.x, 0.0f);
        EXPECT_EQ(first.y, 0.0f);
        EXPECT_EQ(first.u, 0.0f);
        EXPECT_EQ(first.v, 1.0f);
        EXPECT_EQ(last.x, float(s.width));
        EXPECT_EQ(last.y, float(s.height));
        EXPECT_EQ(last.u, 1.0f);
        EXPECT_EQ(last.v, 0.0f);
        // First triangle (0, columns, 1); each cell (TL, BL, TR), (TR, BL, BR).
        EXPECT_EQ(g.indices[0], 0);
        EXPECT_EQ(g.indices[1], s.columns);
        EXPECT_EQ(g.indices[2], 1);
        for (std::size_t k = 0; k < g.indices.size(); k += 6) {
            const int tl = g.indices[k];
            EXPECT_LT(tl % s.columns, s.columns - 1);
            EXPECT_EQ(g.indices[k + 1], tl + s.columns);
            EXPECT_EQ(g.indices[k + 2], tl + 1);
            EXPECT_EQ(g.indices[k + 3], tl + 1);
            EXPECT_EQ(g.indices[k + 4], tl + s.columns);
            EXPECT_EQ(g.indices[k + 5], tl + s.columns + 1);
            EXPECT_LT(g.indices[k + 5], g.vertices.size());
        }
    }
}

TEST(Mesh, RebuildReplacesTheOldGrid)
{
    grid g = build(100, 100, 1920, 1080);
    build_grid(g.vertices, g.indices, 20, 20, 640, 480);
    EXPECT_EQ(g.vertices.size(), 400u);
    EXPECT_EQ(g.indices.size(), 2166u);
    EXPECT_EQ(g.vertices.back().x, 640.0f);
    EXPECT_EQ(g.vertices.back().y, 480.0f);
}

// Shapes no setting gives: one row or column would divide by zero, and more
// vertices than 16-bit indices reach would draw the wrong triangles.
TEST(Mesh, UnbuildableShapesLeaveNoGrid)
{
    for (const auto& shape : {std::pair<int, int>{1, 60}, {60, 1}, {0, 0}, {-5, 20}, {257, 256}, {100000, 100000}}) {
        grid g = build(60, 60, 640, 480);
        build_grid(g.vertices, g.indices, shape.first, shape.second, 640, 480);
        EXPECT_TRUE(g.vertices.empty()) << shape.first << " x " << shape.second;
        EXPECT_TRUE(g.indices.empty()) << shape.first << " x " << shape.second;
    }
    // 256 x 256 is the largest grid whose indices still fit.
    const grid largest = build(256, 256, 640, 480);
    EXPECT_EQ(largest.vertices.size(), 65536u);
    EXPECT_EQ(largest.indices.back(), 65535);
}

// A window of zero width or height: the picture's edge, never 0 / 0.
TEST(Mesh, ZeroSizedWindowHasFiniteCoordinates)
{
    const grid g = build(20, 20, 0, 0);
    ASSERT_EQ(g.vertices.size(), 400u);
    for (const mesh_vertex& vx : g.vertices) {
        EXPECT_EQ(vx.x, 0.0f);
        EXPECT_EQ(vx.y, 0.0f);
        EXPECT_EQ(vx.u, 0.0f);
        EXPECT_EQ(vx.v, 1.0f);
    }
}

} // namespace
