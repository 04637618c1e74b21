// The floor for the whole-run benchmark: the screensaver's capture and
// texture upload, then one textured quad over the virtual screen, swapped
// and followed by the same 9 ms sleep each frame. No settings, no grid, no
// waves, no font lists: what is left is the cost of showing the picture.
//   bare_quad [SECONDS]   ends on a key or button press, or after SECONDS
#include "scene/desktop_pixels.h"
#include "scene/desktop_texture.h"
#include "shell/gl_api.h"
#include "shell/monitors.h"
#include "shell/pixel_format.h"
#include "shell/run_log.h"

#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>

// The library's warnings go to a log of this program's own.
static run_log bare_log("bare_quad.log");

namespace {

bool running = true;

// The capture the screensaver makes, read into the kept picture.
bool capture(const screen_rect& area, desktop_picture& picture)
{
    HBITMAP bitmap = capture_desktop(area);
    const bool read = read_desktop_picture(bitmap, picture);
    if (bitmap)
        DeleteObject(bitmap);
    return read;
}

LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_CLOSE:
        running = false;
        return 0;
    case WM_SYSCOMMAND:
        if (wparam == SC_SCREENSAVE || wparam == SC_MONITORPOWER)
            return 0;
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

// The render window's pixel format.
bool set_pixel_format(HDC dc)
{
    const PIXELFORMATDESCRIPTOR format = render_pixel_format();
    const int index = ChoosePixelFormat(dc, &format);
    return index != 0 && SetPixelFormat(dc, index, &format);
}

int fail(const char* step)
{
    log_write("ERROR: %s failed\n", step);
    return 2;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command)
{
    const DWORD limit_ms = __argc > 1 ? static_cast<DWORD>(std::atof(__argv[1]) * 1000) : 0;
    const DWORD start = GetTickCount();

    // Captured before the window covers the desktop, as the screensaver does.
    const screen_rect area = virtual_screen();
    desktop_picture picture;
    if (!capture(area, picture))
        log_write("WARNING: capture failed\n"); // the upload shows black then

    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = window_proc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.lpszClassName = "bare quad";
    if (!RegisterClassExA(&window_class))
        return fail("RegisterClassEx");
    HWND window = CreateWindowExA(0, window_class.lpszClassName, "Bare quad", WS_POPUP, area.x,
                                  area.y, area.width, area.height, nullptr, nullptr, instance,
                                  nullptr);
    if (!window)
        return fail("CreateWindow");
    HDC dc = GetDC(window);
    if (!dc || !set_pixel_format(dc))
        return fail("pixel format");
    if (load_gl())
        return fail("opengl32");
    HGLRC context = wglCreateContext(dc);
    if (!context || !wglMakeCurrent(dc, context))
        return fail("GL context");
    ShowWindow(window, show_command);

    glClearColor(0, 0, 0, 1);
    glDepthMask(GL_FALSE);
    glEnable(GL_TEXTURE_2D);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    upload_picture(picture, {0, 0, picture.width, picture.height},
                   plan_texture(read_gl_capabilities(), picture.width, picture.height, picture.width,
                                picture.height, false));

    // One unit per pixel, origin top-left, as the scene's projection.
    glViewport(0, 0, area.width, area.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, area.width, area.height, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    const float w = static_cast<float>(area.width);
    const float h = static_cast<float>(area.height);
    MSG message;
    while (running) {
        glClear(GL_COLOR_BUFFER_BIT);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 1);
        glVertex2f(0, 0);
        glTexCoord2f(1, 1);
        glVertex2f(w, 0);
        glTexCoord2f(1, 0);
        glVertex2f(w, h);
        glTexCoord2f(0, 0);
        glVertex2f(0, h);
        glEnd();
        SwapBuffers(dc);
        Sleep(9);
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (limit_ms && GetTickCount() - start >= limit_ms)
            running = false;
    }

    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
    ReleaseDC(window, dc);
    DestroyWindow(window);
    return 1;
}
