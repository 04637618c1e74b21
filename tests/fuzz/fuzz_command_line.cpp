// Fuzz target: any byte string as a command line.
#include "shell/command_line.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    command_line result = parse_command_line(text.c_str());
    // A handle is only ever read for the switches that take one.
    if (result.handle != 0 && result.mode != run_mode::config && result.mode != run_mode::preview)
        __builtin_trap();
    return 0;
}
