// The virtual screen and its monitors, as the system reports them now.
#pragma once
#include "shell/screen_rect.h"

#include <vector>

// The bounding rectangle of every monitor; its origin is negative when a
// monitor lies left of or above the primary one.
screen_rect virtual_screen();
// Each monitor's rectangle, in virtual-screen coordinates.
std::vector<screen_rect> display_monitors();
