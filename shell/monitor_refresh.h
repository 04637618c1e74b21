// A window's monitor and that monitor's refresh, as the system reports them
// now.
#pragma once
#include <windows.h>

// The monitor that holds most of `window`; for a window over every monitor
// the primary, where the compositor keeps time.
HMONITOR window_monitor(HWND window, bool over_every_monitor);
// The monitor's refresh (see display_refresh).
double monitor_refresh(HMONITOR monitor);
