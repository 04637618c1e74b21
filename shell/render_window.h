#pragma once
#include <windows.h>

// Window class of the render window.
constexpr char render_class_name[] = "opengl demo";

bool register_render_class();
// Asks for the display state (WM_POWERBROADCAST), which the system sends
// at once and on every change, and on Windows 7, which lacks it, for the
// monitors' power; displays_on follows either.
void watch_display_state(HWND window);
LRESULT CALLBACK render_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
