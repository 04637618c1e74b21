// How fast and how evenly the frames come: the rate for the display, the
// power source and the frames' own time, and the schedule that keeps them
// on the display's grid.
#pragma once
#include <array>
#include <cstdint>
#include <string>

enum class pace_mode { screensaver, demonstration, preview };

struct frame_pace {
    double frames_per_second = 60; // the refresh divided by swap_interval
    int swap_interval = 1;         // refreshes a frame stays on the display
    double rest_seconds = 0;       // the least wait after each frame
};

// The fastest pace the cap allows: the refresh divided by the smallest whole
// number that brings it to 75 or below (to 30 or below on battery and for
// the preview), so that frames stay evenly spaced on the display. A
// screensaver run and the preview rest at least 9 ms after each frame,
// leaving the processor to the rest of the system. A refresh that is not a
// number or below 1 Hz is taken as 60.
frame_pace pace_frames(double refresh_hz, bool on_battery, pace_mode mode);

// A monitor's refresh from what the system said, exact fractions first: the
// compositor's (given for the primary monitor only, where it keeps time),
// then the display configuration's for that monitor (each numerator and
// denominator above 0), else the display settings' whole hertz when above 1
// (0 and 1 mean the hardware's default), else 60.
double display_refresh(unsigned compositor_numerator, unsigned compositor_denominator, unsigned config_numerator,
                       unsigned config_denominator, unsigned settings_hz);

// A rate as the log shows it: at most two decimals, no trailing zeros
// ("60", "59.94", "28.8").
std::string rate_text(double rate);

// Keeps a view's frames on its display's grid, in counts of a clock. Each
// frame stays on the display for a whole number k of refreshes: the
// smallest whose period holds the recent frames' need (from when a frame is
// due until it is shown, with the mode's rest after it; an odd long frame
// is no measure) and never below the cap's. k goes up as soon as frames stop
// fitting and comes back down only after a few seconds in which they all fit
// the lower k with room to spare, so that the rate does not see-saw; twice
// as many each time the lower k did not last that long.
//
// Frames are placed on a grid of k refreshes. Each starts early enough to
// be drawn by its place and is swapped there, however long it took to
// draw, so the frames' own unevenness never shows; a frame that is more
// than half a refresh late sets the grid anew from where it was shown,
// rather than the next catching up. Where the swap is found to wait for the
// display itself (its returns fall on the refreshes while the calls do not,
// or it held a frame swapped on time a refresh longer), the swap keeps the
// grid and the clock only the rest: a timer that woke just after a refresh
// would otherwise cost a frame a whole refresh.
struct frame_times {
    std::int64_t start, finish, swap, end;
};

class pace_keeper {
public:
    explicit pace_keeper(std::int64_t frequency = 1000000) : frequency_(frequency > 0 ? frequency : 1) {}

    // The view's display, power source and mode; true when the rate changed.
    bool set_display(double refresh_hz, bool on_battery, pace_mode mode);
    // A frame due at due() started, was drawn, swapped and the swap
    // returned at these times. True when k changed with it.
    bool frame_done(const frame_times& frame);
    // When the next frame may start.
    std::int64_t due() const { return due_; }
    // When the frame being drawn is to be swapped (0: at once).
    std::int64_t swap_due() const;
    // After a pause: the next frame at once, on a new grid.
    void restart();

    int divisor() const { return divisor_; }
    int least_divisor() const { return least_divisor_; } // the cap's
    double refresh() const { return refresh_; }
    double frames_per_second() const { return refresh_ / divisor_; }
    double rest_seconds() const { return static_cast<double>(rest_) / frequency_; }
    // The recent frames' time from due to shown, without the rest; 0 before
    // the first.
    double frame_seconds() const;
    bool swap_keeps_time() const { return swap_keeps_time_; }

private:
    static constexpr int recent = 16;
    std::int64_t ranked(const std::array<std::int64_t, recent>& values, int rank) const;
    std::int64_t largest_usual(const std::array<std::int64_t, recent>& values) const;
    double tolerance() const;
    double margin() const;
    int fitting_divisor(std::int64_t need, int least) const;
    bool choose_divisor(std::int64_t need, std::int64_t now);
    // Follows whether the swap waits for the display: its returns fall on
    // the refreshes while the calls do not. True when this frame's did.
    bool watch_swap(std::int64_t swap, std::int64_t end);

    std::int64_t frequency_;
    double refresh_ = 60;
    double refresh_counts_ = 0; // one refresh in counts
    int least_divisor_ = 1;
    int divisor_ = 1;
    std::int64_t rest_ = 0;

    bool started_ = false;
    std::int64_t slot_ = 0; // where the frame being drawn is to be shown
    double slot_fraction_ = 0;
    std::int64_t due_ = 0;

    std::array<std::int64_t, recent> needs_{}; // due to shown, with the rest
    std::array<std::int64_t, recent> drawn_{}; // from due to drawn
    int seen_ = 0;
    // The stretch over which k may come down: its start, frames and the
    // range of its usual needs.
    std::int64_t stretch_start_ = 0, stretch_most_ = 0, stretch_least_ = 0;
    int stretch_frames_ = 0;
    // How long frames must fit before k comes down (0: the least), and
    // when k last came down, while it has not gone up since.
    double hold_ = 0;
    std::int64_t lowered_at_ = 0;
    bool lowered_ = false;
    // The last 64 frames that did not fit, one bit each: those of about the
    // usual time, and all.
    std::uint64_t misses_ = 0, late_ = 0;

    bool swap_keeps_time_ = false;
    bool seen_swap_ = false;
    std::int64_t last_end_ = 0, last_swap_ = 0;
    int ends_on_refreshes_ = 0, swaps_off_ = 0;
};

// What a window's frames came to: how many were shown, and the time between
// the first and the last with pauses left out.
class frame_count {
public:
    // A frame shown at `shown`; `after_pause` when it is the first of its
    // window or of a stretch after a pause.
    void frame(std::int64_t shown, bool after_pause);
    int frames() const { return frames_; }
    // Seconds at `frequency` counts a second, and frames a second over them.
    double seconds(std::int64_t frequency) const;
    double rate(std::int64_t frequency) const;

private:
    int frames_ = 0;
    int intervals_ = 0;
    std::int64_t counts_ = 0;
    std::int64_t last_ = 0;
};
