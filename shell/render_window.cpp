#include "shell/render_window.h"

#include "shell/display_watch.h"
#include "shell/frames_drawn_message.h"
#include "shell/gl_api.h"
#include "shell/pixel_format.h"
#include "shell/preview_view.h"
#include "shell/shell.h"
#include "shell/shell_calls.h"
#include "shell/shell_state.h"

namespace {

constexpr WPARAM key_tab = 9;
constexpr WPARAM key_escape = 27;
constexpr int list_count = 255;

// Only a screensaver run that is not a preview ends on a key or button.
void apply_quit_rule()
{
    if (screensaver_mode && !preview_parent)
        PostQuitMessage(1);
}

// Reports a failed step; the run then ends with exit code 0.
bool report_failure(const char* step)
{
    shell_calls.report(step);
    return false;
}

HFONT create_list_font()
{
    return CreateFontA(20, 0, 0, 0, 500, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       "Courier New");
}

// The window's own pixel format and GL context, current.
bool set_up_context(HDC dc)
{
    PIXELFORMATDESCRIPTOR format = render_pixel_format();
    int index = shell_calls.choose_format(dc, &format);
    if (index == 0)
        return report_failure("ChoosePixelFormat");
    if (!shell_calls.set_format(dc, index, &format))
        return report_failure("SetPixelFormat");
    gl_context = shell_calls.create_context(dc);
    if (!gl_context)
        return report_failure("wglCreateContext");
    if (!shell_calls.make_current(dc, gl_context))
        return report_failure("wglMakeCurrent");
    return true;
}

// Pixel format, GL context (a preview's: its small view's), font lists,
// then the scene. False when a step failed; each failure has been reported.
bool set_up_steps(HWND window)
{
    render_dc = window_dc(window);
    HDC dc = render_dc.get();
    if (!dc)
        return report_failure("GetDC");
    if (preview_parent) {
        if (const char* failed = preview_view.prepare(window))
            return report_failure(failed);
        dc = preview_view.gl_dc();
    } else if (!set_up_context(dc)) {
        return false;
    }

    GLuint list_base = gl.glGenLists(list_count);
    window_font = create_list_font();
    SelectObject(dc, window_font);
    // Reported, but the set-up goes on.
    bool fonts = shell_calls.font_bitmaps(dc, 1, list_count, list_base) ||
                 report_failure("wglUseFontBitmaps");

    if (preview_parent) {
        if (const char* failed = preview_view.begin(preview_drawn))
            return report_failure(failed);
    } else {
        if (shell_calls.init_scene() != 0)
            return report_failure("gl_init");
        gl_resize(screen_width, screen_height);
    }
    scene_ready = true;
    return fonts;
}

// The quit message goes out once the set-up is over: posted earlier, it
// would close the report of a later failure as soon as it opened.
void set_up_window(HWND window)
{
    if (!set_up_steps(window))
        PostQuitMessage(0);
}

int mouse_move_code(WPARAM buttons)
{
    if (buttons == MK_LBUTTON)
        return 0;
    if (buttons == MK_RBUTTON)
        return 1;
    return -1;
}

} // namespace

bool register_render_class()
{
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = render_window_proc;
    window_class.hInstance = app_instance;
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.lpszClassName = render_class_name;
    return RegisterClassExA(&window_class) != 0;
}

LRESULT CALLBACK render_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    int x = LOWORD(lparam);
    int y = HIWORD(lparam);
    LRESULT answer = 0;
    if (display_message(window, message, wparam, lparam, answer))
        return answer;
    switch (message) {
    case WM_CREATE:
        set_up_window(window);
        return 0;
    case WM_SIZE:
        if (wparam == SIZE_RESTORED || wparam == SIZE_MAXIMIZED)
            window_active = true;
        else if (wparam == SIZE_MINIMIZED)
            window_active = false;
        screen_width = x;
        screen_height = y;
        // A preview's view follows its window's size (a host may resize it).
        if (!preview_parent) {
            gl_resize(screen_width, screen_height);
        } else if (scene_ready && x > 0 && y > 0) {
            if (const char* failed = preview_view.resize(x, y)) {
                scene_ready = false;
                report_failure(failed);
                PostQuitMessage(0);
            }
        }
        return 0;
    case WM_KEYDOWN:
        apply_quit_rule();
        return 0;
    case WM_KEYUP:
        if (wparam == key_tab) {
            recreate_window = true;
            PostQuitMessage(1);
        } else if (wparam == key_escape) {
            PostQuitMessage(1);
        } else {
            gl_input(input_key, static_cast<int>(wparam), -1, -1);
        }
        return 0;
    case WM_CLOSE:
        PostQuitMessage(1);
        return 0;
    case WM_SYSCOMMAND:
        // The low four bits are the system's own. Powering the monitors
        // down is left to the system: refused, it would keep them lit all
        // night.
        if ((wparam & 0xFFF0) == SC_SCREENSAVE)
            return 0;
        break;
    case WM_MOUSEMOVE:
        gl_input(input_move, mouse_move_code(wparam), x, y);
        return 0;
    case WM_LBUTTONDOWN:
        apply_quit_rule();
        gl_input(input_press, 0, x, y);
        return 0;
    case WM_LBUTTONUP:
        gl_input(input_release, 0, x, y);
        return 0;
    case WM_RBUTTONDOWN:
        apply_quit_rule();
        gl_input(input_press, 1, x, y);
        return 0;
    case WM_RBUTTONUP:
        gl_input(input_release, 1, x, y);
        return 0;
    case frames_drawn_message:
        return render_pacer.frames_drawn();
    case WM_DESTROY:
        // Destroyed by someone else, the host closing a preview above all:
        // end the run rather than live on without a window.
        if (!shell_teardown && window == main_window) {
            main_window = nullptr;
            render_dc = window_dc();
            window_active = false;
            scene_ready = false;
            PostQuitMessage(1);
        }
        break;
    }
    return shell_calls.default_proc(window, message, wparam, lparam);
}
