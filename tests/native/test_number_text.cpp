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

TEST(NumberToText, IntegralValuesHaveNoDecimals)
{
    EXPECT_EQ(text_of(50), "50");
    EXPECT_EQ(text_of(0), "0");
    EXPECT_EQ(text_of(-0.0f), "0");
    EXPECT_EQ(text_of(-2), "-2");
    EXPECT_EQ(text_of(1), "1");
    EXPECT_EQ(text_of(100), "100");
    EXPECT_EQ(text_of(16777216), "16777216");
}

TEST(NumberToText, FractionsHaveSixDecimals)
{
    EXPECT_EQ(text_of(0.5f), "0.500000");
    EXPECT_EQ(text_of(12.25f), "12.250000");
    EXPECT_EQ(text_of(0.15f), "0.150000");
    EXPECT_EQ(text_of(-0.5f), "-0.500000");
    EXPECT_EQ(text_of(99.75f), "99.750000");
    EXPECT_EQ(text_of(1e-7f), "0.000000");
}

TEST(NumberToText, ThirtyTwoBitBoundaries)
{
    // -2^31 is the lowest int; 2^31 is the first value past the highest
    // (2^31 - 1 is no float: it rounds up to 2^31).
    EXPECT_EQ(text_of(-2147483648.0f), "-2147483648");
    EXPECT_EQ(text_of(2147483648.0f), "2147483648.000000");
    EXPECT_EQ(text_of(2147483647.0f), "2147483648.000000");
    // -2^31 - 1 is no float either: it rounds to -2^31. The first float
    // below -2^31 takes the decimal form.
    EXPECT_EQ(text_of(static_cast<float>(-2147483649.0)), "-2147483648");
    EXPECT_EQ(text_of(std::nextafter(-2147483648.0f, -1e10f)), "-2147483904.000000");
    EXPECT_EQ(text_of(std::nextafter(2147483648.0f, 0.0f)), "2147483520");
}

TEST(NumberToText, NonFiniteAndHugeValuesReadBack)
{
    const float infinity = std::numeric_limits<float>::infinity();
    EXPECT_EQ(text_of(infinity), "inf");
    EXPECT_EQ(text_of(-infinity), "-inf");
    EXPECT_TRUE(std::isnan(text_to_number(text_of(std::nanf("")).c_str())));

    const float largest = std::numeric_limits<float>::max();
    std::string huge = text_of(largest);
    EXPECT_EQ(huge.substr(huge.size() - 7), ".000000");
    EXPECT_EQ(text_to_number(huge.c_str()), static_cast<double>(largest));
    EXPECT_EQ(text_of(-largest)[0], '-');
}

TEST(NumberToText, ShortBufferIsCutAndTerminated)
{
    char buffer[4] = {'x', 'x', 'x', 'x'};
    number_to_text(12.25f, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "12.");
    buffer[0] = 'x';
    number_to_text(12.25f, buffer, 0);
    EXPECT_EQ(buffer[0], 'x');
}

TEST(TextToNumber, ReadsLikeAtof)
{
    EXPECT_EQ(text_to_number("50"), 50.0);
    EXPECT_EQ(text_to_number(" 42.5xyz"), 42.5);
    EXPECT_EQ(text_to_number("\t\n-2"), -2.0);
    EXPECT_EQ(text_to_number("33.3"), 33.3);
    EXPECT_EQ(text_to_number("0.150000"), 0.15);
    EXPECT_EQ(text_to_number("1e2"), 100.0);
    EXPECT_EQ(text_to_number("+7."), 7.0);
    EXPECT_EQ(text_to_number(".5"), 0.5);
}

TEST(TextToNumber, NoNumberReadsZero)
{
    EXPECT_EQ(text_to_number(""), 0.0);
    EXPECT_EQ(text_to_number("abc"), 0.0);
    EXPECT_EQ(text_to_number("-"), 0.0);
    EXPECT_EQ(text_to_number("."), 0.0);
    EXPECT_EQ(text_to_number("x50"), 0.0);
}

TEST(TextToNumber, OutOfRangeTextIsDefined)
{
    EXPECT_EQ(text_to_number("1e999"), HUGE_VAL);
    EXPECT_EQ(text_to_number("-1e999"), -HUGE_VAL);
    EXPECT_EQ(text_to_number("1e-999"), 0.0);
}

TEST(NumberText, IntegralTextsRoundTripExactly)
{
    for (float value : {0.0f, 1.0f, -2.0f, 25.0f, 50.0f, 100.0f, -2147483648.0f})
        EXPECT_EQ(text_to_number(text_of(value).c_str()), static_cast<double>(value)) << value;
}

} // namespace
