// The link control: a click hands its caption to the shell (a recorder here)
// and beeps once for each open that fails; it paints its caption blue and
// underlined; every other message gets the default procedure's answer.
#include "ui/hyper_link.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <string>

namespace {

constexpr char caption[] = "https://quillmere.example/";
int beeps;
INT_PTR open_result;
std::string opened;

HINSTANCE WINAPI record_open(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show)
{
    opened += std::string(verb) + " " + file + " " + std::to_string(show) + (owner || parameters || directory ? "+" : "") + ";";
    return reinterpret_cast<HINSTANCE>(open_result);
}
BOOL WINAPI record_beep(UINT) { return ++beeps; }

// The longest run of link-blue pixels in any row of the window: only an
// underline makes a long one.
int longest_blue_run(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC window_dc = GetDC(window), copy_dc = CreateCompatibleDC(window_dc);
    HBITMAP copy = CreateDIBSection(window_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(copy_dc, copy);
    BitBlt(copy_dc, 0, 0, client.right, client.bottom, window_dc, 0, 0, SRCCOPY);
    GdiFlush();
    int longest = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0, run = 0; x < client.right; ++x) {
            const BYTE* pixel = static_cast<const BYTE*>(bits) + (y * client.right + x) * 4; // b, g, r
            run = pixel[0] > 120 && pixel[1] < 90 && pixel[2] < 90 ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    SelectObject(copy_dc, old);
    DeleteObject(copy);
    DeleteDC(copy_dc);
    ReleaseDC(window, window_dc);
    return longest;
}

} // namespace

TEST(hyper_link, opens_on_click_paints_underlined_and_answers_like_the_default)
{
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 200, 150, 320, 120, nullptr,
                                  nullptr, nullptr, nullptr);
    CreateWindowExA(0, "STATIC", caption, WS_CHILD | WS_VISIBLE, 10, 20, 200, 40, parent,
                    reinterpret_cast<HMENU>(302), nullptr, nullptr);
    hyper_link link;
    ASSERT_TRUE(link.attach(302, parent));
    link_open = record_open;
    link_beep = record_beep;
    // The shell reports success with a value above 32.
    const struct { INT_PTR result; int beeps; } opens[] = {{33, 0}, {32, 1}, {0, 1}};
    for (const auto& open : opens) {
        SCOPED_TRACE(open.result);
        open_result = open.result;
        opened.clear();
        beeps = 0;
        EXPECT_EQ(SendMessageA(link.window(), WM_LBUTTONDOWN, MK_LBUTTON, 0), 1);
        EXPECT_EQ(opened, "open " + std::string(caption) + " 1;");
        EXPECT_EQ(beeps, open.beeps);
    }
    link_open = ShellExecuteA;
    link_beep = MessageBeep;

    char text[64] = "";
    EXPECT_EQ(SendMessageA(link.window(), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)),
              static_cast<LRESULT>(sizeof caption - 1));
    EXPECT_STREQ(text, caption);
    EXPECT_EQ(SendMessageA(link.window(), WM_GETFONT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(link.window(), WM_GETOBJECT, 0, OBJID_CLIENT), 0);
    EXPECT_EQ(SendMessageA(link.window(), WM_MOUSEMOVE, 0, 0), 1);

    InvalidateRect(link.window(), nullptr, TRUE);
    UpdateWindow(link.window());
    EXPECT_GT(longest_blue_run(link.window()), 100) << "no underline";
    DestroyWindow(parent);
}
