// The settings store where no run of the .scr goes: a machine-wide key that
// cannot be written, and no key at all for the dialog's OK.
#include "settings/reg_settings.h"
#include "test_log.h"
#include "ui/config_dialog.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <string>

namespace {

constexpr char path[] = "Software\\Tovarind\\QuillmereTest\\store";

std::string stored(HKEY root, const char* name)
{
    char text[64] = "-";
    DWORD size = sizeof text;
    RegGetValueA(root, path, name, RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

// Makes the key under `root` one that everyone may only read.
void make_read_only(HKEY root)
{
    HKEY key;
    PSECURITY_DESCRIPTOR read_only = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KR;;;WD)", SDDL_REVISION_1, &read_only, nullptr));
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, read_only);
    LocalFree(read_only);
    RegCloseKey(key);
}

// The dialog without its window: OK stores 0 for every slider and the box.
struct dialog_without_window : config_dialog {
    using config_dialog::config_dialog;
    void press_ok() { on_ok(); }
};
int warning_boxes;

} // namespace

// A machine-wide key that everyone may only read: the user's key, after one warning.
TEST(settings, a_machine_key_that_cannot_be_written_gives_way_to_the_users)
{
    make_read_only(HKEY_LOCAL_MACHINE);
    const std::size_t logged = test_log().size();
    reg_settings store(path);
    store.set_number("speed", 70);
    EXPECT_EQ(test_log().substr(logged), std::string("WARNING: can't open reg key: ") + path + "\n");
    EXPECT_EQ(stored(HKEY_CURRENT_USER, "speed"), "70");
    EXPECT_EQ(stored(HKEY_LOCAL_MACHINE, "speed"), "-");
    RegDeleteTreeA(HKEY_CURRENT_USER, path);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, path);
}

// OK with both keys read-only: one warning box and one error line; with a key to write, neither.
TEST(settings, ok_tells_the_user_when_no_key_takes_the_settings)
{
    make_read_only(HKEY_LOCAL_MACHINE);
    make_read_only(HKEY_CURRENT_USER);
    config_box = [](HWND, LPCSTR, LPCSTR, UINT type) { return warning_boxes += type == (MB_OK | MB_ICONWARNING); };
    for (bool writable : {false, true}) {
        reg_settings store(path);
        const std::size_t logged = test_log().size();
        warning_boxes = 0;
        dialog_without_window(store).press_ok();
        EXPECT_EQ(warning_boxes, writable ? 0 : 1);
        EXPECT_EQ(test_log().substr(logged), writable ? "" : "ERROR: can't save settings\n");
        EXPECT_EQ(stored(HKEY_LOCAL_MACHINE, "radial"), writable ? "0" : "-");
        RegDeleteTreeA(HKEY_CURRENT_USER, path);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, path);
    }
    config_box = MessageBoxA;
}
