#include "shell/frame_pacer.h"

#include "shell/gl_api.h"
#include "shell/gl_version.h"
#include "shell/run_log.h"
#include "shell/system_library.h"

#include <dwmapi.h>

#include <cmath>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {

struct pacer_state {
    double refresh = 60;
    pace_mode mode = pace_mode::demonstration;
    bool on_battery = false;
    bool swap_control = false; // the context offers WGL_EXT_swap_control
    frame_pace pace;
    frame_schedule schedule;
    frame_count count;
    bool after_pause = true;
    HANDLE timer = nullptr; // high resolution where the system has one, else none
    bool started = false;
};

pacer_state pacer;

// The compositor's refresh as a fraction, from dwmapi loaded at run time
// (it is no KnownDLL); 0/0 where there is none.
void compositor_refresh(unsigned& numerator, unsigned& denominator)
{
    numerator = denominator = 0;
    static HMODULE dwm = load_system_library(L"dwmapi.dll");
    using timing_call = HRESULT(WINAPI*)(HWND, DWM_TIMING_INFO*);
    const auto timing = dwm ? reinterpret_cast<timing_call>(reinterpret_cast<void*>(
                                  GetProcAddress(dwm, "DwmGetCompositionTimingInfo")))
                            : nullptr;
    DWM_TIMING_INFO info = {};
    info.cbSize = sizeof info;
    if (timing && SUCCEEDED(timing(nullptr, &info))) {
        numerator = info.rateRefresh.uiNumerator;
        denominator = info.rateRefresh.uiDenominator;
    }
}

double read_refresh()
{
    unsigned numerator, denominator;
    compositor_refresh(numerator, denominator);
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    const unsigned settings_hz =
        EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) ? mode.dmDisplayFrequency : 0;
    return display_refresh(numerator, denominator, settings_hz);
}

bool on_battery_now()
{
    SYSTEM_POWER_STATUS status;
    return GetSystemPowerStatus(&status) && status.ACLineStatus == 0;
}

// Whether the current context's WGL extensions name WGL_EXT_swap_control.
bool offers_swap_control(HDC dc)
{
    if (!gl.wglGetProcAddress)
        return false;
    using arb_call = const char*(WINAPI*)(HDC);
    using ext_call = const char*(WINAPI*)();
    if (const auto arb = reinterpret_cast<arb_call>(reinterpret_cast<void*>(gl.wglGetProcAddress("wglGetExtensionsStringARB"))))
        if (lists_extension(arb(dc), "WGL_EXT_swap_control"))
            return true;
    const auto ext = reinterpret_cast<ext_call>(reinterpret_cast<void*>(gl.wglGetProcAddress("wglGetExtensionsStringEXT")));
    return ext && lists_extension(ext(), "WGL_EXT_swap_control");
}

// Asks for the interval; some drivers and Wine say yes and never wait, so
// the loop's own wait holds the rate either way.
void ask_swap_interval()
{
    if (!pacer.swap_control)
        return;
    using interval_call = BOOL(WINAPI*)(int);
    if (const auto set = reinterpret_cast<interval_call>(reinterpret_cast<void*>(gl.wglGetProcAddress("wglSwapIntervalEXT"))))
        set(pacer.pace.swap_interval);
}

void apply_pace()
{
    pacer.pace = pace_frames(pacer.refresh, pacer.on_battery, pacer.mode);
    pacer.schedule.set_pace(pacer.pace, counter_frequency());
    ask_swap_interval();
    log_write("Frames: paced to %s a second (display %s Hz, swap interval %d %s)\n",
              rate_text(pacer.pace.frames_per_second).c_str(), rate_text(pacer.refresh).c_str(),
              pacer.pace.swap_interval, pacer.swap_control ? "asked" : "not offered");
}

} // namespace

std::int64_t read_counter()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

std::int64_t counter_frequency()
{
    static const std::int64_t frequency = [] {
        LARGE_INTEGER f;
        return QueryPerformanceFrequency(&f) && f.QuadPart > 0 ? f.QuadPart : 1000;
    }();
    return frequency;
}

void start_frames(HDC dc, pace_mode mode)
{
    pacer.refresh = read_refresh();
    pacer.on_battery = on_battery_now();
    pacer.mode = mode;
    pacer.swap_control = dc && gl.wglGetCurrentContext && gl.wglGetCurrentContext() && offers_swap_control(dc);
    pacer.schedule = frame_schedule();
    pacer.count = frame_count();
    pacer.after_pause = true;
    pacer.timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    pacer.started = true;
    apply_pace();
}

void power_source_changed(bool on_battery)
{
    if (on_battery == pacer.on_battery)
        return;
    pacer.on_battery = on_battery;
    const double before = pacer.pace.frames_per_second;
    if (pace_frames(pacer.refresh, on_battery, pacer.mode).frames_per_second != before && pacer.started)
        apply_pace();
}

const frame_pace& current_pace()
{
    return pacer.pace;
}

bool frame_due()
{
    return read_counter() >= pacer.schedule.due();
}

void frame_shown(std::int64_t start)
{
    pacer.count.frame(start, pacer.after_pause);
    pacer.after_pause = false;
    pacer.schedule.frame_done(start, read_counter());
}

int frames_drawn()
{
    return pacer.count.frames();
}

void wait_for_frame()
{
    const std::int64_t wait = pacer.schedule.due() - read_counter();
    if (wait <= 0)
        return;
    const std::int64_t frequency = counter_frequency();
    // Whole milliseconds, rounded up, bound even the timer's wait.
    const DWORD bound_ms = static_cast<DWORD>((wait * 1000 + frequency - 1) / frequency);
    if (pacer.timer) {
        LARGE_INTEGER when;
        when.QuadPart = -(wait * 10000000 / frequency) - 1; // relative, in 100 ns
        if (SetWaitableTimer(pacer.timer, &when, 0, nullptr, nullptr, FALSE)) {
            MsgWaitForMultipleObjectsEx(1, &pacer.timer, bound_ms + 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            return;
        }
    }
    // Without the timer: a wait of whole milliseconds that input still ends.
    MsgWaitForMultipleObjectsEx(0, nullptr, bound_ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void pause_frames()
{
    pacer.after_pause = true;
    pacer.schedule.restart();
}

void end_frames()
{
    if (!pacer.started)
        return;
    pacer.started = false;
    const std::int64_t frequency = counter_frequency();
    log_write("Frames: %d in %.1f s (%.1f a second)\n", pacer.count.frames(), pacer.count.seconds(frequency),
              pacer.count.rate(frequency));
    if (pacer.timer) {
        CloseHandle(pacer.timer);
        pacer.timer = nullptr;
    }
}
