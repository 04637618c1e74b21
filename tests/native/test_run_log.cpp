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
    std::string path = ::testing::TempDir() + "run_log_" + std::to_string(::getpid()) + ".log";

    void TearDown() override { std::remove(path.c_str()); }

    std::string contents() const
    {
        std::stringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }
};

// "LABEL" followed by a ctime text such as "Tue Mar 04 09:15:30 2025\n".
bool is_time_line(const std::string& line, const char* label)
{
    char weekday[4], month[4], end = 0;
    int day, hour, minute, second, year, used = 0;
    std::string format = std::string(label) + "%3[A-Za-z] %3[A-Za-z] %2d %2d:%2d:%2d %4d%c%n";
    return std::sscanf(line.c_str(), format.c_str(), weekday, month, &day, &hour, &minute,
                       &second, &year, &end, &used) == 8 &&
           end == '\n' && used == 25 + static_cast<int>(std::string(label).size()) &&
           line[std::string(label).size() + 8] != ' '; // the day has a leading zero, not a blank
}

TEST_F(RunLog, TruncatedOpenedAndClosedWithAnEmptyLastLine)
{
    std::ofstream(path) << "a previous run\n";
    {
        run_log log(path.c_str());
        log_write("Init water saver\n");
        log_write("WARNING: can't set value: %s = %s\n", "quality", "50");
    }
    const std::string text = contents();
    const std::string middle = "Init water saver\nWARNING: can't set value: quality = 50\n";
    ASSERT_EQ(text.size(), 35 + middle.size() + 36 + 1) << text;
    EXPECT_TRUE(is_time_line(text.substr(0, 35), "log open: ")) << text;
    EXPECT_EQ(text.substr(35, middle.size()), middle);
    EXPECT_TRUE(is_time_line(text.substr(35 + middle.size(), 36), "log close: ")) << text;
    EXPECT_EQ(text.back(), '\n');
}

TEST_F(RunLog, InsertedTextIsWrittenUnchangedAndOverlongLinesAreCut)
{
    const std::string huge(5000, 'x');
    {
        run_log log(path.c_str());
        log_write("WARNING: can't open reg key: %s\n", "Software\\100%s%d%%n");
        log_write("%s\n", huge.c_str());
        log_write("next\n");
    }
    const std::string text = contents();
    EXPECT_NE(text.find("WARNING: can't open reg key: Software\\100%s%d%%n\n"), std::string::npos);
    // The cut line holds 1022 characters and keeps its line feed.
    const std::size_t start = text.find("xxx");
    ASSERT_NE(start, std::string::npos);
    EXPECT_EQ(text.find('\n', start) - start, 1022u);
    EXPECT_EQ(text.compare(start + 1023, 5, "next\n"), 0);
}

TEST_F(RunLog, WithoutAnOpenLogWritesDoNothing)
{
    const std::string missing = path + ".d/screen.log"; // no such directory
    {
        run_log log(missing.c_str());
        log_write("ERROR: %s\n", "goes nowhere");
    }
    log_write("after every log closed\n");
    EXPECT_EQ(std::fopen(missing.c_str(), "r"), nullptr);
}

} // namespace
