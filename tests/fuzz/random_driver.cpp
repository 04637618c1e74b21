// Bounded random-input driver for a libFuzzer target, for compilers without
// libFuzzer: runs a fixed number of inputs from a fixed seed, mixing random
// bytes with fragments that reach the parser's interesting paths.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    long runs = argc > 1 ? std::atol(argv[1]) : 100000;
    static const char* const pieces[] = {"\"", " ", "  ", "/", "-", "c", "C", "p", "l", "a", "s",
                                         ":", "0", "9", "+", "-", "\t", "x.scr", "\"q\"",
                                         "99999999999999999999999"};
    std::mt19937 random(12345);
    for (long run = 0; run < runs; ++run) {
        std::string input;
        int parts = static_cast<int>(random() % 8);
        for (int i = 0; i < parts; ++i) {
            if (random() % 3 == 0)
                input += static_cast<char>(random() % 256);
            else
                input += pieces[random() % (sizeof pieces / sizeof *pieces)];
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    }
    std::printf("%ld inputs, no crash\n", runs);
    return 0;
}
