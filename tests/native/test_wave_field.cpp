// The per-frame texture coordinates against the plain computation in
// tests/support/naive_waves.h.
#include "scene/mesh.h"
#include "scene/wave_motion.h"
#include "tests/support/naive_waves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

struct grid {
    std::vector<mesh_vertex> vertices;
    std::vector<std::uint16_t> indices;

    grid(int n, int width, int height) { build_grid(vertices, indices, n, n, width, height); }
};

// Largest difference in u or v from the plain computation; infinite if not finite.
double off_naive(const std::vector<mesh_vertex>& got, int width, int height, bool radial,
                 float freq, float amp, float phase)
{
    std::vector<mesh_vertex> want = got;
    naive::apply_waves(want, width, height, radial, freq, amp, phase);
    double worst = 0;
    for (std::size_t k = 0; k < got.size(); ++k) {
        const double d = std::max(std::fabs(double(got[k].u) - want[k].u), std::fabs(double(got[k].v) - want[k].v));
        worst = d < 1 ? std::max(worst, d) : std::numeric_limits<double>::infinity();
    }
    return worst;
}

// Many phases, grids and window sizes. Amp 0 gives back the grid's own
// coordinates exactly, and an odd grid's centre vertex (no direction to move
// in) the picture's centre.
TEST(WaveField, AgreesWithThePlainComputation)
{
    const struct { int n, width, height; } settings[] = {
        {60, 1280, 1024}, {100, 1920, 1080}, {61, 1280, 1024}, {21, 640, 480}, {60, 3840, 2160}, {20, 632, 453},
    };
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> any_phase(0.0f, 6.2831f);
    for (const auto& s : settings) {
        for (bool radial : {true, false}) {
            for (float amp : {0.0f, 0.025f, 0.1f}) {
                SCOPED_TRACE(testing::Message() << "N=" << s.n << " " << s.width << "x" << s.height
                                                << " radial=" << radial << " amp=" << amp);
                grid g(s.n, s.width, s.height);
                const float freq = amp > 0.05f ? 20.0f : 11.0f;
                wave_field field;
                field.prepare(g.vertices, s.n, s.n, s.width, s.height, radial, freq, amp);
                const std::vector<mesh_vertex> built = g.vertices;
                const mesh_vertex& centre = g.vertices[built.size() / 2];
                const bool centred = radial && built.size() % 2, still = amp == 0;
                for (int frame = 0; frame < 100; ++frame) {
                    const float phase = frame == 0 ? 0.0f : any_phase(random);
                    field.apply(g.vertices, phase);
                    ASSERT_LE(off_naive(g.vertices, s.width, s.height, radial, freq, amp, phase), 1e-6) << phase;
                    ASSERT_TRUE(!centred || (centre.u == 0.5f && centre.v == 0.5f)) << phase;
                    for (std::size_t k = 0; k < built.size(); ++k) { // positions never move
                        const mesh_vertex &now = g.vertices[k], &then = built[k];
                        ASSERT_TRUE(now.x == then.x && now.y == then.y && (!still || (now.u == then.u && now.v == then.v)))
                            << k;
                    }
                }
            }
        }
    }
}

} // namespace
