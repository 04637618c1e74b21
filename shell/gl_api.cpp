#include "shell/gl_api.h"

#include "shell/system_library.h"

gl_entry_points gl;

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
