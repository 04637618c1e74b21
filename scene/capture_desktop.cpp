// The one picture the scene animates: the virtual screen, every monitor,
// as it was at start-up, copied one to one.
#include "scene/desktop_pixels.h"
#include "scene/screen_dc.h"
#include "shell/run_log.h"

HBITMAP capture_desktop(const screen_rect& area)
{
    // The screen DC maps virtual-screen coordinates, negative ones left of or
    // above the primary monitor included.
    screen_dc desk;
    if (!desk.get()) {
        log_write("WARNING: can't get desk dc\n");
        return nullptr;
    }

    HDC memory_dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    try {
        const BITMAPINFO info = bottom_up_24bit_info(area.width, area.height);
        memory_dc = CreateCompatibleDC(desk.get());
        if (!memory_dc)
            throw "WARNING: can't create dc\n";
        void* bits = nullptr;
        bitmap = CreateDIBSection(memory_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap)
            throw "WARNING: create DIB section!\n";
        previous = SelectObject(memory_dc, bitmap);
        if (!BitBlt(memory_dc, 0, 0, area.width, area.height, desk.get(), area.x, area.y, SRCCOPY))
            throw "WARNING: can't copy dc!\n";
    } catch (const char* text) {
        log_write("%s", text);
    }

    if (previous)
        SelectObject(memory_dc, previous);
    if (memory_dc)
        DeleteDC(memory_dc);
    return bitmap;
}

HBITMAP (*capture_new_part)(const screen_rect& area) = capture_desktop;
