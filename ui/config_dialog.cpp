#include "ui/config_dialog.h"
#include <commctrl.h>
#include "settings/catalogue.h"
#include "settings/reg_settings.h"
#include "shell/local_text.h"
#include "shell/run_log.h"
#include "shell/shell.h"
#include "shell/system_library.h"

config_box_function config_box = MessageBoxW;

namespace {

// Each control with its setting and what it shows when the store has
// nothing to give, above all when it failed: 50 on the wave sliders, no
// rain, radial waves without light.
struct slider_setting {
    int id;
    const char* name;
    float fallback;
};

constexpr slider_setting slider_settings[] = {
    {IDC_QUALITY, setting_quality, 50},
    {IDC_SPEED, setting_speed, 50},
    {IDC_FREQ, setting_freq, 50},
    {IDC_AMP, setting_amp, 50},
    {IDC_RAIN, setting_rain, 0},
};

struct box_setting {
    int id;
    const char* name;
    bool fallback;
};

constexpr box_setting box_settings[] = {
    {IDC_RADIAL, setting_radial, true},
    {IDC_LIGHT, setting_light, false},
};

// The slider position for a stored number: truncated toward zero, held to
// the slider's range first so that no stored value (huge, NaN) can make
// the conversion undefined.
int slider_position(double value)
{
    if (!(value > 0))
        return 0;
    return value < 100 ? static_cast<int>(value) : 100;
}

} // namespace

config_dialog::config_dialog(reg_settings& store) : store(store) {}

config_dialog::config_dialog() : config_dialog(app_settings) {}

int config_dialog::on_init()
{
    for (const slider_setting& slider : slider_settings)
        set_slider_range(slider.id, 0, 100, false);
    // The slider clamps out-of-range values to 0..100 itself.
    for (const slider_setting& slider : slider_settings)
        set_slider_pos(slider.id, slider_position(store.get_number(slider.name, slider.fallback)), true);
    // A box shows what the scene makes of its value.
    for (const box_setting& box : box_settings)
        set_checked(box.id, get_flag(store, box.name, box.fallback));
    // Should the link fail, the address stays as plain text.
    link.attach(IDC_LINK, dialog_window);
    // Without OpenGL the pane says so and the rest works as ever.
    pane.attach(GetDlgItem(dialog_window, IDC_PANE), shown_settings());
    return 1;
}

int config_dialog::on_message(UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_HSCROLL)
        on_slider_scroll(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
    return 0;
}

void config_dialog::on_slider_scroll(int, int, HWND)
{
    pane.use(shown_settings());
}

water_settings config_dialog::shown_settings()
{
    water_settings shown;
    shown.quality = get_slider_pos(IDC_QUALITY);
    shown.speed = get_slider_pos(IDC_SPEED);
    shown.freq = get_slider_pos(IDC_FREQ);
    shown.amp = get_slider_pos(IDC_AMP);
    shown.rain = get_slider_pos(IDC_RAIN);
    shown.radial = is_checked(IDC_RADIAL);
    shown.light = is_checked(IDC_LIGHT);
    return shown;
}

int config_dialog::on_command(int id, int code)
{
    if ((id == IDC_RADIAL || id == IDC_LIGHT) && code == BN_CLICKED)
        pane.use(shown_settings());
    else if (id == IDOK)
        on_ok();
    else if (id == IDCANCEL)
        on_cancel();
    return 0;
}

int config_dialog::on_ok()
{
    // Every value is tried, whatever became of the one before.
    bool saved = true;
    for (const slider_setting& slider : slider_settings)
        saved &= store.set_number(slider.name, static_cast<float>(get_slider_pos(slider.id)));
    for (const box_setting& box : box_settings)
        saved &= store.set_number(box.name, is_checked(box.id) ? 1 : 0);
    // The dialog closes after the box as after any OK: pressing OK again
    // would meet the same refusal.
    if (!saved) {
        log_write("ERROR: can't save settings\n");
        config_box(dialog_window, local_text(IDS_UNSAVED_SETTINGS).c_str(), L"Quillmere", MB_OK | MB_ICONWARNING);
    }
    EndDialog(dialog_window, IDOK);
    return 0;
}

int config_dialog::on_cancel()
{
    EndDialog(dialog_window, IDCANCEL);
    return 0;
}

bool load_trackbar_class()
{
    // Loading comctl32 and calling its initialisation registers the
    // trackbar class; the module stays loaded for the rest of the process.
    static HMODULE common_controls = load_system_library(L"comctl32.dll");
    if (!common_controls)
        return false;
    using init_ex_function = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto init_ex = reinterpret_cast<init_ex_function>(
        reinterpret_cast<void*>(GetProcAddress(common_controls, "InitCommonControlsEx")));
    if (init_ex) {
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
        return init_ex(&classes) != FALSE;
    }
    using init_function = void(WINAPI*)();
    auto init = reinterpret_cast<init_function>(
        reinterpret_cast<void*>(GetProcAddress(common_controls, "InitCommonControls")));
    if (init)
        init();
    return init != nullptr;
}

void run_config_dialog(HWND owner)
{
    load_trackbar_class();
    register_water_pane();
    config_dialog dialog;
    dialog.run(app_instance, owner, IDD_CONFIG);
}
