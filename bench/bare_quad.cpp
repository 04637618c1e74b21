// The floor for the whole-run benchmarks: the screensaver's capture and
// texture upload, then one textured quad over the window, swapped and paced
// by the screensaver's own pacing for the mode. No settings, no grid, no
// waves, no font lists: what is left is the cost of showing the picture.
//   bare_quad [SECONDS [MODE [HWND]]]   ends on a key or button press, or after SECONDS
// MODE: s a screensaver run over the virtual screen (the default), d the
// demonstration there, w the demonstration's 640 x 480 window, p a preview
// in the client area of the window HWND.
#include "scene/desktop_pixels.h"
#include "scene/desktop_texture.h"
#include "shell/frame_pacer.h"
#include "shell/gl_api.h"
#include "shell/monitor_refresh.h"
#include "shell/monitors.h"
#include "shell/pixel_format.h"
#include "shell/run_log.h"
#include "shell/window_dc.h"

#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>

// The library's warnings go to a log of this program's own.
static run_log bare_log("bare_quad.log");

namespace {

bool running = true;
view_pacer pacer;

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

// One frame: the picture as one quad over the window, shown and paced.
void draw_quad(HDC dc, float w, float h)
{
    const std::int64_t start = read_counter();
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
    pacer.show_frame(dc, start);
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
    const char mode = __argc > 2 ? __argv[2][0] : 's';
    HWND parent = mode == 'p' && __argc > 3 ? reinterpret_cast<HWND>(std::atoll(__argv[3])) : nullptr;

    // Captured before the window covers the desktop, as the screensaver does.
    const screen_rect area = virtual_screen();
    screen_rect place = area;
    DWORD style = WS_POPUP;
    if (mode == 'w') {
        place = {CW_USEDEFAULT, CW_USEDEFAULT, 640, 480};
        style = WS_OVERLAPPEDWINDOW;
    } else if (mode == 'p') {
        RECT client = {};
        if (!GetClientRect(parent, &client))
            return fail("GetClientRect");
        place = {0, 0, client.right, client.bottom};
        style = WS_CHILD;
    }
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
    HWND window = CreateWindowExA(0, window_class.lpszClassName, "Bare quad", style, place.x, place.y,
                                  place.width, place.height, parent, nullptr, instance, nullptr);
    if (!window)
        return fail("CreateWindow");
    window_dc held_dc(window);
    HDC dc = held_dc.get();
    if (!dc || !set_pixel_format(dc))
        return fail("pixel format");
    if (load_gl())
        return fail("opengl32");
    HGLRC context = wglCreateContext(dc);
    if (!context || !wglMakeCurrent(dc, context))
        return fail("GL context");
    ShowWindow(window, show_command);
    RECT client = {};
    GetClientRect(window, &client);
    const int width = client.right, height = client.bottom;

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
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, width, height, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    MSG message;
    pacer.start(dc, mode == 'p' ? pace_mode::preview : mode == 's' ? pace_mode::screensaver : pace_mode::demonstration,
                monitor_refresh(window_monitor(window, mode == 's' || mode == 'd')), false);
    while (running) {
        if (pacer.frame_due())
            draw_quad(dc, w, h);
        else
            pacer.wait_for_frame();
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (limit_ms && GetTickCount() - start >= limit_ms)
            running = false;
    }

    pacer.end();
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
    held_dc = window_dc();
    DestroyWindow(window);
    return 1;
}
