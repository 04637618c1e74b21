// The scene's Windows side: reading the captured bitmap, the capture
// itself, the texture upload and the frame guards, in a real GL context.
#include "scene/desktop_pixels.h"
#include "scene/desktop_texture.h"
#include "scene/water_saver.h"
#include "settings/reg_settings.h"
#include "shell/shell.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A width x height 24-bit DIB section whose pixel (x, y), y counted from
// the top, is colour_of(x, y) as 0xRRGGBB. Rows are stored top-down when
// top_down is set, bottom-up otherwise.
template <typename Colour>
HBITMAP make_bitmap(int width, int height, bool top_down, Colour colour_of)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = top_down ? -height : height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    const int stride = (width * 3 + 3) & ~3;
    for (int y = 0; y < height; ++y) {
        const int stored_row = top_down ? y : height - 1 - y;
        unsigned char* row = static_cast<unsigned char*>(bits) + stored_row * stride;
        for (int x = 0; x < width; ++x) {
            const unsigned colour = colour_of(x, y);
            row[x * 3] = colour & 0xff;             // blue
            row[x * 3 + 1] = (colour >> 8) & 0xff;  // green
            row[x * 3 + 2] = (colour >> 16) & 0xff; // red
        }
    }
    GdiFlush();
    return bitmap;
}

// Red top half, blue bottom half, a green first column.
unsigned test_colour(int x, int y, int height)
{
    if (x == 0)
        return 0x00ff00;
    return y < height / 2 ? 0xff0000 : 0x0000ff;
}

unsigned rgb_at(const std::vector<unsigned char>& pixels, std::size_t index)
{
    return pixels[index * 3] << 16 | pixels[index * 3 + 1] << 8 | pixels[index * 3 + 2];
}

std::string run_log_text()
{
    std::ifstream file("windows_tests.log");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::size_t count_of(const std::string& text, const std::string& line)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
        ++count;
    return count;
}

// A hidden window with a current double-buffered RGBA context.
class gl_window {
public:
    gl_window(int width, int height)
    {
        WNDCLASSA window_class = {};
        window_class.lpfnWndProc = DefWindowProcA;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = "scene_gl_test";
        RegisterClassA(&window_class);
        window = CreateWindowA("scene_gl_test", "scene test", WS_POPUP, 0, 0, width, height,
                               nullptr, nullptr, window_class.hInstance, nullptr);
        dc = window ? GetDC(window) : nullptr;
        PIXELFORMATDESCRIPTOR format = {};
        format.nSize = sizeof format;
        format.nVersion = 1;
        format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        format.iPixelType = PFD_TYPE_RGBA;
        format.cColorBits = 24;
        if (dc && SetPixelFormat(dc, ChoosePixelFormat(dc, &format), &format))
            context = wglCreateContext(dc);
        if (context)
            wglMakeCurrent(dc, context);
    }
    ~gl_window()
    {
        wglMakeCurrent(nullptr, nullptr);
        if (context)
            wglDeleteContext(context);
        if (dc)
            ReleaseDC(window, dc);
        if (window)
            DestroyWindow(window);
    }
    bool ready() const { return context != nullptr; }

private:
    HWND window = nullptr;
    HDC dc = nullptr;
    HGLRC context = nullptr;
};

TEST(DesktopPixels, BottomRowFirstAsRedGreenBlue)
{
    for (bool top_down : {false, true}) {
        SCOPED_TRACE(top_down ? "top-down bitmap" : "bottom-up bitmap");
        HBITMAP bitmap = make_bitmap(5, 4, top_down, [](int x, int y) { return test_colour(x, y, 4); });
        ASSERT_NE(bitmap, nullptr);
        rgb_picture picture;
        ASSERT_TRUE(read_rgb_picture(bitmap, picture));
        EXPECT_EQ(picture.width, 5);
        EXPECT_EQ(picture.height, 4);
        ASSERT_EQ(picture.pixels.size(), 5u * 4 * 3); // packed, no row padding
        EXPECT_EQ(rgb_at(picture.pixels, 1), 0x0000ffu);          // bottom row: blue
        EXPECT_EQ(rgb_at(picture.pixels, 3 * 5 + 4), 0xff0000u);  // top row: red
        EXPECT_EQ(rgb_at(picture.pixels, 3 * 5), 0x00ff00u);      // green column
        DeleteObject(bitmap);
    }
}

TEST(DesktopPixels, UnreadableBitmapLeavesNoPicture)
{
    rgb_picture picture;
    picture.width = 3;
    picture.pixels.assign(9, 1);
    EXPECT_FALSE(read_rgb_picture(nullptr, picture));
    EXPECT_EQ(picture.width, 0);
    EXPECT_TRUE(picture.pixels.empty());
    EXPECT_FALSE(read_rgb_picture(reinterpret_cast<HBITMAP>(GetStockObject(BLACK_BRUSH)), picture));
    EXPECT_TRUE(picture.pixels.empty());
}

TEST(CaptureDesktop, SquareTwentyFourBitBitmapFreeOfAnyContext)
{
    water_saver scene;
    HBITMAP bitmap = scene.capture_desktop(1024, 1024);
    ASSERT_NE(bitmap, nullptr);
    DIBSECTION section = {};
    ASSERT_EQ(GetObjectA(bitmap, sizeof section, &section), static_cast<int>(sizeof section));
    EXPECT_EQ(section.dsBm.bmWidth, 1024);
    EXPECT_EQ(section.dsBm.bmHeight, 1024);
    EXPECT_EQ(section.dsBm.bmBitsPixel, 24);
    EXPECT_GT(section.dsBmih.biHeight, 0); // bottom-up rows
    // A bitmap still selected into the capture's context could not be
    // selected into another one.
    HDC other = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(other, bitmap);
    EXPECT_NE(previous, nullptr);
    SelectObject(other, previous);
    DeleteDC(other);
    DeleteObject(bitmap);
}

