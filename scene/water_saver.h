#pragma once
#include "scene/desktop_pixels.h"
#include "scene/drop_clock.h"
#include "scene/light_shader.h"
#include "scene/mesh_vertex.h"
#include "scene/pointer_trail.h"
#include "scene/texture_plan.h"
#include "scene/wave_motion.h"
#include "scene/water_drops.h"
#include "scene/water_settings.h"
#include "scene/water_surface.h"
#include "shell/screen_rect.h"
#include "shell/shell.h"

#include <windows.h>
#include <GL/gl.h>

#include <cstdint>
#include <vector>

// One part of the window with its own texture, grid and waves: a monitor in
// a full-screen window, the whole client area otherwise. The grid is laid in
// the view's own pixels, so the rings centre on the view and scale with its
// diagonal.
struct scene_view {
    screen_rect area;            // in the window's client area
    screen_rect source;          // the part of the captured picture it shows
    bool follows_window = false; // the whole client area, whatever its size
    GLuint texture = 0;
    texture_plan plan;       // its inset follows the area's size
    float half_texel_pixels = 0.5f; // half a texel in the view's pixels, for the area's size
    std::vector<mesh_vertex> vertices;
    wave_field field;
    water_surface surface;                // drops and light, when asked for
    std::vector<std::uint16_t> glinting;  // this frame's triangles with a glint
};

// The scene: the captured desktop, its textures, the grids and the waves.
// Its jobs lie in files of their own: the start-up (water_saver.cpp), the
// picture and the screen it follows (saver_picture.cpp), the views'
// textures (saver_textures.cpp), the light's path (saver_light_path.cpp),
// the views' layout (saver_layout.cpp), the pointer (saver_input.cpp) and
// the frames (saver_drawing.cpp).
class water_saver {
public:
    // Lays down the missing settings and reads the wave shape.
    water_saver();
    virtual ~water_saver() = default;
    water_saver(const water_saver&) = delete;
    water_saver& operator=(const water_saver&) = delete;

    // Once per process, before any window: wave parameters and the desktop.
    bool init_data();
    // In every new window, its GL context current: textures and grids for
    // `target`.
    bool init_gl(const scene_target& target);
    // One frame: advance the waves by `seconds` and draw every view.
    void draw(float seconds);
    // The window's client size is now width x height (0 x 0 while
    // minimised): one unit per pixel, origin at its top-left corner.
    void resize(int width, int height);
    // The screen is now `screen`; a window of ours covered `window` until
    // now. Keeps the picture where it lies within both, and takes the rest
    // from the screen (never our own frames). init_gl then lays it out.
    void follow_screen(const screen_rect& window, const screen_rect& screen);

    // The values the waves are drawn with: the store's at the start of a
    // run, the settings dialog's controls as they move. Takes effect at the
    // next frame, in the context current now.
    void use_settings(const water_settings& settings);

    // Every view's grid, for its current size.
    void build_mesh(int columns, int rows);
    // The pointer in the window's client area: a press of the left button
    // drops a ring there, a move stirs the water.
    void input(input_action action, int code, int x, int y);

    // Read-only views for the tests.
    const std::vector<scene_view>& views() const { return views_; }
    float phase() const { return wave_phase; }
    double drop_time() const { return clock.seconds(); }
    bool light_per_pixel() const { return pixel_light; }

private:
    // The desktop as it is now, over the whole virtual screen.
    bool take_picture();
    // A full-screen window made after the screen changed under another
    // mode covers the screen as it is now.
    void follow_current_screen();
    // In the same context the old views' textures go before new ones are
    // made; a new context has none of them.
    void release_gl_objects();
    // One texture per view, filled from the picture; false when one can't
    // be made.
    bool make_textures(const gl_capabilities& capabilities);
    void plan_views();
    // The light's way in this context: per pixel where a shader can be
    // built, else per vertex (`version`: what the context says it is). The
    // program before goes first.
    void choose_light(const gl_capabilities& capabilities, const char* version);
    surface_light light_way() const;
    // A view's grid, its texture's inset and half texel, for `area`.
    void lay_out(scene_view& view, const screen_rect& area, int columns, int rows);
    // The drops and light of one view, laid out for its grid and size.
    void prepare_surface(scene_view& view, int index);
    // The pointer stirs the water of this window.
    bool pointer_stirs() const;
    void draw_view(scene_view& view, int index);
    // The picture lit per pixel by the shader.
    void draw_pixel_lit(scene_view& view);
    // The picture lit per vertex, or not lit.
    void draw_vertex_lit(scene_view& view);

    bool radial = false;
    scene_target target; // the window it fills
    desktop_picture picture;
    screen_rect picture_area; // the part of the virtual screen it shows
    std::vector<scene_view> views_;
    std::vector<std::uint16_t> indices; // the same for every view's grid
    int columns = 0;
    int rows = 0;
    float speed = 0;
    float freq = 0;
    float amp = 0;
    bool light = false;
    bool pixel_light = false; // this context lights each pixel
    gl_capabilities context_offers; // what this context offers, read by init_gl
    light_shader shader;
    double rain = 0;
    std::uint32_t rain_seed = 0;

    HGLRC view_context = nullptr; // where the views' textures live

    // Carries on across window re-creation; never reset.
    float wave_phase = 0;
    drop_clock clock; // the rain's and the pointer's drops'; never reset either
    pointer_trail pointer;
    std::vector<water_drop> pointer_rings; // a frame's, kept to spare allocations
};

extern water_saver app_scene;
