#pragma once
#include <windows.h>

#include <string>

// The system's words for `error` on one line, without the final full stop;
// "error N" where it has none.
std::string error_text(DWORD error);
