// The run log: progress lines and the warnings the program recovers from.
#pragma once
#include <cstdio>

// A second place for the log: a file it opened for writing, or null.
using log_fallback = std::FILE* (*)();

// Opens (truncates) the log at construction and writes its opening line;
// writes the closing line and closes it at destruction. One per process.
// When `path` cannot be created the log goes to the file `fallback` opens;
// failing that it stays closed and every write does nothing.
class run_log {
public:
    explicit run_log(const char* path, log_fallback fallback = nullptr);
    ~run_log();
    run_log(const run_log&) = delete;
    run_log& operator=(const run_log&) = delete;
};

// printf-style append of one caller-formatted line, flushed at once.
// At most 1023 characters are written; a longer line is cut, keeping its
// final line feed.
void log_write(const char* format, ...) __attribute__((format(printf, 1, 2)));
