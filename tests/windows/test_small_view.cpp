// The pane and the preview; tests/e2e/test_small_views.sh reruns these on contexts that say older and at 150 %.
#include "scene/water_saver.h"
#include "settings/catalogue.h"
#include "settings/reg_settings.h"
#include "shell/entry.h"
#include "shell/frames_drawn_message.h"
#include "shell/gl_api.h"
#include "shell/gl_version.h"
#include "shell/render_window.h"
#include "shell/shell.h"
#include "shell/shell_state.h"
#include "test_log.h"
#include "ui/config_dialog.h"
#include "ui/water_pane.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

// Red and green above, blue and white below, as GetPixel reads them.
constexpr COLORREF quarters[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255)};

void pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

// What the screen shows of `window`, rows from the top, as GetPixel gives it.
std::vector<COLORREF> shown(HWND window)
{
    RECT area;
    GetWindowRect(window, &area);
    const int width = area.right - area.left, height = area.bottom - area.top;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr), copy = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(copy, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ before = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    std::vector<COLORREF> pixels(static_cast<const std::uint32_t*>(bits), static_cast<const std::uint32_t*>(bits) + width * height);
    for (COLORREF& pixel : pixels) // 0x00RRGGBB to RGB()'s 0x00BBGGRR
        pixel = RGB(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF);
    SelectObject(copy, before), DeleteObject(bitmap), DeleteDC(copy), ReleaseDC(nullptr, screen);
    return pixels;
}

// The screen shrunk into the window: each quarter at its place.
bool quartered(HWND window, const std::vector<COLORREF>& pixels)
{
    RECT client;
    GetClientRect(window, &client);
    for (int k = 0; k < 4; ++k)
        if (pixels.at(std::size_t(client.bottom * (1 + k / 2 * 2) / 4) * client.right + client.right * (1 + k % 2 * 2) / 4) != quarters[k])
            return false;
    return true;
}
bool shows_quarters(HWND window)
{
    for (int look = 0; look < 300; ++look, pump(), Sleep(10))
        if (quartered(window, shown(window)))
            return true;
    return false;
}

// The desktop the views take, on the screen when this returns.
HWND quartered_screen()
{
    WNDCLASSA screen = {};
    screen.lpfnWndProc = [](HWND window, UINT message, WPARAM wparam, LPARAM lparam) -> LRESULT {
        if (message != WM_PAINT)
            return DefWindowProcA(window, message, wparam, lparam);
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        for (int k = 0; k < 4; ++k) {
            const RECT quarter = {client.right / 2 * (k % 2), client.bottom / 2 * (k / 2), client.right / 2 * (k % 2 + 1), client.bottom / 2 * (k / 2 + 1)};
            HBRUSH brush = CreateSolidBrush(quarters[k]);
            FillRect(dc, &quarter, brush);
            DeleteObject(brush);
        }
        EndPaint(window, &paint);
        return 0;
    };
    screen.lpszClassName = "quartered screen";
    RegisterClassA(&screen);
    HWND window = CreateWindowA(screen.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(shows_quarters(window)) << "the screen was not painted";
    return window;
}

std::tuple<int, int, int, int> live_gl_names()
{
    using is_name = GLboolean(APIENTRY*)(GLuint);
    const auto call = [](const char* name) { return reinterpret_cast<is_name>(reinterpret_cast<void*>(wglGetProcAddress(name))); };
    const is_name tests[4] = {glIsTexture, call("glIsProgram"), call("glIsFramebuffer"), call("glIsRenderbuffer")};
    int live[4] = {};
    for (int kind = 0; kind < 4; ++kind)
        for (GLuint name = 1; tests[kind] && name < 4096; ++name)
            live[kind] += tests[kind](name) == GL_TRUE;
    return {live[0], live[1], live[2], live[3]};
}

// Wine's GetGuiResources counts none: then the PEB's GDI handle table, our windows, the handle values that name one.
int gdi_objects()
{
    if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return int(counted);
    struct entry { std::uint64_t object; std::uint32_t owner; std::uint16_t unique; std::uint8_t type, flags; std::uint64_t user; };
    const char* peb = nullptr;
    asm("mov %%gs:0x60, %0" : "=r"(peb));
    const auto* table = *reinterpret_cast<entry* const*>(peb + 0xf8);
    return table ? int(std::count_if(table, table + 0x10000, [](const entry& e) { return e.type != 0; })) : -1;
}
int user_objects()
{
    if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))
        return int(counted);
    static int windows;
    windows = 0;
    const WNDENUMPROC count = [](HWND window, LPARAM) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        return windows += process == GetCurrentProcessId(), TRUE;
    };
    EnumWindows([](HWND window, LPARAM proc) { return reinterpret_cast<WNDENUMPROC>(proc)(window, 0), EnumChildWindows(window, reinterpret_cast<WNDENUMPROC>(proc), 0), TRUE; },
                reinterpret_cast<LPARAM>(count));
    return windows;
}
int kernel_handles()
{
    DWORD counted = 0, flags;
    if (GetProcessHandleCount(GetCurrentProcess(), &counted) && counted)
        return int(counted);
    for (std::uintptr_t value = 4; value < 0x2000; value += 4)
        counted += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != 0;
    return int(counted);
}

