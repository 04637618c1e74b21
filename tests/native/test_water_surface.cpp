// Light and drops on the water: the light follows the slope, drops bend the picture, rain falls at its own moments.
#include "scene/mesh.h"
#include "scene/pointer_trail.h"
#include "scene/drop_clock.h"
#include "scene/water_light.h"
#include "scene/water_surface.h"
#include "scene/wave_motion.h"
#include "shell/frame_time.h"

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

// A slope facing the upper left is brighter and may glint, one facing away darker; a surface as each vertex alone.
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
        const vertex_light alone = light_at(slope_x[k], slope_y[k]);
        ASSERT_EQ(std::make_pair(shade[k], glint[k]), std::make_pair(alone.shade, alone.glint)) << slope_x[k] << ", " << slope_y[k];
    }
    std::vector<std::uint16_t> out;
    const std::uint32_t some[] = {0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF010101u};
    glinting_triangles({0, 1, 2, 1, 2, 3}, some, out);
    EXPECT_EQ(out, std::vector<std::uint16_t>({1, 2, 3})); // only those with a glint at a corner
}

// How far the rings of `drop` move the picture at each pixel of its row, outwards positive.
std::vector<float> moves_along_row(const drop_shape& shape, const water_drop& drop, double time, int width)
{
    std::vector<mesh_vertex> row, moved;
    for (int x = 0; x <= width; ++x)
        row.push_back({float(x), drop.y, float(x) / width, 0.5f});
    moved = row;
    add_drop_rings(moved, width + 1, 1, width, 1080, shape, {drop}, time);
    std::vector<float> out;
    for (int x = 0; x <= width; ++x)
        out.push_back((moved[x].u - row[x].u) * width * (x < drop.x ? -1 : 1));
    return out;
}

// A drop's front runs out steadily, its train spreading as sqrt(spread / (r + spread)), fading to nothing, no step.
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
        const int leading = static_cast<int>(drop.x + front - shape.train * 0.15f), trailing = static_cast<int>(drop.x + front - shape.train * 0.85f);
        EXPECT_GT(move[leading], 0.1f * std::fabs(move[peak])) << age;
        EXPECT_LT(move[trailing], -0.1f * std::fabs(move[peak])) << age;
        spreading[k] = std::fabs(move[peak]) / drop_envelope(shape, age) / std::sqrt(shape.spread / (std::fabs(peak - drop.x) + shape.spread));
    }
    for (double value : spreading)
        EXPECT_NEAR(value / spreading[0], 1, 0.03);

    float last = shape.offset, now;
    EXPECT_FLOAT_EQ(drop_envelope(shape, 0), last);
    for (double age = 0.01; age < drop_lifetime; age += 0.01, last = now) {
        ASSERT_LT(now = drop_envelope(shape, age), last) << age;
        ASSERT_LT(last - now, 0.05f * shape.offset) << age;
    }
    EXPECT_LT(last, 0.01f * shape.half_texel_pixels);
    EXPECT_EQ(std::make_pair(drop_envelope(shape, drop_lifetime), drop_envelope(shape, 3, 3)), std::make_pair(0.0f, 0.0f));
    EXPECT_FLOAT_EQ(drop_envelope(shape, 2, 3), drop_envelope(shape, 3, drop_lifetime));
    EXPECT_EQ(drop_envelope(make_drop_shape(20, 0.5f), 1), 0); // never moves half a texel
}

