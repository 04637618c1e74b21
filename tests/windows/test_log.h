// The test program's run log so far, read in text mode: without carriage returns.
#pragma once
#include <fstream>
#include <iterator>
#include <string>

inline std::string test_log() { std::ifstream log("windows_tests.log"); return {std::istreambuf_iterator<char>(log), {}}; }
