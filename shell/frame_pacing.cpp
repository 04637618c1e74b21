#include "shell/frame_pacing.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr double full_rate_cap = 75;
constexpr double low_rate_cap = 30;
constexpr double screensaver_rest = 0.009;
constexpr double default_refresh = 60;

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

double display_refresh(unsigned compositor_numerator, unsigned compositor_denominator, unsigned settings_hz)
{
    if (compositor_numerator > 0 && compositor_denominator > 0)
        return static_cast<double>(compositor_numerator) / compositor_denominator;
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

void frame_schedule::set_pace(const frame_pace& pace, std::int64_t frequency)
{
    const double period = std::round(frequency / pace.frames_per_second);
    period_ = period >= 1 && period < 9e18 ? static_cast<std::int64_t>(period) : 1;
    rest_ = static_cast<std::int64_t>(std::ceil(pace.rest_seconds * frequency));
}

std::int64_t frame_schedule::frame_done(std::int64_t start, std::int64_t end)
{
    if (!started_) {
        slot_ = start;
        started_ = true;
    }
    slot_ += period_;
    // A whole period behind: a new grid from now rather than a burst.
    if (slot_ + period_ <= end)
        slot_ = end;
    due_ = slot_ > end + rest_ ? slot_ : end + rest_;
    return due_;
}

void frame_count::frame(std::int64_t start, bool after_pause)
{
    if (frames_ > 0 && !after_pause) {
        counts_ += start - last_;
        ++intervals_;
    }
    last_ = start;
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
