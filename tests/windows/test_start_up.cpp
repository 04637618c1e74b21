// Start-up failures no real run produces, put in through the shell's call
// table. A failed step of the window's set-up is reported by name with the
// error it left, before any quit message is pending (one would close the
// report's box at once), and the run ends with exit code 0. The box itself
// is shown for the scene's data. And the system's requests to start a
// screensaver or power the monitor down never reach the default handling.
#include "shell/entry.h"
#include "shell/render_window.h"
#include "shell/shell_calls.h"
#include "shell/shell_state.h"
#include "shell/window_cycle.h"

#include <gtest/gtest.h>

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
result WINAPI fail(args...)
{
    return SetLastError(code), result{};
}
int scene_fails() { return SetLastError(33), 1; }
int scene_is_set_up() { return 0; }

// What each failure puts in the table, and the reports expected.
const struct {
    void (*put_in)(shell_call_table&);
    texts reports;
} failures[] = {
    {[](shell_call_table& c) { c.choose_format = fail<2000, int, HDC, const PIXELFORMATDESCRIPTOR*>; },
     {"ChoosePixelFormat 2000"}},
    {[](shell_call_table& c) { c.set_format = fail<2001, BOOL, HDC, int, const PIXELFORMATDESCRIPTOR*>; },
     {"SetPixelFormat 2001"}},
    {[](shell_call_table& c) { c.create_context = fail<8, HGLRC, HDC>; }, {"wglCreateContext 8"}},
    {[](shell_call_table& c) { c.make_current = fail<6, BOOL, HDC, HGLRC>; }, {"wglMakeCurrent 6"}},
    {[](shell_call_table& c) { c.init_scene = scene_fails; }, {"gl_init 33"}},
    {[](shell_call_table& c) { c.font_bitmaps = fail<5, BOOL, HDC, DWORD, DWORD, DWORD>, c.init_scene = scene_is_set_up; },
     {"wglUseFontBitmaps 5"}},
    {[](shell_call_table& c) { c.font_bitmaps = fail<5, BOOL, HDC, DWORD, DWORD, DWORD>, c.init_scene = scene_fails; },
     {"wglUseFontBitmaps 5", "gl_init 33"}},
};

// Reads the text of the first box with this title, then presses its OK.
DWORD WINAPI read_box(void* found)
{
    auto& text = *static_cast<std::string*>(found);
    char buffer[512] = "";
    for (int wait = 0; wait < 300; ++wait, Sleep(50)) {
        HWND box = FindWindowA(nullptr, " Fatal error in gl_data ");
        if (box && GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer)) {
            text = buffer;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
    }
    return 1;
}

} // namespace

TEST(start_up, a_failed_step_of_the_window_is_reported_and_ends_the_run_with_0)
{
    app_instance = GetModuleHandleA(nullptr);
    register_render_class();
    // A hidden host keeps the render windows (children) off the screen.
    HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr, nullptr, nullptr);
    preview_parent = host;
    for (const auto& f : failures) {
        SCOPED_TRACE(f.reports.back());
        shell_calls = {};
        shell_calls.report = record_report;
        f.put_in(shell_calls);
        reports.clear();
        EXPECT_EQ(run_window_cycle(false, SW_SHOWNORMAL), 0);
        EXPECT_EQ(reports, f.reports);
        EXPECT_FALSE(FindWindowExA(host, nullptr, render_class_name, nullptr)) << "the window outlived the run";
    }
    preview_parent = nullptr;
    DestroyWindow(host);
    shell_calls = {};
}

TEST(start_up, failed_scene_data_shows_the_box_with_the_text_for_error_0)
{
    shell_calls.prepare_scene = scene_fails;
    std::string text;
    HANDLE reader = CreateThread(nullptr, 0, read_box, &text, 0, nullptr);
    EXPECT_EQ(run_entry("quillmere.scr /s", SW_SHOWNORMAL), 0);
    WaitForSingleObject(reader, 20000);
    CloseHandle(reader);
    char expected[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 0, 0x400, expected, sizeof expected, nullptr);
    EXPECT_EQ(text.substr(0, text.find('\r')), std::string(expected).substr(0, std::string(expected).find('\r')));
    EXPECT_NE(text, "");
    shell_calls = {};
}

TEST(start_up, requests_to_start_a_screensaver_or_power_down_are_refused)
{
    static std::vector<WPARAM> passed_on;
    shell_calls.default_proc = [](HWND, UINT message, WPARAM wparam, LPARAM) -> LRESULT {
        passed_on.push_back(message == WM_SYSCOMMAND ? wparam : 0);
        return 7;
    };
    const struct { WPARAM command; LRESULT answer; } commands[] = {
        {SC_SCREENSAVE, 0}, {SC_MONITORPOWER, 0}, {SC_MINIMIZE, 7}, {SC_CLOSE, 7}};
    for (const auto& c : commands)
        EXPECT_EQ(render_window_proc(nullptr, WM_SYSCOMMAND, c.command, 2), c.answer) << c.command;
    EXPECT_EQ(passed_on, (std::vector<WPARAM>{SC_MINIMIZE, SC_CLOSE}));
    shell_calls = {};
}
