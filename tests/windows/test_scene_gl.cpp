// The scene's GL side: the stored settings shaping the waves, and textures
// where a full run can't reach: sizes the GL refuses (through the limits the
// upload is given) and a picture that could not be read.
#include "scene/desktop_texture.h"
#include "scene/wave_params.h"
#include "scene/water_saver.h"
#include "settings/catalogue.h"
#include "settings/reg_settings.h"
#include "shell/gl_api.h"
#include "shell/monitors.h"
#include "shell/pixel_format.h"
#include "shell/shell.h"
#include "test_log.h"
#include "tests/support/naive_waves.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

gl_capabilities (*const desktop_texture_capabilities)() = read_gl_capabilities;

struct gl_window {
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr, nullptr, nullptr);
    HDC dc = GetDC(window);
    HGLRC context = nullptr;
    gl_window()
    {
        EXPECT_FALSE(load_gl()); // the library's own calls, by full path as on Windows 7 (no search flags here)
        const PIXELFORMATDESCRIPTOR format = render_pixel_format();
        if (SetPixelFormat(dc, ChoosePixelFormat(dc, &format), &format))
            context = wglCreateContext(dc);
        wglMakeCurrent(dc, context);
    }
    ~gl_window() { wglMakeCurrent(nullptr, nullptr), wglDeleteContext(context), ReleaseDC(window, dc), DestroyWindow(window); }
};

