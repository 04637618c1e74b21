// The settings dialog against a store of the test's own: what it shows for
// stored values, what OK writes, that every way out but OK writes nothing,
// the failed store, the link, and the template the screensaver ships.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "settings/reg_settings.h"
#include "ui/config_dialog.h"
#include <commctrl.h>

namespace {

constexpr char key_path[] = "Software\\Tovarind\\QuillmereTest\\ConfigDialog";
const char* const names[] = {"quality", "speed", "freq", "amp", "radial"};
constexpr int slider_ids[] = {IDC_QUALITY, IDC_SPEED, IDC_FREQ, IDC_AMP};

void put(const char* name, const char* text)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key_path, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(strlen(text) + 1));
    RegCloseKey(key);
}

// The stored text, or "(missing)".
std::string stored(const char* name)
{
    char text[256] = {};
    DWORD size = sizeof text - 1;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key_path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "(missing)";
    LONG result = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? text : "(missing)";
}

void store_all(const char* quality, const char* speed, const char* freq, const char* amp,
               const char* radial)
{
    const char* texts[] = {quality, speed, freq, amp, radial};
    for (int i = 0; i < 5; ++i)
        put(names[i], texts[i]);
}

std::vector<std::string> stored_all()
{
    std::vector<std::string> texts;
    for (const char* name : names)
        texts.push_back(stored(name));
    return texts;
}

// What the dialog showed once it was set up.
struct shown_state {
    std::vector<int> sliders;
    bool radial = false;
    HWND link = nullptr;
    bool static_1003_left = true;
};

// Runs the real dialog; `act` runs right after on_init, with the controls
// set up, and must lead to the dialog's end.
class scripted_config : public config_dialog {
public:
    scripted_config(reg_settings& store, void (*act)(scripted_config&))
        : config_dialog(store), act(act)
    {
    }
    shown_state shown;
    HWND window() const { return dialog_window; }

    INT_PTR run_here()
    {
        EXPECT_TRUE(load_trackbar_class());
        return run(GetModuleHandleA(nullptr), nullptr, IDD_CONFIG);
    }

protected:
    int on_init() override
    {
        int result = config_dialog::on_init();
        for (int id : slider_ids)
            shown.sliders.push_back(get_slider_pos(id));
        shown.radial = is_checked(IDC_RADIAL);
        shown.static_1003_left = GetDlgItem(dialog_window, IDC_LINK) != nullptr;
        shown.link = FindWindowExA(dialog_window, nullptr, "STATIC_HYPER", nullptr);
        act(*this);
        return result;
    }

private:
    void (*act)(scripted_config&);
};

void press_ok(scripted_config& d) { PostMessageA(d.window(), WM_COMMAND, IDOK, 0); }

// Moves every slider and flips the box, as a user would before leaving.
void change_everything(scripted_config& d)
{
    for (int id : slider_ids)
        SendDlgItemMessageA(d.window(), id, TBM_SETPOS, TRUE, 80);
    CheckDlgButton(d.window(), IDC_RADIAL,
                   IsDlgButtonChecked(d.window(), IDC_RADIAL) ? BST_UNCHECKED : BST_CHECKED);
}

class config_dialog_test : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, key_path); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, key_path); }
};

} // namespace

TEST_F(config_dialog_test, shows_stored_values_and_ok_rewrites_them_as_integers)
{
    store_all("37.9", "150", "-5", "25.5", "0.5");
    reg_settings store(key_path, {HKEY_CURRENT_USER});
    scripted_config dialog(store, press_ok);
    EXPECT_EQ(dialog.run_here(), IDOK);
    EXPECT_EQ(dialog.shown.sliders, (std::vector<int>{37, 100, 0, 25}));
    EXPECT_TRUE(dialog.shown.radial);
    EXPECT_EQ(stored_all(), (std::vector<std::string>{"37", "100", "0", "25", "1"}));
}

TEST_F(config_dialog_test, radial_box_follows_zero_and_non_zero)
{
    for (const char* radial : {"0", "-1", "abc"}) {
        store_all("10", "20", "30", "40", radial);
        reg_settings store(key_path, {HKEY_CURRENT_USER});
        scripted_config dialog(store, press_ok);
        EXPECT_EQ(dialog.run_here(), IDOK);
        bool ticked = std::string(radial) == "-1";
        EXPECT_EQ(dialog.shown.radial, ticked) << radial;
        EXPECT_EQ(stored("radial"), ticked ? "1" : "0") << radial;
        EXPECT_EQ(dialog.shown.sliders, (std::vector<int>{10, 20, 30, 40}));
    }
}

