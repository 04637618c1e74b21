// The link's click: its caption handed to the shell (a recorder here), one beep for each open
// that fails. How it looks and what it answers are checked in the settings dialog of a real run.
#include "ui/hyper_link.h"

#include <gtest/gtest.h>
#include <shellapi.h>

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

} // namespace

TEST(hyper_link, a_click_opens_the_caption_and_beeps_when_that_fails)
{
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 320, 120, nullptr, nullptr, nullptr, nullptr);
    CreateWindowExA(0, "STATIC", caption, WS_CHILD, 10, 20, 200, 40, parent, reinterpret_cast<HMENU>(302), nullptr, nullptr);
    hyper_link link;
    ASSERT_TRUE(link.attach(302, parent));
    link_open = record_open;
    link_beep = record_beep;
    // The shell reports success with a value above 32.
    const struct { INT_PTR result; int beeps; } opens[] = {{33, 0}, {32, 1}, {0, 1}};
    for (const auto& open : opens) {
        open_result = open.result;
        opened.clear();
        beeps = 0;
        EXPECT_EQ(SendMessageA(link.window(), WM_LBUTTONDOWN, MK_LBUTTON, 0), 1);
        EXPECT_EQ(opened, "open " + std::string(caption) + " 1;") << open.result;
        EXPECT_EQ(beeps, open.beeps) << open.result;
    }
    link_open = ShellExecuteA, link_beep = MessageBeep;
    DestroyWindow(parent);
}
