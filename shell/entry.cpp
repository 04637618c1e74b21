// Prepare the scene's data, read the command line, then run the settings
// dialog or the render window in its mode.
#include "shell/entry.h"

#include "shell/command_line.h"
#include "shell/render_window.h"
#include "shell/shell_calls.h"
#include "shell/shell_state.h"
#include "shell/window_cycle.h"
#include "ui/config_dialog.h"

int run_entry(const char* command_text, int show_command)
{
    bool full_screen = true;

    // The desktop is captured first, before any window of ours covers it.
    if (shell_calls.prepare_scene() != 0) {
        SetLastError(0);
        shell_calls.report("gl_data");
        return 0;
    }

    command_line arguments = parse_command_line(command_text);
    HWND handle = reinterpret_cast<HWND>(arguments.handle);
    switch (arguments.mode) {
    case run_mode::demo:
        break;
    case run_mode::config:
        screensaver_mode = true;
        run_config_dialog(handle);
        return 1;
    case run_mode::password:
        return 1;
    case run_mode::preview:
        screensaver_mode = true;
        full_screen = false;
        preview_parent = handle;
        break;
    case run_mode::screensaver:
        screensaver_mode = true;
        break;
    }

    // Only the render window needs OpenGL; the settings dialog runs without.
    if (const char* failed_call = shell_calls.load_gl()) {
        shell_calls.report(failed_call);
        return 0;
    }
    if (!register_render_class()) {
        shell_calls.report("RegisterClassEx");
        return 0;
    }
    return run_window_cycle(full_screen, show_command);
}
