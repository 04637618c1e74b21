#include "scene/water_saver.h"

#include "scene/desktop_texture.h"
#include "scene/mesh.h"
#include "scene/water_light.h"
#include "scene/wave_params.h"
#include "settings/catalogue.h"
#include "settings/reg_settings.h"
#include "shell/gl_api.h"
#include "shell/monitors.h"
#include "shell/run_log.h"
#include "shell/shell.h"

#include <algorithm>
#include <string>

water_saver::water_saver()
{
    ensure_defaults();
    radial = app_settings.get_number(setting_radial, 1) != 0;
}

namespace {

// The pointer stirs the water everywhere but in the preview, whose mouse
// belongs to the host.
bool pointer_stirs()
{
    return !screen_preview;
}

// The pointer drops a ring for every 3 % of the monitor's diagonal it moves.
constexpr float stir_spacing = 0.03f;

} // namespace

bool water_saver::init_data()
{
    log_write("Init water saver\n");
    water_settings stored;
    stored.quality = get_percent(setting_quality, 50);
    stored.speed = get_percent(setting_speed, 50);
    stored.freq = get_percent(setting_freq, 50);
    stored.amp = get_percent(setting_amp, 50);
    stored.radial = radial;
    stored.light = get_flag(setting_light, false);
    stored.rain = get_percent(setting_rain, 0);
    use_settings(stored);
    rain_seed = GetTickCount();

    picture_area = virtual_screen();
    HBITMAP bitmap = capture_desktop(picture_area);
    if (!bitmap)
        return false;
    // The picture is kept once, as read; an unreadable one is logged when a
    // window uploads it.
    read_desktop_picture(bitmap, picture);
    DeleteObject(bitmap);
    return true;
}

void water_saver::follow_screen(const screen_rect& window, const screen_rect& screen)
{
    desktop_picture next = blank_picture(screen.width, screen.height);
    paste_picture(next, screen, picture, picture_area);
    for (const screen_rect& part : uncovered_parts(screen, window)) {
        desktop_picture taken;
        if (HBITMAP bitmap = capture_new_part(part)) {
            read_desktop_picture(bitmap, taken);
            DeleteObject(bitmap);
        }
        paste_picture(next, screen, taken, part);
    }
    picture = std::move(next);
    picture_area = screen;
}

namespace {

const char* gl_text(GLenum name)
{
    const GLubyte* text = gl.glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "?";
}

} // namespace

void water_saver::plan_views()
{
    views_.clear();
    // A full-screen window covers the virtual screen, as the picture does, so
    // each monitor shows the part of the picture at its own place.
    for (const screen_rect& monitor : screen_monitors) {
        scene_view view;
        view.area = monitor;
        view.source = monitor;
        views_.push_back(std::move(view));
    }
    if (views_.empty()) {
        scene_view whole;
        whole.area = {0, 0, screen_width, screen_height};
        whole.source = {0, 0, picture.width, picture.height};
        whole.follows_window = true;
        views_.push_back(std::move(whole));
    }
}

bool water_saver::init_gl()
{
    gl.glClearColor(0, 0, 0, 1);
    gl.glDepthMask(GL_FALSE);
    gl.glEnable(GL_TEXTURE_2D);

    // A re-created window has a new context: the old textures went with the
    // old one, so new ones are made and filled from the same picture. In
    // the same context (the screen changed) the old ones go first.
    for (scene_view& view : views_)
        if (view.texture && gl.wglGetCurrentContext() == view_context)
            gl.glDeleteTextures(1, &view.texture);
    view_context = gl.wglGetCurrentContext();
    // A full-screen window made after the screen changed under another mode
    // (Tab to the window and back) covers the screen as it is now: the
    // picture follows it first, taken again only outside its old area.
    const screen_rect screen = virtual_screen();
    if (!screen_monitors.empty() && screen != picture_area && screen.width > 0 && screen.height > 0)
        follow_screen(picture_area, screen);
    plan_views();
    capabilities = read_gl_capabilities();
    log_write("OpenGL: %s, version %s\n", gl_text(GL_RENDERER), gl_text(GL_VERSION));
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
                                 view.area.height, screen_preview);
        upload_picture(picture, view.source, view.plan);
        log_write("Texture: %d x %d for %d x %d shown at %d x %d, %s, %s\n", view.plan.size.width,
                  view.plan.size.height, view.source.width, view.source.height, view.area.width,
                  view.area.height, view.plan.edge_clamp ? "clamped to its edge" : "clamped inside its border",
                  view.plan.mipmaps ? "mipmaps" : "one level");
    }
    choose_light(capabilities);
    build_mesh(columns, rows);
    pointer.forget();
    return true;
}

