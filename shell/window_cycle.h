#pragma once

// Creates the render window in its mode, runs the frame loop, tears the
// window down, and re-creates it in the other mode as long as Tab asks for
// it. Returns the exit code.
int run_window_cycle(bool full_screen, int show_command);
