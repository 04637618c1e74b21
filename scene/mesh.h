#pragma once
#include "scene/mesh_vertex.h"

#include <cstdint>
#include <vector>

// Rebuilds the columns x rows grid spanning a width x height window, row
// after row, and its triangles (six 16-bit indices per cell).
void build_grid(std::vector<mesh_vertex>& vertices, std::vector<std::uint16_t>& indices,
                int columns, int rows, int width, int height);
