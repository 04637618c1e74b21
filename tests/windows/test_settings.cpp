// The settings where no run goes: unwritable keys, the reads of rain and light, the link's click (recorded).
#include "settings/catalogue.h"
#include "settings/reg_settings.h"
#include "test_log.h"
#include "ui/config_dialog.h"
#include "ui/hyper_link.h"

#include <gtest/gtest.h>
#include <sddl.h>
#include <shellapi.h>

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

void make_read_only(HKEY root)
{
    HKEY key;
    PSECURITY_DESCRIPTOR read_only = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KR;;;WD)", SDDL_REVISION_1, &read_only, nullptr));
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, read_only), LocalFree(read_only), RegCloseKey(key);
}

// Without its window OK stores 0 for every slider and box.
struct dialog_without_window : config_dialog { using config_dialog::config_dialog; void press_ok() { on_ok(); } };
int boxes, beeps;
INT_PTR open_result;
std::string opened;

} // namespace

// OK with the machine's key read-only: the user's takes them, after a warning; both read-only: a box and the log.
TEST(settings, ok_stores_in_the_first_key_that_takes_the_settings_and_says_when_none_does)
{
    config_box = [](HWND, LPCWSTR, LPCWSTR, UINT type) { return boxes += type == (MB_OK | MB_ICONWARNING); };
    for (bool both : {false, true}) {
        make_read_only(HKEY_LOCAL_MACHINE);
        if (both)
            make_read_only(HKEY_CURRENT_USER);
        const std::size_t logged = test_log().size();
        boxes = 0;
        { reg_settings store(path); dialog_without_window(store).press_ok(); }
        EXPECT_EQ(test_log().substr(logged), std::string("WARNING: can't open reg key: ") + path + "\n" + (both ? "ERROR: can't save settings\n" : ""));
        EXPECT_EQ(boxes, both ? 1 : 0);
        for (const char* name : {"quality", "speed", "freq", "amp", "radial", "light", "rain"})
            EXPECT_EQ(stored(HKEY_CURRENT_USER, name), both ? "-" : "0") << name;
        RegDeleteTreeA(HKEY_CURRENT_USER, path), RegDeleteTreeA(HKEY_LOCAL_MACHINE, path);
    }
    config_box = MessageBoxW;
}

// Rain is a percent and light a switch (0..1): anything else, a DWORD (replaced by "0") too, is none.
TEST(settings, rain_and_light_read_anything_else_as_none)
{
    const struct { const char* text; double rain; bool light; } rows[] = {{"1", 1, true}, {"0.5", 0.5, true}, {"100", 100, false},
        {"0", 0, false}, {"-1", 0, false}, {"1e99", 0, false}, {"1e-310", 1e-310, true}, {"nan", 0, false}, {"abc", 0, false}, {nullptr, 0, false}};
    reg_settings store(path);
    for (const auto& [text, rain, light] : rows) {
        const DWORD one = 1;
        for (const char* name : {setting_rain, setting_light})
            text ? RegSetKeyValueA(HKEY_LOCAL_MACHINE, path, name, REG_SZ, text, DWORD(strlen(text)))
                 : RegSetKeyValueA(HKEY_LOCAL_MACHINE, path, name, REG_DWORD, &one, sizeof one);
        SCOPED_TRACE(text ? text : "dword");
        EXPECT_EQ(get_percent(store, setting_rain, 0), rain);
        EXPECT_EQ(get_flag(store, setting_light, false), light);
        EXPECT_EQ(stored(HKEY_LOCAL_MACHINE, setting_light), text ? text : "0");
    }
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, path);
}

// A beep when the open fails (the shell's success is a value above 32).
TEST(hyper_link, a_click_opens_the_caption_and_beeps_when_that_fails)
{
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 320, 120, nullptr, nullptr, nullptr, nullptr);
    CreateWindowExA(0, "STATIC", "https://quillmere.example/", WS_CHILD, 10, 20, 200, 40, parent, reinterpret_cast<HMENU>(302), nullptr, nullptr);
    hyper_link link;
    ASSERT_TRUE(link.attach(302, parent));
    link_open = [](HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
        opened += std::string(verb) + " " + file + " " + std::to_string(show) + (owner || parameters || directory ? "+" : "") + ";";
        return reinterpret_cast<HINSTANCE>(open_result);
    };
    link_beep = [](UINT) -> BOOL { return ++beeps; };
    const std::pair<int, int> opens[] = {{33, 0}, {32, 1}, {0, 1}};
    for (const auto& [result, beeped] : opens) {
        open_result = result, opened.clear(), beeps = 0;
        EXPECT_EQ(SendMessageA(link.window(), WM_LBUTTONDOWN, MK_LBUTTON, 0), 1);
        EXPECT_EQ(opened, "open https://quillmere.example/ 1;") << result;
        EXPECT_EQ(beeps, beeped) << result;
    }
    link_open = ShellExecuteA, link_beep = MessageBeep;
    DestroyWindow(parent);
}
