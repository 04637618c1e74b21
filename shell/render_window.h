#pragma once
#include <windows.h>

// Window class of the render window.
constexpr char render_class_name[] = "opengl demo";

// Double-buffered RGBA, 16-bit colour and depth: what every render window asks for.
PIXELFORMATDESCRIPTOR render_pixel_format();
bool register_render_class();
LRESULT CALLBACK render_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
