#include "shell/run_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

FILE* log_file;

constexpr std::size_t log_line_size = 1024;

// The ctime text, "Tue Mar 04 09:15:30 2025\n", the same on every C library
// (glibc pads the day with a blank, the Windows runtime with a zero).
void write_time_line(const char* label)
{
    std::time_t now = std::time(nullptr);
    char text[64] = "";
    if (const std::tm* local = std::localtime(&now))
        std::strftime(text, sizeof text, "%a %b %d %H:%M:%S %Y\n", local);
    std::fprintf(log_file, "%s%s", label, text);
}

} // namespace

run_log::run_log(const char* path, log_fallback fallback)
{
    log_file = std::fopen(path, "w");
    if (!log_file && fallback)
        log_file = fallback();
    if (!log_file)
        return;
    write_time_line("log open: ");
    std::fflush(log_file);
}

run_log::~run_log()
{
    if (!log_file)
        return;
    write_time_line("log close: ");
    std::fputs("\n", log_file);
    std::fclose(log_file);
    log_file = nullptr;
}

void log_write(const char* format, ...)
{
    if (!log_file)
        return;
    char line[log_line_size];
    va_list args;
    va_start(args, format);
    int length = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (length < 0)
        return;
    // A cut line keeps its line end, so the next line starts on its own.
    std::size_t format_length = std::strlen(format);
    if (static_cast<std::size_t>(length) >= sizeof line && format_length > 0 &&
        format[format_length - 1] == '\n')
        line[sizeof line - 2] = '\n';
    std::fputs(line, log_file);
    std::fflush(log_file);
}
