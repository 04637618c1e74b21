#include "ui/water_pane.h"

#include "res/resource_ids.h"
#include "scene/water_saver.h"
#include "shell/error_text.h"
#include "shell/frame_pacer.h"
#include "shell/frame_time.h"
#include "shell/frames_drawn_message.h"
#include "shell/local_text.h"
#include "shell/run_log.h"
#include "shell/shell.h"

namespace {

constexpr UINT_PTR frame_timer = 1;

water_pane* bound_pane(HWND window)
{
    return reinterpret_cast<water_pane*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// The dialog can be seen: the pane and its ancestors shown, the dialog not
// minimised.
bool seen(HWND window)
{
    return IsWindowVisible(window) && !IsIconic(GetAncestor(window, GA_ROOT));
}

void paint_text(HWND window, HDC dc)
{
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    const HGDIOBJ font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(GetParent(window), WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, font);
}

} // namespace

bool register_water_pane()
{
    // A wide window: its text is the user's language whatever the ANSI
    // code page.
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = water_pane_proc;
    window_class.hInstance = app_instance;
    window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    window_class.lpszClassName = water_pane_class;
    return RegisterClassExW(&window_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool pane_scene::start(int width, int height)
{
    if (!app_scene.init_gl({width, height, {}, true}))
        return false;
    app_scene.resize(width, height);
    return true;
}

void pane_scene::draw(float seconds)
{
    app_scene.draw(seconds);
}

water_pane::~water_pane()
{
    if (window && IsWindow(window)) {
        KillTimer(window, frame_timer);
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
}

bool water_pane::attach(HWND pane_window, const water_settings& settings)
{
    window = pane_window;
    if (!window)
        return false;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    app_scene.use_settings(settings);
    if (!report(view.start(window, scene)))
        return false;
    viewers.start(window);
    SetTimer(window, frame_timer, pane_frame_ms, nullptr);
    return true;
}

bool water_pane::report(const char* failed)
{
    if (!failed) {
        last_frame = read_counter();
        return true;
    }
    // First, before any other call can change it.
    const DWORD error = GetLastError();
    view.release();
    KillTimer(window, frame_timer);
    log_write("WARNING: the settings dialog shows no water: %s failed (%s)\n", failed,
              error ? error_text(error).c_str() : "no reason given");
    SetWindowTextW(window, local_text(IDS_PANE_WITHOUT_GL).c_str());
    InvalidateRect(window, nullptr, TRUE);
    return false;
}

void water_pane::use(const water_settings& settings)
{
    app_scene.use_settings(settings);
}

LRESULT CALLBACK water_pane_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    water_pane* pane = bound_pane(window);
    switch (message) {
    case WM_TIMER:
        if (pane && wparam == frame_timer && pane->drawing()) {
            // Hidden or minimised, no frame is drawn and the water waits.
            const std::int64_t now = read_counter();
            if (seen(window) && pane->viewers.someone_may_look()) {
                HDC dc = GetDC(window);
                pane->view.draw(frame_seconds(now, pane->last_frame, counter_frequency()), dc);
                ReleaseDC(window, dc);
            }
            pane->last_frame = now;
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (pane && pane->drawing())
            pane->view.show(dc);
        else
            paint_text(window, dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_POWERBROADCAST:
    case WM_WTSSESSION_CHANGE:
        if (pane && pane->viewers.follow(message, wparam, lparam))
            return TRUE;
        break;
    case frames_drawn_message:
        return pane ? pane->view.frames() : 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        // A new size (the dialog scaled for another monitor's DPI) gets a
        // bitmap and a texture of about that size.
        if (pane && pane->drawing() && LOWORD(lparam) > 0 && HIWORD(lparam) > 0)
            pane->report(pane->view.resize(LOWORD(lparam), HIWORD(lparam)));
        return 0;
    case WM_DESTROY:
        if (pane) {
            KillTimer(window, frame_timer);
            pane->viewers.stop();
            pane->view.release();
        }
        break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}
