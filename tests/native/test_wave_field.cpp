// The per-frame texture coordinates of the grid, against the rules computed
// the plain way (tests/support/naive_waves.h).
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

constexpr double turn = 2 * 3.14159265358979323846;

struct scene_grid {
    int n;
    std::vector<mesh_vertex> vertices;
    std::vector<std::uint16_t> indices;

    scene_grid(int n_, int width, int height) : n(n_) { build_grid(vertices, indices, n, n, width, height); }
};

// Largest difference in u or v; infinite when any is not finite.
double max_difference(const std::vector<mesh_vertex>& a, const std::vector<mesh_vertex>& b)
{
    if (a.size() != b.size())
        return std::numeric_limits<double>::infinity();
    double worst = 0;
    for (std::size_t k = 0; k < a.size(); ++k) {
        for (double d : {double(a[k].u) - b[k].u, double(a[k].v) - b[k].v}) {
            if (!std::isfinite(d))
                return std::numeric_limits<double>::infinity();
            worst = std::max(worst, std::fabs(d));
        }
        if (a[k].x != b[k].x || a[k].y != b[k].y)
            return std::numeric_limits<double>::infinity();
    }
    return worst;
}

std::vector<mesh_vertex> naive_frame(std::vector<mesh_vertex> vertices, int width, int height,
                                     bool radial, float freq, float amp, float phase)
{
    naive::apply_waves(vertices, width, height, radial, freq, amp, phase);
    return vertices;
}

TEST(WaveField, WindowDiagonal)
{
    EXPECT_EQ(window_diagonal(1280, 1024), 1639.1998291015625f);
    EXPECT_EQ(window_diagonal(3, 4), 5.0f);
    EXPECT_EQ(window_diagonal(0, 0), 0.0f);
    // Squares beyond 32-bit ints.
    EXPECT_FLOAT_EQ(window_diagonal(60000, 80000), 100000.0f);
}

// 1280 x 1024, N = 60, amp 0.05, freq 11, phase 0.
TEST(WaveField, RadialWorkedExample)
{
    scene_grid grid(60, 1280, 1024);
    wave_field field;
    field.prepare(grid.vertices, 60, 60, 1280, 1024, true, 11.0f, 0.05f);
    field.apply(grid.vertices, 0.0f);
    const mesh_vertex& top_left = grid.vertices.front();
    const mesh_vertex& bottom_right = grid.vertices.back();
    EXPECT_NEAR(top_left.u, 0.0390, 5e-5);
    EXPECT_NEAR(top_left.v, 1.0312, 5e-5);
    EXPECT_NEAR(bottom_right.u, 0.9610, 5e-5);
    EXPECT_NEAR(bottom_right.v, -0.0312, 5e-5);
    // Positions never move.
    EXPECT_EQ(top_left.x, 0.0f);
    EXPECT_EQ(bottom_right.x, 1280.0f);
    EXPECT_EQ(bottom_right.y, 1024.0f);
}

TEST(WaveField, LinearWorkedExample)
{
    scene_grid grid(60, 1280, 1024);
    wave_field field;
    field.prepare(grid.vertices, 60, 60, 1280, 1024, false, 11.0f, 0.05f);
    field.apply(grid.vertices, 0.0f);
    EXPECT_NEAR(grid.vertices.front().u, 0.0, 1e-7);
    EXPECT_NEAR(grid.vertices.front().v, 1.0, 1e-7);
    EXPECT_NEAR(grid.vertices.back().u, 1.00005, 2e-6);
    EXPECT_NEAR(grid.vertices.back().v, 0.00005, 2e-6);
}

// Without amplitude the picture stands still: exactly the grid's own
// coordinates, every frame, in both rules (the centre vertex too).
TEST(WaveField, ZeroAmplitudeKeepsTheGridsCoordinates)
{
    for (int n : {20, 21, 60, 61, 100}) {
        for (bool radial : {true, false}) {
            scene_grid grid(n, 1280, 1024);
            const std::vector<mesh_vertex> built = grid.vertices;
            wave_field field;
            field.prepare(grid.vertices, n, n, 1280, 1024, radial, 20.0f, 0.0f);
            for (float phase : {0.0f, 1.0f, 3.14159f, 6.2f}) {
                field.apply(grid.vertices, phase);
                for (std::size_t k = 0; k < built.size(); ++k) {
                    ASSERT_EQ(grid.vertices[k].u, built[k].u) << n << " " << radial << " " << k;
                    ASSERT_EQ(grid.vertices[k].v, built[k].v) << n << " " << radial << " " << k;
                }
            }
        }
    }
}

