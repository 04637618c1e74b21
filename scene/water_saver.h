#pragma once
#include "scene/mesh_vertex.h"
#include "scene/wave_motion.h"

#include <windows.h>
#include <GL/gl.h>

#include <cstdint>
#include <vector>

// The scene: the captured desktop, its texture, the grid and the waves.
class water_saver {
public:
    // Lays down the missing settings and reads the wave shape.
    water_saver();
    virtual ~water_saver();
    water_saver(const water_saver&) = delete;
    water_saver& operator=(const water_saver&) = delete;

    // Once per process, before any window: wave parameters and the desktop.
    bool init_data();
    // In every new render window, its GL context current: texture and grid.
    bool init_gl();
    // One frame: advance the waves by `seconds` and draw the grid.
    void draw(float seconds);
    // One unit per pixel, origin at the window's top-left corner.
    void resize(int width, int height);

    // The grid spanning screen_width x screen_height.
    void build_mesh(int columns, int rows);
    // The display squeezed into a width x height 24-bit DIB section, or null.
    HBITMAP capture_desktop(int width, int height);

    // Read-only views for the tests.
    const std::vector<mesh_vertex>& grid_vertices() const { return vertices; }
    float phase() const { return wave_phase; }

private:
    bool radial = false;
    HBITMAP desktop_bitmap = nullptr;
    GLuint texture = 0;
    std::vector<mesh_vertex> vertices;
    std::vector<std::uint16_t> indices;
    int columns = 0;
    int rows = 0;
    float speed = 0;
    float freq = 0;
    float amp = 0;

    // Carries on across window re-creation; never reset.
    float wave_phase = 0;
    // What the per-frame update keeps for the current grid and window size.
    wave_field field;
};

extern water_saver app_scene;
