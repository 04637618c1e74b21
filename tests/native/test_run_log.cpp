// The run log as a reader of screen.log sees it.
#include "shell/run_log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

class RunLog : public ::testing::Test {
protected:
    std::string path = ::testing::TempDir() + "run_log_test_" +
                       std::to_string(::getpid()) + ".log";

    void TearDown() override { std::remove(path.c_str()); }

    std::string contents() const
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

// Whether `text` at `at` is a ctime text, "Tue Mar 04 09:15:30 2025\n":
// in the shape, A is a capital, a a small letter, 9 a digit.
bool is_time_text(const std::string& text, std::size_t at)
{
    const std::string shape = "Aaa Aaa 99 99:99:99 9999\n";
    if (text.size() < at + shape.size())
        return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        char c = text[at + i];
        bool fits = shape[i] == 'A'   ? (c >= 'A' && c <= 'Z')
                    : shape[i] == 'a' ? (c >= 'a' && c <= 'z')
                    : shape[i] == '9' ? (c >= '0' && c <= '9')
                                      : c == shape[i];
        if (!fits)
            return false;
    }
    return true;
}

TEST_F(RunLog, OpensTruncatedAndClosesWithAnEmptyLine)
{
    {
        std::ofstream old(path);
        old << "a previous run\n";
    }
    {
        run_log log(path.c_str());
        log_write("Init water saver\n");
        log_write("WARNING: can't set value: %s = %s\n", "quality", "50");
    }
    const std::string text = contents();
    const std::string open = "log open: ";
    const std::string lines = "Init water saver\nWARNING: can't set value: quality = 50\nlog close: ";
    const std::size_t time_length = 25;
    ASSERT_EQ(text.size(), open.size() + time_length + lines.size() + time_length + 1) << text;
    EXPECT_EQ(text.compare(0, open.size(), open), 0) << text;
    EXPECT_TRUE(is_time_text(text, open.size())) << text;
    EXPECT_EQ(text.compare(open.size() + time_length, lines.size(), lines), 0) << text;
    EXPECT_TRUE(is_time_text(text, open.size() + time_length + lines.size())) << text;
    EXPECT_EQ(text.back(), '\n');
}

TEST_F(RunLog, InsertedPercentSignsAreWrittenUnchanged)
{
    {
        run_log log(path.c_str());
        log_write("WARNING: can't open reg key: %s\n", "Software\\100%s%d%%n");
    }
    EXPECT_NE(contents().find("WARNING: can't open reg key: Software\\100%s%d%%n\n"), std::string::npos)
        << contents();
}

TEST_F(RunLog, OverlongLineIsCutToTheBufferAndKeepsItsLineEnd)
{
    std::string huge(5000, 'x');
    {
        run_log log(path.c_str());
        log_write("%s\n", huge.c_str());
        log_write("next\n");
    }
    std::string text = contents();
    std::size_t start = text.find('\n') + 1;
    std::size_t end = text.find('\n', start);
    EXPECT_EQ(end - start, 1022u) << "the cut line holds 1022 characters and its line feed";
    EXPECT_EQ(text.compare(end + 1, 5, "next\n"), 0);
}

TEST_F(RunLog, UnwritableLogStaysClosedAndWritesNothing)
{
    std::string missing = ::testing::TempDir() + "no_such_dir_" + std::to_string(::getpid()) + "/screen.log";
    {
        run_log log(missing.c_str());
        log_write("ERROR: %s\n", "goes nowhere");
    }
    EXPECT_EQ(std::fopen(missing.c_str(), "r"), nullptr);
}

TEST_F(RunLog, WritesWithoutAnOpenLogAreIgnored)
{
    log_write("before any log %d\n", 1);
    {
        run_log log(path.c_str());
    }
    log_write("after the log closed\n");
    EXPECT_EQ(contents().find("log"), 0u);
    EXPECT_EQ(contents().find("after"), std::string::npos);
}

} // namespace
