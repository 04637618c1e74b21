// The screensaver command line, as the host passes it.
#pragma once
#include <cstdint>

enum class run_mode {
    demo,        // no switch: full screen, only Esc, closing or Tab act
    config,      // /c: the settings dialog, owned by `handle`
    password,    // /a: nothing to do
    preview,     // /p or /l: a child of window `handle`
    screensaver, // /s or any other letter: full screen, ends on any input
};

struct command_line {
    run_mode mode = run_mode::demo;
    // The window handle after /c, /p or /l, as the decimal number read.
    std::intptr_t handle = 0;
};

// Parses the whole process command line, program name included.
command_line parse_command_line(const char* text);
