// Numbers as the settings store them in the registry.
#include "settings/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

TEST(NumberText, IntegersHaveNoDecimalsOthersSixAndTextReadsLikeAtof)
{
    const struct { float value; const char* text; } numbers[] = {
        {50, "50"}, {-0.0f, "0"}, {-2, "-2"}, {0.15f, "0.150000"},
        {2147483648.0f, "2147483648.000000"}, // beyond a 32-bit int
        {std::numeric_limits<float>::infinity(), "inf"}};
    for (const auto& n : numbers) {
        char buffer[number_text_size];
        number_to_text(n.value, buffer, sizeof buffer);
        EXPECT_EQ(std::string(buffer), n.text);
    }
    const struct { const char* text; double value; } texts[] = {
        {" 42.5xyz", 42.5}, {"abc", 0}, {"", 0}, {"1e999", HUGE_VAL}};
    for (const auto& t : texts)
        EXPECT_EQ(text_to_number(t.text), t.value) << t.text;
}
