#include "shell/fatal_error.h"

#include <windows.h>
#include <cstdio>

void fatal_error(const char* step_name)
{
    // First, before any other call can change it.
    DWORD error = GetLastError();

    char* system_text = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                  nullptr, error, 0x400, reinterpret_cast<char*>(&system_text),
                                  0, nullptr);
    char unknown[64];
    const char* message = system_text;
    if (length == 0 || !system_text) {
        std::snprintf(unknown, sizeof unknown, "Unknown error %lu", static_cast<unsigned long>(error));
        message = unknown;
    }

    char title[128];
    std::snprintf(title, sizeof title, " Fatal error in %s ", step_name);
    MessageBoxA(nullptr, message, title, MB_OK | MB_ICONWARNING);

    if (system_text)
        LocalFree(system_text);
}