// The shipped update against the rules computed vertex by vertex in double,
// over many phases, grid sizes and windows, including a window resized
// without a new grid.
TEST(WaveField, AgreesWithThePlainComputation)
{
    struct setting {
        int n, built_width, built_height, width, height;
    };
    const setting settings[] = {
        {60, 1280, 1024, 1280, 1024}, {100, 1920, 1080, 1920, 1080}, {61, 1280, 1024, 1280, 1024},
        {21, 640, 480, 640, 480},     {100, 1920, 1080, 800, 600},   {60, 640, 480, 2560, 1440},
    };
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> any_phase(0.0f, static_cast<float>(turn));
    double worst = 0;
    for (const setting& s : settings) {
        for (bool radial : {true, false}) {
            for (float amp : {0.1f, 0.025f}) {
                const float freq = amp > 0.05f ? 20.0f : 11.0f;
                scene_grid grid(s.n, s.built_width, s.built_height);
                wave_field field;
                field.prepare(grid.vertices, s.n, s.n, s.width, s.height, radial, freq, amp);
                for (int frame = 0; frame < 200; ++frame) {
                    const float phase = frame == 0 ? 0.0f : any_phase(random);
                    field.apply(grid.vertices, phase);
                    const double diff = max_difference(
                        grid.vertices, naive_frame(grid.vertices, s.width, s.height, radial, freq, amp, phase));
                    ASSERT_LE(diff, 1e-6) << "N=" << s.n << " " << s.width << "x" << s.height
                                          << " radial=" << radial << " phase=" << phase;
                    worst = std::max(worst, diff);
                }
            }
        }
    }
    RecordProperty("largest_difference", std::to_string(worst));
    std::printf("largest difference from the plain computation: %.3g\n", worst);
}

// Odd grids have a vertex on the window's centre: it keeps the picture's
// centre, while the rest of its row and column move.
TEST(WaveField, CentreVertexStaysPut)
{
    scene_grid grid(61, 1280, 1024);
    const std::size_t centre = 30 * 61 + 30;
    ASSERT_EQ(grid.vertices[centre].x, 640.0f);
    ASSERT_EQ(grid.vertices[centre].y, 512.0f);
    wave_field field;
    field.prepare(grid.vertices, 61, 61, 1280, 1024, true, 11.0f, 0.1f);
    for (float phase : {0.0f, 0.7f, 2.0f, 5.5f}) {
        field.apply(grid.vertices, phase);
        EXPECT_EQ(grid.vertices[centre].u, 0.5f);
        EXPECT_EQ(grid.vertices[centre].v, 0.5f);
        EXPECT_NE(grid.vertices[centre + 1].u, grid.vertices[centre + 1].x / 1280.0f);
        EXPECT_NE(grid.vertices[centre + 61].v, 1 - grid.vertices[centre + 61].y / 1024.0f);
    }
}

// The same phase and window give the same frame again.
TEST(WaveField, SamePhaseSameFrame)
{
    scene_grid grid(60, 1280, 1024);
    wave_field field;
    field.prepare(grid.vertices, 60, 60, 1280, 1024, true, 11.0f, 0.05f);
    field.apply(grid.vertices, 1.5f);
    const std::vector<mesh_vertex> first = grid.vertices;
    field.apply(grid.vertices, 2.5f);
    field.apply(grid.vertices, 1.5f);
    EXPECT_EQ(max_difference(first, grid.vertices), 0.0);
}

void fill_marked(std::vector<mesh_vertex>& vertices)
{
    for (mesh_vertex& vertex : vertices) {
        vertex.u = -7.0f;
        vertex.v = 9.0f;
    }
}

bool all_marked(const std::vector<mesh_vertex>& vertices)
{
    return std::all_of(vertices.begin(), vertices.end(),
                       [](const mesh_vertex& v) { return v.u == -7.0f && v.v == 9.0f; });
}

// A window of zero width or height leaves the coordinates as they are.
TEST(WaveField, ZeroSizedWindowLeavesCoordinates)
{
    for (bool radial : {true, false}) {
        for (auto size : {std::pair<int, int>{0, 1024}, {1280, 0}, {0, 0}}) {
            scene_grid grid(60, 1280, 1024);
            fill_marked(grid.vertices);
            wave_field field;
            field.prepare(grid.vertices, 60, 60, size.first, size.second, radial, 11.0f, 0.05f);
            EXPECT_TRUE(field.matches(grid.vertices.size(), size.first, size.second));
            field.apply(grid.vertices, 1.0f);
            EXPECT_TRUE(all_marked(grid.vertices)) << radial << " " << size.first << "x" << size.second;
        }
    }
}

