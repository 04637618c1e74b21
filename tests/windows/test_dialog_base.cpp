// The dialog framework: how the shared dialog procedure routes messages to
// the handlers, the modal run, and the control operations.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "tests/windows/test_dialog_ids.h"
#include "ui/dialog_base.h"

namespace {

struct call {
    std::string handler;
    UINT message = 0;
    WPARAM wparam = 0;
    LPARAM lparam = 0;
};

// Records every handler call; each handler's answer and extra behaviour
// can be set by the test.
class probe_dialog : public dialog_base {
public:
    std::vector<call> calls;
    int init_answer = 1;
    int cancel_answer = 0;
    int command_answer = 0;
    int message_answer = 0;
    // End the dialog with this from on_cancel (0: do not end it).
    INT_PTR cancel_ends_with = 0;
    // Run inside on_init, with the controls in place.
    void (*during_init)(probe_dialog&) = nullptr;

    HWND window() const { return dialog_window; }
    using dialog_base::on_message;

    int count(const std::string& handler) const
    {
        int n = 0;
        for (const call& c : calls)
            n += c.handler == handler;
        return n;
    }

protected:
    int on_init() override
    {
        calls.push_back({"init"});
        if (during_init)
            during_init(*this);
        return init_answer;
    }
    int on_message(UINT message, WPARAM wparam, LPARAM lparam) override
    {
        calls.push_back({"message", message, wparam, lparam});
        return message_answer;
    }
    int on_command(int id, int code) override
    {
        calls.push_back({"command", 0, static_cast<WPARAM>(id), static_cast<LPARAM>(code)});
        return command_answer;
    }
    int on_cancel() override
    {
        calls.push_back({"cancel"});
        if (cancel_ends_with)
            EndDialog(dialog_window, cancel_ends_with);
        return cancel_answer;
    }
    int on_ok() override
    {
        calls.push_back({"ok"});
        return 0;
    }
};

HINSTANCE test_module() { return GetModuleHandleA(nullptr); }

// A plain window to feed dialog_proc directly, outside any modal loop.
class plain_window {
public:
    plain_window()
    {
        WNDCLASSA window_class = {};
        window_class.lpfnWndProc = DefWindowProcA;
        window_class.hInstance = test_module();
        window_class.lpszClassName = "quillmere_test_plain";
        RegisterClassA(&window_class);
        handle = CreateWindowExA(0, window_class.lpszClassName, "", WS_POPUP, 0, 0, 10, 10,
                                 nullptr, nullptr, test_module(), nullptr);
    }
    ~plain_window() { DestroyWindow(handle); }
    HWND handle;
};

// What the recorder control last received.
UINT recorded_message;
WPARAM recorded_wparam;
LPARAM recorded_lparam;
constexpr LRESULT recorder_answer = 42;

LRESULT CALLBACK recorder_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message >= WM_USER && message < WM_USER + 0x100) {
        recorded_message = message;
        recorded_wparam = wparam;
        recorded_lparam = lparam;
        return recorder_answer;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

void register_recorder()
{
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = recorder_proc;
    window_class.hInstance = test_module();
    window_class.lpszClassName = TEST_RECORDER_CLASS;
    RegisterClassA(&window_class);
}

// Runs the probe template; `checks` runs inside on_init, then the dialog ends.
INT_PTR run_probe(probe_dialog& dialog, void (*checks)(probe_dialog&))
{
    register_recorder();
    dialog.during_init = checks;
    return dialog.run(test_module(), nullptr, IDD_TEST_PROBE);
}

} // namespace

TEST(dialog_proc, messages_before_binding_reach_no_handler)
{
    plain_window window;
    probe_dialog dialog;
    EXPECT_EQ(dialog_proc(window.handle, WM_SETFONT, 0, 0), FALSE);
    EXPECT_EQ(dialog_proc(window.handle, WM_COMMAND, IDOK, 0), FALSE);
    // An init without an object binds nothing.
    EXPECT_EQ(dialog_proc(window.handle, WM_INITDIALOG, 0, 0), FALSE);
    EXPECT_EQ(dialog_proc(window.handle, WM_COMMAND, IDOK, 0), FALSE);
    EXPECT_TRUE(dialog.calls.empty());
    EXPECT_EQ(dialog.window(), nullptr);
}

TEST(dialog_proc, init_binds_the_object_and_answers_false_when_set_up)
{
    plain_window window;
    probe_dialog dialog;
    dialog.init_answer = 1;
    dialog.cancel_answer = 7;
    EXPECT_EQ(dialog_proc(window.handle, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&dialog)),
              FALSE);
    EXPECT_EQ(dialog.window(), window.handle);
    ASSERT_EQ(dialog.calls.size(), 1u);
    EXPECT_EQ(dialog.calls[0].handler, "init");
}

