#pragma once
#include <windows.h>

// RGBA with a 16-bit depth buffer, drawn where `flags` say, in
// `colour_bits` of colour.
inline PIXELFORMATDESCRIPTOR pixel_format(DWORD flags, BYTE colour_bits)
{
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = flags;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = colour_bits;
    format.cDepthBits = 16;
    format.iLayerType = PFD_MAIN_PLANE;
    return format;
}

// Double-buffered, 16-bit colour: what every render window asks for.
inline PIXELFORMATDESCRIPTOR render_pixel_format()
{
    return pixel_format(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER, 16);
}

// A 32-bit bitmap the scene can draw into and GDI can copy from.
inline PIXELFORMATDESCRIPTOR bitmap_pixel_format()
{
    return pixel_format(PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL | PFD_SUPPORT_GDI, 32);
}
