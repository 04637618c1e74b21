#include "shell/log_place.h"

#include <windows.h>

#include <string>

std::FILE* open_user_log()
{
    // Wide calls throughout: the folder holds the user's name, which may be
    // in any script.
    DWORD size = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
    if (size == 0)
        return nullptr;
    std::wstring folder(size, L'\0');
    DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", &folder[0], size);
    if (length == 0 || length >= size)
        return nullptr;
    folder.resize(length);
    folder += L"\\Quillmere";
    // The folder is usually there from an earlier run; when it can be
    // neither found nor made, the open below fails.
    CreateDirectoryW(folder.c_str(), nullptr);
    return _wfopen((folder + L"\\screen.log").c_str(), L"w");
}