TEST(dialog_proc, failed_init_is_answered_by_on_cancel)
{
    plain_window window;
    probe_dialog dialog;
    dialog.init_answer = 0;
    dialog.cancel_answer = 7;
    EXPECT_EQ(dialog_proc(window.handle, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&dialog)), 7);
    ASSERT_EQ(dialog.calls.size(), 2u);
    EXPECT_EQ(dialog.calls[1].handler, "cancel");
}

TEST(dialog_proc, routes_commands_system_commands_and_the_rest)
{
    plain_window window;
    probe_dialog dialog;
    dialog_proc(window.handle, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&dialog));
    dialog.calls.clear();
    dialog.command_answer = 5;
    dialog.cancel_answer = 6;
    dialog.message_answer = 9;

    // Both words of wParam: identifier low, notification code high.
    EXPECT_EQ(dialog_proc(window.handle, WM_COMMAND, MAKEWPARAM(1, 1), 1234), 5);
    EXPECT_EQ(dialog_proc(window.handle, WM_COMMAND, MAKEWPARAM(1010, BN_CLICKED), 0), 5);
    ASSERT_EQ(dialog.calls.size(), 2u);
    EXPECT_EQ(dialog.calls[0].handler, "command");
    EXPECT_EQ(dialog.calls[0].wparam, 1u);
    EXPECT_EQ(dialog.calls[0].lparam, 1);
    EXPECT_EQ(dialog.calls[1].wparam, 1010u);
    dialog.calls.clear();

    EXPECT_EQ(dialog_proc(window.handle, WM_SYSCOMMAND, SC_CLOSE, 0), 6);
    ASSERT_EQ(dialog.calls.size(), 1u);
    EXPECT_EQ(dialog.calls[0].handler, "cancel");
    dialog.calls.clear();

    // Other system commands, and SC_CLOSE with its low bits set, are left
    // to the platform.
    for (WPARAM command : {WPARAM(SC_MINIMIZE), WPARAM(SC_MOVE), WPARAM(SC_KEYMENU),
                           WPARAM(SC_CLOSE | 2)})
        EXPECT_EQ(dialog_proc(window.handle, WM_SYSCOMMAND, command, 0), FALSE) << command;
    EXPECT_TRUE(dialog.calls.empty());

    EXPECT_EQ(dialog_proc(window.handle, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 33), 77), 9);
    EXPECT_EQ(dialog_proc(window.handle, WM_DESTROY, 0, 0), 9);
    ASSERT_EQ(dialog.calls.size(), 2u);
    EXPECT_EQ(dialog.calls[0].handler, "message");
    EXPECT_EQ(dialog.calls[0].message, static_cast<UINT>(WM_HSCROLL));
    EXPECT_EQ(dialog.calls[0].wparam, MAKEWPARAM(SB_THUMBTRACK, 33));
    EXPECT_EQ(dialog.calls[0].lparam, 77);
    EXPECT_EQ(dialog.calls[1].message, static_cast<UINT>(WM_DESTROY));
    SetWindowLongPtrA(window.handle, GWLP_USERDATA, 0);
}

TEST(dialog_run, template_zero_returns_zero_and_shows_nothing)
{
    probe_dialog dialog;
    EXPECT_EQ(dialog.run(test_module(), nullptr, 0), 0);
    EXPECT_TRUE(dialog.calls.empty());
    EXPECT_EQ(dialog.window(), nullptr);
}

TEST(dialog_run, missing_template_returns_minus_one_without_handlers)
{
    probe_dialog dialog;
    EXPECT_EQ(dialog.run(test_module(), nullptr, 4321), -1);
    EXPECT_TRUE(dialog.calls.empty());
}

TEST(dialog_run, failed_init_ends_through_on_cancel_before_the_user_acts)
{
    probe_dialog dialog;
    register_recorder();
    dialog.init_answer = 0;
    dialog.cancel_ends_with = IDCANCEL;
    EXPECT_EQ(dialog.run(test_module(), nullptr, IDD_TEST_PROBE), IDCANCEL);
    ASSERT_GE(dialog.calls.size(), 2u);
    EXPECT_EQ(dialog.calls[0].handler, "init");
    EXPECT_EQ(dialog.calls[1].handler, "cancel");
    EXPECT_EQ(dialog.count("cancel"), 1);
    EXPECT_EQ(dialog.count("command"), 0);
    EXPECT_FALSE(IsWindow(dialog.window()));
}

