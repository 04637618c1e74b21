#include "scene/desktop_texture.h"

#include "scene/resample.h"
#include "shell/gl_api.h"
#include "shell/run_log.h"

#include <GL/glext.h>

#include <algorithm>
#include <vector>

namespace {

void upload_level(int level, int width, int height, const void* pixels)
{
    gl.glTexImage2D(GL_TEXTURE_2D, level, GL_RGB, width, height, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE,
                 pixels);
}

// A tightly packed buffer of `size` pixels.
struct level_buffer {
    texture_size size;
    std::vector<std::uint8_t> bytes;
    explicit level_buffer(texture_size s)
        : size(s), bytes(static_cast<std::size_t>(s.width) * s.height * 3) {}
    pixel_rows rows() { return {bytes.data(), std::size_t(size.width) * 3, size.width, size.height}; }
    const_pixel_rows const_rows() const
    {
        return {bytes.data(), std::size_t(size.width) * 3, size.width, size.height};
    }
};

screen_rect clip_to(const desktop_picture& picture, screen_rect part)
{
    const int left = std::clamp(part.x, 0, picture.width);
    const int top = std::clamp(part.y, 0, picture.height);
    const int right = std::clamp(part.x + std::max(part.width, 0), left, picture.width);
    const int bottom = std::clamp(part.y + std::max(part.height, 0), top, picture.height);
    return {left, top, right - left, bottom - top};
}

gl_capabilities query_gl_capabilities()
{
    GLint max_size = 0;
    gl.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_size);
    return read_capabilities(reinterpret_cast<const char*>(gl.glGetString(GL_VERSION)),
                             reinterpret_cast<const char*>(gl.glGetString(GL_EXTENSIONS)), max_size);
}

} // namespace

gl_capabilities (*read_gl_capabilities)() = query_gl_capabilities;

bool upload_picture(const desktop_picture& picture, screen_rect part, const texture_plan& plan)
{
    const bool mipmaps = plan.mipmaps;
    // GL_CLAMP_TO_EDGE is OpenGL 1.2: Windows' own 1.1 refuses it.
    const GLint wrap = plan.edge_clamp ? GL_CLAMP_TO_EDGE : GL_CLAMP;
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);

    part = clip_to(picture, part);
    if (picture.rows.empty() || part.width == 0 || part.height == 0) {
        log_write("ERROR: can't set bitmap\n");
        const std::uint8_t black[3] = {0, 0, 0};
        gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        upload_level(0, 1, 1, black);
        return false;
    }

    // The part's rows in memory: bottom row first, as the texture wants them.
    const std::size_t first_row = static_cast<std::size_t>(picture.height - part.y - part.height);
    const const_pixel_rows source{picture.rows.data() + first_row * picture.stride + std::size_t(part.x) * 3,
                                  picture.stride, part.width, part.height};
    texture_size size = plan.size;

    std::vector<level_buffer> levels; // the scaled ones; the last is read next
    if (size.width == part.width && size.height == part.height) {
        // Straight from the picture: rows of the whole picture, 4-byte padded.
        gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        gl.glPixelStorei(GL_UNPACK_ROW_LENGTH, picture.width);
        upload_level(0, size.width, size.height, source.data);
        gl.glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    } else {
        levels.emplace_back(size);
        resample_rgb(source, levels.back().rows());
    }

    gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (!levels.empty())
        upload_level(0, size.width, size.height, levels.back().bytes.data());
    for (int level = 1; mipmaps && (size.width > 1 || size.height > 1); ++level) {
        size = next_mip_level(size);
        level_buffer next(size);
        resample_rgb(levels.empty() ? source : levels.back().const_rows(), next.rows());
        levels.clear(); // only the level just made is read again
        levels.push_back(std::move(next));
        upload_level(level, size.width, size.height, levels.back().bytes.data());
    }
    return true;
}
