#include "shell/gl_api.h"

#include "shell/system_library.h"

#include <cstdint>
#include <string>

gl_entry_points gl;
gl2_entry_points gl2;
gl_framebuffer_entry_points gl_fb;

namespace {

// The current context's entry point `name`, or null. Some drivers answer a
// missing call with a small number, not null.
void* context_entry(const std::string& name)
{
    const PROC found = gl.wglGetProcAddress ? gl.wglGetProcAddress(name.c_str()) : nullptr;
    const auto value = reinterpret_cast<std::uintptr_t>(found);
    return value <= 3 || value == static_cast<std::uintptr_t>(-1) ? nullptr : reinterpret_cast<void*>(found);
}

} // namespace

const char* gl_string(GLenum name)
{
    const GLubyte* text = gl.glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "?";
}

const char* load_gl()
{
    static HMODULE library = nullptr;
    if (library)
        return nullptr;
    // System32 only: never the .scr's own folder, the working directory or
    // the PATH.
    HMODULE module = load_system_library(L"opengl32.dll");
    if (!module)
        return "LoadLibraryExW";
    gl_entry_points loaded;
#define QM_GL_LOAD(result, name, params)                                                          \
    loaded.name = reinterpret_cast<result(APIENTRY*) params>(                                     \
        reinterpret_cast<void*>(GetProcAddress(module, #name)));                                  \
    if (!loaded.name) {                                                                           \
        const DWORD error = GetLastError();                                                       \
        FreeLibrary(module);                                                                      \
        SetLastError(error);                                                                      \
        return "GetProcAddress";                                                                  \
    }
    QM_GL_ENTRY_POINTS(QM_GL_LOAD)
#undef QM_GL_LOAD
    gl = loaded;
    library = module;
    return nullptr;
}

#define QM_GL_CONTEXT_LOAD(result, name, params)                                                  \
    if (!(loaded.name = reinterpret_cast<result(APIENTRY*) params>(context_entry(#name + suffix)))) \
        return false;

bool load_gl2()
{
    gl2 = gl2_entry_points{};
    gl2_entry_points loaded;
    const std::string suffix;
    QM_GL2_ENTRY_POINTS(QM_GL_CONTEXT_LOAD)
    gl2 = loaded;
    return true;
}

bool load_gl_framebuffers(const char* suffix_text)
{
    gl_fb = gl_framebuffer_entry_points{};
    gl_framebuffer_entry_points loaded;
    const std::string suffix = suffix_text;
    QM_GL_FRAMEBUFFER_ENTRY_POINTS(QM_GL_CONTEXT_LOAD)
    gl_fb = loaded;
    return true;
}
#undef QM_GL_CONTEXT_LOAD
