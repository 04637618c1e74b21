// The calls of start-up that can fail, the report of a failed step, the
// render window's default handling and its monitor's refresh: each starts as
// the scene's, the shell's or the system's own; tests put stand-ins in their
// place to reach what no real run shows.
#pragma once
#include <windows.h>

#include "shell/fatal_error.h"
#include "shell/gl_api.h"
#include "shell/monitor_refresh.h"
#include "shell/shell.h"

struct shell_call_table {
    const char* (*load_gl)() = ::load_gl;
    int (*prepare_scene)() = gl_data;
    int(WINAPI* choose_format)(HDC, const PIXELFORMATDESCRIPTOR*) = ChoosePixelFormat;
    BOOL(WINAPI* set_format)(HDC, int, const PIXELFORMATDESCRIPTOR*) = SetPixelFormat;
    HGLRC (*create_context)(HDC) = [](HDC dc) { return gl.wglCreateContext(dc); };
    BOOL (*make_current)(HDC, HGLRC) = [](HDC dc, HGLRC context) { return gl.wglMakeCurrent(dc, context); };
    BOOL (*font_bitmaps)(HDC, DWORD, DWORD, DWORD) = [](HDC dc, DWORD first, DWORD count, DWORD base) {
        return gl.wglUseFontBitmapsA(dc, first, count, base);
    };
    int (*init_scene)() = gl_init;
    void (*report)(const char*) = fatal_error;
    LRESULT(WINAPI* default_proc)(HWND, UINT, WPARAM, LPARAM) = DefWindowProcA;
    HMONITOR (*window_monitor)(HWND, bool) = ::window_monitor;
    double (*monitor_refresh)(HMONITOR) = ::monitor_refresh;
};

extern shell_call_table shell_calls;
