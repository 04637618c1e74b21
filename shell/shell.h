// The interface between the shell and the scene: the five hooks through
// which the shell drives the scene, and the size the scene is to fill.
#pragma once
#include "shell/screen_rect.h"

#include <windows.h>

#include <vector>

// 0 = success. Called once per process, before any window exists.
int gl_data();
// What a window asks the scene to fill: its client size, the monitors'
// parts of a full-screen window in its client coordinates (empty: one
// picture over the whole client area), and whether it is shown small (a
// preview, the settings dialog's pane: a texture of about its size, and no
// pointer of its own).
struct scene_target {
    int width = 0;
    int height = 0;
    std::vector<screen_rect> monitors;
    bool shown_small = false;
};

// 0 = success. Called in every new render window, its GL context current;
// the scene fills what the globals below say.
int gl_init();
// Once per frame with the seconds since the previous frame.
void gl_draw(float seconds);
// After gl_init and on every size message (0 x 0 while minimised).
void gl_resize(int width, int height);
// What reached the render window: a button (code 0 the left, 1 the right)
// went down or up, the mouse moved, or a key (code: its virtual key) went
// up. x and y in the client area; -1 for a key.
enum input_action : int { input_press = 0, input_release = 1, input_move = 2, input_key = 4 };
void gl_input(input_action action, int code, int x, int y);
// The virtual screen became `screen` under a full-screen window that covers
// `window`; called before the window follows it and gl_init runs again.
void gl_screen(const screen_rect& window, const screen_rect& screen);

extern HINSTANCE app_instance;

// The size the scene is to fill, in pixels: the mode's size before the
// window exists, its client size from the first size message on.
extern int screen_width;
extern int screen_height;
// The monitors' parts of a full-screen window, in its client coordinates,
// set before the window is created; empty in the other modes, where the
// scene fills the whole client area.
extern std::vector<screen_rect> screen_monitors;
// The render window is a preview: small, inside the host's window.
extern bool screen_preview;
