// The frames' pace: the rate for a display, power and mode; their grid; the count at the end; counter times.
#include "shell/frame_pacing.h"
#include "shell/frame_tick.h"
#include "shell/gl_version.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

TEST(FramePacing, RateIsTheRefreshOverTheSmallestWholeDivisor)
{
    constexpr auto saver = pace_mode::screensaver, demo = pace_mode::demonstration, preview = pace_mode::preview;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct { double hz; bool battery; pace_mode mode; double rate; int interval; double rest; } cases[] = {
        {60, false, saver, 60, 1, 0.009},    {120, false, demo, 60, 2, 0},     {144, false, saver, 72, 2, 0.009},
        {165, false, demo, 55, 3, 0},        {75, false, demo, 75, 1, 0},      {76, false, demo, 38, 2, 0},
        {150, false, saver, 75, 2, 0.009},   {240, false, demo, 60, 4, 0},     {59.94, false, demo, 59.94, 1, 0},
        {60, true, saver, 30, 2, 0.009},     {144, true, demo, 28.8, 5, 0},    {30, true, demo, 30, 1, 0},
        {60, false, preview, 30, 2, 0.009},  {165, false, preview, 27.5, 6, 0.009}, {144, true, preview, 28.8, 5, 0.009},
        {0, false, demo, 60, 1, 0},          {nan, false, saver, 60, 1, 0.009}, {-120, true, demo, 30, 2, 0},
        {24, false, demo, 24, 1, 0},
    };
    for (const auto& c : cases) {
        const frame_pace pace = pace_frames(c.hz, c.battery, c.mode);
        SCOPED_TRACE(testing::Message() << c.hz << " Hz, battery " << c.battery << ", mode " << static_cast<int>(c.mode));
        EXPECT_DOUBLE_EQ(pace.frames_per_second, c.rate);
        EXPECT_EQ(pace.swap_interval, c.interval);
        EXPECT_DOUBLE_EQ(pace.rest_seconds, c.rest);
    }
}

TEST(FramePacing, RefreshFromTheCompositorElseTheSettingsElse60AndAsLogged)
{
    const struct { unsigned numerator, denominator, settings; double hz; } refreshes[] = {
        {60000, 1001, 60, 60000.0 / 1001}, {0, 1, 144, 144}, {60, 0, 75, 75}, {0, 0, 1, 60}, {0, 0, 0, 60}};
    for (const auto& r : refreshes)
        EXPECT_DOUBLE_EQ(display_refresh(r.numerator, r.denominator, r.settings), r.hz) << &r - refreshes;
    const struct { double rate; const char* text; } texts[] = {
        {60, "60"}, {60000.0 / 1001, "59.94"}, {28.8, "28.8"}, {27.5, "27.5"}, {55.0000001, "55"}, {0.5, "0.5"}, {100, "100"}};
    for (const auto& t : texts)
        EXPECT_EQ(rate_text(t.rate), t.text);
    EXPECT_TRUE(lists_extension("WGL_ARB_pixel_format WGL_EXT_swap_control", "WGL_EXT_swap_control"));
    EXPECT_FALSE(lists_extension("WGL_EXT_swap_control_tear", "WGL_EXT_swap_control"));
    EXPECT_FALSE(lists_extension(nullptr, "WGL_EXT_swap_control"));
}

// Frames due a period after the last was due however late each woke; a new grid after a stall; the asked rest.
TEST(FramePacing, FramesComeOnAnEvenGridWithoutBursts)
{
    // At 1000 counts a second: 10 frames a second, a period of 100, and the screensaver's rest of 9.
    const frame_pace demo = {10, 6, 0}, saver = pace_frames(10, false, pace_mode::screensaver);
    const struct { const char* what; frame_pace pace; std::vector<std::int64_t> start, end, due; } cases[] = {
        {"on time", demo, {0, 100, 200}, {10, 110, 210}, {100, 200, 300}},
        {"woken late", demo, {0, 104, 203}, {10, 114, 213}, {100, 200, 300}},
        {"a slow frame catches up", demo, {0, 100, 250}, {10, 250, 260}, {100, 250, 300}},
        {"a stall starts a new grid", demo, {0, 100, 420}, {10, 420, 430}, {100, 420, 520}},
        {"always slow: no wait", demo, {0, 120, 240}, {120, 240, 360}, {120, 240, 360}},
        {"a rest within the period", saver, {0, 100}, {10, 110}, {100, 200}},
        {"a rest past the period", saver, {0, 100, 208}, {95, 199, 215}, {104, 208, 300}},
    };
    for (const auto& c : cases) {
        frame_schedule schedule;
        schedule.set_pace(c.pace, 1000);
        EXPECT_EQ(schedule.due(), 0) << c.what;
        for (std::size_t k = 0; k < c.start.size(); ++k)
            EXPECT_EQ(schedule.frame_done(c.start[k], c.end[k]), c.due[k]) << c.what << ", frame " << k;
    }
    frame_schedule schedule;
    schedule.set_pace(pace_frames(60, false, pace_mode::demonstration), 3000);
    schedule.frame_done(0, 10);
    schedule.set_pace(pace_frames(60, true, pace_mode::demonstration), 3000); // on battery: the grid goes on
    EXPECT_EQ(schedule.frame_done(50, 60), 150);
    schedule.restart();
    EXPECT_EQ(schedule.due(), 0);
    EXPECT_EQ(schedule.frame_done(5000, 5010), 5100);
}

// Pauses are left out of a window's time; its rate is frames over the time between them.
TEST(FramePacing, AWindowsFramesAreCountedWithoutItsPauses)
{
    frame_count count;
    EXPECT_EQ(count.rate(1000), 0);
    for (std::int64_t start : {1000, 1020, 1040, 9000, 9020})
        count.frame(start, start == 1000 || start == 9000); // each the first after a pause
    EXPECT_EQ(count.frames(), 5);
    EXPECT_DOUBLE_EQ(count.seconds(1000), 0.06);
    EXPECT_DOUBLE_EQ(count.rate(1000), 50);
}

// Counters at several frequencies and rates: the frames' seconds add up to the whole microseconds between.
TEST(FrameTick, FrameTimesAddUpToTheCountersTime)
{
    EXPECT_EQ(counter_microseconds(3 * 3579545LL + 1, 3579545), 3000000);
    EXPECT_EQ(counter_microseconds(std::int64_t{1} << 62, 10000000), (std::int64_t{1} << 62) / 10);
    EXPECT_FLOAT_EQ(frame_seconds(61 * 10000000LL, 10000000, 10000000), 60.0f);
    EXPECT_FLOAT_EQ(frame_seconds(1, 0, 1000000), 1e-6f);
    for (std::int64_t frequency : {std::int64_t{1000}, std::int64_t{3579545}, std::int64_t{10000000}, std::int64_t{2400000000}})
        for (int rate : {144, 60, 7}) {
            std::int64_t micro = 0, last = frequency / 3;
            for (int frame = 1; frame <= 3 * rate; ++frame) {
                const std::int64_t now = frequency / 3 + frame * frequency / rate + frame % 3;
                micro += std::llround(static_cast<double>(frame_seconds(now, last, frequency)) * 1e6);
                last = now;
            }
            EXPECT_EQ(micro, counter_microseconds(last, frequency) - counter_microseconds(frequency / 3, frequency))
                << frequency << " Hz counter, " << rate << " frames a second";
        }
}
