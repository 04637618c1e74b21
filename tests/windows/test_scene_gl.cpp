// The scene in a real GL context: a failed bitmap read, the frame guards
// and re-initialisation in a new context.
#include "scene/desktop_texture.h"
#include "scene/water_saver.h"
#include "settings/reg_settings.h"
#include "shell/shell.h"
#include "test_reg_settings_support.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

// A hidden window with a current RGBA context (null when none could be made).
struct gl_window {
    HWND window;
    HDC dc;
    HGLRC context = nullptr;
    gl_window(int width, int height)
    {
        WNDCLASSA window_class = {};
        window_class.lpfnWndProc = DefWindowProcA;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = "scene_gl_test";
        RegisterClassA(&window_class); // fails harmlessly when already registered
        window = CreateWindowA("scene_gl_test", "", WS_POPUP, 0, 0, width, height, nullptr,
                               nullptr, window_class.hInstance, nullptr);
        dc = GetDC(window);
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

GLint bound_texture_width()
{
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    return width;
}

TEST(DesktopTexture, UnreadableBitmapIsLoggedAndGivesOneBlackPixel)
{
    gl_window window(64, 64);
    ASSERT_TRUE(window.context);
    const HBITMAP unreadable[] = {nullptr, static_cast<HBITMAP>(GetStockObject(BLACK_BRUSH))};
    for (HBITMAP bitmap : unreadable) {
        SCOPED_TRACE(bitmap ? "a brush" : "no bitmap");
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        settings_test::log_watch log;
        EXPECT_FALSE(upload_desktop_texture(bitmap));
        EXPECT_EQ(log.added(), "ERROR: can't set bitmap\n");
        ASSERT_EQ(bound_texture_width(), 1);
        unsigned char pixel[3] = {1, 1, 1};
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixel);
        EXPECT_EQ(pixel[0] | pixel[1] | pixel[2], 0);
        glDeleteTextures(1, &texture);
    }
}

// A scene set up in a 64 x 64 window with the given slider settings.
class SceneFrames : public ::testing::Test {
protected:
    void set_up_scene(const char* quality, const char* amp)
    {
        ASSERT_TRUE(window.context);
        app_settings.set_string("quality", quality);
        app_settings.set_string("amp", amp);
        app_settings.set_string("radial", "1");
        scene = std::make_unique<water_saver>();
        ASSERT_TRUE(scene->init_data());
        screen_width = screen_height = 64;
        ASSERT_TRUE(scene->init_gl());
        scene->resize(64, 64);
    }
    void TearDown() override
    {
        app_settings.set_string("quality", "50");
        app_settings.set_string("amp", "25");
        screen_width = screen_height = 64;
    }

    gl_window window{64, 64};
    std::unique_ptr<water_saver> scene;
};

TEST_F(SceneFrames, DrawWithoutGridTouchesNothing)
{
    ASSERT_TRUE(window.context);
    water_saver empty;
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    empty.draw(0.5f);
    unsigned char pixel[3] = {};
    glReadPixels(32, 32, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[2], 0);
}

TEST_F(SceneFrames, OddGridCentreIsNotDisplaced)
{
    set_up_scene("52", "100"); // a 61 x 61 grid, the largest waves
    ASSERT_EQ(scene->grid_vertices().size(), 61u * 61u);
    scene->draw(0.3f);
    const mesh_vertex& centre = scene->grid_vertices()[30 * 61 + 30];
    EXPECT_FLOAT_EQ(centre.u, 0.5f);
    EXPECT_FLOAT_EQ(centre.v, 0.5f);
    EXPECT_NE(scene->grid_vertices()[0].u, 0.0f); // the waves do move the others
}

TEST_F(SceneFrames, ZeroSizedClientKeepsTheLastCoordinates)
{
    set_up_scene("50", "100");
    const int sizes[][2] = {{0, 64}, {64, 0}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size[0] << " x " << size[1]);
        screen_width = screen_height = 64;
        scene->draw(0.2f);
        const std::vector<mesh_vertex> before = scene->grid_vertices();
        screen_width = size[0];
        screen_height = size[1];
        scene->draw(0.7f);
        ASSERT_EQ(scene->grid_vertices().size(), before.size());
        EXPECT_EQ(0, std::memcmp(scene->grid_vertices().data(), before.data(),
                                 before.size() * sizeof before[0]));
    }
}

TEST_F(SceneFrames, NewContextGetsTextureAndGridForItsSize)
{
    set_up_scene("0", "25"); // a 20 x 20 grid
    scene->draw(1.0f);
    const float phase = scene->phase();
    gl_window second(32, 48);
    ASSERT_TRUE(second.context);
    screen_width = 32;
    screen_height = 48;
    ASSERT_TRUE(scene->init_gl());
    GLint texture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    EXPECT_EQ(glIsTexture(texture), GL_TRUE);
    EXPECT_EQ(bound_texture_width(), 1024); // the captured desktop, not a stand-in
    ASSERT_EQ(scene->grid_vertices().size(), 400u);
    EXPECT_FLOAT_EQ(scene->grid_vertices().back().x, 32.0f);
    EXPECT_FLOAT_EQ(scene->grid_vertices().back().y, 48.0f);
    EXPECT_FLOAT_EQ(scene->phase(), phase); // the waves carry on
}

} // namespace
