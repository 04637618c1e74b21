// What the test program's run log gains while a test runs.
#pragma once
#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

namespace settings_test {

// The text added to windows_tests.log from the moment this is made, without
// the C runtime's carriage returns.
class log_watch {
public:
    log_watch() : start_(log_text().size()) {}
    std::string added() const { return log_text().substr(start_); }

private:
    static std::string log_text()
    {
        std::ifstream file("windows_tests.log", std::ios::binary);
        std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        return text;
    }
    std::size_t start_;
};

} // namespace settings_test
