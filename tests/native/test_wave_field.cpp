// The grid that carries the desktop picture, and its per-frame texture
// coordinates against the plain computation in tests/support/naive_waves.h.
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

// Largest difference in u or v from the plain computation on the grid as
// built; infinite if not finite or if a vertex moved.
double off_naive(const std::vector<mesh_vertex>& got, std::vector<mesh_vertex> want, int width, int height,
                 bool radial, float freq, float amp, float phase)
{
    naive::apply_waves(want, width, height, radial, freq, amp, phase);
    double worst = 0;
    for (std::size_t k = 0; k < got.size(); ++k) {
        const double d = std::max(std::fabs(double(got[k].u) - want[k].u), std::fabs(double(got[k].v) - want[k].v));
        const bool kept = got[k].x == want[k].x && got[k].y == want[k].y;
        worst = d < 1 && kept ? std::max(worst, d) : std::numeric_limits<double>::infinity();
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
                std::vector<mesh_vertex> vertices;
                std::vector<std::uint16_t> indices;
                build_grid(vertices, indices, s.n, s.n, s.width, s.height);
                const float freq = amp > 0.05f ? 20.0f : 11.0f;
                wave_field field;
                field.prepare(vertices, s.n, s.n, s.width, s.height, radial, freq, amp);
                const std::vector<mesh_vertex> built = vertices;
                const mesh_vertex& centre = vertices[built.size() / 2];
                const bool centred = radial && built.size() % 2;
                for (int frame = 0; frame < 100; ++frame) {
                    const float phase = frame == 0 ? 0.0f : any_phase(random);
                    field.apply(vertices, phase);
                    ASSERT_LE(off_naive(vertices, built, s.width, s.height, radial, freq, amp, phase), 1e-6) << phase;
                    ASSERT_TRUE(!centred || (centre.u == 0.5f && centre.v == 0.5f)) << phase;
                    ASSERT_TRUE(amp > 0 || std::equal(built.begin(), built.end(), vertices.begin(), [](auto a, auto b) {
                                    return a.u == b.u && a.v == b.v; })) << "still water moved";
                }
            }
        }
    }
}

// One grid rebuilt through every size the settings give: nothing of the one
// before lingers. A zero-sized window keeps to the picture's edge, never 0 / 0.
TEST(Mesh, CountsCornersAndFirstTriangle)
{
    const struct { int columns, rows, width, height; std::size_t vertices, indices; } shapes[] = {
        {100, 100, 1920, 1080, 10000, 58806}, {20, 20, 1280, 1024, 400, 2166},     {21, 21, 1280, 1024, 441, 2400},
        {60, 60, 1280, 1024, 3600, 20886},    {61, 61, 1920, 1080, 3721, 21600},    {20, 20, 0, 0, 400, 2166},
        {60, 60, 0, 480, 3600, 20886},        {100, 100, 640, 0, 10000, 58806},
    };
    std::vector<mesh_vertex> vertices;
    std::vector<std::uint16_t> indices;
    for (const auto& s : shapes) {
        SCOPED_TRACE(testing::Message() << s.columns << " x " << s.rows << " in " << s.width << " x " << s.height);
        build_grid(vertices, indices, s.columns, s.rows, s.width, s.height);
        ASSERT_EQ(vertices.size(), s.vertices);
        ASSERT_EQ(indices.size(), s.indices);
        EXPECT_EQ(*std::max_element(indices.begin(), indices.end()), s.vertices - 1);
        EXPECT_TRUE(indices[0] == 0 && indices[1] == s.columns && indices[2] == 1);
        // Corners exactly on the window's edges, picture upright.
        const mesh_vertex first = vertices.front(), last = vertices.back();
        EXPECT_TRUE(first.x == 0 && first.y == 0 && first.u == 0 && first.v == 1);
        EXPECT_TRUE(last.x == s.width && last.y == s.height && last.u == (s.width > 0) && last.v == (s.height == 0));
    }
}

} // namespace
