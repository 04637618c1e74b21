#include "ui/water_pane.h"

#include "scene/water_saver.h"
#include "shell/frame_pacer.h"
#include "shell/frame_tick.h"
#include "shell/frames_drawn_message.h"
#include "shell/gl_api.h"
#include "shell/pixel_format.h"
#include "shell/run_log.h"
#include "shell/shell.h"

#include <string>

namespace {

constexpr UINT_PTR frame_timer = 1;

water_pane* bound_pane(HWND window)
{
    return reinterpret_cast<water_pane*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// The system's words for `error`, on one line.
std::string error_text(DWORD error)
{
    char* text = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0x400, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string words = length && text ? std::string(text, length) : "error " + std::to_string(error);
    if (text)
        LocalFree(text);
    while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' ' || words.back() == '.'))
        words.pop_back();
    return words;
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
    char text[128] = "";
    GetWindowTextA(window, text, sizeof text);
    const HGDIOBJ font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(GetParent(window), WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, font);
}

} // namespace

bool register_water_pane()
{
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = water_pane_proc;
    window_class.hInstance = app_instance;
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.lpszClassName = water_pane_class;
    return RegisterClassExA(&window_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

water_pane::~water_pane()
{
    if (window && IsWindow(window)) {
        KillTimer(window, frame_timer);
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
    release();
}

bool water_pane::attach(HWND pane_window, const water_settings& settings)
{
    window = pane_window;
    if (!window)
        return false;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    app_scene.use_settings(settings);
    if (!start())
        return false;
    SetTimer(window, frame_timer, pane_frame_ms, nullptr);
    return true;
}

bool water_pane::start()
{
    release();
    if (const char* failed = set_up()) {
        // First, before any other call can change it.
        const DWORD error = GetLastError();
        release();
        log_write("WARNING: the settings dialog shows no water: %s failed (%s)\n", failed,
                  error ? error_text(error).c_str() : "no reason given");
        SetWindowTextA(window, pane_without_gl_text);
        InvalidateRect(window, nullptr, TRUE);
        return false;
    }
    last_tick = read_counter();
    return true;
}

const char* water_pane::set_up()
{
    if (const char* failed = load_gl())
        return failed;
    RECT client;
    GetClientRect(window, &client);
    width = client.right;
    height = client.bottom;
    bitmap_dc = CreateCompatibleDC(nullptr);
    if (!bitmap_dc)
        return "CreateCompatibleDC";
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // from the bottom row up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap = CreateDIBSection(bitmap_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return "CreateDIBSection";
    first_bitmap = SelectObject(bitmap_dc, bitmap);
    PIXELFORMATDESCRIPTOR format = bitmap_pixel_format();
    const int index = ChoosePixelFormat(bitmap_dc, &format);
    if (index == 0)
        return "ChoosePixelFormat";
    if (!SetPixelFormat(bitmap_dc, index, &format))
        return "SetPixelFormat";
    context = gl.wglCreateContext(bitmap_dc);
    if (!context)
        return "wglCreateContext";
    if (!gl.wglMakeCurrent(bitmap_dc, context))
        return "wglMakeCurrent";
    // The scene fills the pane as it fills a preview: the whole picture,
    // from a texture of about the pane's size.
    SetLastError(0);
    if (!app_scene.init_gl({width, height, {}, true}))
        return "gl_init";
    app_scene.resize(width, height);
    return nullptr;
}

void water_pane::use(const water_settings& settings)
{
    app_scene.use_settings(settings);
}

void water_pane::draw_frame(bool advance, HDC shown)
{
    if (gl.wglGetCurrentContext() != context)
        gl.wglMakeCurrent(bitmap_dc, context);
    const std::int64_t now = read_counter();
    app_scene.draw(advance ? frame_seconds(now, last_tick, counter_frequency()) : 0);
    frames += advance;
    last_tick = now;
    gl.glFinish();
    BitBlt(shown, 0, 0, width, height, bitmap_dc, 0, 0, SRCCOPY);
}

void water_pane::release()
{
    if (context) {
        gl.wglMakeCurrent(nullptr, nullptr);
        gl.wglDeleteContext(context);
        context = nullptr;
    }
    if (bitmap_dc) {
        if (first_bitmap)
            SelectObject(bitmap_dc, first_bitmap);
        DeleteDC(bitmap_dc);
        bitmap_dc = nullptr;
        first_bitmap = nullptr;
    }
    if (bitmap) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
}

LRESULT CALLBACK water_pane_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    water_pane* pane = bound_pane(window);
    switch (message) {
    case WM_TIMER:
        if (pane && wparam == frame_timer && pane->drawing()) {
            // Hidden or minimised, no frame is drawn and the water waits.
            if (seen(window)) {
                HDC dc = GetDC(window);
                pane->draw_frame(true, dc);
                ReleaseDC(window, dc);
            } else {
                pane->last_tick = read_counter();
            }
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (pane && pane->drawing())
            pane->draw_frame(false, dc);
        else
            paint_text(window, dc);
        EndPaint(window, &paint);
        return 0;
    }
    case frames_drawn_message:
        return pane ? pane->frames : 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        // A new size (the dialog scaled for another monitor's DPI) gets a
        // bitmap and a texture of about that size.
        if (pane && pane->drawing() && LOWORD(lparam) > 0 && HIWORD(lparam) > 0 &&
            (LOWORD(lparam) != pane->width || HIWORD(lparam) != pane->height) && !pane->start())
            KillTimer(window, frame_timer);
        return 0;
    case WM_DESTROY:
        if (pane) {
            KillTimer(window, frame_timer);
            pane->release();
        }
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}
