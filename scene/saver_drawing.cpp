// A frame: the waves advanced, then every view's grid drawn with its
// texture, lit per pixel, per vertex or not at all.
#include "scene/water_saver.h"

#include "scene/water_light.h"
#include "shell/gl_api.h"

void water_saver::draw(float seconds)
{
    wave_phase = advance_phase(wave_phase, seconds, speed);
    clock.advance(seconds);
    if (views_.empty() || indices.empty())
        return;

    gl.glClear(GL_COLOR_BUFFER_BIT);
    gl.glColor3f(1, 1, 1);
    gl.glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    gl.glEnableClientState(GL_VERTEX_ARRAY);
    gl.glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    gl.glDisableClientState(GL_INDEX_ARRAY);
    gl.glDisableClientState(GL_COLOR_ARRAY);
    gl.glDisableClientState(GL_EDGE_FLAG_ARRAY);
    gl.glDisableClientState(GL_NORMAL_ARRAY);
    for (std::size_t k = 0; k < views_.size(); ++k)
        draw_view(views_[k], static_cast<int>(k));
    gl.glPopClientAttrib();
}

void water_saver::draw_view(scene_view& view, int index)
{
    // A window that was resized gets its grid again, so the whole picture
    // covers the whole client area. A client area without width or
    // height has no mapping: the last frame's coordinates stay.
    if (view.follows_window && target.width > 0 && target.height > 0 &&
        (view.area.width != target.width || view.area.height != target.height))
        lay_out(view, {0, 0, target.width, target.height}, columns, rows);
    if (view.vertices.empty())
        return;
    const int width = view.area.width;
    const int height = view.area.height;
    // With drops or light the waves' coordinates are held to the inset
    // only once the drops are added.
    const bool drops_or_light = light || rain > 0;
    const float inset_u = view.plan.inset_u, inset_v = view.plan.inset_v;
    if (drops_or_light && !view.surface.matches(view.vertices.size(), width, height))
        prepare_surface(view, index);
    if (!view.field.matches(view.vertices.size(), width, height))
        view.field.prepare(view.vertices, columns, rows, width, height, radial, freq, amp,
                           drops_or_light ? 0 : inset_u, drops_or_light ? 0 : inset_v);
    view.field.apply(view.vertices, wave_phase);
    if (drops_or_light) {
        pointer_rings.clear();
        pointer.live_drops(index, drop_time(), pointer_rings);
        view.surface.apply(view.vertices, drop_time(), pointer_rings, inset_u, inset_v);
    }

    gl.glBindTexture(GL_TEXTURE_2D, view.texture);
    gl.glPushMatrix();
    gl.glTranslatef(static_cast<GLfloat>(view.area.x), static_cast<GLfloat>(view.area.y), 0);
    gl.glVertexPointer(2, GL_FLOAT, sizeof(mesh_vertex), &view.vertices[0].x);
    gl.glTexCoordPointer(2, GL_FLOAT, sizeof(mesh_vertex), &view.vertices[0].u);
    if (light_way() == surface_light::per_pixel)
        draw_pixel_lit(view);
    else
        draw_vertex_lit(view);
    gl.glPopMatrix();
}

void water_saver::draw_pixel_lit(scene_view& view)
{
    pixel_light_frame frame;
    frame.width = view.area.width;
    frame.height = view.area.height;
    frame.radial = radial;
    frame.freq = freq;
    frame.amp = amp;
    frame.phase = wave_phase;
    frame.wave_gain = view.surface.wave_gain();
    gl.glEnableClientState(GL_NORMAL_ARRAY);
    gl.glNormalPointer(GL_FLOAT, 0, view.surface.drop_slopes().data());
    shader.begin(frame);
    gl.glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT, indices.data());
    shader.end();
    gl.glDisableClientState(GL_NORMAL_ARRAY);
}

void water_saver::draw_vertex_lit(scene_view& view)
{
    const bool lit = light && view.surface.lit_per_vertex();
    // The light's shade multiplies the picture (255: unchanged).
    if (lit) {
        gl.glEnableClientState(GL_COLOR_ARRAY);
        gl.glColorPointer(4, GL_UNSIGNED_BYTE, 0, view.surface.shade().data());
    }
    gl.glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT,
                      indices.data());
    // The glint is added over the picture where there is any: a second pass
    // works on every OpenGL, Windows' own 1.1 included.
    if (lit && view.surface.glinting()) {
        glinting_triangles(indices, view.surface.glint().data(), view.glinting);
        gl.glDisable(GL_TEXTURE_2D);
        gl.glEnable(GL_BLEND);
        gl.glBlendFunc(GL_ONE, GL_ONE);
        gl.glColorPointer(4, GL_UNSIGNED_BYTE, 0, view.surface.glint().data());
        gl.glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(view.glinting.size()), GL_UNSIGNED_SHORT,
                          view.glinting.data());
        gl.glDisable(GL_BLEND);
        gl.glEnable(GL_TEXTURE_2D);
    }
    if (lit) {
        gl.glDisableClientState(GL_COLOR_ARRAY);
        gl.glColor3f(1, 1, 1); // a colour array leaves the current colour undefined
    }
}

void water_saver::resize(int width, int height)
{
    target.width = width;
    target.height = height;
    gl.glViewport(0, 0, width, height);
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadIdentity();
    gl.glOrtho(0, width, height, 0, -1, 1);
    gl.glMatrixMode(GL_MODELVIEW);
    gl.glLoadIdentity();
}
