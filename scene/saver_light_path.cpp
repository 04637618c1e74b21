// The light's path in a context: per pixel by a shader where the context
// offers OpenGL 2.0, else per vertex; none where the light is off.
#include "scene/water_saver.h"

#include "shell/run_log.h"

#include <string>

void water_saver::choose_light(const gl_capabilities& capabilities, const char* version)
{
    pixel_light = false;
    if (!light) {
        shader.release();
        return;
    }
    std::string why = "the context offers OpenGL " + std::string(version) + ", not 2.0";
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
