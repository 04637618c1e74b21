#include "scene/mesh.h"

#include <cstdint>

namespace {

// Every vertex must be reachable through a 16-bit index.
constexpr std::int64_t max_vertices = 65536;

// Position of grid line `step` of `steps` across `extent` pixels: the product
// in integers, the quotient in floating point, stored as a float.
float grid_line(int step, int extent, int steps)
{
    return static_cast<float>(static_cast<double>(std::int64_t{step} * extent) / steps);
}

} // namespace

void build_grid(std::vector<mesh_vertex>& vertices, std::vector<std::uint16_t>& indices,
                int columns, int rows, int width, int height)
{
    vertices.clear();
    indices.clear();
    // A single row or column would divide by zero; more vertices than 16-bit
    // indices can reach would draw garbage. Both leave no grid.
    if (columns < 2 || rows < 2 || std::int64_t{columns} * rows > max_vertices)
        return;

    vertices.reserve(static_cast<std::size_t>(columns) * rows);
    for (int i = 0; i < rows; ++i) {
        const float y = grid_line(i, height, rows - 1);
        for (int j = 0; j < columns; ++j)
            vertices.push_back(still_vertex(grid_line(j, width, columns - 1), y, width, height));
    }

    indices.reserve(static_cast<std::size_t>(6) * (columns - 1) * (rows - 1));
    for (int r = 0; r + 1 < rows; ++r) {
        for (int c = 0; c + 1 < columns; ++c) {
            const auto top_left = static_cast<std::uint16_t>(r * columns + c);
            const auto top_right = static_cast<std::uint16_t>(top_left + 1);
            const auto bottom_left = static_cast<std::uint16_t>(top_left + columns);
            const auto bottom_right = static_cast<std::uint16_t>(bottom_left + 1);
            indices.insert(indices.end(), {top_left, bottom_left, top_right,
                                           top_right, bottom_left, bottom_right});
        }
    }
}
