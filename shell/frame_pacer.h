// A view's frames in time: the rate for its display, the power source and
// its frames' own time, the waits before each frame and before its swap,
// and the log's account of them. One per view that draws.
#pragma once
#include <windows.h>

#include "shell/frame_pacing.h"

#include <cstdint>

// The performance counter now, and its counts a second.
std::int64_t read_counter();
std::int64_t counter_frequency();

class view_pacer {
public:
    view_pacer() = default;
    ~view_pacer();
    view_pacer(const view_pacer&) = delete;
    view_pacer& operator=(const view_pacer&) = delete;

    // Once the view exists with its context current on `dc`: paced for its
    // mode, its display's refresh and the power source; asks the context for
    // the swap interval where it offers one, and logs "Frames: paced to ...".
    void start(HDC dc, pace_mode mode, double refresh_hz, bool on_battery);
    // The view's display or the power source changed: the swap interval
    // asked follows k, and the line is logged again when the rate changes.
    void set_display(double refresh_hz);
    void set_power(bool on_battery);
    const pace_keeper& pace() const { return keeper_; }

    // Whether the next frame is due now.
    bool frame_due() const;
    // Waits until the next frame is due or a message comes, whichever first.
    void wait_for_frame() const;
    // The frame that started at `start` is drawn: waits for its place, swaps
    // `dc`, counts it and schedules the next.
    void show_frame(HDC dc, std::int64_t start);
    // The view draws nothing for now: the next frame starts a new grid.
    void pause();
    // The view ends: logs "Frames: N in T s (R a second)" and lets go of the
    // timer.
    void end();
    // Frames shown since start.
    int frames_drawn() const { return count_.frames(); }

private:
    // After a change of the pace: the swap interval follows k, and a new
    // rate is logged.
    void changed(int divisor_before, double rate_before);
    void log_pace() const;

    pace_keeper keeper_{counter_frequency()};
    frame_count count_;
    pace_mode mode_ = pace_mode::demonstration;
    double refresh_hz_ = 60;
    bool on_battery_ = false;
    bool swap_control_ = false; // the context offers WGL_EXT_swap_control
    bool after_pause_ = true;
    bool started_ = false;
    HANDLE timer_ = nullptr; // high resolution where the system has one, else none
};
