#include "shell/preview_view.h"

#include "shell/shell.h"
#include "shell/shell_calls.h"

small_view preview_view;
preview_scene preview_drawn;

bool preview_scene::start(int width, int height)
{
    screen_width = width;
    screen_height = height;
    if (shell_calls.init_scene() != 0)
        return false;
    gl_resize(width, height);
    return true;
}

void preview_scene::draw(float seconds)
{
    gl_draw(seconds);
}
