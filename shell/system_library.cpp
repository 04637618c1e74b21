#include "shell/system_library.h"

#include <string>

bool dll_search_flags = false;

void limit_dll_search()
{
    using set_directories = BOOL(WINAPI*)(DWORD);
    const auto set = reinterpret_cast<set_directories>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    dll_search_flags = set && set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE load_system_library(const wchar_t* name)
{
    if (dll_search_flags)
        return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
