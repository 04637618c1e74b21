// The captured desktop, the one copy the scene keeps, and how it follows a
// screen that changes under a run.
#pragma once
#include "shell/screen_rect.h"

#include <cstddef>
#include <vector>

// 24-bit rows as GDI hands them out (blue, green, red; bottom row first;
// each row padded to a multiple of 4 bytes), which OpenGL reads as they are.
struct desktop_picture {
    int width = 0;
    int height = 0;
    std::size_t stride = 0; // bytes per row, padding included
    std::vector<unsigned char> rows;
};

// A black picture of that size.
desktop_picture blank_picture(int width, int height);

// Copies `from`, a picture of `from_area`, into `to`, a picture of
// `to_area` (both in virtual-screen coordinates), where the two overlap.
void paste_picture(desktop_picture& to, const screen_rect& to_area, const desktop_picture& from,
                   const screen_rect& from_area);

// The parts of `screen` outside `covered`: at most four rectangles (above,
// below, left and right of it), none when `covered` holds all of it.
std::vector<screen_rect> uncovered_parts(const screen_rect& screen, const screen_rect& covered);
