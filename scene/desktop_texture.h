#pragma once
#include <windows.h>

// Fills the bound GL_TEXTURE_2D with the bitmap's picture as 8-bit RGB,
// bottom row first (texture t = 0 is the picture's bottom). When the bitmap
// cannot be read the failure is logged and the texture gets one black
// pixel. The pixel copy is freed once OpenGL holds it.
// True when the bitmap's own picture was uploaded.
bool upload_desktop_texture(HBITMAP bitmap);
