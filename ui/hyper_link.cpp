#include "ui/hyper_link.h"
#include <shellapi.h>
#include <cstring>

HCURSOR hand_cursor = nullptr;
link_open_function link_open = ShellExecuteA;
link_beep_function link_beep = MessageBeep;

namespace {

constexpr char link_class_name[] = "STATIC_HYPER";
// The hand cursor inside winhlp32.exe, for systems without IDC_HAND.
constexpr int help_hand_cursor = 106;

hyper_link* bound_link(HWND window)
{
    return reinterpret_cast<hyper_link*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

} // namespace

hyper_link_class::hyper_link_class()
{
    WNDCLASSA link_class = {};
    link_class.lpfnWndProc = hyper_link_proc;
    link_class.cbWndExtra = 4;
    link_class.lpszClassName = link_class_name;
    // A failure shows later: attach cannot create the window.
    RegisterClassA(&link_class);

    hand_cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)); // IDC_HAND
    if (hand_cursor)
        return;

    char path[MAX_PATH];
    UINT length = GetWindowsDirectoryA(path, sizeof path);
    constexpr char help_program[] = "\\winhlp32.exe";
    if (length == 0 || length + sizeof help_program > sizeof path)
        return;
    std::memcpy(path + length, help_program, sizeof help_program);
    cursor_module = LoadLibraryA(path);
    if (cursor_module)
        hand_cursor = LoadCursorA(cursor_module, MAKEINTRESOURCEA(help_hand_cursor));
}

hyper_link_class::~hyper_link_class()
{
    if (cursor_module)
        FreeLibrary(cursor_module);
}

hyper_link::~hyper_link()
{
    if (link_window && IsWindow(link_window) && bound_link(link_window) == this)
        DestroyWindow(link_window);
}

bool hyper_link::attach(int id, HWND dialog)
{
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        return link_window != nullptr;

    char text[256] = {};
    GetWindowTextA(control, text, sizeof text);

    RECT area;
    GetWindowRect(control, &area);
    POINT top_left = {area.left, area.top};
    POINT bottom_right = {area.right, area.bottom};
    ScreenToClient(dialog, &top_left);
    ScreenToClient(dialog, &bottom_right);
    area = {top_left.x, top_left.y, bottom_right.x, bottom_right.y};

    if (create(area, text, dialog))
        DestroyWindow(control);
    return link_window != nullptr;
}

bool hyper_link::create(const RECT& area, const char* text, HWND parent)
{
    if (text)
        caption = text;
    link_window = CreateWindowExA(0, link_class_name, caption.c_str(), WS_CHILD | WS_VISIBLE,
                                  area.left, area.top, area.right - area.left,
                                  area.bottom - area.top, parent, nullptr, nullptr, nullptr);
    // Bound before the modal loop can hand the window any input.
    if (link_window)
        SetWindowLongPtrA(link_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return link_window != nullptr;
}

namespace {

void paint_link(HWND window, HDC dc, const hyper_link& link)
{
    RECT client;
    GetClientRect(window, &client);
    HFONT font = CreateFontA(16, 7, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, ANSI_CHARSET, 0, 0, 0, 0,
                             "Arial");
    HGDIOBJ old_font = font ? SelectObject(dc, font) : nullptr;
    SetTextColor(dc, RGB(0, 0, 200));
    SetBkMode(dc, TRANSPARENT);
    // Not single-line: the text starts at the top, each line centred.
    DrawTextA(dc, link.text().c_str(), static_cast<int>(link.text().size()), &client,
              DT_CENTER | DT_VCENTER);
    if (font) {
        SelectObject(dc, old_font);
        DeleteObject(font);
    }
}

} // namespace

LRESULT CALLBACK hyper_link_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    hyper_link* link = bound_link(window);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (!link) {
            EndPaint(window, &paint);
            return 0;
        }
        paint_link(window, dc, *link);
        EndPaint(window, &paint);
        return 1;
    }
    case WM_SETCURSOR:
        if (hand_cursor)
            SetCursor(hand_cursor);
        DefWindowProcA(window, message, wparam, lparam);
        return 1;
    case WM_MOUSEMOVE:
        return 1;
    case WM_LBUTTONDOWN:
        if (link) {
            HINSTANCE result = link_open(nullptr, "open", link->text().c_str(), nullptr,
                                         nullptr, SW_SHOWNORMAL);
            if (reinterpret_cast<INT_PTR>(result) <= 32)
                link_beep(MB_OK);
        }
        return 1;
    default:
        // The default answers: text, font and accessibility queries get true ones.
        return DefWindowProcA(window, message, wparam, lparam);
    }
}
