#pragma once
#include <windows.h>

// Shows the settings dialog modally, owned by `owner` (may be null).
void run_config_dialog(HWND owner);
