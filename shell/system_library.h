// DLLs from System32 alone, on every Windows the .scr runs on. Windows 7
// without KB2533623 has neither SetDefaultDllDirectories nor the
// LOAD_LIBRARY_SEARCH_* flags: there a DLL is loaded by its full path.
#pragma once
#include <windows.h>

// Whether the loader knows the search flags; set by limit_dll_search.
extern bool dll_search_flags;

// Limits every later search by name to System32 where the system can
// (SetDefaultDllDirectories, looked up at run time so that the .scr still
// starts where it is missing). Runs before anything else.
void limit_dll_search();

// Loads System32's `name` (e.g. L"opengl32.dll"): with the search flags,
// or by its full path, its own imports then looked for in System32 first.
HMODULE load_system_library(const wchar_t* name);