// A pane of 200 x 150 in the middle of the quartered screen, which the scene has taken.
struct SmallView : testing::Test {
    HWND screen = quartered_screen();
    HWND window = nullptr;
    water_pane pane;
    SmallView()
    {
        app_instance = GetModuleHandleA(nullptr);
        register_water_pane();
        window = CreateWindowW(water_pane_class, L"", WS_CHILD | WS_VISIBLE, 412, 309, 200, 150, screen, nullptr, app_instance, nullptr);
        EXPECT_TRUE(app_scene.init_data());
    }
    ~SmallView() override { DestroyWindow(screen); }
    // A frame as the pane's timer draws it; how many it has drawn.
    LRESULT frame() { return SendMessageA(window, WM_TIMER, 1, 0), SendMessageA(window, frames_drawn_message, 0, 0); }
};

constexpr water_settings lit_and_still = {50, 50, 50, 0, true, true, 0};

// Each version's way, light and texture, on llvmpipe: framebuffer objects from 3.0 or an extension (at 1.4 only
// EXT's), else a bitmap context; light per pixel from 2.0; a texture of the pane's size unless only powers of two.
TEST_F(SmallView, ChoicesFollowWhatTheContextSays)
{
    const struct { const char* version; const char* line; bool per_pixel; int width, height; bool edge_clamp; } rows[] = {
        {"4.5", "Small view: offscreen, llvmpipe (OpenGL 4.5), light per pixel", true, 200, 150, true},
        {"3.0", "Small view: offscreen, llvmpipe (OpenGL 3.0), light per pixel", true, 200, 150, true},
        {"2.1", "Small view: offscreen, llvmpipe (OpenGL 2.1), light per pixel", true, 200, 150, true},
        {"1.4", "Small view: offscreen, llvmpipe (OpenGL 1.4), light per vertex", false, 200, 150, true},
        {"1.1", "Small view: bitmap context (no framebuffer objects in OpenGL 1.1)", false, 256, 256, false},
    };
    const std::size_t logged = test_log().size();
    ASSERT_TRUE(pane.attach(window, lit_and_still));
    const gl_version said = read_gl_version(gl_string(GL_VERSION));
    const std::string version = std::to_string(said.major) + "." + std::to_string(said.minor);
    const auto row = std::find_if(std::begin(rows), std::end(rows), [&](const auto& r) { return r.version == version; });
    ASSERT_NE(row, std::end(rows)) << "no row for OpenGL " << version;
    EXPECT_NE(test_log().find(std::string(row->line) + "\n", logged), std::string::npos) << test_log().substr(logged);
    EXPECT_EQ(app_scene.light_per_pixel(), row->per_pixel);
    const texture_plan& plan = app_scene.views().at(0).plan;
    EXPECT_EQ(std::tie(plan.size.width, plan.size.height, plan.edge_clamp), std::tie(row->width, row->height, row->edge_clamp));
    EXPECT_EQ(frame(), 1);
    EXPECT_TRUE(shows_quarters(window));
}

