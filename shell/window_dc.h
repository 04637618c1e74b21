// A window's device context, released by its holder: the DC of a render
// window goes when the holder is emptied or replaced, and at process exit.
#pragma once
#include <windows.h>

#include <utility>

class window_dc {
public:
    window_dc() = default;
    explicit window_dc(HWND window) : window(window), dc(GetDC(window)) {}
    ~window_dc()
    {
        if (dc)
            ReleaseDC(window, dc);
    }
    window_dc(const window_dc&) = delete;
    window_dc& operator=(const window_dc&) = delete;
    // Taking another DC releases the one held before.
    window_dc& operator=(window_dc&& other) noexcept
    {
        std::swap(window, other.window);
        std::swap(dc, other.dc);
        return *this;
    }
    HDC get() const { return dc; }

private:
    HWND window = nullptr;
    HDC dc = nullptr;
};
