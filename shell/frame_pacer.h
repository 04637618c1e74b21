// The render window's frames in time: the rate for the display and the
// power source, the wait before each frame, and the log's account of both.
#pragma once
#include <windows.h>

#include "shell/frame_pacing.h"

#include <cstdint>

// The performance counter now, and its counts a second.
std::int64_t read_counter();
std::int64_t counter_frequency();

// Once the window exists with its context current on `dc`: reads the
// refresh and the power source, asks the context for the swap interval
// where it offers one, and logs "Frames: paced to ...".
void start_frames(HDC dc, pace_mode mode);
// The power source changed (from the window's power notification): a new
// rate, logged again, when it differs from the one in force.
void power_source_changed(bool on_battery);
// The pace in force for the window.
const frame_pace& current_pace();

// Whether the next frame is due now.
bool frame_due();
// Counts and schedules a frame that started at `start` and is now shown.
void frame_shown(std::int64_t start);
// Frames the window has shown so far.
int frames_drawn();
// Waits until the next frame is due or a message comes, whichever first.
void wait_for_frame();
// The window draws nothing for now: the next frame starts a new grid.
void pause_frames();
// The window ends: logs "Frames: N in T s (R a second)" and lets go of the
// timer.
void end_frames();