// Lit as they bend the picture: moved away from the light (down, right) it glints, else darker; flat, the picture.
TEST(WaterLight, LitOnTheSideTheWaterBendsTheWayTheDropsAre)
{
    for (const int source : {0, 1, 2}) // a drop, rings, crossed waves
        for (const auto& [width, height] : {std::pair{960, 540}, std::pair{540, 960}}) {
            SCOPED_TRACE(testing::Message() << "source " << source << ", " << width << " x " << height);
            const int columns = width / 15 + 1, rows = height / 15 + 1, centre = height / 30 * columns + width / 30;
            std::vector<mesh_vertex> built, moved;
            std::vector<std::uint16_t> indices;
            build_grid(built, indices, columns, rows, width, height); // every 15 pixels, a vertex at the centre
            wave_field waves;
            waves.prepare(built, columns, rows, width, height, source == 1, 11, 0.025f);
            if (moved = built; source)
                waves.apply(moved, 0.7f);
            water_surface surface;
            surface.prepare(built, columns, rows, width, height, 0.5f, surface_light::per_vertex, 0, 0, 1);
            const std::vector<water_drop> drop = {{0, width / 2.0f, height / 2.0f, 0, 2.5f}}, none;
            surface.apply(moved, 1.2, source ? none : drop, 0, 0);
            const auto move = [&](int k) { return std::make_pair((moved[k].u - built[k].u) * width, -(moved[k].v - built[k].v) * height); };
            for (int step = 1; !source && step <= 17; ++step) {
                EXPECT_NEAR(move(centre + step).first, move(centre + step * columns).second, 1e-3f) << step;
                EXPECT_NEAR(move(centre + step).second, 0, 1e-3f) << step;
            }
            int bright = 0, dark = 0;
            for (std::size_t k = 0; k < built.size(); ++k) {
                const auto [x, y] = move(int(k));
                if (std::fabs(x + y) < 4 || std::fabs(x - y) > std::fabs(x + y))
                    continue; // within 45 degrees of the light's way, and enough to see
                const bool away_from_light = x + y > 0;
                ASSERT_EQ(level(surface.shade()[k]) == 255, away_from_light) << k << ": moved " << x << ", " << y;
                ASSERT_EQ(level(surface.glint()[k]) > 0, away_from_light) << k << ": moved " << x << ", " << y;
                ++(away_from_light ? bright : dark);
            }
            EXPECT_TRUE(bright > 20 && dark > 20) << bright << " bright, " << dark << " dark";
            surface.apply(moved = built, 5.0, {}, 0, 0);
            EXPECT_TRUE(same(moved, built));
            EXPECT_FALSE(surface.glinting());
            EXPECT_EQ(surface.shade(), std::vector<std::uint32_t>(built.size(), 0xFFFFFFFFu));
            EXPECT_EQ(surface.glint(), std::vector<std::uint32_t>(built.size(), 0xFF000000u));
        }
}

// Rain 1 is a drop every 3 s, 100 every slot busy, never more, each at its own moment; values no slider gives too.
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
                ASSERT_TRUE(d.x >= 0 && d.x < 1920 && d.y >= 0 && d.y < 1080 && d.start <= t)
                    << d.x << ", " << d.y << " from " << d.start;
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

// A moment's frame is the same at any frame rate; the pointer drops a ring per short distance at most, never cut short.
TEST(WaterSurface, SameMomentSameFieldPointerWaits)
{
    std::vector<mesh_vertex> built, frames[4];
    std::vector<std::uint16_t> indices;
    build_grid(built, indices, 61, 61, 960, 540);
    std::vector<water_drop> click, stirs, splash;
    pointer_trail trail;
    trail.clicked(0, 480, 270, 0.3), trail.live_drops(0, 0.5, click);
    trail.live_drops(1, 0.5, click); // another view's: none
    ASSERT_EQ(click.size(), 1u);
    // A 3.579545 MHz counter to a moment between two milliseconds.
    const std::int64_t rates[] = {20, 60, 144, 1}, hz = 3579545, end = 2 * hz + hz * 1234 / 100000;
    for (int k = 0; k < 4; ++k) {
        drop_clock clock;
        for (std::int64_t frame = 1, last = 0, now = 0; last < end; last = now, ++frame)
            now = std::min(end, frame * hz / rates[k]), clock.advance(frame_seconds(now, last, hz));
        ASSERT_EQ(clock.seconds(), 2.012);
        water_surface surface;
        frames[k] = built;
        surface.prepare(built, 61, 61, 960, 540, 0.5f, surface_light::per_vertex, 100, 16, 3);
        surface.apply(frames[k], clock.seconds(), click, 0, 0);
    }
    for (int k = 1; k < 4; ++k)
        EXPECT_TRUE(same(frames[0], frames[k])) << rates[k] << " frames a second";
    EXPECT_FALSE(same(frames[0], built));

    for (float x = 0; x < 100; x += 1)
        trail.moved(1, x, 0, 1.0, 30);
    trail.live_drops(1, 1.0, stirs);
    EXPECT_EQ(stirs.size(), 3u); // at 0, 30 and 60: then the pool is full, and the click's ring is not cut short
    // A click lands however busy the pool, in the oldest's place, and moves the picture over four times a stir's.
    trail.clicked(1, 900, 540, 1.0), trail.live_drops(1, 1.0, splash), trail.live_drops(0, 1.0, splash);
    ASSERT_EQ(splash.size(), 4u);
    const auto splashed = std::find_if(splash.begin(), splash.end(), [](const water_drop& d) { return d.x == 900; });
    ASSERT_NE(splashed, splash.end());
    const drop_shape shape = make_drop_shape(2203, 0.5f);
    const auto largest = [&](water_drop drop, double age) {
        drop.x = 960;
        float most = 0;
        for (float move : moves_along_row(shape, drop, drop.start + age, 1920))
            most = std::max(most, std::fabs(move));
        return most;
    };
    for (double age = 0.25; age < 3; age += 0.25)
        EXPECT_GT(largest(*splashed, age), 4 * largest(stirs[0], age)) << age;
}

} // namespace
