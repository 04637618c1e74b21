// How fast and how evenly the frames come: the rate for the display and
// the power source, and the schedule that spaces the frames at that rate.
#pragma once
#include <cstdint>
#include <string>

enum class pace_mode { screensaver, demonstration, preview };

struct frame_pace {
    double frames_per_second = 60; // the refresh divided by swap_interval
    int swap_interval = 1;         // refreshes a frame stays on the display
    double rest_seconds = 0;       // the least wait after each frame
};

// The refresh divided by the smallest whole number that brings it to 75 or
// below (to 30 or below on battery and for the preview), so that frames
// stay evenly spaced on the display. A screensaver run and the preview rest
// at least 9 ms after each frame, leaving the processor to the rest of the
// system. A refresh that is not a number or below 1 Hz is taken as 60.
frame_pace pace_frames(double refresh_hz, bool on_battery, pace_mode mode);

// The display's refresh from what the system said: the compositor's exact
// fraction when it gave one (numerator and denominator above 0), else the
// display settings' whole hertz when above 1 (0 and 1 mean the hardware's
// default), else 60.
double display_refresh(unsigned compositor_numerator, unsigned compositor_denominator,
                       unsigned settings_hz);

// A rate as the log shows it: at most two decimals, no trailing zeros
// ("60", "59.94", "28.8").
std::string rate_text(double rate);

// Frame starts on an even grid, in counts of a clock. Each frame is due one
// period after the one before was due, not after it was shown, so a late
// wake-up does not slow the rate; a frame more than a period late (a pause,
// a long stall) starts a new grid at once instead of a burst to catch up.
class frame_schedule {
public:
    // The period and the rest of `pace` in counts of a clock running at
    // `frequency` a second, for the frames after the next: the grid goes on
    // from the frame already due.
    void set_pace(const frame_pace& pace, std::int64_t frequency);
    // After a pause: the next frame at once, a new grid from it.
    void restart() { started_ = false, due_ = 0; }
    // A frame started at `start` has been shown by `end`: returns when the
    // next may start, at least the rest after `end`.
    std::int64_t frame_done(std::int64_t start, std::int64_t end);
    std::int64_t due() const { return due_; }

private:
    std::int64_t period_ = 1;
    std::int64_t rest_ = 0;
    std::int64_t slot_ = 0; // when the last frame was due on the grid
    std::int64_t due_ = 0;
    bool started_ = false;
};

// What a window's frames came to: how many were shown, and the time between
// the first and the last with pauses left out.
class frame_count {
public:
    // A frame started at `start`; `after_pause` when it is the first of its
    // window or of a stretch after a pause.
    void frame(std::int64_t start, bool after_pause);
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
