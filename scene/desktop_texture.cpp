#include "scene/desktop_texture.h"

#include "scene/desktop_pixels.h"
#include "shell/run_log.h"

#include <GL/gl.h>

bool upload_desktop_texture(HBITMAP bitmap)
{
    rgb_picture picture;
    const bool read = read_rgb_picture(bitmap, picture);
    if (!read) {
        log_write("ERROR: can't set bitmap\n");
        picture.width = 1;
        picture.height = 1;
        picture.pixels.assign(3, 0);
    }
    // Rows are packed without padding.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, picture.width, picture.height, 0, GL_RGB,
                 GL_UNSIGNED_BYTE, picture.pixels.data());
    return read;
}
