#include "scene/water_saver.h"

#include "scene/desktop_texture.h"
#include "scene/mesh.h"
#include "scene/wave_params.h"
#include "settings/catalogue.h"
#include "settings/reg_settings.h"
#include "shell/run_log.h"
#include "shell/shell.h"

#include <GL/glu.h>

namespace {

// The captured picture's size: powers of two, as OpenGL 1.1 textures need.
constexpr int picture_side = 1024;

} // namespace

water_saver::water_saver()
{
    ensure_defaults();
    radial = app_settings.get_number(setting_radial, 1) != 0;
}

water_saver::~water_saver()
{
    if (desktop_bitmap)
        DeleteObject(desktop_bitmap);
}

bool water_saver::init_data()
{
    log_write("Init water saver\n");
    const wave_params params =
        derive_wave_params(get_percent(setting_quality, 50), get_percent(setting_speed, 50),
                           get_percent(setting_freq, 50), get_percent(setting_amp, 50));
    columns = params.columns;
    rows = params.rows;
    speed = params.speed;
    freq = params.freq;
    amp = params.amp;

    desktop_bitmap = capture_desktop(picture_side, picture_side);
    return desktop_bitmap != nullptr;
}

bool water_saver::init_gl()
{
    glClearColor(0, 0, 0, 1);
    glDepthMask(GL_FALSE);
    glEnable(GL_TEXTURE_2D);

    // A re-created window has a new context: the old texture went with the
    // old one, so a new name is made and filled from the same picture.
    texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    upload_desktop_texture(desktop_bitmap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

    if (texture == 0) {
        log_write("ERROR: can't create texture from desk!\n");
        vertices.clear();
        indices.clear();
        field = wave_field{};
        return false;
    }
    build_mesh(columns, rows);
    return true;
}

void water_saver::build_mesh(int columns, int rows)
{
    build_grid(vertices, indices, columns, rows, screen_width, screen_height);
    // The old per-frame data described other positions.
    field = wave_field{};
}

void water_saver::draw(float seconds)
{
    wave_phase = advance_phase(wave_phase, seconds, speed);
    if (vertices.empty() || indices.empty())
        return;

    const int width = screen_width;
    const int height = screen_height;
    // A client area without width or height has no texture mapping: the
    // coordinates of the last frame stay.
    if (width != 0 && height != 0) {
        if (!field.matches(vertices.size(), width, height))
            field.prepare(vertices, columns, rows, width, height, radial, freq, amp);
        field.apply(vertices, wave_phase);
    }

    glClear(GL_COLOR_BUFFER_BIT);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor3f(1, 1, 1);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_INDEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_EDGE_FLAG_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(mesh_vertex), &vertices[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(mesh_vertex), &vertices[0].u);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT,
                   indices.data());
    glPopClientAttrib();
}

void water_saver::resize(int width, int height)
{
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, width, height, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
