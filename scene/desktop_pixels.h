#pragma once
#include <windows.h>

#include <vector>

// A picture as tightly packed 8-bit red, green, blue triples, bottom row
// first: the layout an RGB texture upload reads.
struct rgb_picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};

// A 24-bit, uncompressed description with bottom-up rows (positive
// height), as the capture makes and the texture reads.
BITMAPINFO bottom_up_24bit_info(int width, int height);

// Reads a bitmap (not selected into any device context) as RGB rows.
// False, with the picture left empty, when the bitmap cannot be read.
bool read_rgb_picture(HBITMAP bitmap, rgb_picture& picture);
