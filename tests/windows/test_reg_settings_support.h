// What the test program's run log gains while a test runs.
#pragma once
#include <fstream>
#include <sstream>
#include <string>

namespace settings_test {

// The text added to windows_tests.log since this was made, without the C
// runtime's carriage returns.
class log_watch {
public:
    std::string added() const { return text().substr(start); }

private:
    static std::string text()
    {
        std::stringstream file;
        file << std::ifstream("windows_tests.log").rdbuf(); // text mode drops the CRs
        return file.str();
    }
    std::size_t start = text().size();
};

} // namespace settings_test
