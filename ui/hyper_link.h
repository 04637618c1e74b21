// A clickable web link for dialogs: a window of class "STATIC_HYPER" that
// takes the place of a static text control, draws its caption blue and
// underlined under a hand cursor, and asks the shell to open it on a click.
#pragma once
#include <windows.h>
#include <string>

// Registers "STATIC_HYPER" and loads the hand cursor; one per process,
// constructed before anything else.
class hyper_link_class {
public:
    hyper_link_class();
    virtual ~hyper_link_class();
    hyper_link_class(const hyper_link_class&) = delete;
    hyper_link_class& operator=(const hyper_link_class&) = delete;

private:
    // The module that gave the fallback hand cursor, if one was loaded.
    HMODULE cursor_module = nullptr;
};

extern hyper_link_class app_link_class;

// The cursor every link window shows; null when none could be loaded.
extern HCURSOR hand_cursor;

class hyper_link {
public:
    hyper_link() = default;
    virtual ~hyper_link();
    hyper_link(const hyper_link&) = delete;
    hyper_link& operator=(const hyper_link&) = delete;

    // Replaces the static control `id` of `dialog` by a link window over the
    // same rectangle with the same caption (at most 255 characters).
    // Returns whether the link window exists.
    bool attach(int id, HWND dialog);
    // Creates the link window at `area` (parent client coordinates);
    // a null text keeps the caption as it is.
    bool create(const RECT& area, const char* text, HWND parent);

    HWND window() const { return link_window; }
    const std::string& text() const { return caption; }

private:
    friend LRESULT CALLBACK hyper_link_proc(HWND, UINT, WPARAM, LPARAM);

    std::string caption;
    HWND link_window = nullptr;
};

LRESULT CALLBACK hyper_link_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// How a click opens the caption and how a failure is signalled: the shell
// and the default beep, replaceable by tests.
using link_open_function = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
using link_beep_function = BOOL(WINAPI*)(UINT);
extern link_open_function link_open;
extern link_beep_function link_beep;
