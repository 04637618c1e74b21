#include "ui/dialog_base.h"
#include <cstring>

namespace {

// Holds the latest get_item_text result, shared by all dialogs.
char item_text_buffer[1024];

dialog_base* bound_dialog(HWND window)
{
    return reinterpret_cast<dialog_base*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

} // namespace

INT_PTR dialog_base::run(HINSTANCE instance, HWND parent, int template_id)
{
    if (template_id == 0)
        return 0;
    // A wide dialog: the template's texts reach the controls as they are,
    // whatever the ANSI code page.
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(template_id), parent, dialog_proc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_INITDIALOG) {
        dialog_base* dialog = reinterpret_cast<dialog_base*>(lparam);
        if (!dialog)
            return FALSE;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(dialog));
        dialog->dialog_window = window;
        // FALSE after a good set-up: the focus stays where on_init left it.
        if (dialog->on_init())
            return FALSE;
        return dialog->on_cancel();
    }

    // Messages sent before WM_INITDIALOG (WM_SETFONT, ...) find no object.
    dialog_base* dialog = bound_dialog(window);
    if (!dialog)
        return FALSE;

    switch (message) {
    case WM_COMMAND:
        return dialog->on_command(LOWORD(wparam), HIWORD(wparam));
    case WM_SYSCOMMAND:
        // Only the close command is ours; moving, minimising and the
        // system menu are left to the platform.
        if (wparam == SC_CLOSE)
            return dialog->on_cancel();
        return FALSE;
    default:
        return dialog->on_message(message, wparam, lparam);
    }
}

LRESULT dialog_base::set_slider_range(int id, int min, int max, bool redraw)
{
    HWND control = GetDlgItem(dialog_window, id);
    if (!control)
        return 0;
    // Each bound cut to 16 bits: min in the low word, max in the high word.
    DWORD range = (static_cast<DWORD>(min) & 0xFFFF) | ((static_cast<DWORD>(max) & 0xFFFF) << 16);
    return SendMessageA(control, WM_USER + 6, redraw ? 1 : 0, range);
}

void dialog_base::set_slider_pos(int id, int pos, bool redraw)
{
    HWND control = GetDlgItem(dialog_window, id);
    if (control)
        SendMessageA(control, WM_USER + 5, redraw ? 1 : 0, pos);
}

int dialog_base::get_slider_pos(int id)
{
    HWND control = GetDlgItem(dialog_window, id);
    if (!control)
        return 0;
    return static_cast<int>(SendMessageA(control, WM_USER, 0, 0));
}

const char* dialog_base::get_item_text(int id)
{
    std::memset(item_text_buffer, 0, sizeof item_text_buffer);
    if (GetDlgItem(dialog_window, id))
        GetDlgItemTextA(dialog_window, id, item_text_buffer, sizeof item_text_buffer - 1);
    return item_text_buffer;
}

BOOL dialog_base::set_item_text(int id, const char* text)
{
    if (!GetDlgItem(dialog_window, id))
        return 0;
    return SetDlgItemTextA(dialog_window, id, text);
}

void dialog_base::show_item(int id, bool visible)
{
    HWND control = GetDlgItem(dialog_window, id);
    if (control)
        ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

bool dialog_base::is_checked(int id)
{
    if (!GetDlgItem(dialog_window, id))
        return false;
    return IsDlgButtonChecked(dialog_window, id) == BST_CHECKED;
}

BOOL dialog_base::set_checked(int id, int flag)
{
    if (!GetDlgItem(dialog_window, id))
        return 0;
    return CheckDlgButton(dialog_window, id, flag ? BST_CHECKED : BST_UNCHECKED);
}
