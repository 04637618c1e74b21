// The shell's hooks, carried out by the scene object.
#include "scene/water_saver.h"
#include "shell/frame_pacer.h"
#include "shell/shell.h"
#include "shell/shell_state.h"

int gl_data()
{
    return app_scene.init_data() ? 0 : 1;
}

int gl_init()
{
    last_frame_start = read_counter();
    return app_scene.init_gl({screen_width, screen_height, screen_monitors, screen_preview}) ? 0 : 1;
}

void gl_draw(float seconds)
{
    app_scene.draw(seconds);
}

void gl_resize(int width, int height)
{
    app_scene.resize(width, height);
}

void gl_input(input_action action, int code, int x, int y)
{
    app_scene.input(action, code, x, y);
}

void gl_screen(const screen_rect& window, const screen_rect& screen)
{
    app_scene.follow_screen(window, screen);
}