void water_saver::choose_light(const gl_capabilities& capabilities)
{
    pixel_light = false;
    if (!light)
        return;
    std::string why = "the context offers OpenGL " + std::string(gl_text(GL_VERSION)) + ", not 2.0";
    if (capabilities.shaders && shader.build(radial, why)) {
        pixel_light = true;
        log_write("Light: per pixel (OpenGL 2.0)\n");
        return;
    }
    if (capabilities.shaders)
        log_write("WARNING: the light's shader failed (%s)\n", why.c_str());
    log_write("Light: per vertex (OpenGL 1.1): %s\n", why.c_str());
}

surface_light water_saver::light_way() const
{
    if (!light)
        return surface_light::none;
    return pixel_light ? surface_light::per_pixel : surface_light::per_vertex;
}

void water_saver::build_mesh(int columns, int rows)
{
    for (scene_view& view : views_)
        lay_out(view, view.area, columns, rows);
}

void water_saver::lay_out(scene_view& view, const screen_rect& area, int columns, int rows)
{
    view.area = area;
    build_grid(view.vertices, indices, columns, rows, area.width, area.height);
    // The old per-frame data described other positions.
    view.field = wave_field{};
    view.surface = water_surface{};
    // Shown at another size, the texture draws from other levels.
    plan_inset(view.plan, area.width, area.height);
    if (view.plan.size.width > 0 && view.plan.size.height > 0)
        view.half_texel = 0.5f * std::min(static_cast<float>(area.width) / view.plan.size.width,
                                          static_cast<float>(area.height) / view.plan.size.height);
}

void water_saver::prepare_surface(scene_view& view, int index)
{
    // The pool's drops go to the rain, less the pointer's share, split
    // between the views.
    const int count = static_cast<int>(views_.size());
    const int slots = max_live_drops - (pointer_stirs() ? pointer_drops : 0);
    const int share = slots / count + (index < slots % count ? 1 : 0);
    view.surface.prepare(view.vertices, columns, rows, view.area.width, view.area.height, view.half_texel,
                         light_way(), rain, share, rain_seed + static_cast<std::uint32_t>(index) * 7919u);
}

void water_saver::input(input_action action, int code, int x, int y)
{
    if (!(rain > 0) || !pointer_stirs())
        return;
    for (std::size_t k = 0; k < views_.size(); ++k) {
        const screen_rect& area = views_[k].area;
        if (x < area.x || y < area.y || x >= area.x + area.width || y >= area.y + area.height)
            continue;
        const float view_x = static_cast<float>(x - area.x), view_y = static_cast<float>(y - area.y);
        const int view = static_cast<int>(k);
        if (action == input_move)
            pointer.moved(view, view_x, view_y, rain_time(), stir_spacing * window_diagonal(area.width, area.height));
        else if (action == input_press && code == 0)
            pointer.clicked(view, view_x, view_y, rain_time());
        return;
    }
}

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
    if (view.follows_window && screen_width > 0 && screen_height > 0 &&
        (view.area.width != screen_width || view.area.height != screen_height))
        lay_out(view, {0, 0, screen_width, screen_height}, columns, rows);
    if (view.vertices.empty())
        return;
    const int width = view.area.width;
    const int height = view.area.height;
    // With drops or light the waves' coordinates are held to the inset
    // only once the drops are added.
    const bool surface = light || rain > 0;
    const float inset_u = view.plan.inset_u, inset_v = view.plan.inset_v;
    if (surface && !view.surface.matches(view.vertices.size(), width, height))
        prepare_surface(view, index);
    if (!view.field.matches(view.vertices.size(), width, height))
        view.field.prepare(view.vertices, columns, rows, width, height, radial, freq, amp,
                           surface ? 0 : inset_u, surface ? 0 : inset_v);
    view.field.apply(view.vertices, wave_phase);
    if (surface) {
        pointer_rings.clear();
        pointer.live_drops(index, rain_time(), pointer_rings);
        view.surface.apply(view.vertices, rain_time(), pointer_rings, inset_u, inset_v);
    }

    gl.glBindTexture(GL_TEXTURE_2D, view.texture);
    gl.glPushMatrix();
    gl.glTranslatef(static_cast<GLfloat>(view.area.x), static_cast<GLfloat>(view.area.y), 0);
    gl.glVertexPointer(2, GL_FLOAT, sizeof(mesh_vertex), &view.vertices[0].x);
    gl.glTexCoordPointer(2, GL_FLOAT, sizeof(mesh_vertex), &view.vertices[0].u);
    if (light_way() == surface_light::per_pixel) {
        pixel_light_frame frame;
        frame.width = width;
        frame.height = height;
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
    } else {
        draw_vertex_lit(view);
    }
    gl.glPopMatrix();
}

void water_saver::draw_vertex_lit(scene_view& view)
{
    const bool lit = light && view.surface.lit();
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
    gl.glViewport(0, 0, width, height);
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadIdentity();
    gl.glOrtho(0, width, height, 0, -1, 1);
    gl.glMatrixMode(GL_MODELVIEW);
    gl.glLoadIdentity();
}
