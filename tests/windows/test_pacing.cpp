// What a window hears of its display and power, sent here as Wine never tells and has one 60 Hz display.
#include "shell/display_watch.h"
#include "shell/entry.h"
#include "shell/render_window.h"
#include "shell/shell_calls.h"
#include "shell/shell_state.h"
#include "test_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

namespace {

std::vector<std::string> steps;
int looks, drawn;
double refresh_of[3]; // two monitors of the test's own, the primary first
int shown_on;         // the window's
HWND host;

constexpr GUID power_source = {0x5d3e9a59, 0xe9d5, 0x4b00, {0xa6, 0xbd, 0xff, 0x34, 0xff, 0x51, 0x65, 0x48}},
               displays = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}},
               monitor_power_on = {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}}; // Windows 7's

bool drew() { return render_pacer.frames_drawn() > drawn; }
// A busy machine may raise k; whatever it is, the rate is the refresh over k and the swap interval asked is k.
void note(const std::string& what)
{
    using get_interval = int(WINAPI*)();
    const auto interval = reinterpret_cast<get_interval>(reinterpret_cast<void*>(gl.wglGetProcAddress("wglGetSwapIntervalEXT")));
    const pace_keeper& pace = render_pacer.pace();
    const bool held = pace.divisor() >= pace.least_divisor() && interval && interval() == pace.divisor() &&
                      pace.frames_per_second() == pace.refresh() / pace.divisor();
    steps.push_back(what + ": " + rate_text(pace.refresh()) + " Hz, " + std::to_string(pace.least_divisor()) +
                    (held ? "" : ", k " + std::to_string(pace.divisor()) + " not held"));
    drawn = render_pacer.frames_drawn(), looks = 0;
}

void power(DWORD state, DWORD length = sizeof(DWORD), GUID guid = power_source)
{
    POWERBROADCAST_SETTING setting = {guid, length, {}};
    std::memcpy(setting.Data, &state, sizeof state);
    SendMessageA(main_window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&setting));
    note(std::to_string(state));
}

// Runs the .scr with `script` called every 20 ms till it closes the window (a run stuck for 10 s is closed).
std::string run(const char* command, void (*script)())
{
    static void (*current)();
    current = script;
    steps.clear(), looks = drawn = 0, last_frame_start = 0;
    shell_calls.prepare_scene = shell_calls.init_scene = [] { return 0; };
    shell_calls.window_monitor = [](HWND, bool every) { return reinterpret_cast<HMONITOR>(INT_PTR{every ? 1 : shown_on}); };
    shell_calls.monitor_refresh = [](HMONITOR monitor) { return refresh_of[reinterpret_cast<INT_PTR>(monitor)]; };
    const std::size_t logged = test_log().size();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        if (++looks > 500)
            steps.push_back("stuck"), PostMessageA(main_window, WM_CLOSE, 0, 0);
        else if (main_window)
            current();
    });
    app_instance = GetModuleHandleA(nullptr);
    screensaver_mode = false, preview_parent = nullptr; // as a start without a switch finds them
    EXPECT_EQ(run_entry(command, SW_SHOWNORMAL), 1);
    KillTimer(nullptr, timer), UnregisterClassA(render_class_name, app_instance);
    shell_calls = {}, preview_parent = nullptr;
    const std::string log = std::regex_replace(test_log().substr(logged), std::regex("(^|\n)(?!Frames: )[^\n]*"), "");
    return log.substr(std::min(log.find_first_not_of('\n'), log.size()));
}

// Every pace the refresh over a whole number and at most `most` a second; the count at the end no faster.
void expect_frames(const std::string& log, const std::string& first, const char* then, double most)
{
    EXPECT_EQ(log.substr(0, log.find('\n')), first);
    EXPECT_NE(log.find(std::string("(display ") + then + " Hz, frames take "), std::string::npos) << log;
    const std::regex paced("Frames: paced to ([0-9.]+) a second \\(display ([0-9.]+) Hz, ");
    for (std::sregex_iterator line(log.begin(), log.end(), paced), none; line != none; ++line) {
        const double rate = std::stod((*line)[1]), divisor = std::stod((*line)[2]) / rate;
        EXPECT_TRUE(rate <= most && std::fabs(divisor - std::round(divisor)) < 0.01) << line->str();
    }
    std::smatch ended;
    ASSERT_TRUE(std::regex_search(log, ended, std::regex("\nFrames: ([0-9]+) in [0-9.]+ s \\(([0-9.]+) a second\\)$"))) << log;
    const double frames = std::stoi(ended[1]);
    ASSERT_GT(frames, 2) << log;
    // A busy machine's first swap may return late, the last on time: one interval's slack over the run.
    EXPECT_LE(std::stod(ended[2]), most * 1.02 * (frames - 1) / (frames - 2)) << "frames above their rate: " << ended[0];
}

} // namespace

