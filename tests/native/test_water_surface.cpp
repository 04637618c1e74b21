// Light and drops on the water: a flat surface stays the picture, the light
// follows the slope, drops are a function of the time alone.
#include "scene/mesh.h"
#include "scene/water_light.h"
#include "scene/water_surface.h"
#include "shell/frame_tick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace {

int level(std::uint32_t grey) { return static_cast<int>(grey & 0xFF); }

// Flat is lit exactly as unlit; a slope facing the upper left is brighter
// and may glint, one facing away is darker and never glints; the glint sits
// where the slope mirrors the light (about 14 degrees towards it).
TEST(WaterLight, FollowsTheSlope)
{
    EXPECT_TRUE(light_at(0, 0).shade == 0xFFFFFFFFu && light_at(0, 0).glint == 0xFF000000u);
    const struct { float slope; bool facing, glint; } cases[] = {
        {0.25f, true, true}, {0.05f, true, false}, {0.6f, true, false},
        {-0.05f, false, false}, {-0.25f, false, false}, {-1.5f, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slope);
        // Along the light's own diagonal, then across it: no glint there.
        const vertex_light along = light_at(c.slope * 0.7071f, c.slope * 0.7071f);
        EXPECT_EQ(level(along.shade) == 255, c.facing);
        EXPECT_EQ(level(along.glint) > 0, c.facing);
        EXPECT_EQ(level(along.glint) > 40, c.glint);
        EXPECT_LT(level(light_at(c.slope, -c.slope).glint), 40);
    }
    EXPECT_LT(level(light_at(-1.5f, -1.5f).shade), level(light_at(-0.05f, -0.05f).shade));
    std::vector<std::uint16_t> out;
    const std::uint32_t glint[] = {0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF010101u};
    glinting_triangles({0, 1, 2, 1, 2, 3}, glint, out);
    EXPECT_EQ(out, std::vector<std::uint16_t>({1, 2, 3})); // only those with a glint at a corner
}

// A drop's front runs out at a steady speed; its height fades to exactly
// nothing at retirement, with no step before.
TEST(WaterDrops, RingsSpreadAndFade)
{
    const drop_shape shape = make_drop_shape(2203, 0.5f);
    for (double age : {0.5, 1.0, 2.0, 3.0}) {
        const float front = static_cast<float>(shape.speed * age);
        float largest = 0;
        for (float behind = 1; behind < shape.train; behind += 1)
            largest = std::max(largest, std::fabs(drop_offset(shape, 1, front - behind, age)));
        EXPECT_GT(largest, 0.5f) << age;
        EXPECT_TRUE(drop_offset(shape, 1, front + 1, age) == 0 && drop_offset(shape, 1, front - shape.train - 1, age) == 0);
    }
    float last = shape.height, now;
    EXPECT_FLOAT_EQ(drop_envelope(shape, 0), last);
    for (double age = 0.01; age < drop_lifetime; age += 0.01, last = now)
        ASSERT_TRUE((now = drop_envelope(shape, age)) < last && last - now < 0.05f * shape.height) << age;
    EXPECT_LT(last, 0.01f * shape.half_texel);
    EXPECT_EQ(drop_envelope(shape, drop_lifetime), 0);
    EXPECT_EQ(drop_envelope(make_drop_shape(20, 0.5f), 1), 0); // never moves half a texel
}

// The rain: never more drops than its slots, 1 a drop every three seconds,
// 100 every slot busy; the drops seen alive are the ones counted.
TEST(WaterDrops, RainFollowsTheSlider)
{
    const struct { double rain; int slots; double per_second; } cases[] = {
        {0, 12, 0}, {0.5, 12, 1 / 6.0}, {1, 12, 1 / 3.0}, {1, 4, 1 / 3.0}, {50, 12, std::pow(8, 49 / 99.0) / 3},
        {100, 12, 12 / 4.5}, {100, 16, 16 / 4.5}, {100, 1, 1 / 4.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rain << " with " << c.slots);
        const rain_schedule rain(7, c.slots, c.rain, 1920, 1080);
        EXPECT_NEAR(rain.fallen_before(6000) / 6000.0, c.per_second, 0.01 * c.per_second + 1e-9);
        std::vector<water_drop> live;
        std::set<double> seen;
        for (double t = 0; t < 600; t += 0.05, live.clear()) {
            rain.live_drops(t, live);
            ASSERT_LE(live.size(), std::size_t(c.slots));
            for (const water_drop& d : live)
                ASSERT_TRUE(seen.insert(d.start).first != seen.end() && d.x >= 0 && d.x < 1920 && d.y >= 0 && d.y < 1080 && d.start <= t);
        }
        EXPECT_NEAR(static_cast<double>(seen.size()), static_cast<double>(rain.fallen_before(600)), 1);
    }
}

// The frame at a moment is the same at 20, 30 or 60 frames a second (ticks
// of 33 and 34, 16 and 17 ms) or in one step; a lit flat surface without drops is the
// picture; a click's ring is centred on the pointer, and moving the pointer
// drops at most one ring per short distance.
TEST(WaterSurface, SameMomentSameFieldFlatIsThePictureClickInTheMiddle)
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
        for (std::uint32_t frame = 1, tick = 0; tick < 2000; ++frame)
            clock.advance(frame_seconds(frame * 1000 / rates[k], tick)), tick = frame * 1000 / rates[k];
        ASSERT_EQ(clock.seconds(), 2.0);
        water_surface surface;
        frames[k] = built;
        surface.prepare(built, 61, 61, 960, 540, 0.5f, true, 100, 16, 3), surface.apply(frames[k], clock.seconds(), click, 0, 0);
    }
    const auto same = [](const std::vector<mesh_vertex>& a, const std::vector<mesh_vertex>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), [](mesh_vertex p, mesh_vertex q) { return p.u == q.u && p.v == q.v; });
    };
    EXPECT_TRUE(same(frames[0], frames[1]) && same(frames[0], frames[2]) && same(frames[0], frames[3]) && !same(frames[0], built));

    water_surface flat, ringed;
    std::vector<mesh_vertex> still = built, moved = built;
    flat.prepare(still, 61, 61, 960, 540, 0.5f, true, 0, 12, 1), flat.apply(still, 5.0, {}, 0, 0);
    EXPECT_TRUE(same(still, built) && !flat.glinting());
    for (std::size_t k = 0; k < still.size(); ++k)
        ASSERT_TRUE(flat.shade()[k] == 0xFFFFFFFFu && flat.glint()[k] == 0xFF000000u) << k;
    ringed.prepare(moved, 61, 61, 960, 540, 0.5f, false, 0, 0, 3), ringed.apply(moved, 1.0, click, 0, 0);
    const int centre = 30 * 61 + 30; // (480, 270): mirrored vertices about it move mirrored
    for (int step : {2, 3, 4, 5}) {
        EXPECT_NEAR(moved[centre + step].u - built[centre + step].u, built[centre - step].u - moved[centre - step].u, 1e-6f);
        EXPECT_NEAR(moved[centre + step * 61].v - built[centre + step * 61].v, built[centre - step * 61].v - moved[centre - step * 61].v, 1e-6f);
    }
    EXPECT_FALSE(same(moved, built));

    std::vector<water_drop> stirs;
    for (float x = 0; x < 100; x += 1)
        trail.moved(1, x, 0, 1.0, 30);
    trail.live_drops(1, 1.0, stirs);
    EXPECT_EQ(stirs.size(), 3u); // at 0, 30 and 60: then the pool is full, and the click's ring is not cut short
}

} // namespace
