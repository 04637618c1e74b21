// The fatal-error box as the user sees it: its title, its text, one OK.
#include "shell/fatal_error.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

struct seen_box {
    std::string title;
    std::string text;
    bool found = false;
};

struct watch_request {
    const char* title;
    seen_box* seen;
};

// Finds the box by its title, reads its text and presses OK.
DWORD WINAPI close_box(LPVOID parameter)
{
    auto* request = static_cast<watch_request*>(parameter);
    for (int attempt = 0; attempt < 200; ++attempt) {
        HWND box = FindWindowA(nullptr, request->title);
        char text[512] = "";
        // The box may be found before its text control exists.
        if (box && GetDlgItemTextA(box, 0xFFFF, text, sizeof text) > 0) {
            request->seen->found = true;
            request->seen->title = request->title;
            request->seen->text = text;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(50);
    }
    // Never leave the test blocked behind a box.
    if (HWND box = FindWindowA(nullptr, request->title))
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    return 1;
}

seen_box report(const char* step, DWORD error, const char* expected_title)
{
    seen_box seen;
    watch_request request{expected_title, &seen};
    HANDLE watcher = CreateThread(nullptr, 0, close_box, &request, 0, nullptr);
    SetLastError(error);
    fatal_error(step);
    WaitForSingleObject(watcher, 15000);
    CloseHandle(watcher);
    return seen;
}

TEST(FatalError, TitleNamesTheStepWithBlanksAtBothEnds)
{
    seen_box seen = report("GetClientRect", ERROR_INVALID_WINDOW_HANDLE, " Fatal error in GetClientRect ");
    ASSERT_TRUE(seen.found) << "no box titled \" Fatal error in GetClientRect \"";
    // The system's own text for the error, not an invented one.
    char system_text[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_INVALID_WINDOW_HANDLE, 0x400,
                   system_text, sizeof system_text, nullptr);
    ASSERT_STRNE(system_text, "");
    EXPECT_EQ(seen.text.substr(0, 10), std::string(system_text).substr(0, 10));
}

TEST(FatalError, ErrorWithoutSystemTextReadsUnknownError)
{
    const DWORD no_text = 0x2000ABCD; // customer-defined code: the system has no text
    seen_box seen = report("gl_init", no_text, " Fatal error in gl_init ");
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, "Unknown error 536914893");
}

TEST(FatalError, LongestStepNameFitsTheTitle)
{
    seen_box seen = report("wglUseFontBitmaps", 0, " Fatal error in wglUseFontBitmaps ");
    EXPECT_TRUE(seen.found);
}

} // namespace
