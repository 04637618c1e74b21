// The per-frame texture coordinates computed plainly in double: the tests' reference, the benchmark's baseline.
#pragma once
#include "scene/mesh_vertex.h"

#include <cmath>
#include <vector>

namespace naive {

inline void apply_waves(std::vector<mesh_vertex>& vertices, int width, int height, bool radial, float freq, float amp, float phase)
{
    const float pi = 3.1415f;
    const double w = width, h = height, diagonal = static_cast<float>(std::sqrt(w * w + h * h));
    for (mesh_vertex& vertex : vertices) {
        double move_u = amp * std::sin(vertex.y / h * freq * pi + phase);
        double move_v = amp * std::sin(vertex.x / w * freq * pi + phase);
        if (radial) {
            const double dx = vertex.x - w * 0.5, dy = vertex.y - h * 0.5, d = std::sqrt(dx * dx + dy * dy);
            const double s = std::sin(d / diagonal * freq * pi + phase);
            move_u = d > 0 ? dx / d * amp * s : 0.0; // the centre has no direction
            move_v = d > 0 ? dy / d * amp * s : 0.0;
        }
        vertex.u = static_cast<float>(picture_u(vertex.x, w) + move_u);
        vertex.v = static_cast<float>(picture_v(vertex.y, h) + move_v);
    }
}

} // namespace naive
