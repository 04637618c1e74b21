#pragma once
#include <windows.h>

// The screen's device context, released on every path out.
class screen_dc {
public:
    screen_dc() : dc(GetDC(nullptr)) {}
    ~screen_dc()
    {
        if (dc)
            ReleaseDC(nullptr, dc);
    }
    screen_dc(const screen_dc&) = delete;
    screen_dc& operator=(const screen_dc&) = delete;
    HDC get() const { return dc; }

private:
    HDC dc;
};
