#include "shell/gl_version.h"

#include <cstdlib>
#include <cstring>

gl_version read_gl_version(const char* text)
{
    gl_version version;
    if (text) {
        version.major = std::atoi(text);
        if (const char* dot = std::strchr(text, '.'))
            version.minor = std::atoi(dot + 1);
    }
    return version;
}

bool at_least(gl_version version, int major, int minor)
{
    return version.major > major || (version.major == major && version.minor >= minor);
}

bool lists_extension(const char* extensions, const std::string& wanted)
{
    const std::string list = " " + std::string(extensions ? extensions : "") + " ";
    return !wanted.empty() && list.find(" " + wanted + " ") != std::string::npos;
}

bool offers_shaders(gl_version version)
{
    return at_least(version, 2, 0);
}

framebuffer_calls offered_framebuffers(gl_version version, const char* extensions)
{
    if (at_least(version, 3, 0) || lists_extension(extensions, "GL_ARB_framebuffer_object"))
        return framebuffer_calls::core;
    return lists_extension(extensions, "GL_EXT_framebuffer_object") ? framebuffer_calls::ext : framebuffer_calls::none;
}
