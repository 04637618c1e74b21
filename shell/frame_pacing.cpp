#include "shell/frame_pacing.h"

#include <algorithm>
#include <bitset>
#include <climits>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

constexpr double full_rate_cap = 75;
constexpr double low_rate_cap = 30;
constexpr double screensaver_rest = 0.009;
constexpr double default_refresh = 60;
// Seconds of frames that fit a lower k before k comes down; twice as long
// each time a lower k had to go back up within that, up to the longest.
constexpr double lower_after_seconds = 3;
constexpr double longest_hold_seconds = 96;
// How close a swap's return must come to a refresh to count as on it.
constexpr double swap_tolerance_seconds = 0.00025;

} // namespace

frame_pace pace_frames(double refresh_hz, bool on_battery, pace_mode mode)
{
    const double refresh = std::isfinite(refresh_hz) && refresh_hz >= 1 ? refresh_hz : default_refresh;
    const double cap = on_battery || mode == pace_mode::preview ? low_rate_cap : full_rate_cap;
    // The small allowance keeps 150 Hz / 75 at 2 whatever the rounding.
    const double divisor = std::ceil(refresh / cap - 1e-9);
    frame_pace pace;
    pace.swap_interval = divisor < 1 ? 1 : divisor > 1e6 ? 1000000 : static_cast<int>(divisor);
    pace.frames_per_second = refresh / pace.swap_interval;
    pace.rest_seconds = mode == pace_mode::demonstration ? 0 : screensaver_rest;
    return pace;
}

double display_refresh(unsigned compositor_numerator, unsigned compositor_denominator, unsigned config_numerator,
                       unsigned config_denominator, unsigned settings_hz)
{
    if (compositor_numerator > 0 && compositor_denominator > 0)
        return static_cast<double>(compositor_numerator) / compositor_denominator;
    if (config_numerator > 0 && config_denominator > 0)
        return static_cast<double>(config_numerator) / config_denominator;
    if (settings_hz > 1)
        return settings_hz;
    return default_refresh;
}

std::string rate_text(double rate)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", rate);
    std::string shown = text;
    if (shown.find('.') != std::string::npos) {
        shown.erase(shown.find_last_not_of('0') + 1);
        if (shown.back() == '.')
            shown.pop_back();
    }
    return shown;
}

bool pace_keeper::set_display(double refresh_hz, bool on_battery, pace_mode mode)
{
    const double before = frames_per_second();
    const frame_pace cap = pace_frames(refresh_hz, on_battery, mode);
    refresh_ = cap.frames_per_second * cap.swap_interval;
    refresh_counts_ = frequency_ / refresh_;
    least_divisor_ = cap.swap_interval;
    rest_ = static_cast<std::int64_t>(std::ceil(cap.rest_seconds * frequency_));
    divisor_ = seen_ >= 3 ? fitting_divisor(largest_usual(needs_), least_divisor_) : least_divisor_;
    // Another display: whether its swap waits is found anew, and how its
    // frames fit.
    swap_keeps_time_ = seen_swap_ = false;
    stretch_frames_ = 0;
    hold_ = 0, lowered_ = false;
    return frames_per_second() != before;
}

void pace_keeper::restart()
{
    started_ = seen_swap_ = false;
    due_ = 0;
    stretch_frames_ = 0;
}

