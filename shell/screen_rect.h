// A rectangle of the screen or of a window, in pixels.
#pragma once

struct screen_rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const screen_rect& other) const
    {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
    bool operator!=(const screen_rect& other) const { return !(*this == other); }
};
