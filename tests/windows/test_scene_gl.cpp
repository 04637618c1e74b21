// The scene's GL side where a full run can't reach: texture sizes the GL
// refuses, a picture that could not be read, zero-sized and resized windows.
#include "scene/desktop_texture.h"
#include "scene/water_saver.h"
#include "shell/shell.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

struct gl_window {
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr, nullptr, nullptr);
    HDC dc = GetDC(window);
    HGLRC context = nullptr;
    gl_window()
    {
        PIXELFORMATDESCRIPTOR format = {};
        format.nSize = sizeof format;
        format.nVersion = 1;
        format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        format.cColorBits = 24;
        if (SetPixelFormat(dc, ChoosePixelFormat(dc, &format), &format))
            context = wglCreateContext(dc);
        wglMakeCurrent(dc, context);
    }
    ~gl_window()
    {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context);
        ReleaseDC(window, dc);
        DestroyWindow(window);
    }
};

// 300 x 200: red above, blue below, as GDI's bottom-up blue-green-red rows.
desktop_picture two_bands()
{
    desktop_picture picture{300, 200, 900, {}};
    for (int row = 0; row < 200; ++row)
        for (int x = 0; x < 300; ++x)
            picture.rows.insert(picture.rows.end(), {std::uint8_t(row < 100 ? 255 : 0), std::uint8_t(x % 7), std::uint8_t(row < 100 ? 0 : 255)});
    return picture;
}

// The bound texture's level as RGB rows, bottom row first, and its size.
std::vector<std::uint8_t> texture_level(int level, GLint& width, GLint& height)
{
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
    std::vector<std::uint8_t> texels(std::size_t(width) * height * 3 + 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

std::string log_text()
{
    std::ostringstream text;
    text << std::ifstream("windows_tests.log").rdbuf();
    return text.str();
}

TEST(DesktopTexture, SizeFollowsWhatTheGlTakes)
{
    gl_window gl;
    ASSERT_TRUE(gl.context);
    const desktop_picture picture = two_bands();
    const struct {
        texture_limits limits;
        screen_rect part;
        bool mipmaps;
        GLint width, height;
    } cases[] = {
        {{true, 4096}, {0, 0, 300, 200}, false, 300, 200},  // as it is
        {{true, 4096}, {20, 150, 200, 50}, true, 200, 50},  // a monitor's part, mipmapped
        {{false, 4096}, {0, 0, 300, 200}, false, 1024, 1024}, // no non-power-of-two sizes
        {{true, 256}, {0, 0, 300, 200}, true, 256, 256},    // over the limit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        EXPECT_TRUE(upload_picture(picture, c.part, c.limits, c.mipmaps));
        GLint width = 0, height = 0;
        const std::vector<std::uint8_t> texels = texture_level(0, width, height);
        ASSERT_EQ(width, c.width);
        ASSERT_EQ(height, c.height);
        // Upright, in its own colours: red at the top row, blue at the bottom.
        const std::size_t top = std::size_t(width) * (height - 1) * 3;
        const bool top_red = c.part.y < 100, bottom_red = c.part.y + c.part.height <= 100;
        EXPECT_EQ(texels[top], top_red ? 255 : 0);
        EXPECT_EQ(texels[top + 2], top_red ? 0 : 255);
        EXPECT_EQ(texels[0], bottom_red ? 255 : 0);
        EXPECT_EQ(texels[2], bottom_red ? 0 : 255);
        for (int x = 0; width == c.part.width && x < width; ++x) // one to one: every pixel
            ASSERT_EQ(texels[3 * x + 1], (c.part.x + x) % 7) << x;
        GLint next_width = 0, next_height = 0;
        texture_level(1, next_width, next_height);
        EXPECT_EQ(next_width, c.mipmaps ? width / 2 : 0);
        GLint wrap = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
        EXPECT_EQ(wrap, 0x812F); // clamped to the edge
        glDeleteTextures(1, &texture);
    }
}

TEST(DesktopTexture, UnreadPictureIsLoggedAndGivesOneBlackPixel)
{
    gl_window gl;
    ASSERT_TRUE(gl.context);
    const std::size_t before = log_text().size();
    EXPECT_FALSE(upload_picture(desktop_picture{}, {0, 0, 64, 64}, {true, 4096}, true));
    EXPECT_EQ(log_text().substr(before), "ERROR: can't set bitmap\n");
    GLint width = 0, height = 0;
    const std::vector<std::uint8_t> texel = texture_level(0, width, height);
    EXPECT_EQ(width * height, 1);
    EXPECT_EQ(texel[0] | texel[1] | texel[2], 0);
}

// A resized window gets a grid for its new size; a new context gets
// textures and grids again, one per monitor.
TEST(SceneFrames, GridFollowsTheWindow)
{
    gl_window gl;
    ASSERT_TRUE(gl.context);
    water_saver scene;
    ASSERT_TRUE(scene.init_data());
    screen_monitors.clear();
    screen_width = screen_height = 64;
    ASSERT_TRUE(scene.init_gl());
    ASSERT_EQ(scene.views().size(), 1u);
    const std::vector<mesh_vertex>& grid = scene.views()[0].vertices;
    ASSERT_FALSE(grid.empty());

    screen_width = 32, screen_height = 48;
    scene.draw(0.1f);
    EXPECT_FLOAT_EQ(grid.back().x, 32.0f);
    EXPECT_FLOAT_EQ(grid.back().y, 48.0f);
    screen_width = 0; // as good as minimised: the grid stays
    scene.draw(0.1f);
    EXPECT_FLOAT_EQ(grid.back().x, 32.0f);

    const float phase = scene.phase();
    gl_window second;
    screen_width = screen_height = 64;
    screen_monitors = {{0, 0, 30, 64}, {30, 0, 34, 64}};
    ASSERT_TRUE(scene.init_gl());
    ASSERT_EQ(scene.views().size(), 2u);
    EXPECT_EQ(glIsTexture(scene.views()[1].texture), GL_TRUE);
    EXPECT_FLOAT_EQ(scene.views()[1].vertices.back().x, 34.0f);
    EXPECT_FLOAT_EQ(scene.phase(), phase); // the waves carry on
    screen_monitors.clear();
}

} // namespace
