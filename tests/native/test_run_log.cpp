// The run log in a folder that is not there (a run from a folder that went
// away): writing goes on, to nowhere. The log's lines themselves are checked
// on a real run's screen.log.
#include "shell/run_log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

TEST(RunLog, AFolderThatIsNotThereTakesNothing)
{
    const std::string missing = ::testing::TempDir() + "run_log_" + std::to_string(::getpid()) + ".d/screen.log";
    { run_log log(missing.c_str()); log_write("WARNING: can't open reg key: %s\n", "Software\\Tovarind\\Quillmere"); }
    EXPECT_EQ(std::fopen(missing.c_str(), "r"), nullptr);
}
