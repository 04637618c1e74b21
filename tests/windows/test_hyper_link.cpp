// The link control: it paints its caption blue and underlined, and a click
// hands the caption to the shell (a recorder here) and beeps once for each
// open that fails.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "ui/hyper_link.h"
#include <shellapi.h>

namespace {

int open_calls, beeps;
INT_PTR open_result;
std::string opened;

HINSTANCE WINAPI record_open(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                             LPCSTR directory, INT show)
{
    ++open_calls;
    opened = std::string(verb) + " " + file + " " + std::to_string(show) +
             (owner || parameters || directory ? " and more" : "");
    return reinterpret_cast<HINSTANCE>(open_result);
}

BOOL WINAPI record_beep(UINT)
{
    ++beeps;
    return TRUE;
}

// A link made from a 200 x 40 static text; one visible parent for the suite,
// as showing a top-level window costs seconds under Wine.
class link_test : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 200, 150, 320, 120,
                                 nullptr, nullptr, nullptr, nullptr);
    }
    static void TearDownTestSuite() { DestroyWindow(parent); }
    void SetUp() override
    {
        CreateWindowExA(0, "STATIC", "https://quillmere.example/", WS_CHILD | WS_VISIBLE, 10, 20,
                        200, 40, parent, reinterpret_cast<HMENU>(302), nullptr, nullptr);
        ASSERT_TRUE(link.attach(302, parent));
        link_open = record_open;
        link_beep = record_beep;
    }
    void TearDown() override
    {
        link_open = ShellExecuteA;
        link_beep = MessageBeep;
    }
    static inline HWND parent = nullptr;
    hyper_link link;
};

// The longest run of link-blue pixels in each row of the window: only an
// underline makes a long one.
std::vector<int> longest_blue_runs(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right, height = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC window_dc = GetDC(window);
    HDC copy_dc = CreateCompatibleDC(window_dc);
    HBITMAP copy = CreateDIBSection(window_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(copy_dc, copy);
    BitBlt(copy_dc, 0, 0, width, height, window_dc, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<int> rows(height, 0);
    for (int y = 0, run = 0; y < height; ++y, run = 0)
        for (int x = 0; x < width; ++x) {
            const BYTE* pixel = static_cast<const BYTE*>(bits) + (y * width + x) * 4; // b, g, r
            run = pixel[0] > 120 && pixel[1] < 90 && pixel[2] < 90 ? run + 1 : 0;
            rows[y] = std::max(rows[y], run);
        }
    SelectObject(copy_dc, old);
    DeleteObject(copy);
    DeleteDC(copy_dc);
    ReleaseDC(window, window_dc);
    return rows;
}

} // namespace

TEST_F(link_test, a_click_opens_the_caption_and_each_failed_open_beeps_once)
{
    // The shell reports success with a value above 32.
    const struct { INT_PTR result; int beeps_per_click; } cases[] = {
        {42, 0}, {33, 0}, {32, 1}, {2, 1}, {0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        open_result = c.result;
        open_calls = beeps = 0;
        for (int click = 0; click < 2; ++click)
            EXPECT_EQ(SendMessageA(link.window(), WM_LBUTTONDOWN, MK_LBUTTON, 0), 1);
        EXPECT_EQ(open_calls, 2);
        EXPECT_EQ(opened, "open https://quillmere.example/ " + std::to_string(SW_SHOWNORMAL));
        EXPECT_EQ(beeps, 2 * c.beeps_per_click);
    }
}

TEST_F(link_test, paints_blue_underlined_text_from_the_top)
{
    InvalidateRect(link.window(), nullptr, TRUE);
    UpdateWindow(link.window());
    std::vector<int> rows = longest_blue_runs(link.window());
    auto painted = [](int blue) { return blue > 0; };
    int first = std::find_if(rows.begin(), rows.end(), painted) - rows.begin();
    int last = rows.rend() - std::find_if(rows.rbegin(), rows.rend(), painted) - 1;
    ASSERT_LT(first, static_cast<int>(rows.size())) << "no blue text painted";
    // One line of 16-pixel text from the top.
    EXPECT_LT(first, 8);
    EXPECT_LT(last, 20);
    EXPECT_GT(*std::max_element(rows.begin(), rows.end()), 100) << "no underline";
}
