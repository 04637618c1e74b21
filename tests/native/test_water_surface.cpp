// Light and drops on the water: the light follows the slope, drops bend the
// picture as round bumps, the rain falls at moments of its own.
#include "scene/mesh.h"
#include "scene/pointer_trail.h"
#include "scene/rain_clock.h"
#include "scene/water_light.h"
#include "scene/water_surface.h"
#include "shell/frame_tick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <vector>

namespace {

int level(std::uint32_t grey) { return static_cast<int>(grey & 0xFF); }
bool same(const std::vector<mesh_vertex>& a, const std::vector<mesh_vertex>& b) { return a.size() == b.size() && !std::memcmp(a.data(), b.data(), a.size() * sizeof a[0]); }

// A slope facing the upper left is brighter and may glint (where it mirrors
// the light), one facing away darker; a surface is lit as each vertex alone.
TEST(WaterLight, FollowsTheSlope)
{
    const struct { float slope; bool facing, glint; } cases[] = {
        {0.25f, true, true}, {0.05f, true, false}, {0.6f, true, false},
        {-0.05f, false, false}, {-0.25f, false, false}, {-1.5f, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slope); // along the light's diagonal, then across it: no glint there
        const vertex_light along = light_at(c.slope * 0.7071f, c.slope * 0.7071f);
        EXPECT_EQ(level(along.shade) == 255, c.facing);
        EXPECT_EQ(level(along.glint) > 0, c.facing);
        EXPECT_EQ(level(along.glint) > 40, c.glint);
        EXPECT_LT(level(light_at(c.slope, -c.slope).glint), 40);
    }
    EXPECT_LT(level(light_at(-1.5f, -1.5f).shade), level(light_at(-0.05f, -0.05f).shade));

    std::vector<float> slope_x, slope_y;
    for (int k = 0; k < 290; ++k) // not a multiple of four
        slope_x.push_back(k % 17 * 0.1f - 0.8f), slope_y.push_back(k / 17 * 0.1f - 0.8f);
    std::vector<std::uint32_t> shade(slope_x.size()), glint(slope_x.size());
    EXPECT_TRUE(light_surface(slope_x.data(), slope_y.data(), slope_x.size(), shade.data(), glint.data()));
    for (std::size_t k = 0; k < slope_x.size(); ++k) {
        ASSERT_EQ(shade[k], light_at(slope_x[k], slope_y[k]).shade) << slope_x[k] << ", " << slope_y[k];
        ASSERT_EQ(glint[k], light_at(slope_x[k], slope_y[k]).glint) << slope_x[k] << ", " << slope_y[k];
    }
    std::vector<std::uint16_t> out;
    const std::uint32_t some[] = {0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF010101u};
    glinting_triangles({0, 1, 2, 1, 2, 3}, some, out);
    EXPECT_EQ(out, std::vector<std::uint16_t>({1, 2, 3})); // only those with a glint at a corner
}

// How far the rings of `drop` move the picture at each pixel of its row, outwards positive.
std::vector<float> moves_along_row(const drop_shape& shape, const water_drop& drop, double time, int width)
{
    std::vector<mesh_vertex> row;
    for (int x = 0; x <= width; ++x)
        row.push_back({float(x), drop.y, float(x) / width, 0.5f});
    std::vector<mesh_vertex> moved = row;
    add_drop_rings(moved, width + 1, 1, width, 1080, shape, {drop}, time);
    std::vector<float> out;
    for (int x = 0; x <= width; ++x)
        out.push_back((moved[x].u - row[x].u) * width * (x < drop.x ? -1 : 1));
    return out;
}

// A drop's front runs out steadily, its train pulling the picture out then in, spreading as
// sqrt(spread / (r + spread)); its height fades to exactly nothing at the end of its life with no step,
// a shorter life faster.
TEST(WaterDrops, RingsSpreadAndFade)
{
    const drop_shape shape = make_drop_shape(2203, 0.5f);
    const water_drop drop{0, 100, 540, 0, 1};
    double spreading[4];
    for (int k = 0; k < 4; ++k) {
        const double age = 1.3 + 0.9 * k;
        const float front = static_cast<float>(shape.speed * age);
        const std::vector<float> move = moves_along_row(shape, drop, age, 1920);
        int peak = 0;
        for (int x = 0; x <= 1920; ++x) {
            const float behind = front - std::fabs(x - drop.x);
            if (behind < -1 || behind > shape.train + 1)
                ASSERT_EQ(move[x], 0) << "age " << age << " at " << x;
            else if (std::fabs(move[x]) > std::fabs(move[peak]))
                peak = x;
        }
        const int leading = static_cast<int>(drop.x + front - shape.train * 0.15f);
        const int trailing = static_cast<int>(drop.x + front - shape.train * 0.85f);
        EXPECT_GT(move[leading], 0.1f * std::fabs(move[peak])) << age;
        EXPECT_LT(move[trailing], -0.1f * std::fabs(move[peak])) << age;
        const float envelope = drop_envelope(shape, age);
        spreading[k] = std::fabs(move[peak]) / envelope / std::sqrt(shape.spread / (std::fabs(peak - drop.x) + shape.spread));
    }
    for (double value : spreading)
        EXPECT_NEAR(value / spreading[0], 1, 0.03);

    float last = shape.height, now;
    EXPECT_FLOAT_EQ(drop_envelope(shape, 0), last);
    for (double age = 0.01; age < drop_lifetime; age += 0.01, last = now) {
        ASSERT_LT(now = drop_envelope(shape, age), last) << age;
        ASSERT_LT(last - now, 0.05f * shape.height) << age;
    }
    EXPECT_LT(last, 0.01f * shape.half_texel_pixels);
    EXPECT_EQ(drop_envelope(shape, drop_lifetime), 0);
    EXPECT_EQ(drop_envelope(shape, 3, 3), 0);
    EXPECT_FLOAT_EQ(drop_envelope(shape, 2, 3), drop_envelope(shape, 3, drop_lifetime));
    EXPECT_EQ(drop_envelope(make_drop_shape(20, 0.5f), 1), 0); // never moves half a texel
}

// A drop is a round bump: it moves the picture alike across and down, and the side rising
// away from the light faces it and is the bright one; without drops lit water is the picture.
TEST(WaterDrops, BendLikeARoundBumpLitOnTheSideFacingTheLight)
{
    std::vector<mesh_vertex> built, moved;
    std::vector<std::uint16_t> indices;
    build_grid(built, indices, 65, 37, 960, 540); // 15 pixels both ways; (480, 270) is vertex 18 * 65 + 32
    moved = built;
    water_surface surface;
    surface.prepare(built, 65, 37, 960, 540, 0.5f, surface_light::per_vertex, 0, 0, 1);
    surface.apply(moved, 1.2, {{0, 480, 270, 0, 2.5f}}, 0, 0);
    const auto move = [&](int k) { return std::make_pair((moved[k].u - built[k].u) * 960, -(moved[k].v - built[k].v) * 540); };
    const int centre = 18 * 65 + 32;
    int bright = 0, dark = 0;
    for (int step = 1; step <= 17; ++step) {
        const auto right = move(centre + step), below = move(centre + step * 65);
        EXPECT_NEAR(right.first, below.second, 1e-3f) << step;
        EXPECT_NEAR(right.second, 0, 1e-3f) << step;
        for (int k : {centre + step * 66, centre - step * 66}) { // down-right and up-left of the drop
            const auto [x, y] = move(k);
            if (std::fabs(x) < 2)
                continue;
            const bool away_from_light = x + y > 0;
            EXPECT_EQ(level(surface.shade()[k]) == 255, away_from_light) << k;
            EXPECT_EQ(level(surface.glint()[k]) > 0, away_from_light) << k;
            ++(away_from_light ? bright : dark);
        }
    }
    EXPECT_GT(bright, 0);
    EXPECT_GT(dark, 0);
    surface.apply(moved = built, 5.0, {}, 0, 0);
    EXPECT_TRUE(same(moved, built));
    EXPECT_FALSE(surface.glinting());
    EXPECT_EQ(surface.shade(), std::vector<std::uint32_t>(built.size(), 0xFFFFFFFFu));
    EXPECT_EQ(surface.glint(), std::vector<std::uint32_t>(built.size(), 0xFF000000u));
}

// The rain: 1 a drop every three seconds, 100 every slot busy, never more; drops fall on the view at moments
// of their own, never in step. Values no slider gives are no rain or the heaviest.
TEST(WaterDrops, RainFollowsTheSliderAtMomentsOfItsOwn)
{
    const double tiny = std::numeric_limits<double>::denorm_min(), nan = std::nan("");
    const struct { double rain; int slots; double per_second; } cases[] = {
        {0, 12, 0}, {0.5, 12, 1 / 6.0}, {1, 12, 1 / 3.0}, {1, 4, 1 / 3.0}, {50, 12, std::pow(8, 49 / 99.0) / 3},
        {100, 12, 12 / 4.5}, {100, 16, 16 / 4.5}, {100, 1, 1 / 4.5}, {1e-310, 12, 0}, {tiny, 12, 0},
        {nan, 12, 0}, {-nan, 12, 0}, {-1, 12, 0}, {HUGE_VAL, 12, 12 / 4.5}, {1e300, 12, 12 / 4.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rain << " with " << c.slots);
        const rain_schedule rain(7, c.slots, c.rain, 1920, 1080);
        std::vector<water_drop> live;
        std::set<double> starts;
        for (double t = 0; t < 6000; t += 0.25, live.clear()) { // drops live 3 s at least: looks 0.25 s apart see all
            rain.live_drops(t, live);
            ASSERT_LE(live.size(), std::size_t(c.slots));
            for (const water_drop& d : live) {
                ASSERT_GE(d.x, 0);
                ASSERT_LT(d.x, 1920);
                ASSERT_GE(d.y, 0);
                ASSERT_LT(d.y, 1080);
                ASSERT_LE(d.start, t);
                starts.insert(d.start);
            }
        }
        EXPECT_NEAR(starts.size() / 6000.0, c.per_second, 0.01 * c.per_second + 1e-9);
        if (starts.size() < 20)
            continue;
        // The gaps spread as a random rain's; one slot always busy only varies the lives.
        const double gaps = starts.size() - 1, mean = (*starts.rbegin() - *starts.begin()) / gaps;
        double squares = 0;
        for (auto a = starts.begin(), b = std::next(a); b != starts.end(); ++a, ++b)
            squares += (*b - *a) * (*b - *a);
        EXPECT_GT(std::sqrt(squares / gaps - mean * mean) / mean, c.slots > 1 ? 0.5 : 0.08);
    }
    std::vector<water_drop> none;
    rain_schedule(7, 12, 100, 1920, 1080).live_drops(1e300, none); // past any count
    EXPECT_TRUE(none.empty());
}

// A moment's frame is the same at 20, 30 or 60 frames a second or in one step; the pointer
// drops a ring per short distance at most, and a ring is never cut short.
TEST(WaterSurface, SameMomentSameFieldPointerWaits)
{
    std::vector<mesh_vertex> built, frames[4];
    std::vector<std::uint16_t> indices;
    build_grid(built, indices, 61, 61, 960, 540);
    std::vector<water_drop> click;
    pointer_trail trail;
    trail.clicked(0, 480, 270, 0.3);
    trail.live_drops(0, 0.5, click);
    trail.live_drops(1, 0.5, click); // another view's: none
    ASSERT_EQ(click.size(), 1u);
    const std::uint32_t rates[] = {20, 60, 30, 1};
    for (int k = 0; k < 4; ++k) {
        rain_clock clock;
        for (std::uint32_t frame = 1, tick = 0; tick < 2000; tick = frame++ * 1000 / rates[k])
            clock.advance(frame_seconds(frame * 1000 / rates[k], tick));
        ASSERT_EQ(clock.seconds(), 2.0);
        water_surface surface;
        frames[k] = built;
        surface.prepare(built, 61, 61, 960, 540, 0.5f, surface_light::per_vertex, 100, 16, 3);
        surface.apply(frames[k], clock.seconds(), click, 0, 0);
    }
    for (int k = 1; k < 4; ++k)
        EXPECT_TRUE(same(frames[0], frames[k])) << rates[k] << " frames a second";
    EXPECT_FALSE(same(frames[0], built));

    std::vector<water_drop> stirs;
    for (float x = 0; x < 100; x += 1)
        trail.moved(1, x, 0, 1.0, 30);
    trail.live_drops(1, 1.0, stirs);
    EXPECT_EQ(stirs.size(), 3u); // at 0, 30 and 60: then the pool is full, and the click's ring is not cut short
}

} // namespace
