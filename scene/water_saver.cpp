#include "scene/water_saver.h"

#include "scene/desktop_texture.h"
#include "scene/wave_params.h"
#include "settings/catalogue.h"
#include "settings/reg_settings.h"
#include "shell/gl_api.h"
#include "shell/monitors.h"
#include "shell/run_log.h"

water_saver::water_saver()
{
    ensure_defaults();
    radial = app_settings.get_number(setting_radial, 1) != 0;
}

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
    return take_picture();
}

bool water_saver::init_gl(const scene_target& window)
{
    target = window;
    gl.glClearColor(0, 0, 0, 1);
    gl.glDepthMask(GL_FALSE);
    gl.glEnable(GL_TEXTURE_2D);

    // A re-created window has a new context: the old textures went with the
    // old one, so new ones are made and filled from the same picture.
    release_gl_objects();
    view_context = gl.wglGetCurrentContext();
    follow_current_screen();
    plan_views();
    context_offers = read_gl_capabilities();
    log_write("OpenGL: %s, version %s\n", gl_string(GL_RENDERER), gl_string(GL_VERSION));
    if (!make_textures(context_offers))
        return false;
    choose_light(context_offers, gl_string(GL_VERSION));
    build_mesh(columns, rows);
    pointer.forget();
    return true;
}
