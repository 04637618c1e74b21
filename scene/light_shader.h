#pragma once
#include <windows.h>
#include <GL/gl.h>

#include <string>

// Light worked out for every pixel, where the context offers OpenGL 2.0:
// the waves' slope from their closed form at the pixel, the drops' from
// their vertices, then the same shade and glint as each vertex gets on
// OpenGL 1.1.

// What one view's frame asks of the shader, in its own pixels.
struct pixel_light_frame {
    int width = 0, height = 0;
    bool radial = false;
    float freq = 0, amp = 0, phase = 0;
    float wave_gain = 0; // slope per pixel of the waves' offset
};

class light_shader {
public:
    light_shader() = default;
    light_shader(const light_shader&) = delete;
    light_shader& operator=(const light_shader&) = delete;

    // Compiles and links the program for rings (`radial`) or crossed waves
    // in the current context, in place of the one before. False, with the
    // reason in `why`, when the context can't.
    bool build(bool radial, std::string& why);
    // Deletes the program where it was built; made in another context, it
    // went with that context and is only forgotten.
    void release();
    bool ready() const { return program_ != 0; }
    // Draws with the program for one view's frame (the drops' slope in
    // the normal array), and leaves it.
    void begin(const pixel_light_frame& frame) const;
    void end() const;

private:
    GLuint program_ = 0;
    HGLRC context_ = nullptr; // where the program lives
    // Where the per-frame uniforms are.
    GLint size_ = -1, waves_ = -1, wave_k_ = -1, tilt_ = -1;
};

// The fragment shader's text: tests put a broken one here to see the
// fallback.
extern const char* light_fragment_source;
