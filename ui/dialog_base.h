// A small framework for modal dialogs: a dialog object is bound to the
// window the platform builds from a template, and one shared dialog
// procedure turns that window's messages into calls of the object's
// handlers.
#pragma once
#include <windows.h>

class dialog_base {
public:
    dialog_base() = default;
    virtual ~dialog_base() = default;
    dialog_base(const dialog_base&) = delete;
    dialog_base& operator=(const dialog_base&) = delete;

    // Shows the dialog of template `template_id` in `instance`, owned by
    // `parent` (may be null), and returns what a handler passed to
    // EndDialog: -1 when the dialog cannot be created, 0 at once for
    // template 0. The object must stay put until this returns.
    INT_PTR run(HINSTANCE instance, HWND parent, int template_id);

    // The control operations address controls of the bound dialog by
    // identifier; they are valid from on_init until the dialog has ended.
    LRESULT set_slider_range(int id, int min, int max, bool redraw);
    void set_slider_pos(int id, int pos, bool redraw);
    int get_slider_pos(int id);
    // The control's text, at most 1022 characters, in a buffer shared by
    // every dialog and overwritten by the next call; "" when it is missing.
    const char* get_item_text(int id);
    BOOL set_item_text(int id, const char* text);
    void show_item(int id, bool visible);
    // True only for a ticked box: clear and indeterminate give false.
    bool is_checked(int id);
    BOOL set_checked(int id, int flag);

protected:
    // Called once on WM_INITDIALOG, after the binding; 0 cancels at once.
    virtual int on_init() = 0;
    // Every message not routed elsewhere; 0 lets the default handling run.
    virtual int on_message(UINT message, WPARAM wparam, LPARAM lparam) = 0;
    // WM_COMMAND, split into the identifier and the notification code.
    virtual int on_command(int id, int code) = 0;
    // The close command, and a failed on_init.
    virtual int on_cancel() = 0;
    // Never called by the framework; subclasses call it for IDOK.
    virtual int on_ok() = 0;

    // The bound dialog window: null until WM_INITDIALOG, then kept (stale
    // once run has returned).
    HWND dialog_window = nullptr;

    friend INT_PTR CALLBACK dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
};

// The dialog procedure shared by every dialog_base object.
INT_PTR CALLBACK dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