TEST(dialog_run, close_command_reaches_on_cancel_and_ends_the_dialog)
{
    probe_dialog dialog;
    dialog.cancel_ends_with = IDCANCEL;
    INT_PTR result = run_probe(dialog, [](probe_dialog& d) {
        // Delivered by the modal loop once the dialog is up.
        PostMessageA(d.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.count("cancel"), 1);
    EXPECT_EQ(dialog.count("ok"), 0);
    // The window's last messages still reached the object.
    bool saw_destroy = false;
    for (const call& c : dialog.calls)
        saw_destroy |= c.handler == "message" && c.message == WM_DESTROY;
    EXPECT_TRUE(saw_destroy);
}

TEST(dialog_controls, item_text_is_capped_and_empty_for_a_missing_control)
{
    probe_dialog dialog;
    INT_PTR result = run_probe(dialog, [](probe_dialog& d) {
        std::string long_text(2000, 'x');
        for (size_t i = 0; i < long_text.size(); ++i)
            long_text[i] = static_cast<char>('a' + i % 26);
        EXPECT_TRUE(d.set_item_text(IDC_TEST_EDIT, long_text.c_str()));
        std::string got = d.get_item_text(IDC_TEST_EDIT);
        EXPECT_EQ(got.size(), 1022u);
        EXPECT_EQ(got, long_text.substr(0, 1022));
        // A missing control leaves nothing of the previous text behind.
        EXPECT_STREQ(d.get_item_text(4444), "");
        EXPECT_EQ(d.set_item_text(4444, "nothing"), 0);
        EXPECT_STREQ(d.get_item_text(IDC_TEST_STATIC), "Static text");
        EndDialog(d.window(), IDOK);
    });
    EXPECT_EQ(result, IDOK);
}

TEST(dialog_controls, check_boxes_and_visibility)
{
    probe_dialog dialog;
    run_probe(dialog, [](probe_dialog& d) {
        HWND window = d.window();
        CheckDlgButton(window, IDC_TEST_THREE_STATE, BST_INDETERMINATE);
        EXPECT_FALSE(d.is_checked(IDC_TEST_THREE_STATE));
        EXPECT_TRUE(d.set_checked(IDC_TEST_THREE_STATE, 5));
        EXPECT_EQ(IsDlgButtonChecked(window, IDC_TEST_THREE_STATE), BST_CHECKED);
        EXPECT_TRUE(d.is_checked(IDC_TEST_THREE_STATE));
        d.set_checked(IDC_TEST_THREE_STATE, 0);
        EXPECT_EQ(IsDlgButtonChecked(window, IDC_TEST_THREE_STATE), BST_UNCHECKED);
        EXPECT_FALSE(d.is_checked(IDC_TEST_THREE_STATE));
        EXPECT_FALSE(d.is_checked(4444));
        EXPECT_EQ(d.set_checked(4444, 1), 0);

        HWND text = GetDlgItem(window, IDC_TEST_STATIC);
        d.show_item(IDC_TEST_STATIC, false);
        EXPECT_FALSE(GetWindowLongA(text, GWL_STYLE) & WS_VISIBLE);
        d.show_item(IDC_TEST_STATIC, true);
        EXPECT_TRUE(GetWindowLongA(text, GWL_STYLE) & WS_VISIBLE);
        d.show_item(4444, false); // nothing to do, nothing breaks
        EndDialog(window, IDOK);
    });
}

TEST(dialog_controls, slider_messages_are_packed_as_the_trackbar_expects)
{
    probe_dialog dialog;
    run_probe(dialog, [](probe_dialog& d) {
        EXPECT_EQ(d.set_slider_range(IDC_TEST_RECORDER, 0, 100, false), recorder_answer);
        EXPECT_EQ(recorded_message, static_cast<UINT>(WM_USER + 6));
        EXPECT_EQ(recorded_wparam, 0u);
        EXPECT_EQ(LOWORD(recorded_lparam), 0);
        EXPECT_EQ(HIWORD(recorded_lparam), 100);

        // Each bound is cut to 16 bits.
        d.set_slider_range(IDC_TEST_RECORDER, -1, 70000, true);
        EXPECT_EQ(recorded_wparam, 1u);
        EXPECT_EQ(static_cast<DWORD>(recorded_lparam), 0x1170FFFFu);

        d.set_slider_pos(IDC_TEST_RECORDER, 37, true);
        EXPECT_EQ(recorded_message, static_cast<UINT>(WM_USER + 5));
        EXPECT_EQ(recorded_wparam, 1u);
        EXPECT_EQ(recorded_lparam, 37);

        recorded_message = 0;
        EXPECT_EQ(d.get_slider_pos(IDC_TEST_RECORDER), recorder_answer);
        EXPECT_EQ(recorded_message, static_cast<UINT>(WM_USER));
        EXPECT_EQ(recorded_wparam, 0u);
        EXPECT_EQ(recorded_lparam, 0);

        // Missing controls: nothing is sent.
        recorded_message = 0;
        EXPECT_EQ(d.set_slider_range(4444, 0, 100, false), 0);
        d.set_slider_pos(4444, 5, false);
        EXPECT_EQ(d.get_slider_pos(4444), 0);
        EXPECT_EQ(recorded_message, 0u);
        EndDialog(d.window(), IDOK);
    });
}