TEST_F(config_dialog_test, unreadable_and_huge_numbers_stand_at_the_ends)
{
    store_all("abc", "1e30", "nan", "-1e30", "1");
    reg_settings store(key_path, {HKEY_CURRENT_USER});
    scripted_config dialog(store, press_ok);
    EXPECT_EQ(dialog.run_here(), IDOK);
    EXPECT_EQ(dialog.shown.sliders, (std::vector<int>{0, 100, 0, 0}));
    EXPECT_EQ(stored_all(), (std::vector<std::string>{"0", "100", "0", "0", "1"}));
}

TEST_F(config_dialog_test, ok_after_changes_writes_the_new_positions)
{
    store_all("50", "0", "50", "25", "1");
    reg_settings store(key_path, {HKEY_CURRENT_USER});
    scripted_config dialog(store, [](scripted_config& d) {
        change_everything(d);
        press_ok(d);
    });
    EXPECT_EQ(dialog.run_here(), IDOK);
    EXPECT_EQ(stored_all(), (std::vector<std::string>{"80", "80", "80", "80", "0"}));
}

TEST_F(config_dialog_test, cancel_escape_and_close_write_nothing)
{
    using leave_function = void (*)(scripted_config&);
    const leave_function ways_out[] = {
        [](scripted_config& d) { PostMessageA(d.window(), WM_COMMAND, IDCANCEL, 0); },
        [](scripted_config& d) {
            // Escape, as the dialog manager turns it into IDCANCEL.
            HWND focus = GetDlgItem(d.window(), IDC_QUALITY);
            PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        },
        [](scripted_config& d) { PostMessageA(d.window(), WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    int way = 0;
    for (leave_function leave : ways_out) {
        store_all("37.9", "0", "50", "25.5", "1");
        static leave_function current;
        current = leave;
        reg_settings store(key_path, {HKEY_CURRENT_USER});
        scripted_config dialog(store, [](scripted_config& d) {
            change_everything(d);
            current(d);
        });
        EXPECT_EQ(dialog.run_here(), IDCANCEL) << "way out " << way;
        EXPECT_EQ(stored_all(), (std::vector<std::string>{"37.9", "0", "50", "25.5", "1"}))
            << "way out " << way;
        ++way;
    }
}

TEST_F(config_dialog_test, a_failed_store_shows_fifty_and_a_ticked_box_and_keeps_nothing)
{
    // A key name component over 255 characters opens under no root.
    std::string bad_path = std::string(key_path) + "\\" + std::string(300, 'k');
    reg_settings store(bad_path.c_str(), {HKEY_CURRENT_USER});
    ASSERT_TRUE(store.is_failed());
    scripted_config dialog(store, [](scripted_config& d) {
        change_everything(d);
        press_ok(d);
    });
    EXPECT_EQ(dialog.run_here(), IDOK);
    EXPECT_EQ(dialog.shown.sliders, (std::vector<int>{50, 50, 50, 50}));
    EXPECT_TRUE(dialog.shown.radial);
    EXPECT_EQ(store.get_number("quality", -7), -7);
}

TEST_F(config_dialog_test, the_link_takes_the_place_of_control_1003)
{
    reg_settings store(key_path, {HKEY_CURRENT_USER});
    static RECT expected, link_area;
    static std::string caption;
    scripted_config dialog(store, [](scripted_config& d) {
        RECT units = {7, 162, 7 + 204, 162 + 8};
        MapDialogRect(d.window(), &units);
        expected = units;
        HWND link = FindWindowExA(d.window(), nullptr, "STATIC_HYPER", nullptr);
        if (link) {
            GetWindowRect(link, &link_area);
            MapWindowPoints(nullptr, d.window(), reinterpret_cast<POINT*>(&link_area), 2);
            char text[256] = {};
            GetWindowTextA(link, text, sizeof text);
            caption = text;
        }
        PostMessageA(d.window(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(dialog.run_here(), IDCANCEL);
    ASSERT_NE(dialog.shown.link, nullptr);
    EXPECT_FALSE(dialog.shown.static_1003_left);
    EXPECT_EQ(link_area.left, expected.left);
    EXPECT_EQ(link_area.top, expected.top);
    EXPECT_EQ(link_area.right, expected.right);
    EXPECT_EQ(link_area.bottom, expected.bottom);
    EXPECT_EQ(caption.rfind("https://", 0), 0u) << caption;
    EXPECT_EQ(caption.find_first_of(" \t\r\n"), std::string::npos);
}

namespace {

// Reads the classic dialog template word by word.
class template_reader {
public:
    explicit template_reader(const void* data) : at(static_cast<const WORD*>(data)) {}
    WORD word() { return *at++; }
    DWORD dword()
    {
        DWORD low = word();
        return low | (static_cast<DWORD>(word()) << 16);
    }
    // A name field: 0 (none), 0xFFFF and an ordinal, or UTF-16 text.
    std::string name()
    {
        if (*at == 0xFFFF) {
            ++at;
            return "#" + std::to_string(word());
        }
        std::string text;
        while (WORD c = word())
            text += static_cast<char>(c);
        return text;
    }
    void align_dword()
    {
        if (reinterpret_cast<UINT_PTR>(at) % 4)
            ++at;
    }

private:
    const WORD* at;
};

struct control_row {
    WORD id;
    std::string class_name, text;
    DWORD style;
    short x, y, width, height;
};

std::string upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

TEST(config_dialog_template, is_the_classic_template_of_the_settings_dialog)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_CONFIG), MAKEINTRESOURCEA(5));
    ASSERT_NE(found, nullptr);
    template_reader in(LockResource(LoadResource(nullptr, found)));
    EXPECT_EQ(in.dword(), 0x80C800C1u); // style
    EXPECT_EQ(in.dword(), 0u);          // extended style
    WORD count = in.word();
    EXPECT_EQ(count, 13);
    EXPECT_EQ(static_cast<short>(in.word()), 0);
    EXPECT_EQ(static_cast<short>(in.word()), 0);
    EXPECT_EQ(in.word(), 218);
    EXPECT_EQ(in.word(), 202);
    EXPECT_EQ(in.name(), "");         // menu
    EXPECT_EQ(in.name(), "");         // class
    EXPECT_EQ(in.name(), "Quillmere Config");
    EXPECT_EQ(in.word(), 8);          // points
    EXPECT_EQ(in.name(), "MS Sans Serif");

    // Predefined classes may be stored by ordinal: 0x80 button, 0x82 static.
    const control_row expected[] = {
        {1, "BUTTON", "OK", 0x50010001, 107, 181, 50, 14},
        {2, "BUTTON", "Cancel", 0x50010000, 161, 181, 50, 14},
        {1000, "MSCTLS_TRACKBAR32", "Slider1", 0x50010018, 7, 18, 204, 12},
        {65535, "STATIC", "Quality", 0x50020000, 7, 7, 22, 8},
        {1002, "MSCTLS_TRACKBAR32", "Slider1", 0x50010018, 7, 48, 204, 12},
        {65535, "STATIC", "Speed", 0x50020000, 7, 37, 22, 8},
        {1004, "MSCTLS_TRACKBAR32", "Slider1", 0x50010018, 7, 78, 204, 12},
        {65535, "STATIC", "Frequency", 0x50020000, 7, 67, 34, 8},
        {1005, "MSCTLS_TRACKBAR32", "Slider1", 0x50010018, 7, 108, 204, 12},
        {65535, "STATIC", "Amplitude", 0x50020000, 7, 97, 32, 8},
        {65535, "STATIC", "Download more screensavers and games", 0x50020001, 7, 151, 204, 8},
        {1003, "STATIC", "", 0x50020001, 7, 162, 204, 8},
        {1010, "BUTTON", "Radial waves", 0x50010003, 7, 130, 59, 10},
    };
    for (int i = 0; i < count && i < 13; ++i) {
        const control_row& want = expected[i];
        in.align_dword();
        EXPECT_EQ(in.dword(), want.style) << i;
        EXPECT_EQ(in.dword(), 0u) << i;
        EXPECT_EQ(static_cast<short>(in.word()), want.x) << i;
        EXPECT_EQ(static_cast<short>(in.word()), want.y) << i;
        EXPECT_EQ(static_cast<short>(in.word()), want.width) << i;
        EXPECT_EQ(static_cast<short>(in.word()), want.height) << i;
        EXPECT_EQ(in.word(), want.id) << i;
        std::string class_name = upper(in.name());
        if (class_name == "#128")
            class_name = "BUTTON";
        if (class_name == "#130")
            class_name = "STATIC";
        EXPECT_EQ(class_name, want.class_name) << i;
        std::string text = in.name();
        if (want.id != IDC_LINK) {
            EXPECT_EQ(text, want.text) << i;
        }
        EXPECT_EQ(in.word(), 0) << i; // no creation data
    }
}
