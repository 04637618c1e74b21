#include "shell/window_cycle.h"

#include "shell/display_watch.h"
#include "shell/fatal_error.h"
#include "shell/frame_time.h"
#include "shell/gl_api.h"
#include "shell/monitor_layout.h"
#include "shell/monitors.h"
#include "shell/preview_view.h"
#include "shell/render_window.h"
#include "shell/shell.h"
#include "shell/run_log.h"
#include "shell/shell_calls.h"
#include "shell/shell_state.h"

namespace {

constexpr char window_title[] = "Quillmere";
constexpr int window_width = 640;
constexpr int window_height = 480;

// How long an idle loop (minimised, hidden, displays off) sleeps at most
// before it looks again at what no message announces: a preview host that
// went away or shows its window again.
constexpr DWORD idle_look_ms = 100;

// Sets screen_width, screen_height and screen_monitors for the mode and picks
// the window's place and styles. False after a reported failure.
bool choose_size(bool full_screen, screen_rect& place, DWORD& style, DWORD& ex_style)
{
    screen_monitors.clear();
    screen_preview = !full_screen && preview_parent;
    place = {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};
    ex_style = 0;
    if (full_screen) {
        // One window over every monitor: the whole virtual screen.
        place = virtual_screen();
        screen_monitors = monitor_views(display_monitors(), place);
        style = WS_POPUP;
        // A screensaver run hides everything, "always on top" windows too.
        if (screensaver_mode && !preview_parent)
            ex_style = WS_EX_TOPMOST;
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
    covers_screen = full_screen;
    window_place = place;
    return true;
}

// The counter when the window was created; 0 once its first frame is shown.
std::int64_t created_at;

// One frame: advance the scene by the time since the last, and show it in
// its time. A preview's is drawn by its small view and put into the window
// with GDI once its time has come (the swap of a window without a context
// returns at once).
void run_frame()
{
    const std::int64_t start = read_counter();
    const float seconds = frame_seconds(start, last_frame_start, counter_frequency());
    last_frame_start = start;
    if (preview_parent)
        preview_view.render(seconds);
    else
        gl_draw(seconds);
    render_pacer.show_frame(render_dc.get(), start);
    if (preview_parent)
        preview_view.show(render_dc.get());
    if (created_at) {
        // What the host waits for before its preview moves.
        log_write("First frame %lld ms after the window's creation\n",
                  static_cast<long long>(counter_microseconds(read_counter() - created_at, counter_frequency()) / 1000));
        created_at = 0;
    }
}

// Whether anyone can see the window: shown, its top-level window not
// minimised (a preview's host can be either), a display on and the
// session unlocked.
bool seen()
{
    return someone_may_look() && IsWindowVisible(main_window) && !IsIconic(GetAncestor(main_window, GA_ROOT));
}

// Runs until the quit message and returns its code. Frames are drawn only
// while the window is seen, not minimised and its scene is set up, each
// when it is due; between them, and while nothing is drawn, the loop waits
// for messages without spinning. A preview ends as soon as its host's
// window is gone, whether or not our window was told.
int run_main_loop()
{
    MSG message;
    for (;;) {
        if (preview_parent && !IsWindow(preview_parent))
            return 1;
        if (window_active && scene_ready && seen()) {
            follow_window_monitor();
            if (render_pacer.frame_due())
                run_frame();
            else
                render_pacer.wait_for_frame();
        } else {
            render_pacer.pause();
            MsgWaitForMultipleObjectsEx(0, nullptr, idle_look_ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
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
    stop_watching();
    preview_view.release();
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

        DWORD style = 0, ex_style = 0;
        screen_rect place;
        if (!choose_size(full_screen, place, style, ex_style))
            return 0;
        created_at = read_counter() | 1; // never 0 while the first frame is awaited
        main_window = CreateWindowExA(ex_style, render_class_name, window_title, style, place.x, place.y,
                                      place.width, place.height, preview_parent, nullptr,
                                      app_instance, nullptr);
        if (!main_window) {
            fatal_error("CreateWindow");
            return 0;
        }
        watch_display(main_window);
        if (scene_ready)
            start_frames(preview_parent ? preview_view.gl_dc() : render_dc.get(), screen_preview ? pace_mode::preview
                                          : screensaver_mode ? pace_mode::screensaver
                                                             : pace_mode::demonstration);
        ShowWindow(main_window, show_command);

        int exit_code = run_main_loop();
        tear_down_window();
        if (!recreate_window)
            return exit_code;
        full_screen = !full_screen;
    }
}
