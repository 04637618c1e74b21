#pragma once
#include <windows.h>

// Window class of the render window.
constexpr char render_class_name[] = "opengl demo";

bool register_render_class();
LRESULT CALLBACK render_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
