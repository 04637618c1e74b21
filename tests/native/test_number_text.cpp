// Numbers as the settings store them in the registry and read them back.
#include "settings/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

std::string text_of(float value)
{
    char buffer[number_text_size];
    number_to_text(value, buffer, sizeof buffer);
    return buffer;
}

TEST(NumberToText, IntegersInThirtyTwoBitsHaveNoDecimalsOthersSix)
{
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {50, "50"}, {0, "0"}, {-0.0f, "0"}, {-2, "-2"}, {1, "1"}, {0.5f, "0.500000"},
        {12.25f, "12.250000"}, {0.15f, "0.150000"}, {inf, "inf"}, {-inf, "-inf"},
        // 2^31 - 1 and -2^31 - 1 are no floats: they round to 2^31 and -2^31.
        {2147483648.0f, "2147483648.000000"}, {static_cast<float>(-2147483649.0), "-2147483648"},
        {std::nextafter(2147483648.0f, 0.0f), "2147483520"},
        {std::nextafter(-2147483648.0f, -1e10f), "-2147483904.000000"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(text_of(c.value), c.text);
    }
}

TEST(NumberToText, NanAndHugeValuesReadBack)
{
    EXPECT_TRUE(std::isnan(text_to_number(text_of(std::nanf("")).c_str())));
    const float largest = std::numeric_limits<float>::max();
    EXPECT_EQ(text_to_number(text_of(largest).c_str()), static_cast<double>(largest));
    EXPECT_EQ(text_to_number(text_of(-largest).c_str()), -static_cast<double>(largest));
}

TEST(NumberToText, ShortBufferIsCutAndTerminated)
{
    char buffer[4] = {'x', 'x', 'x', 'x'};
    number_to_text(12.25f, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "12.");
}

TEST(TextToNumber, ReadsTheLeadingNumberLikeAtof)
{
    const struct {
        const char* text;
        double number;
    } cases[] = {{" 42.5xyz", 42.5}, {"\t\n-2", -2}, {"33.3", 33.3}, {"0.150000", 0.15},
                 {"1e2", 100},       {".5", 0.5},    {"", 0},        {"abc", 0},
                 {"-", 0},           {"x50", 0},     {"1e999", HUGE_VAL}, {"-1e999", -HUGE_VAL}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(text_to_number(c.text), c.number);
    }
}

} // namespace
