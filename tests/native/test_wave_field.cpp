// The waves: settings from the sliders, the phase, the grid and its texture
// coordinates against the plain computation of tests/support/naive_waves.h.
#include "scene/mesh.h"
#include "scene/wave_motion.h"
#include "scene/wave_params.h"
#include "tests/support/naive_waves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

namespace {

// Quality gives the grid's side; the percents the nearest floats to the formulas with
// float constants and double arithmetic (others differ for 13, 50.5 and 99).
TEST(WaveParams, GridSpeedFrequencyAndAmplitude)
{
    const struct { double percent; int n; float speed, freq, amp; } cases[] = {
        {0, 20, 0x1.4p+2f, 0x1p+1f, 0x0p+0f}, {1, 20, 0x1.49999ap+2f, 0x1.170a3ep+1f, 0x1.0624dep-10f},
        {2, 21, 0x1.533334p+2f, 0x1.2e147cp+1f, 0x1.0624dep-9f}, {13, 30, 0x1.bccccep+2f, 0x1.15c29p+2f, 0x1.a9fbe8p-7f},
        {50, 60, 0x1.9p+3f, 0x1.6p+3f, 0x1.99999ap-5f}, {50.5, 60, 0x1.926668p+3f, 0x1.62e148p+3f, 0x1.9db22ep-5f},
        {52, 61, 0x1.99999ap+3f, 0x1.6b852p+3f, 0x1.a9fbe8p-5f}, {99, 99, 0x1.3d999ap+4f, 0x1.3d1ebap+4f, 0x1.958108p-4f},
        {100, 100, 0x1.4p+4f, 0x1.4p+4f, 0x1.99999ap-4f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.percent);
        const wave_params grid = derive_wave_params(c.percent, 50, 50, 50);
        EXPECT_EQ(std::tie(grid.columns, grid.rows), std::tie(c.n, c.n));
        EXPECT_EQ(derive_wave_params(50, c.percent, 50, 50).speed, c.speed);
        EXPECT_EQ(derive_wave_params(50, 50, c.percent, 50).freq, c.freq);
        EXPECT_EQ(derive_wave_params(50, 50, 50, c.percent).amp, c.amp);
    }
}

// The phase advances by seconds times speed and stays within one turn.
TEST(WavePhase, AdvancesBySecondsTimesSpeedWithinOneTurn)
{
    const double turn = 2 * 3.14159265358979323846;
    const float below_turn = std::nextafter(static_cast<float>(turn), 0.0f);
    const struct { float phase, seconds, speed; double expected; } cases[] = {
        {0, 0.1f, 12.5f, 1.25}, {1.25f, 0.1f, 12.5f, 2.5}, {3, 0.5f, 0, 3}, {6, 0.1f, 5, 6.5 - turn},
        {0, 3600, 20, std::fmod(72000.0, turn)}, // an hour's pause at full speed
        {below_turn, 2.9e-7f, 1, 0},             // rounds to 2 pi as a float
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.phase << " + " << c.seconds << " s x " << c.speed);
        const float phase = advance_phase(c.phase, c.seconds, c.speed);
        EXPECT_NEAR(phase, c.expected, 1e-6);
        EXPECT_LT(phase, turn);
    }
}

// Largest difference in u or v from the plain computation; infinite if not finite or a vertex moved.
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

// Many phases, grids and window sizes; amp 0 gives back the grid's own
// coordinates exactly (still water is the picture pixel for pixel).
TEST(WaveField, AgreesWithThePlainComputation)
{
    const struct { int n, width, height; } settings[] = {
        {60, 1280, 1024}, {100, 1920, 1080}, {61, 1280, 1024}, {21, 640, 480}, {60, 3840, 2160}, {20, 632, 453},
    };
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> any_phase(0.0f, 6.2831f);
    for (const auto& s : settings)
        for (bool radial : {true, false})
            for (float amp : {0.0f, 0.025f, 0.1f}) {
                SCOPED_TRACE(testing::Message() << "N=" << s.n << " " << s.width << "x" << s.height << " radial=" << radial << " amp=" << amp);
                std::vector<mesh_vertex> vertices;
                std::vector<std::uint16_t> indices;
                build_grid(vertices, indices, s.n, s.n, s.width, s.height);
                const float freq = amp > 0.05f ? 20.0f : 11.0f;
                wave_field field;
                field.prepare(vertices, s.n, s.n, s.width, s.height, radial, freq, amp);
                const std::vector<mesh_vertex> built = vertices;
                for (int frame = 0; frame < 100; ++frame) {
                    const float phase = frame == 0 ? 0.0f : any_phase(random);
                    field.apply(vertices, phase);
                    ASSERT_LE(off_naive(vertices, built, s.width, s.height, radial, freq, amp, phase), amp > 0 ? 1e-6 : 0) << phase;
                }
            }
}

// One grid rebuilt through every size: nothing lingers; corners exactly on the window's
// edges, picture upright; a zero-sized window keeps to the picture's edge, never 0 / 0.
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
        EXPECT_EQ(std::vector<int>(indices.begin(), indices.begin() + 3), (std::vector<int>{0, s.columns, 1}));
        const mesh_vertex first = vertices.front(), last = vertices.back();
        EXPECT_EQ(std::tie(first.x, first.y, first.u, first.v), std::make_tuple(0.f, 0.f, 0.f, 1.f));
        EXPECT_EQ(std::tie(last.x, last.y, last.u, last.v), std::make_tuple(float(s.width), float(s.height), float(s.width > 0), float(s.height == 0)));
    }
}

} // namespace
