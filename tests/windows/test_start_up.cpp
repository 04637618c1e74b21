// What no real run produces, via the shell's call table: failed start-up steps, system commands.
#include "shell/entry.h"
#include "shell/render_window.h"
#include "shell/shell_calls.h"
#include "shell/shell_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using texts = std::vector<std::string>;

texts reports;
void record_report(const char* step)
{
    const DWORD error = GetLastError(); // before a look at the queue can change it
    MSG quit;
    const bool quitting = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE);
    reports.push_back(step + (" " + std::to_string(error)) + (quitting ? " after a quit" : ""));
}

template <DWORD code, typename result, typename... args>
result WINAPI fail(args...) { return SetLastError(code), result{}; }
int scene_fails() { return SetLastError(33), 1; }
using format = const PIXELFORMATDESCRIPTOR*;
constexpr auto font_fails = fail<5, BOOL, HDC, DWORD, DWORD, DWORD>;
int scene_is_set_up() { return 0; }

// A preview in `host` (none: the demonstration) to its end, which no render window outlives.
int run_start(HWND host)
{
    app_instance = GetModuleHandleA(nullptr);
    const std::string command = host ? "quillmere.scr /p " + std::to_string(reinterpret_cast<INT_PTR>(host)) : "quillmere.scr";
    const int code = run_entry(command.c_str(), SW_SHOWNORMAL);
    EXPECT_FALSE(FindWindowExA(host, nullptr, render_class_name, nullptr)) << "the window outlived the run";
    UnregisterClassA(render_class_name, app_instance);
    preview_parent = nullptr, screensaver_mode = false;
    return code;
}

} // namespace

// A failed step is reported with its error (none for the scene's data) before any quit message, in a preview too.
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
    for (const auto& f : failures)
        for (const HWND where : {host, HWND{}}) {
            SCOPED_TRACE(f.reports.back() + (where ? " in a preview" : " full screen"));
            shell_calls = {}, shell_calls.prepare_scene = scene_is_set_up, shell_calls.report = record_report;
            f.put_in(shell_calls), reports.clear();
            EXPECT_EQ(run_start(where), 0);
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