bool pace_keeper::frame_done(const frame_times& frame)
{
    const bool first = !started_;
    const std::int64_t due = first ? frame.start : due_;
    started_ = true;
    // A swap that waited for the display hides the frame's own end.
    const bool waited = watch_swap(frame.swap, frame.end);
    const std::int64_t need =
        std::max<std::int64_t>(frame.finish - due, 0) + (waited ? 0 : frame.end - frame.swap) + rest_;
    needs_[seen_ % recent] = need;
    drawn_[seen_ % recent] = std::max<std::int64_t>(frame.finish - due, 0);
    ++seen_;
    const bool changed = choose_divisor(need, frame.end);

    if (swap_keeps_time_) {
        slot_ = frame.end;
        due_ = frame.end + rest_;
        return changed;
    }
    // The first frame, and one shown more than half a refresh late (a slow
    // frame, a stall), set the grid anew: the next is shown a whole period
    // after it rather than sooner to catch up.
    if (first || frame.swap > slot_ + refresh_counts_ / 2)
        slot_ = frame.swap, slot_fraction_ = 0;
    // Whole counts on the grid, the fraction carried: a period rounded to
    // the clock would drift off the refreshes.
    const double next = slot_fraction_ + divisor_ * refresh_counts_;
    slot_ += static_cast<std::int64_t>(next);
    slot_fraction_ = next - std::floor(next);
    // Started early enough to be drawn by its place on the grid, with half a
    // refresh to spare: a swap that waits for the display unnoticed would
    // cost a frame that missed it a whole refresh.
    const std::int64_t lead = seen_ >= 3 ? largest_usual(drawn_) + static_cast<std::int64_t>(refresh_counts_ / 2) : 0;
    due_ = std::max(slot_ - lead, frame.end + rest_);
    return changed;
}

std::int64_t pace_keeper::swap_due() const
{
    // Without a swap that keeps time, frames are shown as they are swapped:
    // each at its place on the grid however long it took to draw, so that
    // the frames' own unevenness never shows.
    return swap_keeps_time_ || !started_ || seen_ < 3 ? 0 : slot_;
}

double pace_keeper::frame_seconds() const
{
    return seen_ > 0 ? static_cast<double>(largest_usual(needs_) - rest_) / frequency_ : 0;
}

// The value of `rank` (0 the largest) among the recent frames' values.
std::int64_t pace_keeper::ranked(const std::array<std::int64_t, recent>& values, int rank) const
{
    const int count = std::min(seen_, recent);
    std::array<std::int64_t, recent> order = values;
    const int nth = std::min(rank, count - 1);
    std::nth_element(order.begin(), order.begin() + nth, order.begin() + count, std::greater<std::int64_t>());
    return order[nth];
}

// The largest of the recent frames' values that is no more than half as
// long again as their median: an odd long frame is no measure.
std::int64_t pace_keeper::largest_usual(const std::array<std::int64_t, recent>& values) const
{
    const int count = std::min(seen_, recent);
    const std::int64_t most = ranked(values, count / 2) * 3 / 2;
    std::int64_t largest = 0;
    for (int i = 0; i < count; ++i)
        if (values[i] <= most)
            largest = std::max(largest, values[i]);
    return largest;
}

// How close to a refresh counts as on it: a swap that waits for the display
// returns a little after the refresh, so a frame needs that much more.
double pace_keeper::tolerance() const
{
    return std::min(swap_tolerance_seconds * frequency_, refresh_counts_ / 8);
}

double pace_keeper::margin() const
{
    return swap_keeps_time_ ? tolerance() : 0;
}

int pace_keeper::fitting_divisor(std::int64_t need, int least) const
{
    const double divisor = std::ceil((need + margin()) / refresh_counts_ - 1e-9);
    return divisor <= least ? least : divisor > 1e6 ? 1000000 : static_cast<int>(divisor);
}

