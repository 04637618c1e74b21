// How the picture is laid out: monitors as parts of the window, texture sizes for the GL, the scaling to fill them.
#include "scene/desktop_picture.h"
#include "scene/resample.h"
#include "scene/texture_plan.h"
#include "shell/gl_version.h"
#include "shell/monitor_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <tuple>
#include <vector>

namespace {

using rects = std::vector<screen_rect>;

TEST(MonitorViews, MonitorsBecomeClippedPartsOfTheWindow)
{
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

// The picture's size when the GL takes it, else a power-of-two square of 1024 or more within its limit.
TEST(TexturePlan, CapabilitiesThenSizeWrapLevelsAndInset)
{
    using fb = framebuffer_calls;
    const struct { const char *version, *extensions; bool any_size, edge_clamp, shaders; fb framebuffers; } texts[] = {
        {"4.5 (Compatibility Profile) Mesa 22.3.6", "", true, true, true, fb::core},
        {"1.1.0", nullptr, false, false, false, fb::none},
        {"1.2", "", false, true, false, fb::none},
        {"1.1.0", "GL_EXT_bgra GL_SGIS_texture_edge_clamp", false, true, false, fb::none},
        {"1.1", "GL_EXT_texture_edge_clamp GL_ARB_texture_non_power_of_two", true, true, false, fb::none},
        {"1.4", "GL_ARB_texture_non_power_of_two_extra GL_EXT_texture_edge_clamp_x GL_EXT_framebuffer_object", false, true, false, fb::ext},
        {"1.1", "GL_ARB_texture_non_power_of_two_extra GL_EXT_texture_edge_clamp_x GL_ARB_framebuffer_object_x", false, false, false, fb::none},
        {"2.1 Mesa", "GL_EXT_framebuffer_object GL_ARB_framebuffer_object", true, true, true, fb::core},
        {"3.0", "", true, true, true, fb::core},
        {nullptr, nullptr, false, false, false, fb::none},
    };
    for (const auto& c : texts) {
        const gl_capabilities gl = read_capabilities(c.version, c.extensions, 1024);
        EXPECT_EQ(std::tie(gl.any_size, gl.edge_clamp, gl.shaders, gl.max_size), std::make_tuple(c.any_size, c.edge_clamp, c.shaders, 1024))
            << (c.version ? c.version : "null") << " / " << (c.extensions ? c.extensions : "null");
        EXPECT_EQ(offered_framebuffers(read_gl_version(c.version), c.extensions), c.framebuffers) << &c - texts;
    }

    const gl_capabilities mesa{true, 16384, true}, old{false, 16384, true}, software{false, 1024, false};
    const struct { gl_capabilities gl; int w, h, shown_w, shown_h; bool small; texture_size size; bool mipmaps; float inset; } plans[] = {
        {mesa, 1920, 1080, 1920, 1080, false, {1920, 1080}, false, 0},
        {{true, 4096, true}, 3840, 2160, 3840, 2160, false, {3840, 2160}, false, 0},
        {{true, 4096, true}, 7680, 2160, 7680, 2160, false, {4096, 4096}, false, 0},
        {{true, 256, true}, 300, 200, 300, 200, false, {256, 256}, false, 0},
        {old, 1920, 1080, 1920, 1080, false, {2048, 2048}, false, 0},
        {old, 800, 600, 800, 600, false, {1024, 1024}, false, 0},
        {{false, 3000, true}, 3840, 2160, 3840, 2160, false, {2048, 2048}, false, 0},
        {mesa, 0, 0, 0, 0, false, {1024, 1024}, false, 0},
        {mesa, 1920, 1080, 632, 453, false, {1920, 1080}, true, 0},
        {mesa, 7680, 2160, 152, 112, true, {152, 112}, true, 0},
        {software, 1920, 1080, 1920, 1080, false, {1024, 1024}, false, 0.5f / 1024},
        {software, 3840, 2160, 152, 112, true, {256, 256}, true, 0.5f / 64},    // blends levels 1 and 2
        {software, 1920, 1080, 632, 453, false, {1024, 1024}, true, 0.5f / 256}, // the window: levels 1 and 2
        {software, 1024, 1024, 512, 512, false, {1024, 1024}, true, 0.5f / 512}, // exactly half: level 1
        {software, 1920, 1080, 1, 1, false, {1024, 1024}, true, 0.5f},           // the chain's end
        {mesa, 800, 600, 1024, 768, true, {800, 600}, true, 0}, // a preview larger than the picture
    };
    for (const auto& c : plans) {
        const texture_plan p = plan_texture(c.gl, c.w, c.h, c.shown_w, c.shown_h, c.small);
        EXPECT_EQ(std::tie(p.size.width, p.size.height, p.mipmaps, p.edge_clamp, p.inset_u, p.inset_v),
                  std::tie(c.size.width, c.size.height, c.mipmaps, c.gl.edge_clamp, c.inset, c.inset)) << &c - plans;
    }
}

TEST(Resample, SameSizeCopiesShrinkingAveragesGrowingBlends)
{
    // Rows of 20 bytes: stripes in the first channel, each pixel's own value in the third.
    std::vector<std::uint8_t> from(20 * 4), same(18 * 4), shrunk(6), two{0, 0, 0, 240, 0, 0}, grown(24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            from[20 * y + 3 * x] = x % 2 ? 200 : 0, from[20 * y + 3 * x + 2] = std::uint8_t(10 * y + x);
    resample_rgb({from.data(), 20, 6, 4}, {same.data(), 18, 6, 4});
    for (int y = 0; y < 4; ++y)
        EXPECT_TRUE(std::equal(&same[18 * y], &same[18 * y + 18], &from[20 * y])) << y;

    // Shrunk three times: the average, not a stripe picked out (which shimmers as the picture moves).
    resample_rgb({from.data(), 20, 6, 4}, {shrunk.data(), 6, 2, 1});
    EXPECT_NEAR(shrunk[0], 100, 25);
    EXPECT_NEAR(shrunk[3], 100, 25);

    // Grown: the ends keep the edge values and the middle blends them.
    resample_rgb({two.data(), 6, 2, 1}, {grown.data(), 24, 8, 1});
    EXPECT_EQ(std::make_pair(+grown[0], +grown[21]), std::make_pair(0, 240));
    EXPECT_NEAR(grown[9], 120, 60);
}

} // namespace

// After a screen change what the window did not cover is taken again, the old picture kept.
TEST(ScreenChange, UncoveredPartsAndTheOldPictureKept)
{
    const struct { screen_rect screen, covered; rects parts; } cases[] = {
        {{0, 0, 2560, 1440}, {0, 0, 1280, 720}, {{0, 720, 2560, 720}, {1280, 0, 1280, 720}}},
        {{-800, 0, 1600, 600}, {0, 0, 800, 600}, {{-800, 0, 800, 600}}},
        {{0, 0, 800, 600}, {-100, -100, 1000, 800}, {}},
        {{0, 0, 100, 100}, {200, 0, 50, 50}, {{0, 50, 100, 50}, {0, 0, 100, 50}}},
        {{0, 0, 100, 100}, {20, 30, 10, 10}, {{0, 0, 100, 30}, {0, 40, 100, 60}, {0, 30, 20, 10}, {30, 30, 70, 10}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(uncovered_parts(c.screen, c.covered), c.parts) << &c - cases;

    // A 3 x 2 picture at (10, 20), its pixels' x and y in their bytes, pasted into a black 4 x 4 at (9, 19).
    desktop_picture old = blank_picture(3, 2), grown = blank_picture(4, 4);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            old.rows[(1 - y) * old.stride + 3 * x] = std::uint8_t(10 + x), old.rows[(1 - y) * old.stride + 3 * x + 1] = std::uint8_t(20 + y);
    paste_picture(grown, {9, 19, 4, 4}, old, {10, 20, 3, 2});
    paste_picture(grown, {9, 19, 4, 4}, old, {10, 20, 300, 200}); // an area larger than its picture
    EXPECT_EQ(grown.stride, 12u);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const std::uint8_t* pixel = &grown.rows[(3 - y) * grown.stride + 3 * x];
            const bool inside = x >= 1 && y >= 1 && y <= 2;
            EXPECT_EQ(std::make_tuple(+pixel[0], +pixel[1], +pixel[2]), std::make_tuple(inside ? 9 + x : 0, inside ? 19 + y : 0, 0))
                << x << "," << y;
        }
}
