// What an OpenGL context says it is: its version and extensions, read from
// the texts it gives, and what follows from them.
#pragma once
#include <string>

struct gl_version {
    int major = 0;
    int minor = 0;
};

// From GL_VERSION's text, which starts with "major.minor" (null: 0.0).
gl_version read_gl_version(const char* text);
bool at_least(gl_version version, int major, int minor);

// Whether a blank-separated list of extensions (null: none) names `wanted`
// whole.
bool lists_extension(const char* extensions, const std::string& wanted);

// GLSL 1.10, for the light worked out at every pixel.
bool offers_shaders(gl_version version);

// How a context offers framebuffer objects: none (Windows' own OpenGL 1.1),
// by OpenGL 3.0's calls (3.0, or GL_ARB_framebuffer_object, same names), or
// by GL_EXT_framebuffer_object's (the same calls named with "EXT").
enum class framebuffer_calls { none, core, ext };
framebuffer_calls offered_framebuffers(gl_version version, const char* extensions);
