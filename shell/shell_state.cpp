#include "shell/shell.h"
#include "shell/shell_calls.h"
#include "shell/shell_state.h"

HINSTANCE app_instance;
int screen_width;
int screen_height;
std::vector<screen_rect> screen_monitors;
bool screen_preview;

bool screensaver_mode;
HWND preview_parent;
HWND main_window;
window_dc render_dc;
HGLRC gl_context;
bool window_active;
bool recreate_window;
std::int64_t last_frame_start;
bool scene_ready;
bool shell_teardown;
HFONT window_font;
bool covers_screen;
screen_rect window_place;

shell_call_table shell_calls;
