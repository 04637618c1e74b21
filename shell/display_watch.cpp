#include "shell/display_watch.h"

#include "shell/monitor_layout.h"
#include "shell/monitors.h"
#include "shell/run_log.h"
#include "shell/shell.h"
#include "shell/shell_calls.h"
#include "shell/shell_state.h"
#include "shell/viewer_watch.h"

#include <cstring>
#include <vector>

namespace {

constexpr UINT_PTR screen_timer = 1;
constexpr UINT screen_settle_ms = 250;

// GUID_ACDC_POWER_SOURCE: 0 mains, 1 battery, 2 a UPS (a battery too).
constexpr GUID power_source_guid = {0x5d3e9a59, 0xe9d5, 0x4b00, {0xa6, 0xbd, 0xff, 0x34, 0xff, 0x51, 0x65, 0x48}};

HPOWERNOTIFY power_source;
// The displays and the session's lock.
viewer_watch viewers;
// The screen as the window last knew it, and the monitor it is paced for.
screen_rect known_screen;
std::vector<screen_rect> known_monitors;
HMONITOR paced_monitor;

bool on_battery_now()
{
    SYSTEM_POWER_STATUS status;
    return GetSystemPowerStatus(&status) && status.ACLineStatus == 0;
}

// Paces the frames for the monitor that holds most of the window, when that
// is another one or its refresh may have changed.
void pace_for_monitor(bool read_again)
{
    const HMONITOR monitor = shell_calls.window_monitor(main_window, covers_screen);
    if (monitor == paced_monitor && !read_again)
        return;
    paced_monitor = monitor;
    render_pacer.set_display(shell_calls.monitor_refresh(monitor));
}

// After a change of the screen: logged, and a full-screen window covers the
// new virtual screen, its monitors' views rebuilt, its picture taken again
// where it did not cover the screen before. A window of its own size stays
// as it is.
void follow_screen_change()
{
    const screen_rect screen = virtual_screen();
    std::vector<screen_rect> monitors = display_monitors();
    // A screen without pixels (every monitor gone for a moment) is not
    // followed: the next change brings one back.
    if (screen.width <= 0 || screen.height <= 0 || (screen == known_screen && monitors == known_monitors))
        return;
    known_screen = screen;
    known_monitors = monitors;
    log_write("Screen changed: %d x %d at %d, %d, %d monitor(s)\n", screen.width, screen.height, screen.x, screen.y,
              static_cast<int>(monitor_views(monitors, screen).size()));
    if (!covers_screen)
        return;
    // The picture first, while the window still covers only its old place.
    gl_screen(window_place, screen);
    screen_monitors = monitor_views(monitors, screen);
    window_place = screen;
    // The size message sets screen_width and screen_height.
    SetWindowPos(main_window, nullptr, screen.x, screen.y, screen.width, screen.height, SWP_NOZORDER | SWP_NOACTIVATE);
    scene_ready = false;
    if (shell_calls.init_scene() != 0) {
        shell_calls.report("gl_init");
        PostQuitMessage(0);
        return;
    }
    scene_ready = true;
    gl_resize(screen_width, screen_height);
}

} // namespace

view_pacer render_pacer;

void watch_display(HWND window)
{
    known_screen = virtual_screen();
    known_monitors = display_monitors();
    viewers.start(window);
    power_source = RegisterPowerSettingNotification(window, &power_source_guid, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void start_frames(HDC dc, pace_mode mode)
{
    paced_monitor = shell_calls.window_monitor(main_window, covers_screen);
    render_pacer.start(dc, mode, shell_calls.monitor_refresh(paced_monitor), on_battery_now());
}

void follow_window_monitor()
{
    pace_for_monitor(false);
}

void stop_watching()
{
    render_pacer.end();
    viewers.stop();
    if (power_source)
        UnregisterPowerSettingNotification(power_source);
    power_source = nullptr;
}

bool someone_may_look()
{
    return viewers.someone_may_look();
}

bool display_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& answer)
{
    if (window != main_window)
        return false;
    switch (message) {
    case WM_DISPLAYCHANGE:
        SetTimer(window, screen_timer, screen_settle_ms, nullptr);
        return false;
    case WM_TIMER:
        if (wparam != screen_timer)
            return false;
        KillTimer(window, screen_timer);
        follow_screen_change();
        pace_for_monitor(true);
        answer = 0;
        return true;
    case WM_WTSSESSION_CHANGE:
        answer = 0;
        return viewers.follow(message, wparam, lparam);
    case WM_POWERBROADCAST: {
        answer = TRUE;
        if (viewers.follow(message, wparam, lparam))
            return true;
        const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lparam);
        DWORD state = 0;
        if (wparam != PBT_POWERSETTINGCHANGE || !setting || setting->DataLength < sizeof state ||
            setting->PowerSetting != power_source_guid)
            return false;
        std::memcpy(&state, setting->Data, sizeof state);
        render_pacer.set_power(state != 0);
        return true;
    }
    }
    return false;
}
