// The hyperlink control: taking a static text's place, its window, the
// click that opens the caption (the shell replaced by a recorder), the
// cursor and the painting.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "ui/hyper_link.h"

namespace {

constexpr int static_id = 302;

// A borderless parent whose client area starts at screen (200, 150), with
// a static text at client (10, 20), 100 x 13 pixels.
class link_host : public ::testing::Test {
protected:
    // One parent for the suite: showing and hiding a top-level window
    // costs seconds under Wine.
    static void SetUpTestSuite()
    {
        parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 200, 150, 320, 120,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    static void TearDownTestSuite() { DestroyWindow(parent); }

    void SetUp() override
    {
        ASSERT_NE(parent, nullptr);
        while (HWND child = GetWindow(parent, GW_CHILD))
            DestroyWindow(child);
        add_static("https://quillmere.example/");
        opened_file.clear();
        opened_verb.clear();
        open_calls = 0;
        beeps = 0;
        open_result = 42;
        link_open = record_open;
        link_beep = record_beep;
    }
    void TearDown() override
    {
        link_open = ShellExecuteA_original;
        link_beep = MessageBeep;
    }

    static HWND add_static(const char* text)
    {
        if (HWND old = GetDlgItem(parent, static_id))
            DestroyWindow(old);
        return CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | SS_CENTER, 10, 20, 100,
                               13, parent, reinterpret_cast<HMENU>(static_id),
                               GetModuleHandleA(nullptr), nullptr);
    }

    static HINSTANCE WINAPI record_open(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                        LPCSTR directory, INT show)
    {
        ++open_calls;
        opened_owner = owner;
        opened_verb = verb ? verb : "(null)";
        opened_file = file ? file : "(null)";
        opened_extra = parameters != nullptr || directory != nullptr;
        opened_show = show;
        return reinterpret_cast<HINSTANCE>(open_result);
    }
    static BOOL WINAPI record_beep(UINT kind)
    {
        ++beeps;
        beep_kind = kind;
        return TRUE;
    }

    static inline HWND parent = nullptr;
    static inline link_open_function ShellExecuteA_original = link_open;
    static inline int open_calls, beeps, opened_show;
    static inline UINT beep_kind;
    static inline INT_PTR open_result;
    static inline HWND opened_owner;
    static inline bool opened_extra;
    static inline std::string opened_verb, opened_file;
};

RECT client_rect_in_parent(HWND window, HWND parent)
{
    RECT area;
    GetWindowRect(window, &area);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

} // namespace

TEST_F(link_host, attach_replaces_the_static_over_the_same_rectangle)
{
    HWND old_static = GetDlgItem(parent, static_id);
    hyper_link link;
    ASSERT_TRUE(link.attach(static_id, parent));

    HWND window = link.window();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindow(old_static));
    EXPECT_EQ(GetDlgItem(parent, static_id), nullptr);
    EXPECT_EQ(GetParent(window), parent);

    RECT area = client_rect_in_parent(window, parent);
    EXPECT_EQ(area.left, 10);
    EXPECT_EQ(area.top, 20);
    EXPECT_EQ(area.right - area.left, 100);
    EXPECT_EQ(area.bottom - area.top, 13);

    char class_name[32] = {};
    GetClassNameA(window, class_name, sizeof class_name);
    EXPECT_STREQ(class_name, "STATIC_HYPER");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & ~(WS_CLIPSIBLINGS),
              static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
    EXPECT_EQ(link.text(), "https://quillmere.example/");
}

TEST_F(link_host, attach_to_a_missing_control_changes_nothing)
{
    HWND old_static = GetDlgItem(parent, static_id);
    hyper_link link;
    EXPECT_FALSE(link.attach(999, parent));
    EXPECT_EQ(link.window(), nullptr);
    EXPECT_TRUE(IsWindow(old_static));
    EXPECT_EQ(GetWindow(parent, GW_CHILD), old_static);
    EXPECT_EQ(GetWindow(old_static, GW_HWNDNEXT), nullptr);
}

TEST_F(link_host, a_long_caption_keeps_its_first_255_characters)
{
    std::string caption(300, ' ');
    for (size_t i = 0; i < caption.size(); ++i)
        caption[i] = static_cast<char>('a' + i % 26);
    add_static(caption.c_str());
    hyper_link link;
    ASSERT_TRUE(link.attach(static_id, parent));
    EXPECT_EQ(link.text(), caption.substr(0, 255));
}

TEST_F(link_host, a_click_opens_the_caption_with_the_shell)
{
    hyper_link link;
    ASSERT_TRUE(link.attach(static_id, parent));
    EXPECT_EQ(SendMessageA(link.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)), 1);
    EXPECT_EQ(open_calls, 1);
    EXPECT_EQ(opened_owner, nullptr);
    EXPECT_EQ(opened_verb, "open");
    EXPECT_EQ(opened_file, "https://quillmere.example/");
    EXPECT_FALSE(opened_extra);
    EXPECT_EQ(opened_show, SW_SHOWNORMAL);
    EXPECT_EQ(beeps, 0);
}

