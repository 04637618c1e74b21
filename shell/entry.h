#pragma once

// Everything the entry point does once app_instance is set: the scene's
// data, the command line, then the settings dialog or the render window.
// Returns the exit code.
int run_entry(const char* command_text, int show_command);
