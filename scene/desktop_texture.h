#pragma once
#include "scene/desktop_pixels.h"
#include "scene/texture_plan.h"
#include "shell/screen_rect.h"

// What the current GL context offers. Tests put a stand-in here to see
// what an older GL (Windows' own OpenGL 1.1) would get.
extern gl_capabilities (*read_gl_capabilities)();

// Fills the bound GL_TEXTURE_2D with `part` of the picture (top-left origin)
// as `plan` says: at its size (the part's own, or the part scaled with the
// tent filter), with every smaller level when it asks for mipmaps, clamped
// to the edge or (where the GL has no edge clamp) to its border. An empty
// picture is logged and gives one black pixel. True when the picture's own
// pixels were uploaded.
bool upload_picture(const desktop_picture& picture, screen_rect part, const texture_plan& plan);