bool pace_keeper::choose_divisor(std::int64_t need, std::int64_t now)
{
    if (stretch_frames_ == 0)
        stretch_start_ = now, stretch_most_ = 0, stretch_least_ = INT64_MAX;
    ++stretch_frames_;
    const std::int64_t period = static_cast<std::int64_t>(divisor_ * refresh_counts_ - margin());
    // A frame of about the usual time: an odd long frame (half as long
    // again as the usual) is no reason to slow every frame.
    const bool usual = need <= ranked(needs_, std::min(seen_, recent) / 2) * 3 / 2;
    misses_ = misses_ << 1 | (usual && need > period ? 1 : 0);
    late_ = late_ << 1 | (need > period ? 1 : 0);
    if (usual)
        stretch_most_ = std::max(stretch_most_, need), stretch_least_ = std::min(stretch_least_, need);

    const double least_hold = lower_after_seconds * frequency_, hold = std::max(hold_, least_hold);
    // Up as soon as frames stop fitting (two of the last 64 of about the
    // usual time, or three of the last four, as when all slow down), to
    // where the usual ones all fit.
    if (std::bitset<64>(misses_).count() >= 2 || std::bitset<4>(late_).count() >= 3) {
        divisor_ = fitting_divisor(largest_usual(needs_), divisor_ + 1);
        stretch_frames_ = 0;
        misses_ = late_ = 0;
        // A lower k that did not last its hold: frames fit it only while
        // they came less often, so the next try waits twice as long.
        if (lowered_)
            hold_ = now - lowered_at_ < hold ? std::min(hold * 2, longest_hold_seconds * frequency_) : least_hold;
        lowered_ = false;
        return true;
    }
    if (now - stretch_start_ < hold || stretch_frames_ < 8)
        return false;
    // Down only where every usual frame of the stretch fits with room for a
    // quarter of their spread more, so that the rate does not see-saw.
    const int lower = fitting_divisor(stretch_most_ + (stretch_most_ - stretch_least_) / 4, least_divisor_);
    stretch_frames_ = 0;
    if (lower >= divisor_)
        return false;
    divisor_ = lower;
    misses_ = late_ = 0;
    lowered_ = true, lowered_at_ = now;
    return true;
}

bool pace_keeper::watch_swap(std::int64_t swap, std::int64_t end)
{
    const bool seen = seen_swap_;
    seen_swap_ = true;
    const std::int64_t ends = end - last_end_, swaps = swap - last_swap_;
    last_end_ = end, last_swap_ = swap;
    // The first swap of a grid tells nothing: taken as one that waited.
    if (!seen)
        return true;
    const double tolerance = this->tolerance();
    // How far a span is from a whole number of refreshes (at least one).
    const auto off_refreshes = [this](std::int64_t span) {
        const double refreshes = std::max(1.0, std::round(span / refresh_counts_));
        return std::fabs(span - refreshes * refresh_counts_);
    };
    const bool on_refreshes = off_refreshes(ends) <= tolerance;
    if (swap_keeps_time_) {
        // A swap that let a frame through early keeps no time after all.
        if (ends < divisor_ * refresh_counts_ - tolerance)
            swap_keeps_time_ = false, ends_on_refreshes_ = swaps_off_ = 0;
        return true;
    }
    ends_on_refreshes_ = on_refreshes ? ends_on_refreshes_ + 1 : 0;
    swaps_off_ = on_refreshes ? swaps_off_ + (off_refreshes(swaps) > tolerance) : 0;
    // A frame swapped on time that the display still held a refresh longer
    // gives the swap away at once.
    const bool held_longer = on_refreshes && std::round(ends / refresh_counts_) > divisor_ &&
                             std::fabs(swaps - divisor_ * refresh_counts_) < refresh_counts_ / 2;
    if ((ends_on_refreshes_ >= recent && swaps_off_ >= 2) || held_longer)
        swap_keeps_time_ = true;
    return on_refreshes;
}

void frame_count::frame(std::int64_t shown, bool after_pause)
{
    if (frames_ > 0 && !after_pause) {
        counts_ += shown - last_;
        ++intervals_;
    }
    last_ = shown;
    ++frames_;
}

double frame_count::seconds(std::int64_t frequency) const
{
    return frequency > 0 ? static_cast<double>(counts_) / frequency : 0;
}

double frame_count::rate(std::int64_t frequency) const
{
    const double time = seconds(frequency);
    return time > 0 ? intervals_ / time : 0;
}