TEST(WaveField, NoGridNothingTouched)
{
    std::vector<mesh_vertex> none;
    wave_field field;
    field.apply(none, 1.0f); // never prepared
    field.prepare(none, 60, 60, 1280, 1024, false, 11.0f, 0.05f);
    field.apply(none, 1.0f);
    EXPECT_TRUE(none.empty());

    // Never prepared: a grid is left alone.
    scene_grid grid(20, 640, 480);
    fill_marked(grid.vertices);
    wave_field fresh;
    fresh.apply(grid.vertices, 1.0f);
    EXPECT_TRUE(all_marked(grid.vertices));

    // Prepared for a grid that has since been emptied.
    wave_field prepared;
    prepared.prepare(grid.vertices, 20, 20, 640, 480, true, 11.0f, 0.05f);
    grid.vertices.clear();
    prepared.apply(grid.vertices, 1.0f);
    EXPECT_TRUE(grid.vertices.empty());
}

TEST(WaveField, NonFinitePhaseLeavesCoordinates)
{
    scene_grid grid(20, 640, 480);
    wave_field field;
    field.prepare(grid.vertices, 20, 20, 640, 480, true, 11.0f, 0.05f);
    fill_marked(grid.vertices);
    field.apply(grid.vertices, std::numeric_limits<float>::quiet_NaN());
    field.apply(grid.vertices, std::numeric_limits<float>::infinity());
    EXPECT_TRUE(all_marked(grid.vertices));
}

TEST(WaveField, MatchesTheGridAndWindowItWasPreparedFor)
{
    scene_grid grid(60, 1280, 1024);
    wave_field field;
    EXPECT_FALSE(field.matches(grid.vertices.size(), 1280, 1024));
    field.prepare(grid.vertices, 60, 60, 1280, 1024, true, 11.0f, 0.05f);
    EXPECT_TRUE(field.matches(3600, 1280, 1024));
    EXPECT_FALSE(field.matches(3600, 1280, 1023));
    EXPECT_FALSE(field.matches(3600, 1281, 1024));
    EXPECT_FALSE(field.matches(3721, 1280, 1024));
    EXPECT_FALSE(field.matches(0, 1280, 1024));
}

// A grid rebuilt after prepare() (for instance when the window is created
// again at another size while the old field still matches its vertex count
// and window) must not get the old grid's coordinates.
TEST(WaveField, RebuiltGridIsNotTakenForTheOldOne)
{
    for (bool radial : {true, false}) {
        scene_grid grid(60, 1920, 1080);
        wave_field field;
        field.prepare(grid.vertices, 60, 60, 1280, 1024, radial, 11.0f, 0.05f);
        build_grid(grid.vertices, grid.indices, 60, 60, 1280, 1024);
        ASSERT_TRUE(field.matches(grid.vertices.size(), 1280, 1024));
        field.apply(grid.vertices, 0.8f);
        EXPECT_LE(max_difference(grid.vertices,
                                 naive_frame(grid.vertices, 1280, 1024, radial, 11.0f, 0.05f, 0.8f)),
                  1e-6)
            << radial;

        // Another vertex count altogether: only records that exist are written.
        build_grid(grid.vertices, grid.indices, 21, 21, 1280, 1024);
        field.apply(grid.vertices, 0.8f);
        EXPECT_LE(max_difference(grid.vertices,
                                 naive_frame(grid.vertices, 1280, 1024, radial, 11.0f, 0.05f, 0.8f)),
                  1e-6)
            << radial;
    }
}

// Vertices that do not form the rows and columns they claim still get the
// linear rule vertex by vertex.
TEST(WaveField, IrregularVerticesGetTheLinearRuleToo)
{
    scene_grid grid(20, 640, 480);
    grid.vertices[25].x += 3.0f;
    grid.vertices[47].y -= 2.0f;
    for (int columns : {20, 19}) {
        wave_field field;
        field.prepare(grid.vertices, columns, 20, 640, 480, false, 11.0f, 0.05f);
        field.apply(grid.vertices, 1.1f);
        EXPECT_LE(max_difference(grid.vertices,
                                 naive_frame(grid.vertices, 640, 480, false, 11.0f, 0.05f, 1.1f)),
                  1e-6)
            << columns;
    }
}

} // namespace
