// Where each monitor lies in a window that covers the virtual screen.
#pragma once
#include "shell/screen_rect.h"

#include <vector>

// The monitors (virtual-screen coordinates) as parts of `window` (also in
// virtual-screen coordinates), in the window's client coordinates: each one
// clipped to the window, empty and repeated (mirrored) ones left out. An
// empty result means no monitor lies in the window.
std::vector<screen_rect> monitor_views(const std::vector<screen_rect>& monitors,
                                       const screen_rect& window);
