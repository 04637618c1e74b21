// The run log's second place, for a run whose working directory takes no
// file (System32, for a standard user): the user's own application data.
#pragma once
#include <cstdio>

// Opens (truncates) %LOCALAPPDATA%\Quillmere\screen.log, making the folder
// when it is missing; null when there is no such place or it takes no file.
// Reads only the environment: it runs before any other process-wide object
// is constructed.
std::FILE* open_user_log();
