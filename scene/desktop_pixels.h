#pragma once
#include "scene/desktop_picture.h"
#include "shell/screen_rect.h"

#include <windows.h>

// A 24-bit, uncompressed description with bottom-up rows (positive
// height), as the capture makes and the read asks for.
BITMAPINFO bottom_up_24bit_info(int width, int height);

// Reads a bitmap (not selected into any device context) into `picture`.
// False, with the picture left empty, when the bitmap cannot be read.
bool read_desktop_picture(HBITMAP bitmap, desktop_picture& picture);

// `area` of the virtual screen copied one to one into a 24-bit DIB section,
// or null; each failure is logged.
HBITMAP capture_desktop(const screen_rect& area);
// The capture of what a screen change brought: capture_desktop, or the
// tests' stand-in, which sees every area taken.
extern HBITMAP (*capture_new_part)(const screen_rect& area);
