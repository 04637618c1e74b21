#include "scene/light_shader.h"

#include "scene/water_light.h"
#include "scene/wave_motion.h"
#include "shell/gl_api.h"

#include <algorithm>

namespace {

constexpr GLenum fragment_shader = 0x8B30;
constexpr GLenum vertex_shader = 0x8B31;
constexpr GLenum compile_status = 0x8B81;
constexpr GLenum link_status = 0x8B82;
constexpr GLenum info_log_length = 0x8B84;

// The vertex's place in the view's pixels goes to every pixel, and so does
// the drops' slope there, in the normal.
const char* const light_vertex_source = R"(#version 110
varying vec2 place;
varying vec2 drop_slope;
void main()
{
    place = gl_Vertex.xy;
    drop_slope = gl_Normal.xy;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
)";

std::string info_log(GLuint object, bool program)
{
    GLint length = 0;
    (program ? gl2.glGetProgramiv : gl2.glGetShaderiv)(object, info_log_length, &length);
    std::string text(static_cast<std::size_t>(std::max(length, 1)), '\0');
    (program ? gl2.glGetProgramInfoLog : gl2.glGetShaderInfoLog)(object, static_cast<GLsizei>(text.size()), nullptr, text.data());
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    // One log line: the compiler's lines joined.
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text.empty() ? "no reason given" : text;
}

GLuint compile(GLenum kind, const char* source, std::string& why)
{
    const GLuint shader = gl2.glCreateShader(kind);
    if (shader == 0) {
        why = "no shader object";
        return 0;
    }
    gl2.glShaderSource(shader, 1, &source, nullptr);
    gl2.glCompileShader(shader);
    GLint compiled = 0;
    gl2.glGetShaderiv(shader, compile_status, &compiled);
    if (!compiled) {
        why = std::string(kind == vertex_shader ? "vertex" : "fragment") + " shader: " + info_log(shader, false);
        gl2.glDeleteShader(shader);
        return 0;
    }
    return shader;
}

} // namespace

// Per pixel: the waves' slope as their offset there (rings about the
// view's centre, or two crossed waves), the same closed form as each
// vertex's on OpenGL 1.1, and the drops' slope between the vertices; then
// the light. A flat surface is the picture exactly.
//
// The drops' rings are worked out at the vertices only: on a software
// renderer each ring worked out at every pixel costs about as much as the
// whole plain frame, and a shower has a dozen.
const char* light_fragment_source = R"(
uniform sampler2D picture;
uniform vec2 size;
uniform vec2 waves;   // amplitude, phase
uniform vec2 wave_k;  // radians per pixel: rings (x), or across (x) and down (y)
uniform vec2 tilt;    // slope per offset of the texture coordinates, as the picture bends
uniform vec2 light;   // towards the light, over its height
uniform vec3 halfway;
uniform vec3 glow;    // a flat surface's glint, sky, sparkle
varying vec2 place;
varying vec2 drop_slope;

void main()
{
#if RINGS
    vec2 from_centre = place - 0.5 * size;
    float squared = dot(from_centre, from_centre);
    // At the centre itself (a pixel's, in a view odd both ways) there is no
    // direction: the root's argument stays above 0 and the slope is 0.
    float inverse_distance = inversesqrt(max(squared, 1e-12));
    vec2 slope = from_centre * (inverse_distance * waves.x * sin(squared * inverse_distance * wave_k.x + waves.y));
#else
    vec2 slope = waves.x * sin(place.yx * wave_k.yx + waves.y);
#endif
    slope = slope * tilt + drop_slope;
    float inverse = inversesqrt(1.0 + dot(slope, slope));
    float facing = (1.0 - dot(slope, light)) * inverse;
    float mirror = max((halfway.z - dot(slope, halfway.xy)) * inverse, 0.0);
    mirror *= mirror;
    mirror *= mirror;
    mirror *= mirror;
    mirror *= mirror;
    mirror *= mirror;
    float added = glow.y * max(0.0, facing - 1.0) + glow.z * max(0.0, mirror - glow.x);
    vec3 texel = texture2D(picture, gl_TexCoord[0].st).rgb;
    gl_FragColor = vec4(texel * clamp(facing, 0.0, 1.0) + added, 1.0);
}
)";

bool light_shader::build(bool radial, std::string& why)
{
    release();
    if (!load_gl2()) {
        why = "the context lacks OpenGL 2.0's shader calls";
        return false;
    }
    const GLuint vertex = compile(vertex_shader, light_vertex_source, why);
    // One program for the kind of waves the run has: a shader's branch on
    // a uniform costs both ways on a software renderer.
    const std::string fragment_text = std::string("#version 110\n#define RINGS ") + (radial ? "1" : "0") + "\n" + light_fragment_source;
    const GLuint fragment = vertex ? compile(fragment_shader, fragment_text.c_str(), why) : 0;
    if (!fragment) {
        if (vertex)
            gl2.glDeleteShader(vertex);
        return false;
    }
    const GLuint program = gl2.glCreateProgram();
    gl2.glAttachShader(program, vertex);
    gl2.glAttachShader(program, fragment);
    gl2.glLinkProgram(program);
    // The program keeps what it needs of them.
    gl2.glDeleteShader(vertex);
    gl2.glDeleteShader(fragment);
    GLint linked = 0;
    gl2.glGetProgramiv(program, link_status, &linked);
    if (!linked) {
        why = "link: " + info_log(program, true);
        gl2.glDeleteProgram(program);
        return false;
    }
    program_ = program;
    context_ = gl.wglGetCurrentContext();
    const auto at = [program](const char* name) { return gl2.glGetUniformLocation(program, name); };
    size_ = at("size");
    waves_ = at("waves");
    wave_k_ = at("wave_k");
    tilt_ = at("tilt");
    // The picture's unit and the light's own constants, once.
    const light_constants sun = water_light_constants();
    gl2.glUseProgram(program);
    gl2.glUniform1i(at("picture"), 0);
    gl2.glUniform2f(at("light"), sun.light[0] / sun.light[2], sun.light[1] / sun.light[2]);
    gl2.glUniform3f(at("halfway"), sun.halfway[0], sun.halfway[1], sun.halfway[2]);
    gl2.glUniform3f(at("glow"), sun.flat_glint, sun.sky, sun.sparkle);
    gl2.glUseProgram(0);
    return true;
}

void light_shader::release()
{
    if (program_ && gl.wglGetCurrentContext() == context_)
        gl2.glDeleteProgram(program_);
    program_ = 0;
    context_ = nullptr;
}

void light_shader::begin(const pixel_light_frame& frame) const
{
    gl2.glUseProgram(program_);
    gl2.glUniform2f(size_, frame.width, frame.height);
    gl2.glUniform2f(waves_, frame.amp, frame.phase);
    const float turn = frame.freq * wave_pi;
    const float diagonal = window_diagonal(frame.width, frame.height);
    if (frame.radial)
        gl2.glUniform2f(wave_k_, diagonal > 0 ? turn / diagonal : 0, 0);
    else
        gl2.glUniform2f(wave_k_, frame.width > 0 ? turn / frame.width : 0, frame.height > 0 ? turn / frame.height : 0);
    // The slope as the picture bends, in the view's pixels.
    gl2.glUniform2f(tilt_, frame.width * frame.wave_gain, v_along_y * frame.height * frame.wave_gain);
}

void light_shader::end() const
{
    gl2.glUseProgram(0);
}
