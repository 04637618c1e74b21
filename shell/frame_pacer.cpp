#include "shell/frame_pacer.h"

#include "shell/gl_api.h"
#include "shell/gl_version.h"
#include "shell/run_log.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {

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
// the pacer finds out for itself whether the swap keeps time.
void ask_swap_interval(int interval)
{
    using interval_call = BOOL(WINAPI*)(int);
    if (const auto set = reinterpret_cast<interval_call>(reinterpret_cast<void*>(gl.wglGetProcAddress("wglSwapIntervalEXT"))))
        set(interval);
}

// Whole milliseconds, rounded up, in `counts` of the counter.
DWORD whole_ms(std::int64_t counts)
{
    const std::int64_t frequency = counter_frequency();
    return static_cast<DWORD>((counts * 1000 + frequency - 1) / frequency);
}

// Sets `timer` to go off `counts` of the counter from now.
bool set_timer(HANDLE timer, std::int64_t counts)
{
    LARGE_INTEGER when;
    when.QuadPart = -(counts * 10000000 / counter_frequency()) - 1; // relative, in 100 ns
    return timer && SetWaitableTimer(timer, &when, 0, nullptr, nullptr, FALSE);
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

view_pacer::~view_pacer()
{
    if (timer_)
        CloseHandle(timer_);
}

void view_pacer::start(HDC dc, pace_mode mode, double refresh_hz, bool on_battery)
{
    end();
    keeper_ = pace_keeper(counter_frequency());
    count_ = frame_count();
    mode_ = mode, refresh_hz_ = refresh_hz, on_battery_ = on_battery;
    keeper_.set_display(refresh_hz, on_battery, mode);
    swap_control_ = dc && gl.wglGetCurrentContext && gl.wglGetCurrentContext() && offers_swap_control(dc);
    after_pause_ = true;
    timer_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    started_ = true;
    if (swap_control_)
        ask_swap_interval(keeper_.divisor());
    log_pace();
}

void view_pacer::set_display(double refresh_hz)
{
    refresh_hz_ = refresh_hz;
    const int divisor = keeper_.divisor();
    const double rate = keeper_.frames_per_second();
    keeper_.set_display(refresh_hz_, on_battery_, mode_);
    changed(divisor, rate);
}

void view_pacer::set_power(bool on_battery)
{
    if (on_battery == on_battery_)
        return;
    on_battery_ = on_battery;
    set_display(refresh_hz_);
}

bool view_pacer::frame_due() const
{
    return read_counter() >= keeper_.due();
}

void view_pacer::wait_for_frame() const
{
    const std::int64_t wait = keeper_.due() - read_counter();
    if (wait <= 0)
        return;
    // Whole milliseconds, rounded up, bound even the timer's wait.
    const DWORD bound_ms = whole_ms(wait);
    if (set_timer(timer_, wait)) {
        MsgWaitForMultipleObjectsEx(1, &timer_, bound_ms + 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        return;
    }
    // Without the timer: a wait of whole milliseconds that input still ends.
    MsgWaitForMultipleObjectsEx(0, nullptr, bound_ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void view_pacer::show_frame(HDC dc, std::int64_t start)
{
    gl.glFinish();
    const std::int64_t finish = read_counter();
    // Held for its place on the grid. Only on the high-resolution timer:
    // a wait of whole milliseconds would miss the place it waits for. Input
    // waits the little while until the swap.
    const std::int64_t hold = keeper_.swap_due() - finish;
    if (hold > 0 && set_timer(timer_, hold))
        WaitForSingleObject(timer_, whole_ms(hold) + 1);
    const std::int64_t swap = read_counter();
    SwapBuffers(dc);
    const std::int64_t end = read_counter();
    // Counted as shown: the starts move with the time frames take to draw.
    count_.frame(end, after_pause_);
    after_pause_ = false;
    const int divisor = keeper_.divisor();
    const double rate = keeper_.frames_per_second();
    keeper_.frame_done({start, finish, swap, end});
    changed(divisor, rate);
}

void view_pacer::pause()
{
    after_pause_ = true;
    keeper_.restart();
}

void view_pacer::end()
{
    if (!started_)
        return;
    started_ = false;
    const std::int64_t frequency = counter_frequency();
    log_write("Frames: %d in %.1f s (%.1f a second)\n", count_.frames(), count_.seconds(frequency), count_.rate(frequency));
    if (timer_) {
        CloseHandle(timer_);
        timer_ = nullptr;
    }
}

void view_pacer::changed(int divisor_before, double rate_before)
{
    if (!started_)
        return;
    if (swap_control_ && keeper_.divisor() != divisor_before)
        ask_swap_interval(keeper_.divisor());
    if (keeper_.frames_per_second() != rate_before)
        log_pace();
}

void view_pacer::log_pace() const
{
    const std::string rate = rate_text(keeper_.frames_per_second()), refresh = rate_text(keeper_.refresh());
    // Before any frame, what was asked of the swap; after, what frames take.
    if (count_.frames() > 0)
        log_write("Frames: paced to %s a second (display %s Hz, frames take %.1f ms)\n", rate.c_str(), refresh.c_str(),
                  keeper_.frame_seconds() * 1000);
    else
        log_write("Frames: paced to %s a second (display %s Hz, swap interval %d %s)\n", rate.c_str(), refresh.c_str(),
                  keeper_.divisor(), swap_control_ ? "asked" : "not offered");
}
