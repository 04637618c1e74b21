// The dialog framework: the modal run, which handlers the close command and
// other system commands reach, and the control operations.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "tests/windows/test_dialog_ids.h"
#include "ui/dialog_base.h"

namespace {

using calls = std::vector<std::string>;

// What the recorder control last received.
UINT recorded_message;
WPARAM recorded_wparam;
LPARAM recorded_lparam;

LRESULT CALLBACK recorder_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message < WM_USER)
        return DefWindowProcA(window, message, wparam, lparam);
    recorded_message = message;
    recorded_wparam = wparam;
    recorded_lparam = lparam;
    return 42;
}

// Records the handlers that ran; on_cancel ends the dialog with IDCANCEL and
// on_command with the command's identifier.
class probe_dialog : public dialog_base {
public:
    calls ran;
    int init_answer = 1;
    int cancel_answer = 0;
    // Runs inside on_init, with the controls in place.
    void (*during_init)(probe_dialog&) = nullptr;

    HWND window() const { return dialog_window; }
    INT_PTR run_probe()
    {
        WNDCLASSA recorder = {};
        recorder.lpfnWndProc = recorder_proc;
        recorder.hInstance = GetModuleHandleA(nullptr);
        recorder.lpszClassName = TEST_RECORDER_CLASS;
        RegisterClassA(&recorder);
        return run(GetModuleHandleA(nullptr), nullptr, IDD_TEST_PROBE);
    }

protected:
    int on_init() override
    {
        ran.push_back("init");
        if (during_init)
            during_init(*this);
        return init_answer;
    }
    int on_message(UINT message, WPARAM, LPARAM) override
    {
        if (message == WM_SYSCOMMAND)
            ran.push_back("system command");
        return 0;
    }
    int on_command(int id, int) override
    {
        ran.push_back("command");
        EndDialog(dialog_window, id);
        return 1;
    }
    int on_cancel() override
    {
        ran.push_back("cancel");
        EndDialog(dialog_window, IDCANCEL);
        return cancel_answer;
    }
    int on_ok() override
    {
        ran.push_back("ok");
        return 0;
    }
};

} // namespace

TEST(dialog_base, template_zero_returns_zero_and_a_missing_one_minus_one)
{
    probe_dialog dialog;
    EXPECT_EQ(dialog.run(GetModuleHandleA(nullptr), nullptr, 0), 0);
    EXPECT_EQ(dialog.run(GetModuleHandleA(nullptr), nullptr, 4321), -1);
    EXPECT_TRUE(dialog.ran.empty());
}

TEST(dialog_base, a_failed_init_ends_through_on_cancel_before_the_user_acts)
{
    probe_dialog dialog;
    dialog.init_answer = 0;
    EXPECT_EQ(dialog.run_probe(), IDCANCEL);
    EXPECT_EQ(dialog.ran, (calls{"init", "cancel"}));
    EXPECT_FALSE(IsWindow(dialog.window()));
}

TEST(dialog_base, only_the_close_command_reaches_on_cancel)
{
    probe_dialog dialog;
    dialog.cancel_answer = 1; // handled: no default close on top
    dialog.during_init = [](probe_dialog& d) {
        // SC_CLOSE with its low bits set is not the close command.
        for (WPARAM command : {WPARAM(SC_MINIMIZE), WPARAM(SC_MOVE), WPARAM(SC_KEYMENU),
                               WPARAM(SC_CLOSE | 2)})
            EXPECT_EQ(dialog_proc(d.window(), WM_SYSCOMMAND, command, 0), FALSE) << command;
        PostMessageA(d.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        PostMessageA(d.window(), WM_COMMAND, 77, 0); // ends it if the close did not
    };
    EXPECT_EQ(dialog.run_probe(), IDCANCEL);
    EXPECT_EQ(dialog.ran, (calls{"init", "cancel"}));
}

TEST(dialog_base, control_operations)
{
    probe_dialog dialog;
    dialog.during_init = [](probe_dialog& d) {
        std::string long_text;
        for (int i = 0; i < 2000; ++i)
            long_text += static_cast<char>('a' + i % 26);
        EXPECT_TRUE(d.set_item_text(IDC_TEST_EDIT, long_text.c_str()));
        EXPECT_EQ(std::string(d.get_item_text(IDC_TEST_EDIT)), long_text.substr(0, 1022));
        // Nothing of the previous text is left behind.
        EXPECT_STREQ(d.get_item_text(4444), "");

        CheckDlgButton(d.window(), IDC_TEST_THREE_STATE, BST_INDETERMINATE);
        EXPECT_FALSE(d.is_checked(IDC_TEST_THREE_STATE));
        CheckDlgButton(d.window(), IDC_TEST_THREE_STATE, BST_CHECKED);
        EXPECT_TRUE(d.is_checked(IDC_TEST_THREE_STATE));

        // TBM_SETRANGE: redraw flag in wParam, min and max cut to 16 bits each.
        const struct { int min, max; bool redraw; DWORD packed; } ranges[] = {
            {0, 100, false, 0x00640000u}, {-1, 70000, true, 0x1170FFFFu}};
        for (const auto& range : ranges) {
            SCOPED_TRACE(range.max);
            EXPECT_EQ(d.set_slider_range(IDC_TEST_RECORDER, range.min, range.max, range.redraw), 42);
            EXPECT_EQ(recorded_message, static_cast<UINT>(WM_USER + 6));
            EXPECT_EQ(recorded_wparam, static_cast<WPARAM>(range.redraw));
            EXPECT_EQ(static_cast<DWORD>(recorded_lparam), range.packed);
        }
        EndDialog(d.window(), IDOK);
    };
    EXPECT_EQ(dialog.run_probe(), IDOK);
}
