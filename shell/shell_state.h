// State shared by the window cycle, the main loop and the render window.
#pragma once
#include <windows.h>

#include <cstdint>

#include "shell/screen_rect.h"
#include "shell/window_dc.h"

extern bool screensaver_mode;   // any switch given: keys and buttons end the run
extern HWND preview_parent;     // host window of a preview, or 0
extern HWND main_window;
extern window_dc render_dc;     // the render window's, held until teardown
extern HGLRC gl_context;
extern bool window_active;      // not minimised
extern bool recreate_window;    // Tab asked for the other mode
extern std::int64_t last_frame_start; // the performance counter when the last frame started
extern bool scene_ready;        // gl_init succeeded in this window
extern bool shell_teardown;     // the shell itself is destroying the window
extern HFONT window_font;       // font of the display lists, one per window
extern bool covers_screen;      // the window is full screen: it follows the screen
extern screen_rect window_place; // where the window was put, in virtual-screen coordinates
