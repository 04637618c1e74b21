// The screensaver command line as the host and users write it.
#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

command_line parse(const char* text)
{
    return parse_command_line(text);
}

TEST(CommandLine, NoSwitchIsTheDemonstration)
{
    EXPECT_EQ(parse("quillmere.scr").mode, run_mode::demo);
    EXPECT_EQ(parse("quillmere.scr ").mode, run_mode::demo);
    EXPECT_EQ(parse("\"C:\\a b\\quillmere.scr\"").mode, run_mode::demo);
    EXPECT_EQ(parse("quillmere.scr x").mode, run_mode::demo);
    EXPECT_EQ(parse("").mode, run_mode::demo);
    EXPECT_EQ(parse(nullptr).mode, run_mode::demo);
    // Only one blank is skipped before the switch.
    EXPECT_EQ(parse("quillmere.scr  /s").mode, run_mode::demo);
    // A tab is no blank.
    EXPECT_EQ(parse("quillmere.scr\t/s").mode, run_mode::demo);
}

TEST(CommandLine, FullScreenSwitches)
{
    for (const char* text : {"q.scr /s", "q.scr /S", "q.scr -s", "q.scr /x", "q.scr /", "q.scr -",
                             "q.scr /s 1234", "\"q.scr\"/s", "\"q.scr\" /s", "\"unterminated /s"}) {
        SCOPED_TRACE(text);
        command_line result = parse(text);
        if (std::string(text) == "\"unterminated /s") {
            // The quoted name runs to the end: there is no switch.
            EXPECT_EQ(result.mode, run_mode::demo);
            continue;
        }
        EXPECT_EQ(result.mode, run_mode::screensaver);
        EXPECT_EQ(result.handle, 0);
    }
}

TEST(CommandLine, PasswordAndConfig)
{
    EXPECT_EQ(parse("q.scr /a").mode, run_mode::password);
    EXPECT_EQ(parse("q.scr /A 55").handle, 0);

    command_line config = parse("q.scr /c:1234");
    EXPECT_EQ(config.mode, run_mode::config);
    EXPECT_EQ(config.handle, 1234);
    EXPECT_EQ(parse("q.scr /C 77").handle, 77);
    EXPECT_EQ(parse("q.scr /c").handle, 0);
    EXPECT_EQ(parse("q.scr /c:").handle, 0);
    // The handle starts two characters after the letter.
    EXPECT_EQ(parse("q.scr /c1234").handle, 234);
}

TEST(CommandLine, PreviewHandle)
{
    for (const char* text : {"q.scr /p 1234", "q.scr /P 1234", "q.scr /l 1234", "q.scr -L:1234"}) {
        SCOPED_TRACE(text);
        command_line result = parse(text);
        EXPECT_EQ(result.mode, run_mode::preview);
        EXPECT_EQ(result.handle, 1234);
    }
    EXPECT_EQ(parse("q.scr /p   \t 42x7").handle, 42);
    EXPECT_EQ(parse("q.scr /p +42").handle, 42);
    EXPECT_EQ(parse("q.scr /p -42").handle, -42);
    EXPECT_EQ(parse("q.scr /p abc").handle, 0);
    EXPECT_EQ(parse("q.scr /p").handle, 0);
    EXPECT_EQ(parse("q.scr /p").mode, run_mode::preview);
}

TEST(CommandLine, HugeHandleDoesNotOverflow)
{
    // Wraps in 64 bits instead of undefined behaviour.
    command_line result = parse("q.scr /p 99999999999999999999999999");
    EXPECT_EQ(result.mode, run_mode::preview);
    EXPECT_NE(result.handle, 0);
    EXPECT_EQ(parse("q.scr /p 18446744073709551617").handle, 1);
}

} // namespace
