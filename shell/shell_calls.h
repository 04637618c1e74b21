// The calls of start-up that can fail, the report of a failed step, and the
// render window's default handling: each starts as the scene's, the shell's
// or the system's own; tests put stand-ins in their place to reach what no
// real run shows.
#pragma once
#include <windows.h>

#include "shell/fatal_error.h"
#include "shell/shell.h"

struct shell_call_table {
    int (*prepare_scene)() = gl_data;
    int(WINAPI* choose_format)(HDC, const PIXELFORMATDESCRIPTOR*) = ChoosePixelFormat;
    BOOL(WINAPI* set_format)(HDC, int, const PIXELFORMATDESCRIPTOR*) = SetPixelFormat;
    HGLRC(WINAPI* create_context)(HDC) = wglCreateContext;
    BOOL(WINAPI* make_current)(HDC, HGLRC) = wglMakeCurrent;
    BOOL(WINAPI* font_bitmaps)(HDC, DWORD, DWORD, DWORD) = wglUseFontBitmapsA;
    int (*init_scene)() = gl_init;
    void (*report)(const char*) = fatal_error;
    LRESULT(WINAPI* default_proc)(HWND, UINT, WPARAM, LPARAM) = DefWindowProcA;
};

extern shell_call_table shell_calls;
