// The desktop's picture: taken when the run starts, and followed when the
// screen changes under a window of ours.
#include "scene/water_saver.h"

#include "shell/monitors.h"

bool water_saver::take_picture()
{
    picture_area = virtual_screen();
    HBITMAP bitmap = capture_desktop(picture_area);
    if (!bitmap)
        return false;
    // The picture is kept once, as read; an unreadable one is logged when a
    // window uploads it.
    read_desktop_picture(bitmap, picture);
    DeleteObject(bitmap);
    return true;
}

void water_saver::follow_screen(const screen_rect& window, const screen_rect& screen)
{
    desktop_picture next = blank_picture(screen.width, screen.height);
    paste_picture(next, screen, picture, picture_area);
    for (const screen_rect& part : uncovered_parts(screen, window)) {
        desktop_picture taken;
        if (HBITMAP bitmap = capture_new_part(part)) {
            read_desktop_picture(bitmap, taken);
            DeleteObject(bitmap);
        }
        paste_picture(next, screen, taken, part);
    }
    picture = std::move(next);
    picture_area = screen;
}

void water_saver::follow_current_screen()
{
    // The screen changed under another mode (Tab to the window and back):
    // the picture follows it first, taken again only outside its old area.
    const screen_rect screen = virtual_screen();
    if (!target.monitors.empty() && screen != picture_area && screen.width > 0 && screen.height > 0)
        follow_screen(picture_area, screen);
}
