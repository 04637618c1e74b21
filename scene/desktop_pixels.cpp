#include "scene/desktop_pixels.h"

namespace {

// Larger than any display we squeeze; keeps the buffer size in range.
constexpr int largest_side = 16384;

// Releases the screen DC on every path out.
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

bool read_rgb_picture(HBITMAP bitmap, rgb_picture& picture)
{
    picture = rgb_picture{};
    BITMAP header = {};
    if (!bitmap || GetObjectA(bitmap, sizeof header, &header) != sizeof header)
        return false;
    const int width = header.bmWidth;
    const int height = header.bmHeight < 0 ? -header.bmHeight : header.bmHeight;
    if (width <= 0 || height <= 0 || width > largest_side || height > largest_side)
        return false;

    // Ask GDI for bottom-up 24-bit rows: each row is padded to 4 bytes and
    // holds blue, green, red.
    BITMAPINFO info = bottom_up_24bit_info(width, height);
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::vector<unsigned char> rows(stride * static_cast<std::size_t>(height));

    screen_dc dc;
    if (!dc.get())
        return false;
    if (GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(height), rows.data(), &info,
                  DIB_RGB_COLORS) != height)
        return false;

    std::vector<unsigned char> packed(static_cast<std::size_t>(width) * height * 3);
    unsigned char* out = packed.data();
    for (int row = 0; row < height; ++row) {
        const unsigned char* in = rows.data() + stride * static_cast<std::size_t>(row);
        for (int column = 0; column < width; ++column, in += 3) {
            *out++ = in[2];
            *out++ = in[1];
            *out++ = in[0];
        }
    }
    picture.width = width;
    picture.height = height;
    picture.pixels = std::move(packed);
    return true;
}
