#include "ui/config_dialog.h"

void run_config_dialog(HWND) {}
