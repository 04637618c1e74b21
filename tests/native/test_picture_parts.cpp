// How the picture is laid out: monitors as parts of the window, texture
// sizes for what the GL takes, and the scaling that fills them.
#include "scene/resample.h"
#include "scene/texture_plan.h"
#include "shell/monitor_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

TEST(MonitorViews, MonitorsBecomeClippedPartsOfTheWindow)
{
    using rects = std::vector<screen_rect>;
    const screen_rect virtual_screen{-1920, 0, 3840, 1200};
    const struct { rects monitors; screen_rect window; rects views; } cases[] = {
        // Primary on the right: the left monitor starts at the window's left edge.
        {{{0, 0, 1920, 1080}, {-1920, 0, 1920, 1200}}, virtual_screen, {{1920, 0, 1920, 1080}, {0, 0, 1920, 1200}}},
        // Mirrored, partly outside, empty and far-off monitors.
        {{{0, 0, 1920, 1080}, {0, 0, 1920, 1080}, {1800, -100, 400, 400}, {5000, 0, 0, 0}, {INT_MAX, INT_MAX, INT_MAX, 1}},
         {0, 0, 1920, 1080}, {{0, 0, 1920, 1080}, {1800, 0, 120, 300}}},
        {{}, virtual_screen, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(monitor_views(c.monitors, c.window), c.views) << &c - cases;
}

TEST(TexturePlan, OwnSizeWhenTheGlTakesItElseAPowerOfTwoSquare)
{
    const struct { int width, height; texture_limits limits; int want_width, want_height; } cases[] = {
        {1920, 1080, {true, 16384}, 1920, 1080}, {3840, 2160, {true, 4096}, 3840, 2160},
        {1920, 1080, {false, 16384}, 2048, 2048}, {800, 600, {false, 16384}, 1024, 1024},
        {7680, 2160, {true, 4096}, 4096, 4096},  {3840, 2160, {false, 3000}, 2048, 2048},
        {300, 200, {true, 256}, 256, 256},       {0, 0, {true, 4096}, 1024, 1024},
    };
    for (const auto& c : cases) {
        const texture_size size = texture_size_for(c.width, c.height, c.limits);
        EXPECT_TRUE(size.width == c.want_width && size.height == c.want_height)
            << c.width << "x" << c.height << " gave " << size.width << "x" << size.height;
    }
    EXPECT_TRUE(next_mip_level({5, 1}).width == 2 && next_mip_level({5, 1}).height == 1);

    EXPECT_TRUE(takes_any_texture_size("2.1 Mesa 22.3.6", ""));
    EXPECT_TRUE(takes_any_texture_size("1.4", "GL_EXT_bgra GL_ARB_texture_non_power_of_two"));
    EXPECT_FALSE(takes_any_texture_size("1.4", "GL_ARB_texture_non_power_of_two_extra GL_EXT_bgra"));
    EXPECT_FALSE(takes_any_texture_size("1.1.0", nullptr));
    EXPECT_FALSE(takes_any_texture_size(nullptr, nullptr));
}

TEST(Resample, SameSizeCopiesShrinkingAveragesGrowingBlends)
{
    // 6 x 4 pixels in rows of 20 bytes: one-pixel stripes in the first
    // channel, every pixel its own value in the third.
    std::vector<std::uint8_t> from(20 * 4), same(18 * 4), shrunk(6), two{0, 0, 0, 240, 0, 0}, grown(24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            from[20 * y + 3 * x] = x % 2 ? 200 : 0, from[20 * y + 3 * x + 2] = std::uint8_t(10 * y + x);
    resample_rgb({from.data(), 20, 6, 4}, {same.data(), 18, 6, 4});
    for (int y = 0; y < 4; ++y)
        EXPECT_TRUE(std::equal(&same[18 * y], &same[18 * y + 18], &from[20 * y])) << y;

    // Stripes shrunk three times: every pixel the average, not a stripe
    // picked out (which is what shimmers as the picture moves).
    resample_rgb({from.data(), 20, 6, 4}, {shrunk.data(), 6, 2, 1});
    EXPECT_NEAR(shrunk[0], 100, 25);
    EXPECT_NEAR(shrunk[3], 100, 25);

    // Grown: the ends keep the edge values and the middle blends them.
    resample_rgb({two.data(), 6, 2, 1}, {grown.data(), 24, 8, 1});
    EXPECT_TRUE(grown[0] == 0 && grown[21] == 240 && grown[9] > 60 && grown[9] < 180);
}

} // namespace
