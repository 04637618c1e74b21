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

// The vertex's place in the view's pixels goes to every pixel.
const char* const light_vertex_source = R"(#version 110
varying vec2 place;
void main()
{
    place = gl_Vertex.xy;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
)";

// The drops' uniforms are sized for the whole pool.
static_assert(max_live_drops == 16, "the shader's drop array holds 16");

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
// view's centre, or two crossed waves), each live drop's ring train, then
// the light. The same closed forms as the vertices' on OpenGL 1.1; a flat
// surface is the picture exactly.
const char* light_fragment_source = R"(#version 110
uniform sampler2D picture;
uniform vec2 size;
uniform vec4 waves;   // amplitude, phase, radial (1) or crossed (0)
uniform vec2 wave_k;  // radians per pixel: rings (x), or across (x) and down (y)
uniform vec2 tilt;    // slope per offset of the texture coordinates
uniform vec4 drops[16]; // x, y, front radius, height
uniform int drop_count;
uniform vec3 ring;    // the train's length, its spreading radius, slope per pixel of move
uniform vec3 light;
uniform vec3 halfway;
uniform vec3 glow;    // a flat surface's glint, sky, sparkle
varying vec2 place;
const float pi = 3.14159265;

void main()
{
    vec2 slope;
    if (waves.z > 0.5) {
        vec2 from_centre = place - 0.5 * size;
        float distance = length(from_centre);
        slope = distance > 0.0 ? from_centre / distance * waves.x * sin(distance * wave_k.x + waves.y) : vec2(0.0);
    } else {
        slope = waves.x * sin(place.yx * wave_k.yx + waves.y);
    }
    slope *= tilt;
    for (int i = 0; i < 16; ++i) {
        if (i >= drop_count)
            break;
        vec2 from_drop = place - drops[i].xy;
        float squared = dot(from_drop, from_drop);
        float distance = sqrt(squared);
        float behind = drops[i].z - distance;
        if (behind > 0.0 && behind < ring.x) {
            float along = behind / ring.x;
            float window = sin(pi * along);
            float height = window * window * sin(4.0 * pi * along);
            slope += from_drop * (drops[i].w * height * sqrt(ring.y / ((distance + ring.y) * squared)) * ring.z);
        }
    }
    float inverse = inversesqrt(1.0 + dot(slope, slope));
    float facing = (light.z - dot(slope, light.xy)) * inverse / light.z;
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

bool light_shader::build(std::string& why)
{
    program_ = 0;
    if (!load_gl2()) {
        why = "the context lacks OpenGL 2.0's shader calls";
        return false;
    }
    const GLuint vertex = compile(vertex_shader, light_vertex_source, why);
    const GLuint fragment = vertex ? compile(fragment_shader, light_fragment_source, why) : 0;
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
    const auto at = [program](const char* name) { return gl2.glGetUniformLocation(program, name); };
    size_ = at("size");
    waves_ = at("waves");
    wave_k_ = at("wave_k");
    tilt_ = at("tilt");
    drops_ = at("drops");
    drop_count_ = at("drop_count");
    ring_ = at("ring");
    // The picture's unit and the light's own constants, once.
    const light_constants sun = water_light_constants();
    gl2.glUseProgram(program);
    gl2.glUniform1i(at("picture"), 0);
    gl2.glUniform3f(at("light"), sun.light[0], sun.light[1], sun.light[2]);
    gl2.glUniform3f(at("halfway"), sun.halfway[0], sun.halfway[1], sun.halfway[2]);
    gl2.glUniform3f(at("glow"), sun.flat_glint, sun.sky, sun.sparkle);
    gl2.glUseProgram(0);
    return true;
}

void light_shader::begin(const pixel_light_frame& frame) const
{
    gl2.glUseProgram(program_);
    gl2.glUniform2f(size_, frame.width, frame.height);
    gl2.glUniform4f(waves_, frame.amp, frame.phase, frame.radial ? 1.0f : 0.0f, 0);
    // The waves' own 3.1415, as the vertices have it.
    const float turn = frame.freq * 3.1415f;
    const float diagonal = window_diagonal(frame.width, frame.height);
    if (frame.radial)
        gl2.glUniform2f(wave_k_, diagonal > 0 ? turn / diagonal : 0, 0);
    else
        gl2.glUniform2f(wave_k_, frame.width > 0 ? turn / frame.width : 0, frame.height > 0 ? turn / frame.height : 0);
    gl2.glUniform2f(tilt_, frame.width * frame.wave_gain, frame.height * frame.wave_gain);
    gl2.glUniform3f(ring_, frame.shape.train, frame.shape.spread, frame.drop_gain);
    GLfloat rings[max_live_drops][4] = {};
    int count = 0;
    for (const water_drop& drop : *frame.drops) {
        const drop_rings now = rings_of(frame.shape, drop, frame.time);
        if (count == max_live_drops || !(now.front > 0) || !(now.height > 0))
            continue;
        const GLfloat values[4] = {drop.x, drop.y, now.front, now.height};
        std::copy(values, values + 4, rings[count++]);
    }
    gl2.glUniform4fv(drops_, max_live_drops, &rings[0][0]);
    gl2.glUniform1i(drop_count_, count);
}

void light_shader::end() const
{
    gl2.glUseProgram(0);
}
