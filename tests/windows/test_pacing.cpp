// The power source and the displays as the window hears of them (sent by the test: Wine never tells), and frames
// held to their rate.
#include "shell/entry.h"
#include "shell/frame_pacer.h"
#include "shell/render_window.h"
#include "shell/shell_calls.h"
#include "shell/shell_state.h"
#include "test_log.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>
#include <vector>

namespace {

std::vector<std::string> steps;
int looks;
std::int64_t tick;

constexpr GUID power_source = {0x5d3e9a59, 0xe9d5, 0x4b00, {0xa6, 0xbd, 0xff, 0x34, 0xff, 0x51, 0x65, 0x48}},
               displays = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}},
               monitor_power_on = {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}}; // Windows 7's

// Sends the window the power setting's `state` (`length` bytes of it), then notes the pace.
void power(DWORD state, DWORD length = sizeof(DWORD), GUID guid = power_source)
{
    POWERBROADCAST_SETTING setting = {guid, length, {}};
    std::memcpy(setting.Data, &state, sizeof state);
    SendMessageA(main_window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&setting));
    steps.push_back(std::to_string(state) + ": " + std::to_string(static_cast<int>(current_pace().frames_per_second)) +
                    " / " + std::to_string(current_pace().swap_interval));
}

} // namespace

TEST(pacing, the_power_source_changes_the_rate_frames_keep_to_it_and_stop_while_the_displays_are_off)
{
    shell_calls.prepare_scene = shell_calls.init_scene = [] { return 0; };
    steps.clear(), looks = 0, tick = last_tick = 0;
    const std::size_t logged = test_log().size();
    // Every 20 ms: battery once frames come, mains after a UPS and a too-short setting; ten looks later every
    // display off, ten more on again (as Windows 7 says); closed once frames come again.
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        // A frame of a few pixels costs next to nothing: only the wait holds the rate.
        if (++looks == 1 && steps.empty())
            SetWindowPos(main_window, nullptr, 0, 0, 64, 48, SWP_NOZORDER | SWP_NOACTIVATE);
        if (looks > 500)
            steps.push_back("stuck"), PostMessageA(main_window, WM_CLOSE, 0, 0);
        else if (steps.empty() && last_tick != 0)
            power(1), tick = last_tick, looks = 0;
        else if (steps.size() == 1 && last_tick != tick)
            power(2), power(0, 3), power(0), tick = last_tick, looks = 0;
        else if (steps.size() == 4 && looks >= 10 && last_tick != tick)
            power(0, sizeof(DWORD), displays), tick = last_tick, looks = 0;
        else if (steps.size() == 5 && looks == 10)
            steps.push_back(last_tick == tick ? "paused" : "drew while off"), power(1, sizeof(DWORD), monitor_power_on);
        else if (steps.size() == 7 && last_tick != tick)
            steps.push_back("drawing again"), PostMessageA(main_window, WM_CLOSE, 0, 0);
    });
    app_instance = GetModuleHandleA(nullptr);
    screensaver_mode = false, preview_parent = nullptr; // as a start without a switch finds them
    EXPECT_EQ(run_entry("quillmere.scr", SW_SHOWNORMAL), 1);
    EXPECT_EQ(current_pace().rest_seconds, 0) << "paced as the demonstration";
    KillTimer(nullptr, timer);
    UnregisterClassA(render_class_name, app_instance);
    shell_calls = {};
    EXPECT_EQ(steps, (std::vector<std::string>{"1: 30 / 2", "2: 30 / 2", "0: 30 / 2", "0: 60 / 1", "0: 60 / 1", "paused",
                                               "1: 60 / 1", "drawing again"}));

    // The frames' lines: the pace at the start and at each change of the rate, the count at the end.
    std::string log = test_log().substr(logged);
    log = std::regex_replace(log, std::regex("(^|\n)(?!Frames: )[^\n]*"), "");
    std::smatch ended;
    ASSERT_TRUE(std::regex_search(log, ended, std::regex("\nFrames: ([0-9]+) in [0-9.]+ s \\(([0-9.]+) a second\\)$"))) << log;
    EXPECT_EQ(log.substr(0, ended.position(0)), "Frames: paced to 60 a second (display 60 Hz, swap interval 1 asked)\n"
                                                "Frames: paced to 30 a second (display 60 Hz, swap interval 2 asked)\n"
                                                "Frames: paced to 60 a second (display 60 Hz, swap interval 1 asked)");
    EXPECT_GT(std::stoi(ended[1]), 2);
    EXPECT_GE(counter_frequency(), 1000000) << "frames timed to the microsecond";
    EXPECT_LE(std::stod(ended[2]), 60 * 1.02) << "frames above their rate";
}