// Toggles, grids and sizes leave one texture, one program for light per pixel, one framebuffer and renderbuffer
// offscreen; gone, the pane leaves no context, GDI object or window.
TEST_F(SmallView, FreesWhatItMadeOnEveryChange)
{
    const int gdi = gdi_objects(), user = user_objects();
    HGLRC context = nullptr;
    {
        water_pane other;
        ASSERT_TRUE(other.attach(window, lit_and_still));
        context = wglGetCurrentContext();
        const bool offscreen = std::get<2>(live_gl_names()) == 1;
        const SIZE sizes[] = {{300, 225}, {150, 100}, {200, 150}};
        for (int k = 0; k < 12; ++k) {
            SCOPED_TRACE(k);
            const water_settings given = {k * 8.0, 50, 50, 0, k % 2 == 0, k % 3 != 0, 0};
            other.use(given);
            SetWindowPos(window, nullptr, 0, 0, sizes[k % 3].cx, sizes[k % 3].cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            SendMessageA(window, WM_TIMER, 1, 0);
            EXPECT_EQ(live_gl_names(), std::make_tuple(1, int(given.light && app_scene.light_per_pixel()), int(offscreen), int(offscreen)));
            EXPECT_TRUE(shows_quarters(window));
        }
    }
    EXPECT_FALSE(wglDeleteContext(context)) << "the context outlived the pane";
    EXPECT_EQ(gdi_objects(), gdi);
    EXPECT_EQ(user_objects(), user);
}

// No frame while the displays are off (the display state, or Windows 7's monitors' power), the session locked, the
// pane hidden or the dialog minimised; the next as soon as that ends. A dimmed display still shows the water.
TEST_F(SmallView, RestsWhileNoOneCanSee)
{
    ASSERT_TRUE(pane.attach(window, lit_and_still));
    struct power { GUID setting; DWORD length, state; };
    static const GUID display = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
    static const GUID monitors = {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};
    const auto tell = [this](const GUID& setting, DWORD state) {
        power told = {setting, sizeof(DWORD), state};
        SendMessageA(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&told));
    };
    const auto session = [this](WPARAM change) { SendMessageA(window, WM_WTSSESSION_CHANGE, change, 0); };
    const struct { const char* what; std::function<void()> away, back; } ways[] = {
        {"displays off", [&] { tell(display, 0); }, [&] { tell(display, 2); }},
        {"monitors off", [&] { tell(monitors, 0); }, [&] { tell(monitors, 1); }},
        {"locked", [&] { session(WTS_SESSION_LOCK); }, [&] { session(WTS_SESSION_UNLOCK); }},
        {"hidden", [this] { ShowWindow(window, SW_HIDE); }, [this] { ShowWindow(window, SW_SHOW); }},
        {"minimised", [this] { ShowWindow(screen, SW_MINIMIZE); }, [this] { ShowWindow(screen, SW_RESTORE); }},
    };
    for (const auto& way : ways) {
        const LRESULT before = frame();
        way.away();
        EXPECT_EQ(frame(), before) << way.what;
        EXPECT_EQ(frame(), before) << way.what;
        way.back();
        EXPECT_EQ(frame(), before + 1) << way.what << " no more";
    }
}

// The preview in a Static control as the settings page has it (100 % and 150 %), in this process: Wine shows no other
// process's drawing. Still at amplitude 0; at 30 a later look differs from the first in over 2 % of its pixels.
struct {
    HWND control;
    bool rippling, quartered;
    int frames, quartered_at, looks;
    std::vector<COLORREF> first;
} preview;

void CALLBACK look_at_preview(HWND, UINT, UINT_PTR, DWORD)
{
    HWND window = FindWindowExA(preview.control, nullptr, render_class_name, nullptr);
    int frames = window ? int(SendMessageA(window, frames_drawn_message, 0, 0)) : 0;
    if (++preview.looks > 1000 || frames > 150 || preview.rippling || (preview.quartered && frames > preview.quartered_at + 30))
        DestroyWindow(GetParent(preview.control)), frames = 0; // the host goes, and the preview with it: no more looks
    if (frames < 2 || frames == preview.frames)
        return;
    preview.frames = frames;
    const std::vector<COLORREF> now = shown(preview.control);
    if (!quartered(preview.control, now))
        return;
    if (!preview.quartered)
        preview.quartered = true, preview.quartered_at = frames, preview.first = now;
    std::size_t differing = 0;
    for (std::size_t k = 0; k < now.size(); ++k)
        differing += now[k] != preview.first[k];
    preview.rippling |= differing * 50 > now.size();
}

