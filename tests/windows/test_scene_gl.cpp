// The scene's GL side where a full run can't reach: stored settings, GL limits, unread pictures, light per pixel.
#include "scene/desktop_texture.h"
#include "scene/light_shader.h"
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
#include <set>
#include <string>
#include <tuple>
#include <utility>

namespace {

gl_capabilities (*const desktop_texture_capabilities)() = read_gl_capabilities;

constexpr int frame_width = 594, frame_height = 396; // the light's frames are read from the window

struct SceneGl : testing::Test {
    HWND window =
        CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, frame_width, frame_height, nullptr, nullptr, nullptr, nullptr);
    HDC dc = GetDC(window);
    HGLRC context = nullptr;
    SceneGl()
    {
        EXPECT_FALSE(load_gl()); // the library's own calls, by full path as on Windows 7 (no search flags here)
        const PIXELFORMATDESCRIPTOR format = render_pixel_format();
        if (SetPixelFormat(dc, ChoosePixelFormat(dc, &format), &format))
            context = wglCreateContext(dc);
        wglMakeCurrent(dc, context);
    }
    void SetUp() override { ASSERT_TRUE(context); }
    ~SceneGl() override { wglMakeCurrent(nullptr, nullptr), wglDeleteContext(context), ReleaseDC(window, dc), DestroyWindow(window); }
};

void store(std::initializer_list<std::pair<const char*, const char*>> values)
{
    for (const auto& [name, text] : values)
        app_settings.set_string(name, text);
}

