// The frames' pace: the rate for a display, power and mode, on a model display; the count at the end; counter times.
#include "bench/pacing_model.h"
#include "shell/frame_pacing.h"
#include "shell/frame_time.h"
#include "shell/gl_version.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(FramePacing, RefreshFromTheCompositorElseTheConfigurationElseTheSettingsElse60AndAsLogged)
{
    const struct { unsigned compositor, over, config, config_over, settings; double hz; } refreshes[] = {
        {60000, 1001, 144, 1, 60, 60000.0 / 1001}, {0, 1, 144000, 1000, 60, 144}, {60, 0, 0, 1, 75, 75},
        {0, 0, 165, 0, 1, 60}, {0, 0, 0, 0, 0, 60}};
    for (const auto& r : refreshes)
        EXPECT_DOUBLE_EQ(display_refresh(r.compositor, r.over, r.config, r.config_over, r.settings), r.hz) << &r - refreshes;
    const struct { double rate; const char* text; } texts[] = {
        {60, "60"}, {60000.0 / 1001, "59.94"}, {28.8, "28.8"}, {27.5, "27.5"}, {55.0000001, "55"}, {0.5, "0.5"}, {100, "100"}};
    for (const auto& t : texts)
        EXPECT_EQ(rate_text(t.rate), t.text);
    EXPECT_TRUE(lists_extension("WGL_ARB_pixel_format WGL_EXT_swap_control", "WGL_EXT_swap_control"));
    EXPECT_FALSE(lists_extension("WGL_EXT_swap_control_tear", "WGL_EXT_swap_control"));
    EXPECT_FALSE(lists_extension(nullptr, "WGL_EXT_swap_control"));
}

// Where a frame and its rest fit the cap's period no judder, else at most 1 % at the next even rate; never above the
// cap. Judged after the first second, the odd long frame's own interval aside (it can't be on time).
TEST(FramePacing, OnTheModelDisplayFramesKeepToTheGrid)
{
    for (const model_case& c : model_cases()) {
        const model_result r = run_model(c);
        const frame_pace cap = pace_frames(c.refresh_hz, c.on_battery, c.mode);
        const int k = std::max(cap.swap_interval, static_cast<int>(std::ceil(model_need_ms(c) * c.refresh_hz / 1000 - 1e-9)));
        SCOPED_TRACE(testing::Message() << c.refresh_hz << " Hz, vsync " << (c.vsync_honoured ? "honoured" : "ignored")
                                        << ", " << c.cost_ms << " ms, late " << c.late_ms << " ms, mode "
                                        << static_cast<int>(c.mode) << (c.on_battery ? ", battery" : ", mains") << ": k " << r.divisor);
        EXPECT_LE(r.judder_fitting, k == cap.swap_interval ? 0 : 0.01);
        EXPECT_GE(r.frames_per_second, c.refresh_hz / k * 0.98) << "slower than the next even rate";
        EXPECT_LE(r.frames_per_second, cap.frames_per_second * 1.001) << "above the cap";
        EXPECT_GE(r.least_rest_ms, c.mode == pace_mode::demonstration ? 0 : 9);
    }
}

// k goes up as soon as frames stop fitting, down a few seconds after they fit again, and nothing else moves it; a new
// refresh is followed at once. Never above the cap: not when the swap stops waiting, not on a whole-millisecond clock.
TEST(FramePacing, KFollowsTheFramesAndTheDisplay)
{
    constexpr auto saver = pace_mode::screensaver, demo = pace_mode::demonstration;
    const struct { const char* what; model_case run; std::vector<int> divisors; double after, by; } cases[] = {
        {"frames slow down", {60, true, 4, 2, saver, false, 20, 1, 5, 12}, {2}, 0, 0.2},
        {"frames slow down, Wine", {60, false, 4, 2, demo, false, 20, 1, 5, 25}, {2}, 0, 0.2},
        {"frames speed up", {60, true, 12, 2, saver, false, 20, 1, 5, 4}, {2, 1}, 3, 7},
        {"frames speed up, Wine", {144, false, 16, 0, demo, false, 20, 1, 5, 4}, {3, 2}, 3, 7},
        {"undocked to 60 Hz", {144, true, 4, 2, demo, false, 10, 1, 5, 0, 60}, {1}, 0, 0.02},
        {"a monitor wakes at 144 Hz, 9 ms rest", {60, false, 4, 2, saver, false, 10, 1, 5, 0, 144}, {3}, 0, 0.02},
        {"the swap stops waiting", {60, true, 4, 2, demo, false, 10, 1, 5, 0, 0, true}, {}, 0, 0},
        {"a clock of whole milliseconds", {60, false, 4, 2, demo, false, 10, 1, 0, 0, 0, false, 1000}, {}, 0, 0},
    };
    for (const auto& c : cases) {
        const model_result r = run_model(c.run);
        std::vector<int> divisors;
        for (const auto& change : r.changes)
            divisors.push_back(change.second);
        EXPECT_EQ(divisors, c.divisors) << c.what;
        const double last = r.changes.empty() ? c.after : r.changes.back().first - c.run.change_at;
        EXPECT_TRUE(last >= c.after && last <= c.by) << c.what << ": " << last << " s after the change";
        // The cap of either display; one frame shown early where the swap stops waiting unannounced.
        const double cap = std::max(pace_frames(c.run.refresh_hz, false, c.run.mode).frames_per_second,
                                    pace_frames(c.run.then_hz, false, c.run.mode).frames_per_second);
        EXPECT_LE(r.frames_per_second, cap * 1.003) << c.what;
    }
}

// Frames that fit the lower k only while they come less often (a software renderer sharing the cores): each try
// at the lower k that fails waits twice as long, so the rate changes a few times in two minutes, not every few seconds.
TEST(FramePacing, AFrameAtTheEdgeOfTwoRatesDoesNotSeeSaw)
{
    for (bool honoured : {true, false})
        for (unsigned seed : {1u, 2u, 3u}) {
            const model_result r = run_model(edge_of_two_rates(honoured, seed));
            SCOPED_TRACE(testing::Message() << "vsync " << (honoured ? "honoured" : "ignored") << ", seed " << seed);
            EXPECT_LE(r.changes.size(), 12u);
            EXPECT_LE(r.judder, 0.01);
            EXPECT_GE(r.frames_per_second, 20 * 0.98);
        }
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
TEST(FrameTime, FrameTimesAddUpToTheCountersTime)
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
