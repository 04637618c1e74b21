// Frame time from GetTickCount readings, across the counter's wrap.
#include "shell/frame_tick.h"

#include <gtest/gtest.h>

TEST(FrameTick, MillisecondsBecomeSeconds)
{
    EXPECT_FLOAT_EQ(frame_seconds(1010, 1000), 0.010f);
    EXPECT_FLOAT_EQ(frame_seconds(61000, 1000), 60.0f);
    EXPECT_EQ(frame_seconds(1234, 1234), 0.0f);
}

TEST(FrameTick, WrapOfTheCounterGivesTheSmallTrueDifference)
{
    EXPECT_FLOAT_EQ(frame_seconds(5, 0xFFFFFFFBu), 0.010f);
    EXPECT_FLOAT_EQ(frame_seconds(0, 0xFFFFFFFFu), 0.001f);
}
