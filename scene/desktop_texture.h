#pragma once
#include "scene/desktop_pixels.h"
#include "scene/texture_plan.h"
#include "shell/screen_rect.h"

// What the current GL context takes: non-power-of-two sizes, largest side.
texture_limits query_texture_limits();

// Fills the bound GL_TEXTURE_2D with `part` of the picture (top-left origin),
// at the part's own size when `limits` allow it, else scaled into a
// power-of-two square. With `mipmaps`, every smaller level too, for a
// picture shown smaller than its size. Edges are clamped, so waves that
// reach past them stretch the border pixels. An empty picture is logged and
// gives one black pixel. True when the picture's own pixels were uploaded.
bool upload_picture(const desktop_picture& picture, screen_rect part, texture_limits limits,
                    bool mipmaps);
