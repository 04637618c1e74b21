#include "shell/fatal_error.h"

#include "res/resource_ids.h"
#include "shell/local_text.h"

#include <windows.h>

#include <string>

void fatal_error(const char* step_name)
{
    // First, before any other call can change it.
    DWORD error = GetLastError();

    // The system's words and the title in the user's language, shown
    // through the wide calls whatever the ANSI code page.
    wchar_t* system_text = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                  nullptr, error, 0x400, reinterpret_cast<wchar_t*>(&system_text),
                                  0, nullptr);
    std::wstring message;
    if (length == 0 || !system_text)
        message = with_value(local_text(IDS_UNKNOWN_ERROR), std::to_wstring(error));
    else
        message = system_text;

    const std::wstring step(step_name, step_name + std::char_traits<char>::length(step_name));
    const std::wstring title = with_value(local_text(IDS_FATAL_ERROR_TITLE), step);
    MessageBoxW(nullptr, message.c_str(), title.c_str(), MB_OK | MB_ICONWARNING);

    if (system_text)
        LocalFree(system_text);
}
