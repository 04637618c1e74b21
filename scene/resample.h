// Scaling of 24-bit pictures with a tent (linear) filter whose width follows
// the scale, so that shrinking averages every source pixel instead of
// skipping most of them.
#pragma once
#include <cstddef>
#include <cstdint>

// Rows of 3-byte pixels: the first row, the bytes from one row to the next,
// and the size in pixels.
template <typename byte>
struct rows_of {
    byte* data;
    std::size_t stride;
    int width;
    int height;
};
using pixel_rows = rows_of<std::uint8_t>;
using const_pixel_rows = rows_of<const std::uint8_t>;

// Scales `from` into `to`, channel by channel; row order and channel order
// are kept. The same size copies the pixels unchanged.
void resample_rgb(const const_pixel_rows& from, const pixel_rows& to);
