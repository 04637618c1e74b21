#include "shell/command_line.h"

namespace {

bool is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads a decimal number as atol would (white space, sign, digits), without
// overflow: the digits wrap around in 64 bits as a handle value would.
std::intptr_t read_handle(const char* text)
{
    while (is_space(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    std::uint64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        value = value * 10 + static_cast<std::uint64_t>(*text - '0');
    if (negative)
        value = 0 - value;
    return static_cast<std::intptr_t>(value);
}

// The handle starts two characters after the switch letter (one separator,
// as in /c:1234 or /p 1234); a shorter argument gives 0.
std::intptr_t handle_after(const char* letter)
{
    if (letter[0] == '\0' || letter[1] == '\0')
        return 0;
    return read_handle(letter + 2);
}

} // namespace

command_line parse_command_line(const char* text)
{
    command_line result;
    if (!text)
        return result;

    // Skip the program name, quoted or up to the first blank.
    const char* p = text;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p && *p != ' ')
            ++p;
    }
    // Exactly one blank may stand before the switch.
    if (*p == ' ')
        ++p;
    if (*p != '-' && *p != '/')
        return result;

    const char* letter = p + 1;
    switch (*letter) {
    case 'C': case 'c':
        result.mode = run_mode::config;
        result.handle = handle_after(letter);
        break;
    case 'A': case 'a':
        result.mode = run_mode::password;
        break;
    case 'P': case 'p': case 'L': case 'l':
        result.mode = run_mode::preview;
        result.handle = handle_after(letter);
        break;
    default:
        result.mode = run_mode::screensaver;
        break;
    }
    return result;
}
