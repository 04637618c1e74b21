#pragma once
// The per-frame texture-coordinate update exactly as the rules read: a
// double-precision square root and sine for every vertex, nothing kept from
// frame to frame. Reference for the tests and baseline for the benchmark;
// not part of the screensaver.
#include "scene/mesh_vertex.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace naive {

inline void apply_waves(std::vector<mesh_vertex>& vertices, int width, int height, bool radial,
                        float freq, float amp, float phase)
{
    const float pi = 3.1415f;
    const double w = width;
    const double h = height;
    if (radial) {
        const float diagonal = static_cast<float>(
            std::sqrt(static_cast<double>(std::int64_t{width} * width + std::int64_t{height} * height)));
        for (mesh_vertex& vertex : vertices) {
            const double dx = vertex.x - w * 0.5;
            const double dy = vertex.y - h * 0.5;
            const double d = std::sqrt(dx * dx + dy * dy);
            const double s = std::sin(d / diagonal * freq * pi + phase);
            // The window's centre has no direction; it stays where it is.
            const double move_u = d > 0 ? dx / d * amp * s : 0.0;
            const double move_v = d > 0 ? dy / d * amp * s : 0.0;
            vertex.u = static_cast<float>(vertex.x / w + move_u);
            vertex.v = static_cast<float>(1 - vertex.y / h + move_v);
        }
    } else {
        for (mesh_vertex& vertex : vertices) {
            vertex.u = static_cast<float>(vertex.x / w + amp * std::sin(vertex.y / h * freq * pi + phase));
            vertex.v = static_cast<float>(1 - vertex.y / h + amp * std::sin(vertex.x / w * freq * pi + phase));
        }
    }
}

} // namespace naive
