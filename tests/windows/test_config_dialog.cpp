// The settings dialog where the end-to-end tests cannot reach: a store that
// cannot be opened, and the link that takes the place of control 1003.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "settings/reg_settings.h"
#include "ui/config_dialog.h"
#include <commctrl.h>

namespace {

constexpr char key_path[] = "Software\\Tovarind\\QuillmereTest\\ConfigDialog";

RECT area_in_dialog(HWND control, HWND dialog)
{
    RECT area = {};
    GetWindowRect(control, &area);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

// Runs the real dialog and records what it showed once set up; then moves
// every slider to 80, flips the box and presses OK.
class scripted_config : public config_dialog {
public:
    using config_dialog::config_dialog;
    std::vector<int> sliders;
    bool radial = false;
    RECT static_area = {}, link_area = {};
    HWND control_1003_after = nullptr, link = nullptr;

    INT_PTR run_here()
    {
        EXPECT_TRUE(load_trackbar_class());
        return run(GetModuleHandleA(nullptr), nullptr, IDD_CONFIG);
    }

protected:
    int on_init() override
    {
        static_area = area_in_dialog(GetDlgItem(dialog_window, IDC_LINK), dialog_window);
        int result = config_dialog::on_init();
        control_1003_after = GetDlgItem(dialog_window, IDC_LINK);
        link = FindWindowExA(dialog_window, nullptr, "STATIC_HYPER", nullptr);
        link_area = area_in_dialog(link, dialog_window);
        for (int id : {IDC_QUALITY, IDC_SPEED, IDC_FREQ, IDC_AMP}) {
            sliders.push_back(get_slider_pos(id));
            SendDlgItemMessageA(dialog_window, id, TBM_SETPOS, TRUE, 80);
        }
        radial = is_checked(IDC_RADIAL);
        CheckDlgButton(dialog_window, IDC_RADIAL, radial ? BST_UNCHECKED : BST_CHECKED);
        PostMessageA(dialog_window, WM_COMMAND, IDOK, 0);
        return result;
    }
};

} // namespace

TEST(config_dialog, a_failed_store_shows_fifty_and_a_ticked_box_and_ok_keeps_nothing)
{
    // A key name component over 255 characters opens under no root.
    std::string bad_path = std::string(key_path) + "\\" + std::string(300, 'k');
    reg_settings store(bad_path.c_str(), {HKEY_CURRENT_USER});
    ASSERT_TRUE(store.is_failed());
    scripted_config dialog(store);
    EXPECT_EQ(dialog.run_here(), IDOK);
    EXPECT_EQ(dialog.sliders, (std::vector<int>{50, 50, 50, 50}));
    EXPECT_TRUE(dialog.radial);
    EXPECT_EQ(store.get_number("quality", -7), -7);
}

TEST(config_dialog, the_link_replaces_control_1003_over_the_same_rectangle)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, key_path);
    reg_settings store(key_path, {HKEY_CURRENT_USER});
    scripted_config dialog(store);
    EXPECT_EQ(dialog.run_here(), IDOK);
    RegDeleteTreeA(HKEY_CURRENT_USER, key_path);
    ASSERT_NE(dialog.link, nullptr);
    EXPECT_EQ(dialog.control_1003_after, nullptr);
    EXPECT_GT(dialog.static_area.right, dialog.static_area.left);
    EXPECT_TRUE(EqualRect(&dialog.link_area, &dialog.static_area));
}
