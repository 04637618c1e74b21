#include "scene/desktop_pixels.h"

#include "scene/screen_dc.h"

namespace {

// Larger than any virtual screen; keeps the buffer size in range.
constexpr int largest_side = 32768;

} // namespace

BITMAPINFO bottom_up_24bit_info(int width, int height)
{
    BITMAPINFO info;
    ZeroMemory(&info, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

bool read_desktop_picture(HBITMAP bitmap, desktop_picture& picture)
{
    picture = desktop_picture{};
    BITMAP header = {};
    if (!bitmap || GetObjectA(bitmap, sizeof header, &header) != sizeof header)
        return false;
    const int width = header.bmWidth;
    const int height = header.bmHeight < 0 ? -header.bmHeight : header.bmHeight;
    if (width <= 0 || height <= 0 || width > largest_side || height > largest_side)
        return false;

    BITMAPINFO info = bottom_up_24bit_info(width, height);
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::vector<unsigned char> rows(stride * static_cast<std::size_t>(height));
    screen_dc dc;
    if (!dc.get() || GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(height), rows.data(), &info,
                               DIB_RGB_COLORS) != height)
        return false;
    picture.width = width;
    picture.height = height;
    picture.stride = stride;
    picture.rows = std::move(rows);
    return true;
}
