// A model display and its clock, driven by the pacing code itself as the
// render loop drives it: the loop waits for the frame's due time (the
// timer wakes a little late), draws (a cost with noise and the odd long
// frame), swaps and tells the keeper. With vsync honoured the swap returns
// at the refresh that shows the frame, the k-th after the last shown at the
// earliest; ignored (Wine), it returns at once and the frame is shown then.
// The native test asserts the targets over a table of these runs; the
// pacing-model bench prints them.
#pragma once
#include "shell/frame_pacing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

struct model_case {
    double refresh_hz;
    bool vsync_honoured;
    double cost_ms;      // a frame's usual cost, give or take a tenth
    double late_ms;      // the timer wakes up to this late
    pace_mode mode;
    bool on_battery;
    double seconds = 20; // of which the first is not judged
    unsigned seed = 1;
    // From `change_at` seconds on (0: never), frames cost `then_cost_ms` and
    // the display runs at `then_hz` (0: as before); the swap stops waiting
    // for it where `then_ignored`.
    double change_at = 0, then_cost_ms = 0, then_hz = 0;
    bool then_ignored = false;
    std::int64_t clock_hz = 10000000; // as QueryPerformanceFrequency on Windows 10
    // Frames cost this much more for each share of the time the last one
    // drew, as a software renderer's do when its threads share the cores.
    double contention = 0;
};

struct model_result {
    double frames_per_second = 0;
    double judder = 0;         // intervals not exactly k refreshes, of all
    double judder_fitting = 0; // the same, of those that end on a frame of the usual cost
    double least_rest_ms = 1e9;
    int divisor = 0;           // k at the end
    int frames = 0;
    std::vector<std::pair<double, int>> changes; // seconds into the run, and k from then
};

// Model constants: one frame in `long_frame_odds` takes twice its cost and
// 10 ms more; the swap under Wine copies for 0.2 ms; a swap that waits for
// the display returns within 0.25 ms of the refresh.
constexpr int long_frame_odds = 500;
constexpr double swap_copy_ms = 0.2, swap_return_ms = 0.25;

// The most a usual frame needs from its due time to being shown, with the
// rest, on the model display: what the targets are judged against.
inline double model_need_ms(const model_case& c)
{
    const double rest = c.mode == pace_mode::demonstration ? 0 : 9;
    return c.cost_ms * 1.1 + c.late_ms + rest + (c.vsync_honoured ? swap_return_ms : swap_copy_ms);
}

// Every case of the table: the refreshes of common displays, vsync honoured
// or ignored, frames of 1 to 40 ms, the timer on time or up to 2 ms late,
// every mode on mains and on battery.
inline std::vector<model_case> model_cases()
{
    std::vector<model_case> cases;
    for (double hz : {59.94, 60.0, 75.0, 120.0, 144.0, 165.0, 240.0})
        for (bool honoured : {true, false})
            for (double cost : {1.0, 2.0, 4.0, 6.0, 8.0, 10.0, 13.0, 16.0, 21.4, 25.0, 30.0, 40.0})
                for (double late : {0.0, 2.0})
                    for (pace_mode mode : {pace_mode::screensaver, pace_mode::demonstration, pace_mode::preview})
                        for (bool battery : {false, true})
                            cases.push_back({hz, honoured, cost, late, mode, battery});
    return cases;
}

// The screensaver at 60 Hz with frames at the edge of two rates: 17 ms and
// half as much more again for each share of the time the last one drew, so
// that they fit 30 a second only while they come 20 a second; 120 s.
inline model_case edge_of_two_rates(bool vsync_honoured, unsigned seed)
{
    model_case c{60, vsync_honoured, 17, 0, pace_mode::screensaver, false, 120, seed};
    c.contention = 0.5;
    return c;
}

inline model_result run_model(const model_case& c)
{
    const std::int64_t frequency = c.clock_hz;
    const auto counts = [&](double ms) { return static_cast<std::int64_t>(std::llround(ms * frequency / 1000)); };
    std::mt19937 random(c.seed);
    std::uniform_real_distribution<double> unit(0, 1);
    pace_keeper keeper(frequency);
    keeper.set_display(c.refresh_hz, c.on_battery, c.mode);
    double refresh = frequency / c.refresh_hz, cost_ms = c.cost_ms;
    const double phase = unit(random) * refresh; // where the refreshes fall
    const auto refresh_at_or_after = [&](double t) { return phase + std::ceil((t - phase) / refresh - 1e-9) * refresh; };

    model_result result;
    const std::int64_t judged_from = frequency, until = static_cast<std::int64_t>(c.seconds * frequency);
    const std::int64_t change_at = c.change_at > 0 ? static_cast<std::int64_t>(c.change_at * frequency) : until;
    std::int64_t now = 0, last_end = -1;
    double last_shown = -1e18, first_judged = 0, busy = 0;
    int intervals = 0, off = 0, fitting = 0, fitting_off = 0;
    bool changed = false, honoured = c.vsync_honoured;
    while (now < until) {
        if (now >= change_at && !changed) {
            changed = true;
            honoured = honoured && !c.then_ignored;
            cost_ms = c.then_cost_ms > 0 ? c.then_cost_ms : c.cost_ms;
            if (c.then_hz > 0 && keeper.set_display(c.then_hz, c.on_battery, c.mode))
                result.changes.emplace_back(static_cast<double>(now) / frequency, keeper.divisor());
            if (c.then_hz > 0)
                refresh = frequency / c.then_hz;
        }
        const std::int64_t due = keeper.due();
        const std::int64_t start = due > now ? due + counts(unit(random) * c.late_ms) : now;
        const bool long_frame = random() % long_frame_odds == 0;
        const double usual_ms = cost_ms * (1 + c.contention * busy);
        const double cost = long_frame ? 2 * usual_ms + 10 : usual_ms * (0.9 + 0.2 * unit(random));
        const std::int64_t finish = start + counts(cost);
        const std::int64_t swap_due = keeper.swap_due();
        const std::int64_t swap = swap_due > finish ? swap_due + counts(unit(random) * c.late_ms) : finish;
        const int divisor = keeper.divisor();
        double shown;
        std::int64_t end;
        if (honoured) {
            shown = refresh_at_or_after(std::max<double>(swap, last_shown + divisor * refresh));
            end = static_cast<std::int64_t>(std::ceil(shown)) + counts(unit(random) * swap_return_ms);
        } else {
            end = swap + counts(swap_copy_ms);
            shown = static_cast<double>(end);
        }
        if (keeper.frame_done({start, finish, swap, end}))
            result.changes.emplace_back(static_cast<double>(end) / frequency, keeper.divisor());
        if (last_end >= 0)
            result.least_rest_ms = std::min(result.least_rest_ms, (start - last_end) * 1000.0 / frequency);
        if (start >= judged_from) {
            if (result.frames++ == 0)
                first_judged = shown;
            const bool on_k = std::llround((shown - last_shown) / refresh) == divisor;
            ++intervals, off += !on_k;
            if (!long_frame)
                ++fitting, fitting_off += !on_k;
        }
        if (last_end >= 0)
            busy = std::min(1.0, cost * frequency / 1000 / (end - last_end));
        last_shown = shown, last_end = end, now = end;
    }
    result.frames_per_second = last_shown > first_judged ? (result.frames - 1.0) * frequency / (last_shown - first_judged) : 0;
    result.judder = intervals ? static_cast<double>(off) / intervals : 0;
    result.judder_fitting = fitting ? static_cast<double>(fitting_off) / fitting : 0;
    result.divisor = keeper.divisor();
    return result;
}