// The bound texture's level as RGB rows, bottom first.
std::vector<std::uint8_t> level(int number, GLint& width, GLint& height)
{
    glGetTexLevelParameteriv(GL_TEXTURE_2D, number, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, number, GL_TEXTURE_HEIGHT, &height);
    std::vector<std::uint8_t> texels(std::size_t(width) * height * 3 + 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, number, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

int programs() // live in the current context
{
    const auto is_program = reinterpret_cast<GLboolean(APIENTRY*)(GLuint)>(reinterpret_cast<void*>(wglGetProcAddress("glIsProgram")));
    int live = 0;
    for (GLuint name = 1; name < 4096; ++name)
        live += is_program(name) == GL_TRUE;
    return live;
}

// The drawn grid is the plain waves, the phase 0.1 s on from `before`, held `inset` inside.
void expect_waves(water_saver& scene, const wave_params& p, bool radial, float before, float inset = -1)
{
    EXPECT_EQ(scene.phase(), advance_phase(before, 0.1f, p.speed));
    const std::vector<mesh_vertex>& got = scene.views().at(0).vertices;
    ASSERT_EQ(got.size(), std::size_t(p.columns) * p.rows);
    std::vector<mesh_vertex> want = got;
    naive::apply_waves(want, 64, 48, radial, p.freq, p.amp, scene.phase());
    for (std::size_t k = 0; k < got.size(); ++k) {
        ASSERT_NEAR(got[k].u, std::clamp(want[k].u, inset, 1 - inset), 1e-5) << k;
        ASSERT_NEAR(got[k].v, std::clamp(want[k].v, inset, 1 - inset), 1e-5) << k;
    }
}

// Stored settings shape the waves (a percent outside 0..100 is the middle, a text no number 0; grids of 21 and 61
// catch vertices past the last four written at once); given ones (the dialog's controls) shape the next frame.
TEST_F(SceneGl, StoredAndGivenValuesShapeTheWaves)
{
    const struct { const char* texts[6]; double values[5]; bool gl_11; } stores[] = {
        {{"2", "100", "0", "100", "0", "0"}, {2, 100, 0, 100, 0}, false},
        {{"52", "0", "33.3", "30", "1", "0"}, {52, 0, 33.3, 30, 1}, false},
        {{"100.5", "-0.5", "nan", "x", "1", "0"}, {50, 50, 50, 0, 1}, false},
        {{"100", "100", "100", "100", "0", "0"}, {100, 100, 100, 100, 0}, true},
        {{"100", "100", "100", "100", "1", "0"}, {100, 100, 100, 100, 1}, true},
        {{"100", "100", "100", "100", "1", "1"}, {100, 100, 100, 100, 1}, true}, // lit: held all the same
    };
    for (const auto& [texts, values, gl_11] : stores) {
        store({{setting_quality, texts[0]}, {setting_speed, texts[1]}, {setting_freq, texts[2]}, {setting_amp, texts[3]},
               {setting_radial, texts[4]}, {setting_light, texts[5]}, {setting_rain, "0"}});
        SCOPED_TRACE(texts[0]);
        water_saver scene;
        ASSERT_TRUE(scene.init_data());
        if (gl_11)
            read_gl_capabilities = [] { return read_capabilities("1.1.0", "GL_EXT_bgra", 1024); };
        ASSERT_TRUE(scene.init_gl({64, 48, {}, false}));
        read_gl_capabilities = desktop_texture_capabilities;
        GLint width = 0, height = 0;
        level(0, width, height);
        EXPECT_EQ(std::tie(width, height), std::make_tuple(1024, gl_11 ? 1024 : 768));
        scene.draw(0.1f);
        expect_waves(scene, derive_wave_params(values[0], values[1], values[2], values[3]), values[4] != 0, 0,
                     gl_11 ? 0.5f / 32 : -1); // half a texel of level 5, the smallest drawn at 64 x 48
        const water_settings given[] = {{2, 100, 0, 100, false, false, 0}, {52, 0, 33, 30, true, true, 0}, {52, 0, 33, 30, false, true, 0},
                                        {52, 0, 33, 0, true, false, 0}, {100, 60, 100, 100, false, false, 0}};
        for (const water_settings& v : given) {
            if (gl_11)
                break;
            SCOPED_TRACE(v.quality + v.amp);
            scene.use_settings(v);
            const float before = scene.phase();
            scene.draw(0.1f);
            expect_waves(scene, derive_wave_params(v.quality, v.speed, v.freq, v.amp), v.radial, before);
            EXPECT_EQ(std::make_pair(scene.light_per_pixel(), programs()), std::make_pair(v.light, int(v.light)));
        }
        // Resized on either side or both: the grid spans it; at 16 x 12 OpenGL 1.1 holds it inside the 8 x 8 level.
        const std::vector<mesh_vertex>& got = scene.views().at(0).vertices;
        for (const auto& [width, height] : {std::pair{64, 12}, {16, 12}, {16, 40}, {70, 40}, {70, 48}}) {
            scene.resize(width, height);
            scene.draw(0.1f);
            EXPECT_EQ(std::make_tuple(got.front().x, got.front().y, got.back().x, got.back().y),
                      std::make_tuple(0.0f, 0.0f, float(width), float(height)));
            if (!gl_11 || width != 16 || height != 12)
                continue;
            const auto [low, high] = std::minmax_element(got.begin(), got.end(), [](mesh_vertex a, mesh_vertex b) { return a.u < b.u; });
            EXPECT_EQ(std::make_pair(low->u, high->u), std::make_pair(0.5f / 8, 1 - 0.5f / 8));
        }
    }
}

// After a screen change a full-screen window takes only what the old picture did not cover; a 640 x 480 one nothing.
TEST_F(SceneGl, TakenOnlyOutsideTheOldArea)
{
    static std::vector<screen_rect> taken;
    capture_new_part = [](const screen_rect& area) { return taken.push_back(area), HBITMAP{}; };
    const screen_rect s = virtual_screen();
    const screen_rect olds[] = {{s.x + 10, s.y + 20, 300, 200}, {s.x + 7, s.y, s.width, s.height}, {s.x, s.y - 5, s.width, s.height},
                                {s.x, s.y, s.width - 9, s.height}, {s.x, s.y, s.width, s.height + 4}, s};
    for (const screen_rect& old : olds) {
        water_saver scene;
        ASSERT_TRUE(scene.init_data());
        scene.follow_screen(s, old); // the picture of the screen as it was
        taken.clear();
        EXPECT_TRUE(scene.init_gl({640, 480, {}, false}));
        EXPECT_TRUE(taken.empty()) << taken.size();
        EXPECT_TRUE(scene.init_gl({s.width, s.height, {{0, 0, s.width, s.height}}, false}));
        EXPECT_EQ(taken, uncovered_parts(s, old)) << old.x << ", " << old.y << ", " << old.width << " x " << old.height;
    }
    capture_new_part = capture_desktop;
}

// Rain 1 is a drop every 3 s on each monitor, 100 all 12 slots busy (16 in the preview) shared evenly; drops fall
// all over each monitor, whatever its shape, and never outside it.
TEST_F(SceneGl, EachMonitorItsShareEverywhereOnIt)
{
    const std::vector<screen_rect> shapes = {{0, 0, 64, 32}, {64, 0, 32, 64}, {0, 32, 48, 48}};
    const struct { int monitors; bool preview; } layouts[] = {{1, false}, {2, false}, {3, false}, {0, true}};
    for (const bool heaviest : {false, true})
        for (const auto& [monitors, preview] : layouts) {
            SCOPED_TRACE(testing::Message() << (heaviest ? "rain 100 on " : "rain 1 on ") << monitors << (preview ? " (preview)" : ""));
            store({{setting_quality, "0"}, {setting_amp, "0"}, {setting_light, "0"}, {setting_rain, heaviest ? "100" : "1"}});
            water_saver scene;
            ASSERT_TRUE(scene.init_data());
            ASSERT_TRUE(scene.init_gl({96, 80, {shapes.begin(), shapes.begin() + monitors}, preview}));
            const std::size_t views = scene.views().size();
            std::vector<std::set<std::tuple<double, float, float>>> fell(views);
            while (scene.drop_time() < 900) { // drops live 3 s at least: looks a second apart see all
                scene.draw(1);
                for (std::size_t k = 0; k < views; ++k)
                    for (const water_drop& drop : scene.views()[k].surface.drops())
                        fell[k].insert({drop.start, drop.x, drop.y});
            }
            const double each = heaviest ? (preview ? 16 : 12) / 4.5 / views : 1 / 3.0;
            for (std::size_t k = 0; k < views; ++k) {
                const screen_rect& area = scene.views()[k].area;
                SCOPED_TRACE(testing::Message() << area.width << " x " << area.height);
                EXPECT_NEAR(fell[k].size() / 900.0, each, 0.1 * each);
                std::set<int> parts; // of its 4 x 3
                for (const auto& [start, x, y] : fell[k]) {
                    ASSERT_TRUE(x >= 0 && x < area.width && y >= 0 && y < area.height) << x << ", " << y;
                    parts.insert(int(4 * x / area.width) + 4 * int(3 * y / area.height));
                }
                EXPECT_EQ(parts.size(), 12u);
            }
        }
}

// An unread picture is logged and becomes one black pixel; a part is uploaded upright, in colour, as planned.
TEST_F(SceneGl, SizeFollowsWhatTheGlTakesAndAnUnreadPictureIsBlack)
{
    const std::size_t logged = test_log().size();
    EXPECT_FALSE(upload_picture(desktop_picture{}, {0, 0, 64, 64}, {{64, 64}, true, true}));
    EXPECT_EQ(test_log().substr(logged), "ERROR: can't set bitmap\n");
    GLint width = 0, height = 0, next = 0, wrap = 0;
    EXPECT_EQ(level(0, width, height), std::vector<std::uint8_t>(4, 0)); // 1 x 1, and the byte over

    desktop_picture picture{300, 200, 900, {}}; // red above blue, in GDI's bottom-up BGR rows
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
        glBindTexture(GL_TEXTURE_2D, GLuint(1 + (&c - cases))); // a texture of its own
        EXPECT_TRUE(upload_picture(picture, c.part, c.plan));
        const std::vector<std::uint8_t> texels = level(0, width, height);
        ASSERT_EQ(std::tie(width, height), std::tie(c.plan.size.width, c.plan.size.height));
        // Upright: the top row red (blue for a part below the middle), the bottom blue.
        EXPECT_EQ(std::make_pair(+texels[std::size_t(width) * (height - 1) * 3], +texels[2]), std::make_pair(c.part.y < 100 ? 255 : 0, 255));
        for (int x = 0; width == c.part.width && x < width; ++x)
            ASSERT_EQ(texels[3 * x + 1], (c.part.x + x) % 7) << x;
        level(1, next, height), glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
        EXPECT_EQ(std::make_pair(next, wrap), std::make_pair(c.plan.mipmaps ? width / 2 : 0, c.plan.edge_clamp ? 0x812F : GL_CLAMP));
    }
}

// Lit per pixel, a grey picture matches light per vertex at the vertices and differs between, on either shape of
// monitor; a broken shader falls back to per vertex; still water lit per pixel is the picture, odd-sized views too.
TEST_F(SceneGl, LightPerPixelAgreesWithPerVertexOnEveryShapeAndFallsBack)
{
    constexpr int width = frame_width, height = frame_height;
    static HBITMAP picture[2];
    std::vector<std::uint32_t> pixels(std::size_t(width) * height, 0xFF808080u);
    picture[0] = CreateBitmap(width, height, 1, 32, pixels.data());
    for (std::size_t k = 0; k < pixels.size(); ++k)
        pixels[k] = 0xFF000000u | std::uint32_t(k * 2654435761u >> 8 & 0xFFFFFF);
    picture[1] = CreateBitmap(width, height, 1, 32, pixels.data());
    static int shown = 0;
    capture_new_part = [](const screen_rect&) { return static_cast<HBITMAP>(CopyImage(picture[shown], IMAGE_BITMAP, 0, 0, 0)); };
    const std::vector<screen_rect> monitors = {{0, 0, 396, 198}, {396, 0, 198, 396}}; // vertices every 4 x 2, 2 x 4
    const struct { bool gl_12, broken; const char *radial, *amp, *light; int picture; } runs[] = {
        {true, false, "1", "30", "1", 0}, {false, false, "1", "30", "1", 0}, {false, true, "1", "30", "1", 0},
        {true, false, "0", "30", "1", 0}, {false, false, "0", "30", "1", 0},
        {false, false, "1", "0", "1", 1}, {false, false, "1", "0", "0", 1},
    };
    std::vector<std::uint8_t> frames[7];
    for (int run = 0; run < 7; ++run) {
        const auto& r = runs[run];
        SCOPED_TRACE(run);
        const bool still = r.picture == 1; // 593 x 395 with 99 x 99 vertices: one on the centre pixel
        store({{setting_quality, still ? "99" : "100"}, {setting_amp, r.amp}, {setting_light, r.light}, {setting_rain, "1e-300"}, {setting_radial, r.radial}});
        shown = r.picture;
        water_saver scene;
        ASSERT_TRUE(scene.init_data());
        scene.follow_screen({-9, -9, 1, 1}, {0, 0, width, height});
        if (r.gl_12) // what an OpenGL 1.1 with the textures of today's gets
            read_gl_capabilities = [] { return read_capabilities("1.2.0", "GL_ARB_texture_non_power_of_two", 1024); };
        const char* source = std::exchange(light_fragment_source, r.broken ? "void main() { broken }\n" : light_fragment_source);
        const std::size_t logged = test_log().size();
        ASSERT_TRUE(scene.init_gl({width - still, height - still, still ? std::vector<screen_rect>{} : monitors, false}));
        read_gl_capabilities = desktop_texture_capabilities;
        light_fragment_source = source;
        const bool per_pixel = !r.gl_12 && !r.broken && *r.light == '1';
        EXPECT_EQ(scene.light_per_pixel(), per_pixel);
        const std::string log = test_log().substr(logged);
        EXPECT_EQ(log.find("WARNING: the light's shader failed (fragment shader: ") != std::string::npos, r.broken) << log;
        const char* said = per_pixel ? "Light: per pixel (OpenGL 2.0)\n" : *r.light == '1' ? "Light: per vertex (OpenGL 1.1): " : "";
        EXPECT_NE(log.find(said), std::string::npos) << log;
        scene.resize(width - still, height - still);
        if (!still) {
            glTranslatef(0.5f, 0.5f, 0); // every vertex on a pixel's centre
            for (const screen_rect& m : monitors)
                scene.input(input_press, 0, m.x + m.width / 2, m.y + m.height / 2);
        }
        scene.draw(1.6f);
        frames[run].resize(std::size_t(width) * height * 4);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, frames[run].data());
        if (per_pixel && !still) { // the screen changed: the same context, a new program in place of the old
            const int live = programs();
            ASSERT_TRUE(scene.init_gl({width, height, monitors, false}));
            EXPECT_TRUE(scene.light_per_pixel());
            EXPECT_EQ(programs(), live);
        }
    }
    capture_new_part = capture_desktop, DeleteObject(picture[0]), DeleteObject(picture[1]);
    EXPECT_TRUE(frames[2] == frames[0]);
    EXPECT_TRUE(frames[5] == frames[6]);
    for (int pair : {0, 3})
        for (const screen_rect& view : monitors) {
            SCOPED_TRACE(testing::Message() << (pair == 0 ? "rings on " : "crossed waves on ") << view.width << " x " << view.height);
            const int step_x = view.width / 99, step_y = view.height / 99;
            int largest = 0, brighter = 0, darker = 0, apart = 0;
            for (int y = view.y; y < view.y + view.height; ++y)
                for (int x = view.x; x < view.x + view.width; ++x) {
                    const std::size_t k = (std::size_t(height - 1 - y) * width + x) * 4; // rows from the bottom
                    const int vertex = frames[pair][k], pixel = frames[pair + 1][k];
                    int& difference = (x - view.x) % step_x == 0 && (y - view.y) % step_y == 0 ? largest : apart;
                    difference = std::max(difference, std::abs(pixel - vertex));
                    brighter += pixel > 0x80 + 24;
                    darker += pixel < 0x80 - 8;
                }
            EXPECT_TRUE(largest <= 3 && apart > 4 * largest) << largest << " at the vertices, " << apart << " between";
            EXPECT_TRUE(brighter > 100 && darker > 100) << brighter << " brighter, " << darker << " darker";
        }
}

} // namespace
