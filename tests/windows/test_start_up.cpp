// What no real run produces, via the shell's call table: failed start-up steps, system commands, displays off/on.
#include "shell/entry.h"
#include "shell/render_window.h"
#include "shell/shell_calls.h"
#include "shell/shell_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using texts = std::vector<std::string>;

texts reports;
void record_report(const char* step)
{
    MSG quit;
    const bool quitting = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE);
    reports.push_back(step + (" " + std::to_string(GetLastError())) + (quitting ? " after a quit" : ""));
}

template <DWORD code, typename result, typename... args>
result WINAPI fail(args...) { return SetLastError(code), result{}; }
int scene_fails() { return SetLastError(33), 1; }
using format = const PIXELFORMATDESCRIPTOR*;
constexpr auto font_fails = fail<5, BOOL, HDC, DWORD, DWORD, DWORD>;
int scene_is_set_up() { return 0; }

// A preview in `host` to its end, which no render window outlives.
int run_preview(HWND host)
{
    app_instance = GetModuleHandleA(nullptr);
    const int code = run_entry(("quillmere.scr /p " + std::to_string(reinterpret_cast<INT_PTR>(host))).c_str(), SW_SHOWNORMAL);
    EXPECT_FALSE(FindWindowExA(host, nullptr, render_class_name, nullptr)) << "the window outlived the run";
    UnregisterClassA(render_class_name, app_instance);
    preview_parent = nullptr;
    return code;
}

} // namespace

// A failed step is reported with its error (none for the scene's data) before any quit message; the exit code 0.
TEST(start_up, a_failed_step_is_reported_and_ends_the_run_with_0)
{
    const struct { void (*put_in)(shell_call_table&); texts reports; } failures[] = {
        {[](shell_call_table& c) { c.prepare_scene = scene_fails; }, {"gl_data 0"}},
        {[](shell_call_table& c) { c.load_gl = []() -> const char* { return SetLastError(126), "LoadLibraryExW"; }; }, {"LoadLibraryExW 126"}},
        {[](shell_call_table& c) { c.choose_format = fail<2000, int, HDC, format>; }, {"ChoosePixelFormat 2000"}},
        {[](shell_call_table& c) { c.set_format = fail<2001, BOOL, HDC, int, format>; }, {"SetPixelFormat 2001"}},
        {[](shell_call_table& c) { c.create_context = fail<8, HGLRC, HDC>; }, {"wglCreateContext 8"}},
        {[](shell_call_table& c) { c.make_current = fail<6, BOOL, HDC, HGLRC>; }, {"wglMakeCurrent 6"}},
        {[](shell_call_table& c) { c.init_scene = scene_fails; }, {"gl_init 33"}},
        {[](shell_call_table& c) { c.font_bitmaps = font_fails, c.init_scene = scene_is_set_up; }, {"wglUseFontBitmaps 5"}},
        {[](shell_call_table& c) { c.font_bitmaps = font_fails, c.init_scene = scene_fails; }, {"wglUseFontBitmaps 5", "gl_init 33"}},
    };
    HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr, nullptr, nullptr);
    for (const auto& f : failures) {
        SCOPED_TRACE(f.reports.back());
        shell_calls = {}, shell_calls.prepare_scene = scene_is_set_up, shell_calls.report = record_report;
        f.put_in(shell_calls);
        reports.clear();
        EXPECT_EQ(run_preview(host), 0);
        EXPECT_EQ(reports, f.reports);
    }
    DestroyWindow(host);
    shell_calls = {};
}

// The system's request to start a screensaver never reaches the default handling; others do.
TEST(start_up, a_request_to_start_a_screensaver_is_refused_powering_down_is_not)
{
    static std::vector<WPARAM> passed_on;
    shell_calls.default_proc = [](HWND, UINT message, WPARAM wparam, LPARAM) -> LRESULT {
        passed_on.push_back(message == WM_SYSCOMMAND ? wparam : 0);
        return 7;
    };
    const struct { WPARAM command; LRESULT answer; } commands[] = {
        {SC_SCREENSAVE, 0}, {SC_SCREENSAVE | 3, 0}, {SC_MONITORPOWER, 7}, {SC_MINIMIZE, 7}, {SC_CLOSE, 7}};
    for (const auto& c : commands)
        EXPECT_EQ(render_window_proc(nullptr, WM_SYSCOMMAND, c.command, 2), c.answer) << c.command;
    EXPECT_EQ(passed_on, (std::vector<WPARAM>{SC_MONITORPOWER, SC_MINIMIZE, SC_CLOSE}));
    shell_calls = {};
}

// While every display is off the frames stop, and go on when one is back; a preview losing its host exits 1.
TEST(start_up, frames_stop_while_the_displays_are_off)
{
    static HWND host;
    static std::vector<std::string> steps;
    static DWORD looks;
    static std::int64_t tick;
    host = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 64, 48, nullptr, nullptr, nullptr, nullptr);
    shell_calls.prepare_scene = shell_calls.init_scene = scene_is_set_up;
    steps.clear(), looks = 0, last_tick = 0;
    // Every 20 ms: displays off once frames come, on ten looks later (as Windows 7 says), the host gone after.
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        const auto display = [](DWORD state, GUID guid) {
            POWERBROADCAST_SETTING setting = {guid, sizeof state, {}};
            std::memcpy(setting.Data, &state, sizeof state);
            SendMessageA(main_window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&setting));
            tick = last_tick, looks = 0;
        };
        if (++looks > 500 || (steps.size() == 2 && last_tick != tick))
            steps.push_back(looks > 500 ? "stuck" : "drawing again"), DestroyWindow(host);
        else if (steps.empty() && last_tick != 0)
            steps.push_back("drawing"), display(0, {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}});
        else if (steps.size() == 1 && looks == 10)
            steps.push_back(last_tick == tick ? "paused" : "drew while off"), display(1, {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}});
    });
    EXPECT_EQ(run_preview(host), 1);
    KillTimer(nullptr, timer);
    EXPECT_EQ(steps, (std::vector<std::string>{"drawing", "paused", "drawing again"}));
    shell_calls = {};
}
