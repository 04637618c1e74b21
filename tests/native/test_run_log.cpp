// The run log's lines as callers write them (its opening and closing lines
// are checked on a real run's screen.log).
#include "shell/run_log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

TEST(RunLog, InsertedTextIsUnchangedLongLinesAreCutAndAClosedLogTakesNothing)
{
    const std::string path = ::testing::TempDir() + "run_log_" + std::to_string(::getpid()) + ".log";
    {
        run_log log(path.c_str());
        log_write("WARNING: can't open reg key: %s\n", "Software\\100%s%d%%n");
        log_write("%s\n", std::string(5000, 'x').c_str());
        log_write("next\n");
    }
    log_write("after the log closed\n");
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    std::remove(path.c_str());
    // The cut line keeps 1022 characters and its line feed.
    const std::string middle = "WARNING: can't open reg key: Software\\100%s%d%%n\n" +
                               std::string(1022, 'x') + "\nnext\nlog close: ";
    EXPECT_NE(text.str().find(middle), std::string::npos) << text.str();
    EXPECT_EQ(text.str().find("after"), std::string::npos);

    const std::string missing = path + ".d/screen.log"; // no such directory
    { run_log log(missing.c_str()); log_write("goes nowhere\n"); }
    EXPECT_EQ(std::fopen(missing.c_str(), "r"), nullptr);
}
