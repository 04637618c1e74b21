// The test program's run log, read in text mode: without carriage returns.
#pragma once
#include <fstream>
#include <sstream>
#include <string>

inline std::string test_log()
{
    std::stringstream text;
    text << std::ifstream("windows_tests.log").rdbuf();
    return text.str();
}