TEST(SmallViewPreview, ShowsTheDesktopInItsHost)
{
    app_instance = GetModuleHandleA(nullptr);
    const struct { SIZE control; const char* amp; } rows[] = {{{152, 112}, "0"}, {{152, 112}, "30"}, {{228, 168}, "0"}, {{228, 168}, "30"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.control.cx << " x " << row.control.cy << ", amplitude " << row.amp);
        for (const auto& [name, text] : {std::pair{setting_amp, row.amp}, {setting_light, "0"}, {setting_rain, "0"}, {setting_radial, "1"}})
            app_settings.set_string(name, text);
        HWND host = quartered_screen();
        preview = {};
        preview.control = CreateWindowA("Static", "", WS_CHILD | WS_VISIBLE, 400, 300, row.control.cx, row.control.cy, host, nullptr, nullptr, nullptr);
        const UINT_PTR timer = SetTimer(nullptr, 0, 15, look_at_preview);
        EXPECT_EQ(run_entry(("quillmere.scr /p " + std::to_string(reinterpret_cast<INT_PTR>(preview.control))).c_str(), SW_SHOWNORMAL), 1);
        KillTimer(nullptr, timer), UnregisterClassA(render_class_name, app_instance), DestroyWindow(host);
        preview_parent = nullptr;
        EXPECT_TRUE(preview.quartered) << preview.frames << " frames, " << preview.looks << " looks";
        EXPECT_EQ(preview.rippling, *row.amp != '0') << preview.frames << " frames";
    }
}

// Leaks: after 30 opens of the dialog, each control moved 17 times an open, the objects as after the fifth open.
struct {
    int moves, waits;
} soak;

void CALLBACK drive_dialog(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = FindWindowA("#32770", "Quillmere Config");
    if (dialog && soak.moves < 17) {
        for (const int id : {IDC_QUALITY, IDC_SPEED, IDC_FREQ, IDC_AMP, IDC_RAIN}) {
            const int position = (soak.moves * 37 + id) % 101;
            SendDlgItemMessageA(dialog, id, TBM_SETPOS, TRUE, position);
            SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
        }
        for (const int id : {IDC_RADIAL, IDC_LIGHT}) {
            CheckDlgButton(dialog, id, IsDlgButtonChecked(dialog, id) ? BST_UNCHECKED : BST_CHECKED);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
        }
        ++soak.moves;
    } else if (dialog && (SendDlgItemMessageA(dialog, IDC_PANE, frames_drawn_message, 0, 0) >= 2 || ++soak.waits >= 3000)) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

TEST(SmallViewSoak, DialogOpenedAndClosedThirtyTimesKeepsNothing)
{
    app_instance = GetModuleHandleA(nullptr);
    HWND screen = quartered_screen();
    ASSERT_TRUE(app_scene.init_data());
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, drive_dialog);
    struct { int gdi, user, handles; double mib; } after[31] = {};
    for (int open = 1; open <= 30; ++open) {
        soak = {};
        run_config_dialog(nullptr);
        EXPECT_LT(soak.waits, 3000) << "open " << open << ": the pane drew no frames";
        PROCESS_MEMORY_COUNTERS memory = {};
        K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
        after[open] = {gdi_objects(), user_objects(), kernel_handles(), memory.PagefileUsage / 1048576.0};
    }
    KillTimer(nullptr, timer);
    DestroyWindow(screen);
    for (const int open : {5, 30})
        std::printf("soak: after %d opens: %d GDI objects, %d USER objects, %d handles, %.1f MiB private\n", open,
                    after[open].gdi, after[open].user, after[open].handles, after[open].mib);
    EXPECT_EQ(std::tie(after[30].gdi, after[30].user, after[30].handles), std::tie(after[5].gdi, after[5].user, after[5].handles));
    EXPECT_LT(after[30].mib - after[5].mib, 4);
}

} // namespace
