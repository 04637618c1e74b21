// Whether anyone could be looking at a window's water, beyond the window
// being shown: a display on and the session not locked. The window asks for
// the system's messages that say so and passes them here.
#pragma once
#include <windows.h>

class viewer_watch {
public:
    viewer_watch() = default;
    ~viewer_watch() { stop(); }
    viewer_watch(const viewer_watch&) = delete;
    viewer_watch& operator=(const viewer_watch&) = delete;

    // `window` is told of the displays' state (the monitors' power on
    // Windows 7, which has no display state) and of the session's lock.
    void start(HWND window);
    void stop();
    // Takes WM_POWERBROADCAST and WM_WTSSESSION_CHANGE; true when the
    // message was one of those it follows.
    bool follow(UINT message, WPARAM wparam, LPARAM lparam);
    bool someone_may_look() const { return displays_on_ && !locked_; }

private:
    HWND window_ = nullptr;
    HPOWERNOTIFY displays_ = nullptr;
    bool session_ = false; // told of the session's lock
    bool displays_on_ = true;
    bool locked_ = false;
};
