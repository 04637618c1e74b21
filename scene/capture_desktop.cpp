// The one picture the scene animates: the display as it was at start-up.
#include "scene/desktop_pixels.h"
#include "scene/water_saver.h"
#include "shell/run_log.h"

HBITMAP water_saver::capture_desktop(int width, int height)
{
    HDC desk_dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (!desk_dc) {
        log_write("WARNING: can't get desk dc\n");
        return nullptr;
    }

    HDC memory_dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    try {
        const int desk_width = GetDeviceCaps(desk_dc, HORZRES);
        const int desk_height = GetDeviceCaps(desk_dc, VERTRES);

        const BITMAPINFO info = bottom_up_24bit_info(width, height);

        memory_dc = CreateCompatibleDC(desk_dc);
        if (!memory_dc)
            throw "WARNING: can't create dc\n";
        void* bits = nullptr;
        bitmap = CreateDIBSection(memory_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap)
            throw "WARNING: create DIB section!\n";
        previous = SelectObject(memory_dc, bitmap);

        // Averaging rather than the default AND of dropped pixels, which
        // would smear dark seams into a squeezed desktop.
        SetStretchBltMode(memory_dc, HALFTONE);
        SetBrushOrgEx(memory_dc, 0, 0, nullptr);
        if (!StretchBlt(memory_dc, 0, 0, width, height, desk_dc, 0, 0, desk_width, desk_height,
                        SRCCOPY))
            throw "WARNING: can't copy dc!\n";
    } catch (const char* text) {
        log_write("%s", text);
    }

    DeleteDC(desk_dc);
    if (previous)
        SelectObject(memory_dc, previous);
    if (memory_dc)
        DeleteDC(memory_dc);
    return bitmap;
}