TEST_F(link_host, a_click_the_shell_cannot_open_beeps_once_per_click)
{
    hyper_link link;
    ASSERT_TRUE(link.attach(static_id, parent));
    for (INT_PTR failure : {INT_PTR(0), INT_PTR(2), INT_PTR(32)}) {
        open_result = failure;
        beeps = 0;
        SendMessageA(link.window(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        EXPECT_EQ(beeps, 1) << failure;
        EXPECT_EQ(beep_kind, static_cast<UINT>(MB_OK));
        SendMessageA(link.window(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        EXPECT_EQ(beeps, 2) << failure;
    }
    EXPECT_TRUE(IsWindow(link.window()));
    // 33 is the first success.
    open_result = 33;
    beeps = 0;
    SendMessageA(link.window(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(beeps, 0);
}

TEST_F(link_host, a_window_without_its_object_opens_nothing)
{
    HWND bare = CreateWindowExA(0, "STATIC_HYPER", "x", WS_CHILD | WS_VISIBLE, 0, 0, 50, 10,
                                parent, nullptr, nullptr, nullptr);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(SendMessageA(bare, WM_LBUTTONDOWN, MK_LBUTTON, 0), 1);
    EXPECT_EQ(open_calls, 0);
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(SendMessageA(bare, WM_PAINT, 0, 0), 0);
    DestroyWindow(bare);
}

TEST_F(link_host, mouse_moves_are_answered_and_the_cursor_is_the_hand)
{
    hyper_link link;
    ASSERT_TRUE(link.attach(static_id, parent));
    EXPECT_EQ(SendMessageA(link.window(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3)), 1);
    ASSERT_NE(hand_cursor, nullptr);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(SendMessageA(link.window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(link.window()),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              1);
    EXPECT_EQ(GetCursor(), hand_cursor);
}

TEST_F(link_host, the_destructor_removes_a_live_link_window)
{
    HWND window;
    {
        hyper_link link;
        ASSERT_TRUE(link.attach(static_id, parent));
        window = link.window();
        EXPECT_TRUE(IsWindow(window));
    }
    EXPECT_FALSE(IsWindow(window));
}

namespace {

// Rows of the window (client coordinates) that hold link-blue pixels,
// read from a copy of the window's pixels.
std::vector<bool> blue_rows(HWND window, int& blue_in_widest_row)
{
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right, height = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC window_dc = GetDC(window);
    HDC copy_dc = CreateCompatibleDC(window_dc);
    HBITMAP copy = CreateDIBSection(window_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(copy_dc, copy);
    BitBlt(copy_dc, 0, 0, width, height, window_dc, 0, 0, SRCCOPY);
    GdiFlush();

    std::vector<bool> rows(height, false);
    blue_in_widest_row = 0;
    const BYTE* pixels = static_cast<const BYTE*>(bits);
    for (int y = 0; y < height; ++y) {
        int blue = 0;
        for (int x = 0; x < width; ++x) {
            const BYTE* pixel = pixels + (y * width + x) * 4; // blue, green, red
            if (pixel[0] > 120 && pixel[1] < 90 && pixel[2] < 90)
                ++blue;
        }
        rows[y] = blue > 0;
        blue_in_widest_row = std::max(blue_in_widest_row, blue);
    }
    SelectObject(copy_dc, old);
    DeleteObject(copy);
    DeleteDC(copy_dc);
    ReleaseDC(window, window_dc);
    return rows;
}

void pump_paint(HWND window)
{
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    GdiFlush();
}

} // namespace

TEST_F(link_host, paints_blue_underlined_text_from_the_top)
{
    SetWindowPos(GetDlgItem(parent, static_id), nullptr, 10, 20, 200, 40, SWP_NOZORDER);
    hyper_link link;
    ASSERT_TRUE(link.attach(static_id, parent));
    pump_paint(link.window());
    int widest = 0;
    std::vector<bool> rows = blue_rows(link.window(), widest);
    // One line of 16-pixel text from the top; its underline is a long run.
    int first = -1, last = -1;
    for (int y = 0; y < static_cast<int>(rows.size()); ++y)
        if (rows[y]) {
            if (first < 0)
                first = y;
            last = y;
        }
    ASSERT_GE(first, 0) << "no blue text painted";
    EXPECT_LT(first, 8);
    EXPECT_LT(last, 20);
    EXPECT_GT(widest, 100) << "no underline";
}

TEST_F(link_host, a_caption_with_a_line_break_paints_two_lines)
{
    HWND text = add_static("first\nsecond");
    SetWindowPos(text, nullptr, 10, 20, 200, 40, SWP_NOZORDER);
    hyper_link link;
    ASSERT_TRUE(link.attach(static_id, parent));
    pump_paint(link.window());
    int widest = 0;
    std::vector<bool> rows = blue_rows(link.window(), widest);
    bool upper = false, lower = false;
    for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
        upper |= rows[y] && y < 16;
        lower |= rows[y] && y >= 16 && y < 32;
    }
    EXPECT_TRUE(upper);
    EXPECT_TRUE(lower);
}
