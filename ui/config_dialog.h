// The screensaver's settings dialog: five sliders, two check boxes (radial
// waves, light on the water), a web link and the water itself beside them,
// drawn with the controls' values as they move; OK writes all seven
// settings (and says so when it cannot), everything else writes nothing.
#pragma once
#include "res/resource_ids.h"
#include "ui/dialog_base.h"
#include "ui/hyper_link.h"
#include "ui/water_pane.h"

#include <windows.h>

class reg_settings;

class config_dialog : public dialog_base {
public:
    // Reads and writes `store`; the process-wide settings unless told.
    explicit config_dialog(reg_settings& store);
    config_dialog();
    ~config_dialog() override = default;

protected:
    int on_init() override;
    int on_message(UINT message, WPARAM wparam, LPARAM lparam) override;
    int on_command(int id, int code) override;
    int on_cancel() override;
    int on_ok() override;

    // A slider moved: the water shows it; nothing is stored before OK.
    void on_slider_scroll(int code, int position, HWND slider);
    // What the controls show now.
    water_settings shown_settings();

private:
    hyper_link link;
    water_pane pane;
    reg_settings& store;
};

// Makes sure the common-controls trackbar class is registered, without
// importing anything from the common-controls library. Returns whether the
// library could be loaded and initialised.
bool load_trackbar_class();

// Shows the settings dialog modally, owned by `owner` (may be null).
void run_config_dialog(HWND owner);

// How OK tells the user, in their language, that the settings could not be
// saved: a message box, replaceable by tests.
using config_box_function = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);
extern config_box_function config_box;