TEST(CaptureDesktop, FailedSectionIsLoggedAndGivesNull)
{
    water_saver scene;
    const std::size_t before = count_of(run_log_text(), "WARNING: create DIB section!\n");
    EXPECT_EQ(scene.capture_desktop(0, 0), nullptr);
    EXPECT_EQ(count_of(run_log_text(), "WARNING: create DIB section!\n"), before + 1);
}

TEST(DesktopTexture, TextureHoldsPictureUprightInItsColours)
{
    gl_window window(64, 64);
    ASSERT_TRUE(window.ready());
    HBITMAP bitmap = make_bitmap(8, 8, false, [](int x, int y) { return test_colour(x, y, 8); });
    ASSERT_NE(bitmap, nullptr);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    EXPECT_TRUE(upload_desktop_texture(bitmap));

    std::vector<unsigned char> back(8 * 8 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, back.data());
    EXPECT_EQ(rgb_at(back, 3), 0x0000ffu);         // t = 0: the bottom row, blue
    EXPECT_EQ(rgb_at(back, 7 * 8 + 3), 0xff0000u); // t = 1: the top row, red
    EXPECT_EQ(rgb_at(back, 4 * 8), 0x00ff00u);
    glDeleteTextures(1, &texture);
    DeleteObject(bitmap);
}

TEST(DesktopTexture, UnreadableBitmapIsLoggedAndGivesABlackPixel)
{
    gl_window window(64, 64);
    ASSERT_TRUE(window.ready());
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const std::size_t before = count_of(run_log_text(), "ERROR: can't set bitmap\n");
    EXPECT_FALSE(upload_desktop_texture(nullptr));
    EXPECT_EQ(count_of(run_log_text(), "ERROR: can't set bitmap\n"), before + 1);
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 1);
    glDeleteTextures(1, &texture);
}

// A scene set up in a 64 x 64 window with the given slider settings.
class SceneFrames : public ::testing::Test {
protected:
    void set_up_scene(const char* quality, const char* amp)
    {
        app_settings.set_string("quality", quality);
        app_settings.set_string("amp", amp);
        app_settings.set_string("radial", "1");
        scene = std::make_unique<water_saver>();
        ASSERT_TRUE(scene->init_data());
        screen_width = 64;
        screen_height = 64;
        ASSERT_TRUE(scene->init_gl());
        scene->resize(64, 64);
    }
    void TearDown() override
    {
        app_settings.set_string("quality", "50");
        app_settings.set_string("amp", "25");
    }

    gl_window window{64, 64};
    std::unique_ptr<water_saver> scene;
};

TEST_F(SceneFrames, DrawWithoutGridTouchesNothing)
{
    ASSERT_TRUE(window.ready());
    water_saver empty;
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    empty.draw(0.5f);
    unsigned char pixel[3] = {};
    glReadPixels(32, 32, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[2], 0);
    EXPECT_TRUE(empty.grid_vertices().empty());
}

TEST_F(SceneFrames, OddGridCentreStaysFiniteAndUndisplaced)
{
    ASSERT_TRUE(window.ready());
    set_up_scene("52", "100"); // N = 61, amp 0.1
    ASSERT_EQ(scene->grid_vertices().size(), 61u * 61u);
    scene->draw(0.3f);
    const mesh_vertex& centre = scene->grid_vertices()[30 * 61 + 30];
    EXPECT_FLOAT_EQ(centre.u, 0.5f);
    EXPECT_FLOAT_EQ(centre.v, 0.5f);
    for (const mesh_vertex& vertex : scene->grid_vertices())
        ASSERT_TRUE(std::isfinite(vertex.u) && std::isfinite(vertex.v));
    // The waves do move the others.
    const mesh_vertex& corner = scene->grid_vertices()[0];
    EXPECT_NE(corner.u, 0.0f);
}

TEST_F(SceneFrames, ZeroSizedClientKeepsTheLastCoordinates)
{
    ASSERT_TRUE(window.ready());
    set_up_scene("50", "100");
    scene->draw(0.2f);
    const std::vector<mesh_vertex> before = scene->grid_vertices();
    screen_width = 0;
    scene->draw(0.7f);
    screen_width = 64;
    screen_height = 0;
    scene->draw(0.7f);
    ASSERT_EQ(scene->grid_vertices().size(), before.size());
    EXPECT_EQ(std::memcmp(scene->grid_vertices().data(), before.data(),
                          before.size() * sizeof(mesh_vertex)),
              0);
}

TEST_F(SceneFrames, NewContextGetsTextureAndGridForItsSize)
{
    ASSERT_TRUE(window.ready());
    set_up_scene("0", "25"); // N = 20
    scene->draw(1.0f);
    const float phase = scene->phase();
    {
        gl_window second(32, 48);
        ASSERT_TRUE(second.ready());
        screen_width = 32;
        screen_height = 48;
        ASSERT_TRUE(scene->init_gl());
        EXPECT_NE(scene->texture_name(), 0u);
        EXPECT_EQ(glIsTexture(scene->texture_name()), GL_TRUE);
        ASSERT_EQ(scene->grid_vertices().size(), 400u);
        EXPECT_EQ(scene->grid_index_count(), 2166u);
        EXPECT_FLOAT_EQ(scene->grid_vertices().back().x, 32.0f);
        EXPECT_FLOAT_EQ(scene->grid_vertices().back().y, 48.0f);
        EXPECT_FLOAT_EQ(scene->phase(), phase); // the waves carry on
    }
}

} // namespace
