// Each view's texture: made from its part of the picture in the window's
// context, and let go before the next ones in the same context.
#include "scene/water_saver.h"

#include "scene/desktop_texture.h"
#include "shell/gl_api.h"
#include "shell/run_log.h"

void water_saver::release_gl_objects()
{
    // In the same context (the screen changed) the old ones go first; a
    // re-created window's context took its own with it. (The light's program
    // goes when the light's way is chosen again.)
    if (gl.wglGetCurrentContext() != view_context)
        return;
    for (scene_view& view : views_)
        if (view.texture)
            gl.glDeleteTextures(1, &view.texture);
}

bool water_saver::make_textures(const gl_capabilities& capabilities)
{
    for (scene_view& view : views_) {
        gl.glGenTextures(1, &view.texture);
        if (view.texture == 0) {
            log_write("ERROR: can't create texture from desk!\n");
            views_.clear();
            indices.clear();
            return false;
        }
        gl.glBindTexture(GL_TEXTURE_2D, view.texture);
        // Shown smaller than its size (the window, the preview), the picture
        // needs its smaller levels or it shimmers as it ripples. A preview
        // never grows: a copy of about its size is all it needs.
        view.plan = plan_texture(capabilities, view.source.width, view.source.height, view.area.width,
                                 view.area.height, target.shown_small);
        upload_picture(picture, view.source, view.plan);
        log_write("Texture: %d x %d for %d x %d shown at %d x %d, %s, %s\n", view.plan.size.width,
                  view.plan.size.height, view.source.width, view.source.height, view.area.width,
                  view.area.height, view.plan.edge_clamp ? "clamped to its edge" : "clamped inside its border",
                  view.plan.mipmaps ? "mipmaps" : "one level");
    }
    return true;
}