// The demonstration over every monitor, paced for the primary: power sources, displays off and on, the session
// locked, the primary's refresh becoming 144 Hz announced by WM_DISPLAYCHANGE alone.
TEST(pacing, the_power_source_and_the_refresh_change_the_rate_and_frames_stop_while_the_displays_are_off)
{
    refresh_of[1] = 60, refresh_of[2] = 165, shown_on = 2;
    const std::string log = run("quillmere.scr", [] {
        // A frame of a few pixels costs next to nothing: only the pace holds the rate.
        if (steps.empty() && render_pacer.frames_drawn() < 3)
            SetWindowPos(main_window, nullptr, 0, 0, 64, 48, SWP_NOZORDER | SWP_NOACTIVATE);
        else if (steps.empty())
            power(1);
        else if (steps.size() == 1 && drew())
            power(2), power(0, 3), power(0);
        else if (steps.size() == 4 && looks >= 10 && drew())
            power(0, sizeof(DWORD), displays);
        else if (steps.size() == 5 && looks == 10)
            steps.push_back(drew() ? "drew while off" : "paused"), power(1, sizeof(DWORD), monitor_power_on);
        else if (steps.size() == 7 && drew())
            note("drawing again"), SendMessageA(main_window, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0), note("locked");
        else if (steps.size() == 9 && looks == 10)
            steps.push_back(drew() ? "drew while locked" : "paused"), SendMessageA(main_window, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0), note("unlocked");
        else if (steps.size() == 11 && drew())
            note("drawing again"), refresh_of[1] = 144, SendMessageA(main_window, WM_DISPLAYCHANGE, 32, MAKELPARAM(64, 48));
        else if (steps.size() == 12 && render_pacer.pace().refresh() == 144 && drew())
            note("144 Hz"), PostMessageA(main_window, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(steps, (std::vector<std::string>{"1: 60 Hz, 2", "2: 60 Hz, 2", "0: 60 Hz, 2", "0: 60 Hz, 1", "0: 60 Hz, 1", "paused",
                                               "1: 60 Hz, 1", "drawing again: 60 Hz, 1", "locked: 60 Hz, 1", "paused", "unlocked: 60 Hz, 1",
                                               "drawing again: 60 Hz, 1", "144 Hz: 144 Hz, 2"}));
    EXPECT_EQ(render_pacer.pace().rest_seconds(), 0) << "paced as the demonstration";
    expect_frames(log, "Frames: paced to 60 a second (display 60 Hz, swap interval 1 asked)", "144", 72);
    EXPECT_GE(counter_frequency(), 1000000) << "frames timed to the microsecond";
}

// A preview whose host moves from a 60 Hz monitor to a 165 Hz one is paced for the new one.
TEST(pacing, a_preview_follows_its_host_to_another_monitor)
{
    refresh_of[1] = 60, refresh_of[2] = 165, shown_on = 1;
    host = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 64, 48, nullptr, nullptr, nullptr, nullptr);
    const std::string log = run(("quillmere.scr /p " + std::to_string(reinterpret_cast<INT_PTR>(host))).c_str(), [] {
        if (steps.empty() && render_pacer.frames_drawn() >= 3)
            note("60 Hz"), shown_on = 2;
        else if (steps.size() == 1 && render_pacer.pace().refresh() == 165 && drew())
            note("165 Hz"), DestroyWindow(host);
    });
    EXPECT_EQ(steps, (std::vector<std::string>{"60 Hz: 60 Hz, 2", "165 Hz: 165 Hz, 6"}));
    expect_frames(log, "Frames: paced to 30 a second (display 60 Hz, swap interval 2 asked)", "165", 30);
}
