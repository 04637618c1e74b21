// The scene's values, and what must be laid out again when they change.
#include "scene/water_saver.h"

#include "scene/wave_params.h"
#include "shell/gl_api.h"

void water_saver::use_settings(const water_settings& settings)
{
    const wave_params params = derive_wave_params(settings.quality, settings.speed, settings.freq, settings.amp);
    const bool grid = params.columns != columns || params.rows != rows;
    const bool lighting = settings.light != light || settings.radial != radial;
    columns = params.columns;
    rows = params.rows;
    speed = params.speed;
    freq = params.freq;
    amp = params.amp;
    radial = settings.radial;
    light = settings.light;
    rain = settings.rain >= 0 && settings.rain <= 100 ? settings.rain : 0;
    // Before the first window init_gl lays everything out.
    if (views_.empty())
        return;
    // The per-pixel light is compiled for one kind of waves.
    if (lighting)
        choose_light(context_offers, gl_string(GL_VERSION));
    if (grid) {
        build_mesh(columns, rows);
        return;
    }
    // The waves' and the surface's tables are made again at the next frame.
    for (scene_view& view : views_) {
        view.field = wave_field{};
        view.surface = water_surface{};
    }
}
