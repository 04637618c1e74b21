// The shell's pure parts: the command line as the host and users write it, a log in a folder that is gone.
#include "shell/command_line.h"
#include "shell/run_log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

TEST(CommandLine, ModesAndHandles)
{
    const struct { const char* text; run_mode mode; std::intptr_t handle; } cases[] = {
        {nullptr, run_mode::demo, 0},
        {"\"C:\\a b\\quillmere.scr\"", run_mode::demo, 0},
        {"q.scr  /s", run_mode::demo, 0},      // only one blank is skipped
        {"\"unterminated /s", run_mode::demo, 0},
        {"\"q.scr\"/S", run_mode::screensaver, 0},
        {"q.scr /", run_mode::screensaver, 0},
        {"q.scr /c:1234", run_mode::config, 1234},
        {"q.scr /c1234", run_mode::config, 234}, // the handle starts two after the letter
        {"q.scr -L:1234", run_mode::preview, 1234},
        {"q.scr /p   \t -42x7", run_mode::preview, -42},
        {"q.scr /p 18446744073709551617", run_mode::preview, 1}, // wraps, never overflows
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "null");
        const command_line result = parse_command_line(c.text);
        EXPECT_EQ(result.mode, c.mode);
        EXPECT_EQ(result.handle, c.handle);
    }
}

// Writing goes on, to nowhere (the lines themselves are checked on a real run's screen.log).
TEST(RunLog, AFolderThatIsNotThereTakesNothing)
{
    const std::string missing = ::testing::TempDir() + "run_log_" + std::to_string(::getpid()) + ".d/screen.log";
    { run_log log(missing.c_str()); log_write("WARNING: can't open reg key: %s\n", "Software\\Tovarind\\Quillmere"); }
    EXPECT_EQ(std::fopen(missing.c_str(), "r"), nullptr);
}
