// The render window's display, followed in one place: the screen it covers,
// the refresh its frames are paced to, the power source and whether any
// display is on, each as the system announces a change.
#pragma once
#include <windows.h>

#include "shell/frame_pacer.h"

// The render window's frames.
extern view_pacer render_pacer;

// Once the window exists: asks the system for the display state and the
// power source (WM_POWERBROADCAST), which it sends at once and on every
// change (on Windows 7, which lacks the display state, for the monitors'
// power), and notes the screen the window was made for.
void watch_display(HWND window);
// Once its scene is set up: the window's frames start, paced for its mode on
// the monitor that holds most of it.
void start_frames(HDC dc, pace_mode mode);
// From the main loop: a window now mostly on another monitor (dragged there,
// or its preview host was) is paced for that monitor.
void follow_window_monitor();
// The window goes: its frames end, and the notifications with them.
void stop_watching();
// Whether a display is on and the session unlocked, as the system last
// told the window.
bool someone_may_look();
// What tells of the display: WM_DISPLAYCHANGE (a new screen, a new refresh,
// a burst of them taken as one once still for a moment), its timer,
// WM_POWERBROADCAST and WM_WTSSESSION_CHANGE. True when handled, with the
// window procedure's answer.
bool display_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& answer);