// The bound texture's level as RGB rows, bottom row first.
std::vector<std::uint8_t> level(int number, GLint& width, GLint& height)
{
    glGetTexLevelParameteriv(GL_TEXTURE_2D, number, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, number, GL_TEXTURE_HEIGHT, &height);
    std::vector<std::uint8_t> texels(std::size_t(width) * height * 3 + 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, number, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

// Each stored setting reaches the scene: quality the grid, speed the phase,
// and freq, amp and radial where the picture's coordinates go. A percent
// outside 0..100 is the middle; a text that is no number reads as 0. On
// Windows' own OpenGL 1.1 (through the capabilities' stand-in: no edge
// clamp, textures up to 1024) the texture is clamped to its border, which
// the waves never reach: coordinates stay half a smallest-level texel inside.
TEST(SceneSettings, StoredValuesShapeTheWaves)
{
    gl_window surface;
    ASSERT_TRUE(surface.context);
    const char* names[] = {setting_quality, setting_speed, setting_freq, setting_amp, setting_radial, setting_light};
    const struct { const char* texts[6]; double values[5]; bool gl_11; } stores[] = {
        {{"0", "100", "0", "100", "0", "0"}, {0, 100, 0, 100, 0}, false},
        {{"100", "0", "33.3", "30", "1", "0"}, {100, 0, 33.3, 30, 1}, false},
        {{"100.5", "-0.5", "nan", "x", "1", "0"}, {50, 50, 50, 0, 1}, false},
        {{"100", "100", "100", "100", "0", "0"}, {100, 100, 100, 100, 0}, true},
        {{"100", "100", "100", "100", "1", "0"}, {100, 100, 100, 100, 1}, true},
        {{"100", "100", "100", "100", "1", "1"}, {100, 100, 100, 100, 1}, true}, // lit: held all the same
    };
    app_settings.set_string(setting_rain, "0");
    for (const auto& [texts, values, gl_11] : stores) {
        for (int k = 0; k < 6; ++k)
            app_settings.set_string(names[k], texts[k]);
        SCOPED_TRACE(texts[0]);
        water_saver scene;
        ASSERT_TRUE(scene.init_data());
        screen_monitors.clear(), screen_width = 64, screen_height = 48, screen_preview = false;
        if (gl_11)
            read_gl_capabilities = [] { return read_capabilities("1.1.0", "GL_EXT_bgra", 1024); };
        ASSERT_TRUE(scene.init_gl());
        read_gl_capabilities = desktop_texture_capabilities;
        GLint wrap = 0, width = 0, height = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap);
        level(0, width, height);
        EXPECT_TRUE(gl_11 ? wrap == GL_CLAMP && width == 1024 && height == 1024 : wrap == 0x812F && width == 1024 && height == 768);
        scene.draw(0.1f);
        const wave_params p = derive_wave_params(values[0], values[1], values[2], values[3]);
        EXPECT_EQ(scene.phase(), advance_phase(0, 0.1f, p.speed));
        const std::vector<mesh_vertex>& got = scene.views().at(0).vertices;
        ASSERT_EQ(got.size(), std::size_t(p.columns) * p.rows);
        std::vector<mesh_vertex> want = got;
        naive::apply_waves(want, 64, 48, values[4] != 0, p.freq, p.amp, scene.phase());
        const float inset = gl_11 ? 0.5f / 32 : -1; // half a texel of level 5, the smallest drawn at 64 x 48
        for (std::size_t k = 0; k < got.size(); ++k)
            ASSERT_TRUE(std::fabs(got[k].u - std::clamp(want[k].u, inset, 1 - inset)) < 1e-5 &&
                        std::fabs(got[k].v - std::clamp(want[k].v, inset, 1 - inset)) < 1e-5) << k;
    }
}

// Only what no window of ours covered is taken from the screen (our frames
// would be rippled again): after a change under a full-screen window, and
// when one is made after a change under the 640 x 480 window (Tab and back).
TEST(SceneScreen, TakenOnlyOutsideTheOldArea)
{
    gl_window surface;
    water_saver scene;
    ASSERT_TRUE(surface.context && scene.init_data());
    static std::vector<screen_rect> taken;
    capture_new_part = [](const screen_rect& area) { return taken.push_back(area), HBITMAP{}; };
    const screen_rect screen = virtual_screen(), old{screen.x + 10, screen.y + 20, 300, 200};
    scene.follow_screen(screen, old); // shrunk: nothing to take
    screen_monitors = {{0, 0, screen.width, screen.height}}, screen_preview = false;
    EXPECT_TRUE(scene.init_gl());
    capture_new_part = capture_desktop, screen_monitors.clear();
    EXPECT_EQ(taken, uncovered_parts(screen, old));
}

// A picture that could not be read is logged and becomes one black pixel.
TEST(DesktopTexture, SizeFollowsWhatTheGlTakesAndAnUnreadPictureIsBlack)
{
    gl_window surface;
    ASSERT_TRUE(surface.context);
    const std::size_t logged = test_log().size();
    EXPECT_FALSE(upload_picture(desktop_picture{}, {0, 0, 64, 64}, {{64, 64}, true, true}));
    EXPECT_EQ(test_log().substr(logged), "ERROR: can't set bitmap\n");
    GLint one = 0, high = 0;
    const std::vector<std::uint8_t> texel = level(0, one, high);
    EXPECT_TRUE(one * high == 1 && (texel[0] | texel[1] | texel[2]) == 0);

    // 300 x 200, red above blue, as GDI's bottom-up blue-green-red rows.
    desktop_picture picture{300, 200, 900, {}};
    for (int row = 0; row < 200; ++row)
        for (int x = 0; x < 300; ++x)
            picture.rows.insert(picture.rows.end(), {std::uint8_t(row < 100 ? 255 : 0), std::uint8_t(x % 7), std::uint8_t(row < 100 ? 0 : 255)});
    const struct { texture_plan plan; screen_rect part; } cases[] = {
        {{{200, 50}, true, true}, {20, 150, 200, 50}},     // a monitor's part, as it is
        {{{1024, 1024}, false, true}, {0, 0, 300, 200}},   // no non-power-of-two sizes
        {{{256, 256}, true, false}, {0, 0, 300, 200}},     // scaled down, no edge clamp
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.plan.size.width << " x " << c.plan.size.height);
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        EXPECT_TRUE(upload_picture(picture, c.part, c.plan));
        GLint width = 0, height = 0, next = 0, wrap = 0;
        const std::vector<std::uint8_t> texels = level(0, width, height);
        ASSERT_TRUE(width == c.plan.size.width && height == c.plan.size.height) << width << " x " << height;
        // Upright: the top row red (blue for the part below the middle).
        const std::uint8_t* top = &texels[std::size_t(width) * (height - 1) * 3];
        EXPECT_EQ(top[0], c.part.y < 100 ? 255 : 0);
        EXPECT_EQ(texels[2], 255);
        for (int x = 0; width == c.part.width && x < width; ++x)
            ASSERT_EQ(texels[3 * x + 1], (c.part.x + x) % 7) << x;
        level(1, next, height);
        EXPECT_EQ(next, c.plan.mipmaps ? width / 2 : 0);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
        EXPECT_EQ(wrap, c.plan.edge_clamp ? 0x812F : GL_CLAMP);
    }
}

} // namespace
