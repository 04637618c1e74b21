#include "shell/window_cycle.h"

#include "shell/fatal_error.h"
#include "shell/frame_tick.h"
#include "shell/gl_api.h"
#include "shell/monitor_layout.h"
#include "shell/monitors.h"
#include "shell/render_window.h"
#include "shell/shell.h"
#include "shell/shell_state.h"

namespace {

constexpr char window_title[] = "Quillmere";
constexpr int window_width = 640;
constexpr int window_height = 480;

// Sets screen_width, screen_height and screen_monitors for the mode and picks
// the window's place and style. False after a reported failure.
bool choose_size(bool full_screen, screen_rect& place, DWORD& style)
{
    screen_monitors.clear();
    place = {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};
    if (full_screen) {
        // One window over every monitor: the whole virtual screen.
        place = virtual_screen();
        screen_monitors = monitor_views(display_monitors(), place);
        style = WS_POPUP;
    } else if (preview_parent) {
        RECT client;
        if (!GetClientRect(preview_parent, &client)) {
            fatal_error("GetClientRect");
            return false;
        }
        place.width = client.right;
        place.height = client.bottom;
        style = WS_CHILD;
    } else {
        place.width = window_width;
        place.height = window_height;
        style = WS_OVERLAPPEDWINDOW;
    }
    screen_width = place.width;
    screen_height = place.height;
    return true;
}

// One frame: advance the scene by the time since the last, show it.
void run_frame()
{
    DWORD now = GetTickCount();
    gl_draw(frame_seconds(now, last_tick));
    last_tick = now;
    SwapBuffers(render_dc.get());
    if (screensaver_mode)
        Sleep(9);
}

// Runs until the quit message and returns its code. Frames are drawn only
// while the window is not minimised and its scene is set up; otherwise the
// loop blocks for the next message.
int run_main_loop()
{
    MSG message;
    for (;;) {
        if (window_active && scene_ready) {
            run_frame();
        } else {
            BOOL got = GetMessageA(&message, nullptr, 0, 0);
            if (got == 0)
                return static_cast<int>(message.wParam);
            if (got < 0)
                return 0;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return static_cast<int>(message.wParam);
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

// Releases the context and the device context, then the window; each handle
// is forgotten so that a later window never releases it twice.
void tear_down_window()
{
    gl.wglMakeCurrent(nullptr, nullptr);
    render_dc = window_dc();
    if (gl_context) {
        gl.wglDeleteContext(gl_context);
        gl_context = nullptr;
    }
    if (window_font) {
        DeleteObject(window_font);
        window_font = nullptr;
    }
    if (main_window) {
        shell_teardown = true;
        DestroyWindow(main_window);
        shell_teardown = false;
        main_window = nullptr;
    }
}

} // namespace

int run_window_cycle(bool full_screen, int show_command)
{
    for (;;) {
        recreate_window = false;
        scene_ready = false;

        DWORD style = 0;
        screen_rect place;
        if (!choose_size(full_screen, place, style))
            return 0;
        main_window = CreateWindowExA(0, render_class_name, window_title, style, place.x, place.y,
                                      place.width, place.height, preview_parent, nullptr,
                                      app_instance, nullptr);
        if (!main_window) {
            fatal_error("CreateWindow");
            return 0;
        }
        ShowWindow(main_window, show_command);

        int exit_code = run_main_loop();
        tear_down_window();
        if (!recreate_window)
            return exit_code;
        full_screen = !full_screen;
    }
}
