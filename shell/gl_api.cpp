#include "shell/gl_api.h"

#include "shell/system_library.h"

#include <cstdint>

gl_entry_points gl;
gl2_entry_points gl2;

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

bool load_gl2()
{
    gl2 = gl2_entry_points{};
    if (!gl.wglGetProcAddress)
        return false;
    gl2_entry_points loaded;
    // Some drivers answer a missing call with a small number, not null.
#define QM_GL2_LOAD(result, name, params)                                                         \
    {                                                                                             \
        const PROC found = gl.wglGetProcAddress(#name);                                           \
        const auto value = reinterpret_cast<std::uintptr_t>(found);                               \
        if (value <= 3 || value == static_cast<std::uintptr_t>(-1))                               \
            return false;                                                                         \
        loaded.name = reinterpret_cast<result(APIENTRY*) params>(reinterpret_cast<void*>(found)); \
    }
    QM_GL2_ENTRY_POINTS(QM_GL2_LOAD)
#undef QM_GL2_LOAD
    gl2 = loaded;
    return true;
}
